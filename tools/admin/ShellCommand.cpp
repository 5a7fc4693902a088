#include "ShellCommand.h"

#include "EDBEditError.h"
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
    case TDataSetState::dsInactive:
        return "inactive";
    case TDataSetState::dsBrowse:
        return "browse";
    case TDataSetState::dsEdit:
        return "edit";
    case TDataSetState::dsInsert:
        return "insert";
    case TDataSetState::dsSetKey:
        return "setkey";
    case TDataSetState::dsCalcFields:
        return "calcfields";
    case TDataSetState::dsFilter:
        return "filter";
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

}  // namespace

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
        {"first", &TDataSet::First},   {"last", &TDataSet::Last}, {"next", &TDataSet::Next},
        {"prior", &TDataSet::Prior},   {"edit", &TDataSet::Edit}, {"append", &TDataSet::Append},
        {"insert", &TDataSet::Insert}, {"post", &TDataSet::Post}, {"cancel", &TDataSet::Cancel},
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
    } else if (!dispatchMask(args)) {
        throw UsageError("Unknown command '" + name + "'");
    }
}

// Results in square brackets show leading and trailing blanks.
bool ShellCommand::dispatchMask(const std::vector<std::string>& args)
{
    const std::string& name = args[0];
    if (name == "mask") {
        expectArgs(args, 1, 2, "mask TEXT");
        editor_.setEditMask(args.size() == 2 ? args[1] : std::string());
        out_ << "ok " << editor_.mask().width() << '\n';
    } else if (name == "settext") {
        expectArgs(args, 1, 2, "settext TEXT");
        editor_.setText(args.size() == 2 ? args[1] : std::string());
        out_ << "ok [" << editor_.editText() << "]\n";
    } else if (name == "readtext") {
        expectArgs(args, 1, 1, "readtext");
        out_ << "ok [" << editor_.text() << "]\n";
    } else if (name == "display") {
        expectArgs(args, 1, 2, "display TEXT");
        std::string value = args.size() == 2 ? args[1] : std::string();
        out_ << "ok [" << (editor_.isMasked() ? editor_.mask().displayText(value) : value) << "]\n";
    } else if (name == "keys") {
        expectArgs(args, 2, 2, "keys SEQ");
        typeKeys(args[1]);
    } else if (name == "enter") {
        expectArgs(args, 1, 1, "enter");
        editor_.enter();
        out_ << "ok\n";
    } else if (name == "exit" || name == "validate") {
        expectArgs(args, 1, 1, name.c_str());
        validateMask(name == "exit");
    } else {
        return false;
    }
    return true;
}

void ShellCommand::typeKeys(const std::string& sequence)
{
    static const std::map<std::string, MaskEditor::Key> named = {
        {"Left", MaskEditor::Key::Left},  {"Right", MaskEditor::Key::Right},  {"Home", MaskEditor::Key::Home},
        {"End", MaskEditor::Key::End},    {"BS", MaskEditor::Key::Backspace}, {"Del", MaskEditor::Key::Delete},
        {"Esc", MaskEditor::Key::Escape},
    };
    int beeps = editor_.beepCount();
    std::string pending;
    auto typePending = [&] {
        editor_.typeText(pending);
        pending.clear();
    };
    for (size_t i = 0; i < sequence.size(); ++i) {
        size_t close = sequence[i] == '{' ? sequence.find('}', i) : std::string::npos;
        auto key = close == std::string::npos ? named.end() : named.find(sequence.substr(i + 1, close - i - 1));
        if (key == named.end()) {
            pending += sequence[i];
            continue;
        }
        typePending();
        editor_.pressKey(key->second);
        i = close;
    }
    typePending();
    out_ << "ok [" << editor_.editText() << "] " << editor_.cursor() << ' ' << editor_.beepCount() - beeps << '\n';
}

void ShellCommand::validateMask(bool leaving)
{
    try {
        leaving ? editor_.exit() : editor_.validate();
    } catch (const EDBEditError& error) {
        out_ << "error: " << ErrorText::forDisplay(error.what()) << " (position " << error.position() << ")\n";
        return;
    }
    out_ << "ok\n";
}

void ShellCommand::execute(const std::string& line)
{
    out_.str(std::string());
    try {
        std::vector<std::string> args = split(line);
        if (args.empty())
            return;
        dispatch(args);
    } catch (const std::exception& error) {
        out_.str(std::string());
        out_ << "error: " << oneLine(ErrorText::forDisplay(error.what())) << '\n';
    }
    sink_ << out_.str();
    sink_.flush();
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
