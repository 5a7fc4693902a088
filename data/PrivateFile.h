#pragma once
#include <string>

// Files the program writes for the user (exports, saved report files, its
// configuration) may hold personal data: a new one is readable and writable
// by its owner only (0600), whatever the umask; a file that already exists
// keeps the modes its owner gave it. Use before writing any such file.
class PrivateFile {
public:
    // Makes path exist, empty and 0600, when it does not, so that a later
    // open for writing keeps those modes; an existing file is left as it is.
    // False (errno set) when it can be neither found nor made.
    static bool prepare(const std::string& path);
    // Gives replacement, a file about to be renamed over target, the modes
    // of target when target exists, else 0600.
    static void takeModes(const std::string& replacement, const std::string& target);
};
