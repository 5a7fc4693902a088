#include "AdminTool.h"

#include "BackupCommand.h"
#include "CheckCommand.h"
#include "CopyCommand.h"
#include "ExportCommand.h"
#include "GenerateCommand.h"
#include "HistoryCommand.h"
#include "ImportCommand.h"
#include "InitCommand.h"
#include "ReportCommand.h"
#include "RestoreCommand.h"
#include "ShellCommand.h"
#include "UpgradeCommand.h"

#include <cstdlib>
#include <iostream>

void AdminTool::usage(std::ostream& out)
{
    out << "usage: arsipstaf-admin init [--group NAME] [DIR]\n"
           "                                    create the table files in DIR and point rekam_induk at it;\n"
           "                                    private to you, or shared with the group NAME\n"
           "       arsipstaf-admin init URI     the same on a server (postgresql://... or service=NAME)\n"
           "       arsipstaf-admin check [--fix-modes]\n"
           "                                    open every table through rekam_induk and report problems;\n"
           "                                    --fix-modes first closes the files to other users\n"
           "       arsipstaf-admin generate N   add N demonstration records to both record tables\n"
           "       arsipstaf-admin shell        run dataset commands read from standard input\n"
           "       arsipstaf-admin copy FROM TO copy every table between a directory and a server, either way\n"
           "       arsipstaf-admin report NAME FILE [coded] [--pdf PDF]\n"
           "                                    run report Form9, Form10 or Form11 and save its pages to FILE,\n"
           "                                    and as a PDF file to PDF when asked\n"
           "       arsipstaf-admin export TABLE FILE [--history]\n"
           "                                    write TABLE to FILE.csv or FILE.xlsx in its primary order;\n"
           "                                    --history also its change history to FILE.history.csv\n"
           "       arsipstaf-admin history [TABLE] [KEY] [--since DATE] [--csv FILE]\n"
           "                                    print the change history of the record tables, newest first,\n"
           "                                    or write it to FILE as CSV\n"
           "       arsipstaf-admin import TABLE FILE.csv [--update] [--dry-run] [--encoding latin1]\n"
           "                                    add the rows of FILE.csv (UTF-8, or Latin-1 converted)\n"
           "                                    to TABLE, all or nothing\n"
           "       arsipstaf-admin backup DIR   copy the nine tables into DIR with a manifest, while in use\n"
           "       arsipstaf-admin restore DIR [--force]\n"
           "                                    check the backup in DIR and put its tables back\n"
           "       arsipstaf-admin upgrade [--dry-run]\n"
           "                                    bring the tables to the program's version, printing each step\n";
}

int AdminTool::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        usage(err);
        return 2;
    }
    const std::string& command = args[0];
    if (command == "init" && args.size() >= 3 && args[1] == "--group" && args.size() <= 4)
        return InitCommand::run(args.size() == 4 ? args[3] : std::string(), args[2], out, err);
    if (command == "init" && args.size() <= 2 && (args.size() < 2 || args[1] != "--group"))
        return InitCommand::run(args.size() == 2 ? args[1] : std::string(), std::string(), out, err);
    if (command == "upgrade" && (args.size() == 1 || (args.size() == 2 && args[1] == "--dry-run")))
        return UpgradeCommand::run(args.size() == 2, out, err);
    if (command == "check" && (args.size() == 1 || (args.size() == 2 && args[1] == "--fix-modes")))
        return CheckCommand::run(out, err, args.size() == 2);
    if (command == "copy" && args.size() == 3)
        return CopyCommand::run(args[1], args[2], out, err);
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
    if (command == "report" && args.size() >= 3) {
        bool coded = false;
        std::string pdf;
        bool understood = true;
        for (size_t i = 3; i < args.size() && understood; ++i) {
            if (args[i] == "coded" && !coded)
                coded = true;
            else if (args[i] == "--pdf" && pdf.empty() && i + 1 < args.size() && !args[i + 1].empty())
                pdf = args[++i];
            else
                understood = false;
        }
        if (understood)
            return ReportCommand::run(args[1], args[2], coded, pdf, out, err);
    }
    if (command == "export" && (args.size() == 3 || (args.size() == 4 && args[3] == "--history")))
        return ExportCommand::run(args[1], args[2], args.size() == 4, out, err);
    if (command == "history") {
        HistoryCommand::Options options;
        if (HistoryCommand::parse(args, options))
            return HistoryCommand::run(options, out, err);
    }
    if (command == "backup" && args.size() == 2)
        return BackupCommand::run(args[1], out, err);
    if (command == "restore" && (args.size() == 2 || (args.size() == 3 && args[2] == "--force")))
        return RestoreCommand::run(args[1], args.size() == 3, out, err);
    if (command == "import" && args.size() >= 3) {
        ImportCommand::Options options;
        bool known = true;
        for (size_t i = 3; i < args.size(); ++i) {
            if (args[i] == "--update")
                options.update = true;
            else if (args[i] == "--dry-run")
                options.dryRun = true;
            else if (args[i] == "--encoding" && i + 1 < args.size() && options.encoding.choose(args[i + 1]))
                ++i;
            else
                known = false;
        }
        if (known)
            return ImportCommand::run(args[1], args[2], options, out, err);
    }
    usage(err);
    return 2;
}
