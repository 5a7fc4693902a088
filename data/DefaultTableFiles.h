#pragma once
#include "EngineStatus.h"
#include "PgConnection.h"
#include "TableDescription.h"

#include <memory>
#include <string>
#include <vector>

// The nine table files a new database starts with: the two record tables
// (empty) and the seven code tables with the office's codes and texts.
class DefaultTableFiles {
public:
    struct File {
        TableDescription description;             // tableName, fields, indexes
        std::vector<std::vector<std::string>> rows;  // code tables: one value per column
    };

    // In the order the data module opens them.
    static std::vector<File> all();

    // Creates every missing file in directory (made when missing) and fills
    // it; an existing file is never touched. report gets one plain line per
    // table saying what was done. Stops at the first failure.
    static EngineStatus createIn(const std::string& directory, std::vector<std::string>& report);
    // The same in the schema of a database server: every table the schema
    // does not describe yet is created and filled.
    static EngineStatus createOnServer(const std::shared_ptr<PgConnection>& connection,
                                       std::vector<std::string>& report);
};
