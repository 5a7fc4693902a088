#include "DataModuleFixture.h"
#include "DefaultTableFiles.h"
#include "SqliteTableFile.h"

#include <algorithm>
#include <filesystem>

namespace {

// A fresh directory of table files where one default file is replaced by
// a variant made by change.
class DataModuleOpening : public ::testing::Test {
protected:
    void replace(const std::string& tableName, const std::function<void(TableDescription&)>& change)
    {
        for (DefaultTableFiles::File file : DefaultTableFiles::all()) {
            if (file.description.tableName != tableName)
                continue;
            change(file.description);
            std::filesystem::remove(db_.path(tableName));
            TempDatabase::check(SqliteTableFile::create(db_.path(tableName), file.description));
        }
    }

    static void dropColumn(TableDescription& table, const std::string& name)
    {
        auto& fields = table.fields;
        fields.erase(std::remove_if(fields.begin(), fields.end(), [&](const auto& f) { return f.name == name; }),
                     fields.end());
        auto& indexes = table.indexes;
        indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                     [&](const auto& i) {
                                         return std::find(i.fields.begin(), i.fields.end(), name) != i.fields.end();
                                     }),
                      indexes.end());
    }

    std::string openError()
    {
        TDMarsipstaf dm;
        return DATABASE_ERROR_TEXT(dm.Loaded());
    }

    TempDatabase db_;
};

TEST_F(DataModuleOpening, MissingColumnsAreNamedWithTheirTable)
{
    replace("Datapegawai.db", [](TableDescription& t) {
        dropColumn(t, "NIP");
        t.indexes.front().primary = true;
    });
    EXPECT_EQ(openError(), "Tdatapeg: Field 'NIP' not found");
}

TEST_F(DataModuleOpening, ACodeTableWithoutItsTextColumnIsNamedAsTheLookupTable)
{
    replace("JK.db", [](TableDescription& t) { dropColumn(t, "JK"); });
    EXPECT_EQ(openError(), "Tjk: Field 'JK' not found");
}

TEST_F(DataModuleOpening, AColumnOfAnotherTypeIsATypeMismatch)
{
    replace("Mutasi.db", [](TableDescription& t) {
        for (FieldDescription& f : t.fields)
            if (f.name == "TMT") {
                f.type = ColumnType::Text;
                f.typeName = "String";
                f.size = 10;
            }
    });
    EXPECT_EQ(openError(), "Tmutasi: Type mismatch for field 'TMT', expecting: Date actual: String");
}

TEST_F(DataModuleOpening, IncompleteLookupInformationHasNoPrefix)
{
    TDMarsipstaf dm;
    dm.TdatapegAgama->LookupResultField.clear();
    EXPECT_EQ(DATABASE_ERROR_TEXT(dm.Loaded()), "Lookup information for field 'Agama' is incomplete");
}

TEST_F(DataModuleOpening, AMissingFileIsAnEngineErrorNamingIt)
{
    std::filesystem::remove(db_.path("Status.db"));
    std::string error = openError();
    EXPECT_NE(error.find("Status.db"), std::string::npos) << error;
}

TEST_F(DataModuleOpening, OrderingFallsBackToAnIndexThatBeginsWithTheFields)
{
    replace("Datapegawai.db", [](TableDescription& t) {
        t.indexes.erase(
            std::remove_if(t.indexes.begin(), t.indexes.end(), [](const auto& i) { return i.fieldList() == "Karpeg"; }),
            t.indexes.end());
        IndexDescription both;
        both.name = "ix_karpeg_nip";
        both.fields = {"Karpeg", "NIP"};
        t.indexes.push_back(both);
    });
    TDMarsipstaf dm;
    dm.Loaded();
    dm.Tdatapeg.SetIndexFieldNames("Karpeg");
    EXPECT_EQ(dm.Tdatapeg.IndexFieldNames(), "Karpeg");
    EXPECT_EQ(DATABASE_ERROR_TEXT(dm.Tdatapeg.SetIndexFieldNames("Kar")), "Tdatapeg: No index for fields 'Kar'");
}

}  // namespace
