// Opening a table that this process already has open must leave the first
// connection's locks in place: without them another process may checkpoint
// and remove the log under it, which corrupts the file.
#include "SqliteTableFile.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// SQLite's shared-lock bytes on a database file.
constexpr off_t sharedFirst = 0x40000002;
constexpr off_t sharedSize = 510;

// Whether another process finds a lock on the shared-lock bytes of path.
bool lockedForOthers(const std::string& path)
{
    pid_t child = fork();
    if (child == 0) {
        int fd = ::open(path.c_str(), O_RDWR);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = sharedFirst;
        probe.l_len = sharedSize;
        int rc = fcntl(fd, F_GETLK, &probe);
        _exit(rc == 0 && probe.l_type != F_UNLCK ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(OpenLocks, OpeningATableAgainKeepsTheFirstConnectionsLocks)
{
    TempDatabase db;
    std::shared_ptr<SqliteTableFile> first, second;
    ASSERT_TRUE(SqliteTableFile::open(db.directory(), "Datapegawai.db", first).ok());
    std::int64_t count = 0;
    ASSERT_TRUE(first->count(count).ok());  // a first read: the connection now holds its lock
    ASSERT_TRUE(lockedForOthers(db.path("Datapegawai.db"))) << "a connection in log mode keeps a shared lock";
    ASSERT_TRUE(SqliteTableFile::open(db.directory(), "Datapegawai.db", second).ok());
    EXPECT_TRUE(lockedForOthers(db.path("Datapegawai.db")));
    second.reset();
    EXPECT_TRUE(lockedForOthers(db.path("Datapegawai.db")));
}

}  // namespace
