// Read-only tables and side files, seen by a clerk who is another user of
// the machine (root ignores file modes: see OtherUser).
#include "ChildProcess.h"
#include "DataModuleFixture.h"
#include "OtherUser.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <functional>

namespace {

class TableModes : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
        {
            TDMarsipstaf module;
            module.Loaded();
            for (const char* nip : {"1000000001", "1000000002"}) {
                module.Tdatapeg.Append();
                module.Tdatapeg.FieldByName("NIP")->SetText(nip);
                module.Tdatapeg.Post();
            }
        }
        OtherUser::own(db_.directory());
        OtherUser::admit(db_.root(), db_.configPath());
    }
    void TearDown() override
    {
        ::chmod(db_.directory().c_str(), 0700);
        RegionalSettings::current() = saved_;
    }

    std::string table() const { return db_.path("Datapegawai.db"); }

    // Runs what as the clerk, in a process of its own under umask mask, and
    // returns what it answered.
    static std::string asClerk(const std::function<std::string(TDMarsipstaf&)>& what, mode_t mask = 022)
    {
        ChildProcess clerk([&](ChildProcess::Channel& channel) {
            ::umask(mask);
            if (!OtherUser::become()) {
                channel.send("cannot become the other user");
                return;
            }
            std::string answer;
            try {
                TDMarsipstaf module;
                module.Loaded();
                answer = what(module);
            } catch (const std::exception& error) {
                answer = std::string("failed: ") + error.what();
            }
            for (char& c : answer)
                if (c == '\n')
                    c = '/';
            channel.send(answer);
        });
        return clerk.channel().receive(30000);
    }

    // What each change answers on the employee table, then its state and
    // its first record: a read-only table refuses every change at once.
    static std::string tryChanges(TDMarsipstaf& module)
    {
        TTable& t = module.Tdatapeg;
        std::string seen = t.CanModify() ? "modifiable" : "read-only";
        seen += "|" + DATABASE_ERROR_TEXT(t.Edit());
        seen += "|" + DATABASE_ERROR_TEXT(t.Append());
        seen += "|" + DATABASE_ERROR_TEXT(t.Insert());
        seen += "|" + DATABASE_ERROR_TEXT(t.Delete());
        seen += std::string("|") + (t.State() == TDataSetState::dsBrowse ? "browse" : "editing");
        t.First();
        return seen + "|" + t.FieldByName("NIP")->AsString();
    }

    static std::string modeText(mode_t mode)
    {
        char text[8];
        std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode));
        return text;
    }

    // The modes of the side files of a table, as the clerk sees them while
    // the table is open (they go with the last connection).
    static std::string sideModes(const std::string& table)
    {
        std::string seen;
        for (const char* suffix : {"-wal", "-shm", ".lck"})
            seen += (seen.empty() ? "" : " ") + modeText(OtherUser::modeOf(table + suffix));
        return seen;
    }

    static void makeFile(const std::string& path, mode_t mode, bool forClerk)
    {
        {
            std::ofstream touch(path);
        }
        if (forClerk)
            OtherUser::own(path);
        ::chmod(path.c_str(), mode);
    }

    TempDatabase db_;
    RegionalSettings saved_;
};

const std::string refused = "Tdatapeg: Cannot modify a read-only dataset";
const std::string refusedEverything =
    "read-only|" + refused + "|" + refused + "|" + refused + "|" + refused + "|browse|1000000001";

TEST_F(TableModes, AWritableTableCanBeChanged)
{
    // The other tests' baseline: the same clerk may change the same table.
    std::string seen = asClerk([](TDMarsipstaf& module) {
        module.Tdatapeg.Edit();
        module.Tdatapeg.FieldByName("Alamat")->SetText("Jl. Mawar 1");
        module.Tdatapeg.Post();
        return std::string(module.Tdatapeg.CanModify() ? "modifiable" : "read-only");
    });
    EXPECT_EQ(seen, "modifiable");
}

TEST_F(TableModes, AReadOnlyTableFileRefusesEveryChangeAtOnce)
{
    ::chmod(table().c_str(), 0400);
    EXPECT_EQ(asClerk(tryChanges), refusedEverything);
}

TEST_F(TableModes, AReadOnlyDirectoryOpensItsTablesReadOnly)
{
    ::chmod(db_.directory().c_str(), 0500);
    EXPECT_EQ(asClerk(tryChanges), refusedEverything);
}

TEST_F(TableModes, SideFilesLeftReadOnlyAreMendedOnceTheTableIsWritable)
{
    // A run against the table while it was read-only left its side files so.
    for (const char* suffix : {"-wal", "-shm", ".lck"})
        makeFile(table() + suffix, 0444, true);
    std::string seen = asClerk([this](TDMarsipstaf& module) {
        module.Tdatapeg.Edit();
        module.Tdatapeg.FieldByName("Alamat")->SetText("Jl. Mawar 1");
        module.Tdatapeg.Post();
        return sideModes(table());
    });
    EXPECT_EQ(seen, "0600 0600 0600");
}

TEST_F(TableModes, ASideFileTheClerkCannotWriteMakesTheTableReadOnly)
{
    if (!OtherUser::isRoot())
        GTEST_SKIP() << "needs a side file of another user: run as root";
    makeFile(table() + ".lck", 0644, false);  // root's, not the clerk's
    EXPECT_EQ(asClerk(tryChanges), refusedEverything);
}

TEST_F(TableModes, SideFilesTakeTheTableFileModesUnderAnyUmask)
{
    auto post = [this](TDMarsipstaf& module) {
        module.Tdatapeg.Edit();
        module.Tdatapeg.FieldByName("Alamat")->SetText("Jl. Mawar 1");
        module.Tdatapeg.Post();
        return sideModes(table());
    };
    ::unlink((table() + ".lck").c_str());
    EXPECT_EQ(asClerk(post, 0), "0600 0600 0600");
    // Shared by a group: the side files follow, whatever the umask.
    ::chmod(table().c_str(), 0660);
    ::unlink((table() + ".lck").c_str());
    EXPECT_EQ(asClerk(post, 077), "0660 0660 0660");
}

}  // namespace
