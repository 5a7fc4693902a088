#pragma once
#include <ostream>
#include <string>
#include <vector>

// arsipstaf-admin: prepares, checks and fills the database behind the alias.
// Commands write plain lines to out and problems to err; the result is the
// process exit code.
class AdminTool {
public:
    // The process exit codes, as the manual page gives them.
    enum ExitCode { done = 0, failed = 1, wrongCommandLine = 2 };

    // Parses args (the words after the program's name) and runs the command
    // they name. --help and --version write to out and return done; a wrong
    // command line is named on err and returns wrongCommandLine.
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};
