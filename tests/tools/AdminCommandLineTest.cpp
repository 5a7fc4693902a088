#include "AdminCommands.h"
#include "AdminRun.h"
#include "BothEngines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

// One form of the manual page's synopsis: `report NAME FILE [coded] [--pdf PDF]`.
struct SynopsisForm {
    std::string command;
    std::vector<std::string> operands;                         // an optional one in brackets
    std::vector<std::pair<std::string, std::string>> options;  // option and its value, if any
};

// The words of a roff line after its macro, with \- read as -.
std::vector<std::string> roffWords(std::string line)
{
    line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
    line = std::regex_replace(line, std::regex(R"(^\.[A-Za-z]+ ?)"), "");
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::vector<SynopsisForm> manualSynopsis()
{
    std::ifstream page(std::string(ARSIPSTAF_SOURCE_DIR) + "/docs/arsipstaf-admin.1");
    std::vector<std::string> words;
    bool inSynopsis = false;
    for (std::string line; std::getline(page, line);) {
        if (line.starts_with(".SH"))
            inSynopsis = line == ".SH SYNOPSIS";
        else if (inSynopsis)
            for (const std::string& word : roffWords(line))
                words.push_back(word);
    }
    std::vector<SynopsisForm> forms;
    std::vector<std::string> group;  // the words of an open [ ... ]
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "arsipstaf-admin" && i + 1 < words.size()) {
            forms.push_back({words[++i], {}, {}});
        } else if (word == "[") {
            group = {"["};
        } else if (word == "]") {
            if (group.size() > 1 && group[1].starts_with("--"))
                forms.back().options.emplace_back(group[1], group.size() > 2 ? group[2] : "");
            else if (group.size() > 1)
                forms.back().operands.push_back("[" + group[1] + "]");
            group.clear();
        } else if (!group.empty()) {
            group.push_back(word);
        } else if (!forms.empty()) {
            forms.back().operands.push_back(word);
        }
    }
    return forms;
}

std::string usageLine(const SynopsisForm& form)
{
    std::string line = "Usage: arsipstaf-admin " + form.command + " [OPTIONS]";
    for (const std::string& operand : form.operands)
        line += " " + operand;
    return line + "\n";
}

}  // namespace

TEST(AdminCommandLine, TheManualPageAndEachCommandsHelpAgree)
{
    const std::vector<SynopsisForm> forms = manualSynopsis();
    size_t commands = 0;
    for (const SynopsisForm& form : forms) {
        if (form.command.starts_with("--") || form.command == "COMMAND") {
            AdminRun run = admin({form.command == "COMMAND" ? "restore" : form.command, "--help"});
            EXPECT_EQ(run.code, 0) << form.command;
            continue;
        }
        ++commands;
        AdminRun help = admin({form.command, "--help"});
        EXPECT_EQ(help.code, 0) << form.command;
        EXPECT_NE(help.out.find(usageLine(form)), std::string::npos) << usageLine(form) << help.out;
        for (const auto& [option, value] : form.options)
            EXPECT_NE(help.out.find("  " + option + (value.empty() ? "" : " " + value) + " "), std::string::npos)
                << form.command << " " << option << "\n"
                << help.out;
    }
    EXPECT_EQ(commands, AdminCommands::all().size());
    AdminRun tool = admin({"--help"});
    EXPECT_EQ(tool.code, 0);
    for (const AdminCommand& command : AdminCommands::all())
        EXPECT_TRUE(
            std::regex_search(tool.out, std::regex("\n  " + std::string(command.name) + " +" + command.summary)))
            << command.name;
}

TEST(AdminCommandLine, VersionIsTheManualPagesVersion)
{
    std::ifstream page(std::string(ARSIPSTAF_SOURCE_DIR) + "/docs/arsipstaf-admin.1");
    std::string header;
    std::getline(page, header);
    std::smatch version;
    ASSERT_TRUE(std::regex_search(header, version, std::regex(R"re("arsipstaf ([0-9.]+)")re"))) << header;
    AdminRun run = admin({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "arsipstaf-admin " + version[1].str() + "\n");
}

TEST(AdminCommandLine, AWrongCommandLineIsNamedAndExitsWithTwo)
{
    const std::vector<std::vector<std::string>> lines = {
        {"drop"},
        {"--verbose", "check"},
        {"restore"},
        {"restore", "a", "b"},
        {"restore", "a", "--forse"},
        {"backup", "--force", "a"},
        {"copy", "a"},
        {"init", "--group"},
        {"import", "Tdatapeg", "a.csv", "--encoding", "ebcdic"},
        {"report", "Form9", "a.rpf", "--pdf", ""},
    };
    for (const std::vector<std::string>& line : lines) {
        AdminRun run = admin(line);
        EXPECT_EQ(run.code, 2) << line[0];
        EXPECT_EQ(run.out, "") << line[0];
        EXPECT_FALSE(run.err.empty()) << line[0];
    }
}

// The same command with its options before and after the operands: the same
// result and output, on either engine.
class AdminOptionPlaces : public ::testing::TestWithParam<TestEngine> {};

TEST_P(AdminOptionPlaces, OptionsStandBeforeOrAfterTheOperands)
{
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    const std::string root = db.root();
    ASSERT_EQ(admin({"generate", "5"}).code, 0);
    ASSERT_EQ(admin({"export", "Tdatapeg", root + "/p.csv"}).code, 0);
    ASSERT_EQ(admin({"backup", root + "/b"}).code, 0);
    ASSERT_EQ(admin({"generate", "1"}).code, 0);  // a change restore --force undoes

    struct Case {
        std::vector<std::string> after, before;
        int code;
    };
    const Case cases[] = {
        {{"import", "Tdatapeg", root + "/p.csv", "--dry-run", "--update"},
         {"import", "--update", "--dry-run", "Tdatapeg", root + "/p.csv"},
         0},
        {{"import", "Tdatapeg", root + "/p.csv", "--encoding", "latin1"},
         {"import", "--encoding", "latin1", "Tdatapeg", root + "/p.csv"},
         1},
        {{"report", "Form11", root + "/m.rpf", "coded", "--pdf", root + "/m.pdf"},
         {"report", "--pdf", root + "/m.pdf", "Form11", root + "/m.rpf", "coded"},
         0},
        {{"restore", root + "/b", "--force"}, {"restore", "--force", root + "/b"}, 0},
    };
    const std::regex timing(R"( in [0-9.]+ s)");
    for (const Case& c : cases) {
        AdminRun after = admin(c.after);
        AdminRun before = admin(c.before);
        EXPECT_EQ(after.code, c.code) << c.after[0] << after.err;
        EXPECT_EQ(before.code, c.code) << c.before[0] << before.err;
        EXPECT_EQ(std::regex_replace(after.out, timing, ""), std::regex_replace(before.out, timing, "")) << c.after[0];
        EXPECT_EQ(after.err, before.err) << c.after[0];
    }
}

INSTANTIATE_FOR_BOTH_ENGINES(AdminOptionPlaces);
