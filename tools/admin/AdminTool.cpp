#include "AdminTool.h"

#include "CheckCommand.h"
#include "CopyCommand.h"
#include "GenerateCommand.h"
#include "InitCommand.h"
#include "ReportCommand.h"
#include "ShellCommand.h"

#include <cstdlib>
#include <iostream>

void AdminTool::usage(std::ostream& out)
{
    out << "usage: arsipstaf-admin init [DIR]   create the table files in DIR and point rekam_induk at it\n"
           "       arsipstaf-admin init URI     the same on a server (postgresql://... or service=NAME)\n"
           "       arsipstaf-admin check        open every table through rekam_induk and report problems\n"
           "       arsipstaf-admin generate N   add N demonstration records to both record tables\n"
           "       arsipstaf-admin shell        run dataset commands read from standard input\n"
           "       arsipstaf-admin copy FROM TO copy every table between a directory and a server, either way\n"
           "       arsipstaf-admin report NAME FILE [coded]\n"
           "                                    run report Form9, Form10 or Form11 and save its pages to FILE\n";
}

int AdminTool::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        usage(err);
        return 2;
    }
    const std::string& command = args[0];
    if (command == "init" && args.size() <= 2)
        return InitCommand::run(args.size() == 2 ? args[1] : std::string(), out, err);
    if (command == "copy" && args.size() == 3)
        return CopyCommand::run(args[1], args[2], out, err);
    if (command == "check" && args.size() == 1)
        return CheckCommand::run(out, err);
    if (command == "shell" && args.size() == 1)
        return ShellCommand::run(std::cin, out, err);
    if (command == "generate" && args.size() == 2) {
        char* end = nullptr;
        long long count = std::strtoll(args[1].c_str(), &end, 10);
        if (end && *end == '\0' && count > 0)
            return GenerateCommand::run(count, out, err);
        err << "generate: N must be a positive number\n";
        return 2;
    }
    if (command == "report" && (args.size() == 3 || (args.size() == 4 && args[3] == "coded")))
        return ReportCommand::run(args[1], args[2], args.size() == 4, out, err);
    usage(err);
    return 2;
}
