// File modes of the data directory as init makes them and check sees them.
#include "AdminRun.h"
#include "AdminTool.h"
#include "ChildProcess.h"
#include "EngineConfig.h"
#include "OtherUser.h"
#include "PrivateFile.h"
#include "ShellCommand.h"
#include "TableFileAccess.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>

namespace {

// The same, run by the clerk (another user) in a process of its own.
AdminRun adminAsClerk(const std::vector<std::string>& args)
{
    ChildProcess clerk([&](ChildProcess::Channel& channel) {
        if (!OtherUser::become()) {
            channel.send("9");
            return;
        }
        AdminRun run = admin(args);
        auto flat = [](std::string text) {
            for (char& c : text)
                if (c == '\n')
                    c = '\x1f';
            return text;
        };
        channel.send(std::to_string(run.code));
        channel.send(flat(run.out));
        channel.send(flat(run.err));
    });
    auto unflat = [](std::string text) {
        for (char& c : text)
            if (c == '\x1f')
                c = '\n';
        return text;
    };
    AdminRun run;
    run.code = std::atoi(clerk.channel().receive(30000).c_str());
    run.out = unflat(clerk.channel().receive());
    run.err = unflat(clerk.channel().receive());
    return run;
}

// The same as account name, a member of group only; "shell" reads script.
AdminRun adminAs(const char* name, gid_t group, const std::vector<std::string>& args, const std::string& script = "")
{
    ChildProcess member([&](ChildProcess::Channel& channel) {
        const passwd* user = ::getpwnam(name);
        if (!user || ::setgroups(1, &group) != 0 || ::setgid(group) != 0 || ::setuid(user->pw_uid) != 0) {
            channel.send("9");
            return;
        }
        std::istringstream in(script);
        std::ostringstream out, err;
        int code = args.at(0) == "shell" ? ShellCommand::run(in, out, err) : AdminTool::run(args, out, err);
        for (std::string text : {std::to_string(code), out.str(), err.str()}) {
            for (char& c : text)
                c = c == '\n' ? '\x1f' : c;
            channel.send(text);
        }
    });
    AdminRun run;
    std::string* parts[] = {nullptr, &run.out, &run.err};
    run.code = std::atoi(member.channel().receive(30000).c_str());
    for (std::string* part : {parts[1], parts[2]}) {
        *part = member.channel().receive();
        for (char& c : *part)
            c = c == '\x1f' ? '\n' : c;
    }
    return run;
}

mode_t modeOf(const std::string& path)
{
    return OtherUser::modeOf(path);
}

gid_t groupOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_gid : static_cast<gid_t>(-1);
}

const std::vector<std::string> tables = {"Agama.db",  "Datapegawai.db", "Golongan.db",    "Jabatan.db", "JK.db",
                                         "Mutasi.db", "Pangkat.db",     "Pend_Formal.db", "Status.db"};

// A group other than the process's own when running as root; otherwise the
// process's own group, the only one it may surely give its files.
std::string shareGroup()
{
    if (OtherUser::isRoot() && ::getgrnam("nogroup"))
        return "nogroup";
    const group* own = ::getgrgid(::getegid());
    return own ? own->gr_name : std::string();
}

TEST(AdminModes, InitMakesTheDataPrivateUnderAnyUmask)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string target = db.root() + "/arsip";
    mode_t saved = ::umask(0);
    AdminRun run = admin({"init", target});
    ::umask(saved);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(modeOf(target), 0700u);
    for (const std::string& table : tables)
        EXPECT_EQ(modeOf(target + "/" + table), 0600u) << table;
    EXPECT_EQ(modeOf(db.configPath()), 0600u);
    AdminRun check = admin({"check"});
    EXPECT_EQ(check.code, 0) << check.err;
    EXPECT_EQ(check.err, "");
}

TEST(AdminModes, InitWithAGroupSharesTheDataWithIt)
{
    std::string name = shareGroup();
    ASSERT_FALSE(name.empty());
    gid_t gid = ::getgrnam(name.c_str())->gr_gid;
    TempDatabase db(TempDatabase::Tables::None);
    std::string target = db.root() + "/arsip";
    mode_t saved = ::umask(077);
    AdminRun run = admin({"init", "--group", name, target});
    ::umask(saved);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(modeOf(target), 02770u);
    EXPECT_EQ(groupOf(target), gid);
    for (const std::string& table : tables) {
        EXPECT_EQ(modeOf(target + "/" + table), 0660u) << table;
        EXPECT_EQ(groupOf(target + "/" + table), gid) << table;
    }
    AdminRun check = admin({"check"});
    EXPECT_EQ(check.code, 0) << check.err;
    EXPECT_EQ(check.err, "");
    EXPECT_EQ(admin({"init", "--group", "no-such-group-here", target}).code, 2);
}

TEST(AdminModes, CheckWarnsAboutDataOthersCanReadAndFixesIt)
{
    TempDatabase db;
    ::chmod(db.directory().c_str(), 0755);
    ::chmod(db.path("Datapegawai.db").c_str(), 0644);
    ::chmod(db.path("Mutasi.db").c_str(), 0666);
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 0) << run.err;  // a warning, not a failure
    EXPECT_NE(run.err.find("warning: The data directory " + db.directory() + " can be read by other users (mode 0755"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("warning: The file " + db.path("Datapegawai.db") + " can be read by other users"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("warning: The file " + db.path("Mutasi.db") + " can be read and written by other users"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("Agama.db can be"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("fix: arsipstaf-admin check --fix-modes"), std::string::npos);

    AdminRun fixed = admin({"check", "--fix-modes"});
    EXPECT_EQ(fixed.code, 0) << fixed.err;
    EXPECT_NE(fixed.out.find("Modes mended: " + db.directory() + ": mode 0755 -> 0700"), std::string::npos)
        << fixed.out;
    EXPECT_EQ(fixed.err, "");
    EXPECT_EQ(modeOf(db.directory()), 0700u);
    EXPECT_EQ(modeOf(db.path("Datapegawai.db")), 0600u);
    EXPECT_EQ(modeOf(db.path("Mutasi.db")), 0600u);
    EXPECT_EQ(admin({"check"}).err, "");
}

// A database made without --group is its owner's alone: group bits are
// exposure too. One made with --group keeps them; either way --fix-modes
// gives back exactly what init gave.
TEST(AdminModes, GroupBitsOfAPrivateDatabaseAreWarnedAboutAndFixed)
{
    std::string name = shareGroup();
    ASSERT_FALSE(name.empty());
    TempDatabase db(TempDatabase::Tables::None);
    std::string priv = db.root() + "/private", shared = db.root() + "/shared";
    ASSERT_EQ(admin({"init", "--group", name, shared}).code, 0);
    ASSERT_EQ(admin({"init", priv}).code, 0);  // the alias names the private one
    ::chmod(priv.c_str(), 0750);
    ::chmod((priv + "/Datapegawai.db").c_str(), 0640);
    AdminRun run = admin({"check"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.err.find("warning: The data directory " + priv + " can be read by the group "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("warning: The file " + priv + "/Datapegawai.db can be read by the group"), std::string::npos)
        << run.err;
    ASSERT_EQ(admin({"check", "--fix-modes"}).code, 0);
    EXPECT_EQ(modeOf(priv), 0700u);
    EXPECT_EQ(modeOf(priv + "/Datapegawai.db"), 0600u);

    ASSERT_EQ(admin({"init", "--group", name, shared}).code, 0);  // the alias names the shared one again
    EXPECT_EQ(admin({"check"}).err, "");
    ::chmod(shared.c_str(), 02777);
    ::chmod((shared + "/Mutasi.db").c_str(), 0666);
    EXPECT_NE(admin({"check"}).err.find("can be read and written by other users"), std::string::npos);
    AdminRun fixed = admin({"check", "--fix-modes"});
    EXPECT_NE(fixed.out.find("Modes mended: " + shared + ": mode 2777 -> 2770"), std::string::npos) << fixed.out;
    EXPECT_EQ(modeOf(shared), 02770u);
    EXPECT_EQ(modeOf(shared + "/Mutasi.db"), 0660u);
    EXPECT_EQ(admin({"check"}).err, "");
}

class AdminCheckAsClerk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::chmod(db_.directory().c_str(), 0700);  // as init makes it
        OtherUser::own(db_.directory());
        OtherUser::admit(db_.root(), db_.configPath());
    }
    void TearDown() override { ::chmod(db_.directory().c_str(), 0700); }

    TempDatabase db_;
};

TEST_F(AdminCheckAsClerk, AllIsWellWhenTheClerkCanWriteEverything)
{
    AdminRun run = adminAsClerk({"check"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

TEST_F(AdminCheckAsClerk, AReadOnlyDirectoryIsReportedAsSuch)
{
    ::chmod(db_.directory().c_str(), 0500);
    AdminRun run = adminAsClerk({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("The data directory " + db_.directory() + " cannot be written (mode 0500"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("damaged"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("The data module opens all nine tables."), std::string::npos) << run.out;
}

TEST_F(AdminCheckAsClerk, AReadOnlyTableFileIsNamed)
{
    ::chmod(db_.path("Mutasi.db").c_str(), 0400);
    AdminRun run = adminAsClerk({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("The table file " + db_.path("Mutasi.db") + " cannot be written (mode 0400"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("Datapegawai.db: ok"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Mutasi.db: ok"), std::string::npos) << run.out;
}

TEST_F(AdminCheckAsClerk, ASideFileThatBlocksStoresIsNamed)
{
    if (!OtherUser::isRoot())
        GTEST_SKIP() << "needs a side file of another user: run as root";
    std::string side = db_.path("Datapegawai.db") + "-shm";
    {
        std::ofstream touch(side);
    }
    ::chmod(side.c_str(), 0444);  // root's, so the clerk cannot mend it
    AdminRun run = adminAsClerk({"check"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("The side file " + side + " cannot be written (mode 0444, owner root:"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("stores into Datapegawai.db fail"), std::string::npos) << run.err;
}

TEST(PrivateFile, NewFilesAreTheOwnersOnlyAndExistingOnesKeepTheirModes)
{
    TempDatabase db(TempDatabase::Tables::None);
    std::string fresh = db.root() + "/export.txt", kept = db.root() + "/shared.txt";
    mode_t saved = ::umask(0);
    ASSERT_TRUE(PrivateFile::prepare(fresh));
    {
        std::ofstream make(kept);
    }
    ::chmod(kept.c_str(), 0644);
    ASSERT_TRUE(PrivateFile::prepare(kept));
    ::umask(saved);
    EXPECT_EQ(modeOf(fresh), 0600u);
    EXPECT_EQ(modeOf(kept), 0644u);
    {
        std::ofstream write(fresh, std::ios::trunc);
        write << "data";
    }
    EXPECT_EQ(modeOf(fresh), 0600u);

    // The configuration rewritten keeps the modes its owner gave it.
    ::chmod(db.configPath().c_str(), 0640);
    ASSERT_TRUE(EngineConfig::writeAlias(db.configPath(), "lain", db.root()).ok());
    EXPECT_EQ(modeOf(db.configPath()), 0640u);
}

}  // namespace

// A second clerk read a table while it was read-only: the log and shared
// memory SQLite made then carry that clerk's account and the read-only mode,
// and block the table's owner once it is writable again. check names them;
// --fix-modes, run by the owner, takes them over while nobody uses the table.
TEST(AdminModes, SideFilesLeftInAReadOnlyPeriodAreTakenOverByTheOwner)
{
    if (!OtherUser::isRoot() || !::getpwnam("daemon") || !::getpwnam("nobody") || !::getgrnam("nogroup"))
        GTEST_SKIP() << "needs the accounts nobody and daemon and the group nogroup: run as root";
    gid_t group = ::getgrnam("nogroup")->gr_gid;
    TempDatabase db(TempDatabase::Tables::None);
    std::string target = db.root() + "/arsip", table = target + "/Datapegawai.db";
    ASSERT_EQ(admin({"init", "--group", "nogroup", target}).code, 0);
    OtherUser::admit(db.root(), db.configPath());
    OtherUser::own(target);  // nobody is the first clerk, the owner
    ::chmod(target.c_str(), 02770);

    ::chmod(table.c_str(), 0440);
    AdminRun reading = adminAs("daemon", group, {"shell"}, "use Tdatapeg\ncount\n");
    ASSERT_EQ(reading.out, "ok\nok 0\n") << reading.err;
    ::chmod(table.c_str(), 0660);

    AdminRun blocked = adminAs("nobody", group, {"check"});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_NE(blocked.err.find("The side file " + table + "-shm cannot be written (mode 0440, owner daemon:nogroup)"),
              std::string::npos)
        << blocked.err;
    AdminRun fixed = adminAs("nobody", group, {"check", "--fix-modes"});
    EXPECT_EQ(fixed.code, 0) << fixed.err;
    EXPECT_NE(fixed.out.find(table + "-shm: mode 0440, owner daemon:nogroup -> replaced by this account's own"),
              std::string::npos)
        << fixed.out;
    AdminRun post = adminAs("nobody", group, {"shell"}, "use Tdatapeg\nappend\nset NIP 1999\npost\ncount\n");
    EXPECT_EQ(post.out, "ok\nok\nok\nok\nok 1\n") << post.err;
}

// Taking over a side file of a table another process has open would pull
// the shared memory from under it: that is left to the owner, and said.
TEST(AdminModes, SideFilesOfATableInUseAreNotTakenOver)
{
    TempDatabase db;
    std::string table = db.path("Datapegawai.db");
    ChildProcess reader([&](ChildProcess::Channel& channel) {
        std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
        std::int64_t count = 0;
        channel.send(cursor->recordCount(count).ok() ? "open" : "failed");
        channel.receive(60000);
    });
    ASSERT_EQ(reader.channel().receive(30000), "open");
    EXPECT_TRUE(TableFileAccess::inUse(table));
    if (OtherUser::isRoot()) {
        // The reader's (root's) shared memory, which the other account, whose
        // directory it is, may not change.
        std::string shm = table + "-shm";
        ::chmod(shm.c_str(), 0444);  // readable, so the lock decides
        OtherUser::admit(db.root(), db.configPath());
        ChildProcess fixer([&](ChildProcess::Channel& channel) {
            ::chown(db.directory().c_str(), OtherUser::uid(), OtherUser::gid());
            std::vector<std::string> lines;
            if (OtherUser::become())
                lines = TableFileAccess::takeOverSideFiles(table);
            channel.send(lines.empty() ? "" : lines.front());
        });
        std::string line = fixer.channel().receive(30000);
        EXPECT_NE(line.find("cannot replace it (the table is in use)"), std::string::npos) << line;
        EXPECT_TRUE(std::filesystem::exists(shm));
    }
    reader.stop(SIGTERM);
    EXPECT_FALSE(TableFileAccess::inUse(table));
}
