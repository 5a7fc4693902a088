#include "ShellCommand.h"

#include "EDatabaseError.h"
#include "ErrorText.h"
#include "TDMarsipstaf.h"

#include <map>
#include <stdexcept>

namespace {

// A wrongly written command line; shown like any other error.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const char* stateName(TDataSetState state)
{
    switch (state) {
    case TDataSetState::dsInactive: return "inactive";
    case TDataSetState::dsBrowse: return "browse";
    case TDataSetState::dsEdit: return "edit";
    case TDataSetState::dsInsert: return "insert";
    case TDataSetState::dsSetKey: return "setkey";
    case TDataSetState::dsCalcFields: return "calcfields";
    case TDataSetState::dsFilter: return "filter";
    }
    return "?";
}

// One result line: the text of a multi-line error is joined with blanks.
std::string oneLine(std::string text)
{
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

void expectArgs(const std::vector<std::string>& args, size_t low, size_t high, const char* usage)
{
    if (args.size() < low || args.size() > high)
        throw UsageError(std::string("Usage: ") + usage);
}

} // namespace

std::vector<std::string> ShellCommand::split(const std::string& line)
{
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false;
    bool have = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            have = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (have)
                args.push_back(arg);
            arg.clear();
            have = false;
        } else {
            arg += c;
            have = true;
        }
    }
    if (quoted)
        throw UsageError("Unterminated quoted argument");
    if (have)
        args.push_back(arg);
    return args;
}

TTable& ShellCommand::table()
{
    if (!table_)
        throw UsageError("No table in use; choose one with: use T");
    return *table_;
}

void ShellCommand::show()
{
    TTable& t = table();
    out_ << "ok state=" << stateName(t.State()) << " bof=" << t.Bof() << " eof=" << t.Eof() << '\n';
    for (const auto& field : t.Fields()) {
        std::string text;
        try {
            text = field->DisplayText();
        } catch (const std::exception&) {
            text.clear();  // an unreadable value shows empty, as in a grid
        }
        out_ << field->FieldName() << '=' << oneLine(text) << '\n';
    }
    out_ << ".\n";
}

void ShellCommand::dispatch(const std::vector<std::string>& args)
{
    const std::string& name = args[0];
    using Simple = void (TDataSet::*)();
    static const std::map<std::string, Simple> simple = {
        {"first", &TDataSet::First},   {"last", &TDataSet::Last},     {"next", &TDataSet::Next},
        {"prior", &TDataSet::Prior},   {"edit", &TDataSet::Edit},     {"append", &TDataSet::Append},
        {"insert", &TDataSet::Insert}, {"post", &TDataSet::Post},     {"cancel", &TDataSet::Cancel},
        {"delete", &TDataSet::Delete},
    };
    if (auto it = simple.find(name); it != simple.end()) {
        expectArgs(args, 1, 1, name.c_str());
        (table().*(it->second))();
        out_ << "ok\n";
    } else if (name == "use") {
        expectArgs(args, 2, 2, "use T");
        TTable* found = module_.TableByName(args[1]);
        if (!found)
            throw UsageError("Unknown table '" + args[1] + "'");
        table_ = found;
        out_ << "ok\n";
    } else if (name == "moveby") {
        expectArgs(args, 2, 2, "moveby N");
        size_t used = 0;
        int distance = 0;
        try {
            distance = std::stoi(args[1], &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != args[1].size())
            throw UsageError("moveby needs a whole number, not '" + args[1] + "'");
        out_ << "ok " << table().MoveBy(distance) << '\n';
    } else if (name == "set") {
        expectArgs(args, 3, 3, "set F TEXT");
        table().FieldByName(args[1])->SetText(args[2]);
        out_ << "ok\n";
    } else if (name == "order") {
        expectArgs(args, 1, 2, "order FIELDS");
        table().SetIndexFieldNames(args.size() == 2 ? args[1] : std::string());
        out_ << "ok\n";
    } else if (name == "findkey") {
        expectArgs(args, 2, 2, "findkey TEXT");
        out_ << (table().FindKey({args[1]}) ? "ok found\n" : "ok notfound\n");
    } else if (name == "findnearest") {
        expectArgs(args, 2, 2, "findnearest TEXT");
        table().FindNearest({args[1]});
        out_ << "ok\n";
    } else if (name == "locate") {
        expectArgs(args, 3, 4, "locate F TEXT [partial]");
        if (args.size() == 4 && args[3] != "partial")
            throw UsageError("Usage: locate F TEXT [partial]");
        out_ << (table().Locate(args[1], args[2], args.size() == 4) ? "ok found\n" : "ok notfound\n");
    } else if (name == "show") {
        expectArgs(args, 1, 1, "show");
        show();
    } else if (name == "count") {
        expectArgs(args, 1, 1, "count");
        out_ << "ok " << table().RecordCount() << '\n';
    } else {
        throw UsageError("Unknown command '" + name + "'");
    }
}

void ShellCommand::execute(const std::string& line)
{
    try {
        std::vector<std::string> args = split(line);
        if (args.empty())
            return;
        dispatch(args);
    } catch (const std::exception& error) {
        out_ << "error: " << oneLine(ErrorText::forDisplay(error.what())) << '\n';
    }
    out_.flush();
}

int ShellCommand::run(std::istream& in, std::ostream& out, std::ostream& err)
{
    TDMarsipstaf module;
    try {
        module.Loaded();
    } catch (const std::exception& error) {
        err << "error: " << oneLine(ErrorText::forDisplay(error.what())) << '\n';
        return 1;
    }
    ShellCommand shell(module, out);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        shell.execute(line);
    }
    return 0;
}
