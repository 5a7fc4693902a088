#pragma once
#include <ostream>
#include <string>
#include <vector>

// arsipstaf-admin: prepares, checks and fills the database behind the alias.
// Commands write plain lines to out and problems to err; the result is the
// process exit code (0 when all is well).
class AdminTool {
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static void usage(std::ostream& out);
};
