#include "ExportFile.h"

#include <sys/stat.h>

std::unique_ptr<ReplacingFile> ExportFile::create(const std::string& path)
{
    // A device or pipe named by the user keeps its mode.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 07777) != 0600)
        (void)::chmod(path.c_str(), 0600);
    return std::make_unique<ReplacingFile>(path, 0600);
}
