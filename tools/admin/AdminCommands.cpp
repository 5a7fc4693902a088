#include "AdminCommands.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "BackupCommand.h"
#include "CheckCommand.h"
#include "CopyCommand.h"
#include "ExportCommand.h"
#include "GenerateCommand.h"
#include "HistoryCommand.h"
#include "ImportCommand.h"
#include "InitCommand.h"
#include "ReportCommand.h"
#include "ReportRegistry.h"
#include "RestoreCommand.h"
#include "ShellCommand.h"
#include "UpgradeCommand.h"

// Each declare function names the command's operands (required unless the
// command runs without them) and options; CLI11 takes options before,
// between or after the operands. Values live in a struct the action shares.

namespace {

// An operand: shown by its name alone, required unless said otherwise.
CLI::Option* operand(CLI::App& command, const char* name, std::string& value, const char* meaning, bool required = true)
{
    return command.add_option(name, value, meaning)->type_name("")->required(required);
}

std::string notEmpty(const std::string& value)
{
    return value.empty() ? "may not be empty" : "";
}

AdminAction declareInit(CLI::App& command)
{
    struct Values {
        std::string directory, group;
    };
    auto v = std::make_shared<Values>();
    operand(command, "DIR", v->directory,
            "the directory of the table files (default ~/.local/share/arsipstaf/data), or a server's "
            "address (postgresql://... or service=NAME)",
            false);
    command.add_option("--group", v->group, "share the tables with the members of the group NAME")
        ->type_name("NAME")
        ->check(notEmpty);
    return [v](std::ostream& out, std::ostream& err) { return InitCommand::run(v->directory, v->group, out, err); };
}

AdminAction declareCheck(CLI::App& command)
{
    auto fixModes = std::make_shared<bool>(false);
    command.add_flag("--fix-modes", *fixModes, "first close the directory and the files to other users");
    return [fixModes](std::ostream& out, std::ostream& err) { return CheckCommand::run(out, err, *fixModes); };
}

AdminAction declareGenerate(CLI::App& command)
{
    auto count = std::make_shared<std::string>();
    operand(command, "N", *count, "how many records");
    return [count](std::ostream& out, std::ostream& err) {
        char* end = nullptr;
        const long long n = std::strtoll(count->c_str(), &end, 10);
        if (count->empty() || *end != '\0' || n <= 0) {
            err << "generate: N must be a positive number\n";
            return 2;
        }
        return GenerateCommand::run(n, out, err);
    };
}

AdminAction declareShell(CLI::App&)
{
    return [](std::ostream& out, std::ostream& err) { return ShellCommand::run(std::cin, out, err); };
}

AdminAction declareCopy(CLI::App& command)
{
    struct Values {
        std::string from, to;
    };
    auto v = std::make_shared<Values>();
    operand(command, "FROM", v->from, "a directory of table files or a server's address");
    operand(command, "TO", v->to, "a directory of table files or a server's address");
    return [v](std::ostream& out, std::ostream& err) { return CopyCommand::run(v->from, v->to, out, err); };
}

AdminAction declareReport(CLI::App& command)
{
    struct Values {
        std::string name, file, coded, pdf;
    };
    auto v = std::make_shared<Values>();
    const std::string names = "the report: " + ReportRegistry::names();
    operand(command, "NAME", v->name, names.c_str());
    operand(command, "FILE", v->file, "the file the pages are saved to");
    operand(command, "coded", v->coded, "the word coded: save the pages coded", false)
        ->check(CLI::IsMember({"coded"}).description(""));
    command.add_option("--pdf", v->pdf, "also write the pages to the PDF file PDF")->type_name("PDF")->check(notEmpty);
    return [v](std::ostream& out, std::ostream& err) {
        return ReportCommand::run(v->name, v->file, !v->coded.empty(), v->pdf, out, err);
    };
}

AdminAction declareExport(CLI::App& command)
{
    struct Values {
        std::string table, file;
        bool history = false;
    };
    auto v = std::make_shared<Values>();
    operand(command, "TABLE", v->table, "a table object's name (Tdatapeg) or its file name (Datapegawai.db)");
    operand(command, "FILE", v->file, "FILE.csv or FILE.xlsx");
    command.add_flag("--history", v->history, "also write the table's change history to FILE.history.csv");
    return [v](std::ostream& out, std::ostream& err) {
        return ExportCommand::run(v->table, v->file, v->history, out, err);
    };
}

AdminAction declareHistory(CLI::App& command)
{
    struct Values {
        std::string table, key, since, csv;
    };
    auto v = std::make_shared<Values>();
    operand(command, "TABLE", v->table, "a record table (Tdatapeg or Datapegawai.db); both when left out", false);
    operand(command, "KEY", v->key, "one record's key", false);
    command.add_option("--since", v->since, "entries from DATE (YYYY-MM-DD, UTC) on")->type_name("DATE");
    command.add_option("--csv", v->csv, "write the entries to FILE as CSV")->type_name("FILE")->check(notEmpty);
    auto* key = command.get_option("KEY");
    return [v, key](std::ostream& out, std::ostream& err) {
        // The history command's own reading checks the date.
        std::vector<std::string> args{"history"};
        if (!v->table.empty() || key->count() > 0)
            args.push_back(v->table);
        if (key->count() > 0)
            args.push_back(v->key);
        for (const auto& [name, value] : {std::pair{"--since", &v->since}, std::pair{"--csv", &v->csv}})
            if (!value->empty())
                args.insert(args.end(), {name, *value});
        HistoryCommand::Options options;
        if (!HistoryCommand::parse(args, options)) {
            err << "history: DATE must be YYYY-MM-DD\n";
            return 2;
        }
        return HistoryCommand::run(options, out, err);
    };
}

AdminAction declareImport(CLI::App& command)
{
    struct Values {
        std::string table, file, encoding;
        ImportCommand::Options options;
    };
    auto v = std::make_shared<Values>();
    operand(command, "TABLE", v->table, "a table object's name (Tdatapeg) or its file name (Datapegawai.db)");
    operand(command, "FILE.csv", v->file, "a CSV file with the header export writes");
    command.add_flag("--update", v->options.update, "replace the stored record of a key instead of refusing the row");
    command.add_flag("--dry-run", v->options.dryRun, "check and report, storing nothing");
    command.add_option("--encoding", v->encoding, "latin1: the file is Latin-1, converted to UTF-8")
        ->type_name("latin1")
        ->check([](const std::string& name) {
            return CsvTextEncoding().choose(name) ? std::string() : "not an encoding the import reads";
        });
    return [v](std::ostream& out, std::ostream& err) {
        v->options.encoding.choose(v->encoding.empty() ? "utf-8" : v->encoding);
        return ImportCommand::run(v->table, v->file, v->options, out, err);
    };
}

AdminAction declareBackup(CLI::App& command)
{
    auto directory = std::make_shared<std::string>();
    operand(command, "DIR", *directory, "the directory the backup goes to (made when missing)");
    return [directory](std::ostream& out, std::ostream& err) { return BackupCommand::run(*directory, out, err); };
}

AdminAction declareRestore(CLI::App& command)
{
    struct Values {
        std::string directory;
        bool force = false;
    };
    auto v = std::make_shared<Values>();
    operand(command, "DIR", v->directory, "the directory holding the backup");
    command.add_flag("--force", v->force, "restore even when it undoes changes made since the backup");
    return [v](std::ostream& out, std::ostream& err) { return RestoreCommand::run(v->directory, v->force, out, err); };
}

AdminAction declareUpgrade(CLI::App& command)
{
    auto dryRun = std::make_shared<bool>(false);
    command.add_flag("--dry-run", *dryRun, "print the steps, changing nothing");
    return [dryRun](std::ostream& out, std::ostream& err) { return UpgradeCommand::run(*dryRun, out, err); };
}

}  // namespace

const std::vector<AdminCommand>& AdminCommands::all()
{
    static const std::vector<AdminCommand> commands = {
        {"init", "create the table files in DIR and point rekam_induk at it; private to you, or shared with a group",
         declareInit},
        {"check", "open every table through rekam_induk and report problems", declareCheck},
        {"generate", "add N demonstration records to both record tables", declareGenerate},
        {"shell", "run dataset commands read from standard input", declareShell},
        {"copy", "copy every table between a directory and a server, either way", declareCopy},
        {"report", "run a report and save its pages to FILE, and as a PDF file when asked", declareReport},
        {"export", "write TABLE to FILE.csv or FILE.xlsx in its primary order", declareExport},
        {"history", "print the change history of the record tables, newest first, or write it as CSV", declareHistory},
        {"import", "add the rows of FILE.csv to TABLE, all or nothing", declareImport},
        {"backup", "copy the nine tables into DIR with a manifest, while in use", declareBackup},
        {"restore", "check the backup in DIR and put its tables back", declareRestore},
        {"upgrade", "bring the tables to the program's version, printing each step", declareUpgrade},
    };
    return commands;
}
