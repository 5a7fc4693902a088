#include "AdminTool.h"

#include <CLI/CLI.hpp>
#include <map>

#include "AdminCommands.h"

namespace {

const char* const description =
    "arsipstaf-admin: prepares, checks, fills, exports, imports and backs up the database behind rekam_induk";

// Help that speaks of commands and operands, as the manual page does.
void labelHelp(CLI::App& tool)
{
    const auto formatter = tool.get_formatter();
    formatter->label("SUBCOMMAND", "COMMAND");
    formatter->label("Subcommands", "Commands");
    formatter->label("Positionals", "Operands");
    formatter->column_width(24);
}

bool isCommand(const std::string& word)
{
    for (const AdminCommand& command : AdminCommands::all())
        if (word == command.name)
            return true;
    return false;
}

}  // namespace

int AdminTool::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    CLI::App tool{description, "arsipstaf-admin"};
    tool.set_version_flag("--version", std::string("arsipstaf-admin ") + ARSIPSTAF_VERSION);
    tool.require_subcommand(1);
    labelHelp(tool);
    std::map<const CLI::App*, AdminAction> actions;
    for (const AdminCommand& command : AdminCommands::all()) {
        CLI::App* parser = tool.add_subcommand(command.name, command.summary);
        actions[parser] = command.declare(*parser);
    }
    if (args.empty()) {
        err << tool.help();
        return wrongCommandLine;
    }
    if (!args[0].starts_with('-') && !isCommand(args[0])) {
        err << "arsipstaf-admin: " << args[0] << " is not a command; arsipstaf-admin --help lists them\n";
        return wrongCommandLine;
    }
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes the words last first
        tool.parse(reversed);
    } catch (const CLI::ParseError& e) {
        return tool.exit(e, out, err) == 0 ? done : wrongCommandLine;
    }
    return actions.at(tool.get_subcommands().at(0))(out, err);
}
