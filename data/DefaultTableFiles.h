#pragma once
#include "EngineStatus.h"
#include "PgConnection.h"
#include "TableDescription.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// The nine table files a new database starts with: the two record tables
// (empty) and the seven code tables with the office's codes and texts, as
// the catalogue (TableCatalogue) describes them in version 1; creating them
// runs the upgrade steps after (SchemaSteps).
class DefaultTableFiles {
public:
    struct File {
        TableDescription description;                // tableName, fields, indexes
        std::vector<std::vector<std::string>> rows;  // code tables: one value per column
    };

    // Who may use a new database: by default its owner alone (directory
    // 0700, files 0600); shared by a group, its members too (directory 2770,
    // so that new files take its group, and files 0660).
    struct Modes {
        mode_t directory = 0700;
        mode_t file = 0600;
        gid_t group = static_cast<gid_t>(-1);  // -1: the process's own
        static Modes sharedBy(gid_t group) { return {02770, 0660, group}; }
    };

    // In the order the data module opens them, in version 1.
    static std::vector<File> all();

    // Creates every missing file in directory (made when missing) and fills
    // it; an existing file is never touched. report gets one plain line per
    // table saying what was done. Stops at the first failure. A directory it
    // makes, or any directory when a group is given, gets the directory mode
    // and group; the files it creates get the file mode and group.
    static EngineStatus createIn(const std::string& directory, std::vector<std::string>& report, const Modes& modes);
    static EngineStatus createIn(const std::string& directory, std::vector<std::string>& report);
    // The same in the schema of a database server: every table the schema
    // does not describe yet is created and filled.
    static EngineStatus createOnServer(const std::shared_ptr<PgConnection>& connection,
                                       std::vector<std::string>& report);
};
