#pragma once
#include <functional>
#include <ostream>

namespace CLI {
class App;
}  // namespace CLI

// What a parsed command line runs, with the operands and options it was given.
using AdminAction = std::function<int(std::ostream& out, std::ostream& err)>;

// One command of arsipstaf-admin. declare adds the command's operands and
// options to its parser and returns the action that runs once a line is
// parsed; the action owns the values the parser fills in.
struct AdminCommand {
    const char* name;
    const char* summary;
    AdminAction (*declare)(CLI::App& command);
};
