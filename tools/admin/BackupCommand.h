#pragma once
#include <ostream>
#include <string>

// backup DIR: copies the nine table files of the database behind
// rekam_induk into DIR (made when missing; a directory already holding a
// backup is refused) while the program may be in use. Each file is copied
// through SQLite's online backup at one moment, its copy checked, counted
// and summed; the manifest comes last (BackupManifest).
class BackupCommand {
public:
    static int run(const std::string& directory, std::ostream& out, std::ostream& err);
};
