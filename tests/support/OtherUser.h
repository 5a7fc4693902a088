#pragma once
// Another user of the machine, for tests of file modes. Root ignores mode
// bits, so when the tests run as root the other user is "nobody" and a child
// process switches to it before touching any table; run by anyone else, the
// child stays that user (whose own modes then apply).
//
//     OtherUser::own(db.directory());          // the clerk's files
//     ChildProcess clerk([](auto& channel) { OtherUser::become(); ... });
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class OtherUser {
public:
    static bool isRoot() { return ::geteuid() == 0; }
    static uid_t uid() { return isRoot() ? nobody()->pw_uid : ::geteuid(); }
    static gid_t gid() { return isRoot() ? nobody()->pw_gid : ::getegid(); }

    // Switches this (child) process to the other user; false on failure.
    static bool become()
    {
        if (!isRoot())
            return true;
        gid_t group = gid();
        return ::setgroups(1, &group) == 0 && ::setgid(group) == 0 && ::setuid(uid()) == 0;
    }

    // Gives path, and everything below it when it is a directory, to the
    // other user.
    static void own(const std::string& path)
    {
        if (!isRoot())
            return;
        (void)::lchown(path.c_str(), uid(), gid());
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored))
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored))
                (void)::lchown(entry.path().c_str(), uid(), gid());
    }

    // Lets the other user reach a test database's root and configuration.
    static void admit(const std::string& root, const std::string& configPath)
    {
        ::chmod(root.c_str(), 0755);
        ::chmod(configPath.c_str(), 0644);
    }

    static mode_t modeOf(const std::string& path)
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

private:
    static const passwd* nobody()
    {
        static const passwd* entry = ::getpwnam("nobody");
        return entry;
    }
};
