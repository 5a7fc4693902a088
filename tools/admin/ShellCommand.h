#pragma once
#include "MaskEditor.h"

#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

class TDMarsipstaf;
class TTable;

// arsipstaf-admin shell: dataset operations read one per line from in,
// each answered by exactly one result line ("ok ..." or "error: ...");
// "show" adds one line per field and a closing ".". The mask commands drive
// one mask editor, as a masked box would.
class ShellCommand {
public:
    static int run(std::istream& in, std::ostream& out, std::ostream& err);

    // Splits a line at blanks; "double quoted" arguments keep their blanks.
    static std::vector<std::string> split(const std::string& line);

    ShellCommand(TDMarsipstaf& module, std::ostream& out) : module_(module), sink_(out) {}
    // Runs one command line and writes its result.
    void execute(const std::string& line);

private:
    void dispatch(const std::vector<std::string>& args);
    bool dispatchMask(const std::vector<std::string>& args);
    TTable& table();
    void show();
    void typeKeys(const std::string& sequence);
    void validateMask(bool leaving);

    TDMarsipstaf& module_;
    std::ostream& sink_;
    // One command's answer, written to sink_ only when the command is done,
    // so that a failure halfway never follows a partly written "ok".
    std::ostringstream out_;
    TTable* table_ = nullptr;
    MaskEditor editor_;
};
