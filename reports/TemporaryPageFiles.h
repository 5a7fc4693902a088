#pragma once
#include <cstdio>
#include <string>

// The temporary files that hold pages beyond the memory limit. Each is
// named RPF<pid>-XXXXXX in the temporary folder and held under an exclusive
// lock by the process that made it, so a file nobody holds is one a killed
// run left behind. A run that ends by SIGTERM or SIGINT removes its files
// before it ends.
class TemporaryPageFiles {
public:
    // The temporary folder ($TMPDIR, else /tmp). Raises EReportError naming
    // the folder when it is missing or cannot be written.
    static std::string folder();

    // A new file, open for reading and writing and locked; its name goes to
    // name. Raises EReportError with the cause when it cannot be made.
    static std::FILE* create(std::string& name);
    // Closes and removes a file made by create().
    static void remove(std::FILE* file, const std::string& name);
    // A file made by create() was moved to be kept under another name: it is
    // no longer this process's to remove, and no longer held.
    static void kept(std::FILE* file, const std::string& name);

    // Removes the files of runs that have ended: only files named as ours,
    // owned by this user and held by no live process. Returns how many.
    static int removeLeftovers();

    // From now on SIGTERM and SIGINT remove this process's files, then end
    // it as the signal would have.
    static void removeOnTermination();
};
