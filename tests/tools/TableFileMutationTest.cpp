// Damaged table files through what the program and the admin tool really
// run: `check`, and the data module opening every table and reading every
// record. Each damage ends in a refusal that names the file or in readable
// records, never in another failure; under the sanitizers, never in a bad
// access either.
#include "AdminTool.h"
#include "ByteMutation.h"
#include "EDatabaseError.h"
#include "TDMarsipstaf.h"
#include "TField.h"
#include "TTable.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

struct CheckRun {
    int code;
    std::string err;
};

CheckRun check()
{
    std::ostringstream out, err;
    const int code = AdminTool::run({"check"}, out, err);
    return {code, err.str()};
}

// The data module opening every table, then reading every field of every
// record of one table: the database error each step raised, if any.
struct ModuleRun {
    std::string opening, reading;
};

ModuleRun readAll(const std::string& objectName)
{
    ModuleRun run;
    TDMarsipstaf module;
    try {
        module.Loaded();
    } catch (const EDatabaseError& error) {
        run.opening = error.what();
        return run;
    }
    try {
        for (TTable* table : module.Tables()) {
            if (table->Name() != objectName)
                continue;
            for (table->First(); !table->Eof(); table->Next())
                for (const auto& field : table->Fields())
                    (void)field->DisplayText();
        }
    } catch (const EDatabaseError& error) {
        run.reading = error.what();
    }
    return run;
}

struct DamagedTable {
    const char* file;
    const char* object;
};

}  // namespace

class TableFileMutation : public ::testing::TestWithParam<DamagedTable> {};

TEST_P(TableFileMutation, CheckAndTheDataModuleRefuseOrReadEveryRecord)
{
    std::mt19937 rng(1207);
    int refused = 0, unreadable = 0;
    for (int round = 0; round < 15; ++round) {
        TempDatabase db;
        {
            // Some records, so that damage can reach their pages.
            std::ostringstream out, err;
            ASSERT_EQ(AdminTool::run({"generate", "40"}, out, err), 0) << err.str();
        }
        const std::string path = db.path(GetParam().file);
        std::vector<std::uint8_t> bytes = ByteMutation::readFile(path);
        ASSERT_FALSE(bytes.empty());
        ByteMutation::mutate(bytes, rng);
        ByteMutation::writeFile(path, bytes);

        const CheckRun run = check();
        const ModuleRun module = readAll(GetParam().object);
        if (run.code != 0) {
            ++refused;
            EXPECT_NE(run.err.find(GetParam().file), std::string::npos) << run.err;
        }
        // What the program cannot open, check reports; a record that cannot
        // be read is refused with an error naming the table file.
        if (!module.opening.empty()) {
            EXPECT_NE(run.code, 0) << module.opening;
        }
        if (!module.reading.empty()) {
            ++unreadable;
            EXPECT_NE(module.reading.find(GetParam().file), std::string::npos) << module.reading;
        }
    }
    EXPECT_GT(refused + unreadable, 0);  // the damage reaches past what a reader ignores
}

INSTANTIATE_TEST_SUITE_P(Tables, TableFileMutation,
                         ::testing::Values(DamagedTable{"Datapegawai.db", "Tdatapeg"},
                                           DamagedTable{"Mutasi.db", "Tmutasi"}, DamagedTable{"JK.db", "Tjk"}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });
