#pragma once
// The version-1 databases of tests/fixtures/v1 and a test's own upgrade
// steps.
//
//     TempDatabase db{TempDatabase::Tables::None, GetParam()};
//     loadVersionOne(db);                         // the fixture, files or server
//     InstalledSteps steps{InstalledSteps::withNoteColumn()};
//     db.open("Datapegawai.db");                  // upgraded on opening
#include "SchemaSteps.h"
#include "TempDatabase.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

inline std::string versionOneFixtures()
{
    return std::string(ARSIPSTAF_SOURCE_DIR) + "/tests/fixtures/v1";
}

// Puts the fixture's nine tables into db: the files copied into its data
// directory, or the dump loaded into its schema (made anew for it).
inline void loadVersionOne(TempDatabase& db)
{
    if (!db.onServer()) {
        for (const auto& entry : std::filesystem::directory_iterator(versionOneFixtures() + "/files")) {
            std::string target = db.directory() + "/" + entry.path().filename().string();
            std::filesystem::copy_file(entry.path(), target);
            std::filesystem::permissions(target, std::filesystem::perms(0600));
        }
        return;
    }
    std::ifstream in(versionOneFixtures() + "/server.sql");
    std::string line, sql;
    while (std::getline(in, line)) {
        // The dump tool's own commands and the schema it came from.
        if (line.rfind("\\", 0) == 0 || line.find("SCHEMA public") != std::string::npos)
            continue;
        sql += line + '\n';
    }
    sql = std::regex_replace(sql, std::regex("\\bpublic\\."), db.schema() + ".");
    TempDatabase::serverScript(TempDatabase::serverAddress(),
                               "DROP SCHEMA " + db.schema() + " CASCADE; CREATE SCHEMA " + db.schema());
    TempDatabase::serverScript(TempDatabase::serverAddress(), sql);
}

// Upgrade steps in force while it lives; the program's own again after.
class InstalledSteps {
public:
    explicit InstalledSteps(SchemaSteps steps) : steps_(std::move(steps)) { SchemaSteps::install(&steps_); }
    ~InstalledSteps() { SchemaSteps::install(nullptr); }
    InstalledSteps(const InstalledSteps&) = delete;
    InstalledSteps& operator=(const InstalledSteps&) = delete;

    // The program's steps and one more: the column Catatan (text of 40,
    // default "-") added to the employees.
    static SchemaSteps withNoteColumn()
    {
        SchemaSteps steps = SchemaSteps::program();
        SchemaStep step;
        step.from = steps.version();
        step.text = "column Catatan added to Datapegawai.db";
        step.apply = [](SchemaChange& change) {
            if (change.tableName() != "Datapegawai.db")
                return EngineStatus::success();
            FieldDescription note;
            note.name = "Catatan";
            note.typeName = "String";
            note.size = 40;
            note.hasDefault = true;
            note.defaultValue = "-";
            return change.addColumn(note);
        };
        steps.steps.push_back(step);
        return steps;
    }

private:
    SchemaSteps steps_;
};
