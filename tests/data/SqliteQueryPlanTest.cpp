// Every cursor movement must be one seek in an index. A query that falls back
// to a table scan or a temporary sort still gives the right answer on a small
// table, so only its plan shows the fault.
#include "SqliteCursor.h"
#include "TempDatabase.h"

#include <gtest/gtest.h>

namespace {

std::string planOf(sqlite3* db, const std::string& sql)
{
    SqliteStatement explain;
    EXPECT_EQ(explain.prepare(db, "EXPLAIN QUERY PLAN " + sql), SQLITE_OK) << sql;
    std::string plan;
    while (explain.prepared() && explain.step() == SQLITE_ROW)
        plan += explain.text(3) + "\n";
    return plan;
}

}  // namespace

class QueryPlanTest : public ::testing::TestWithParam<const char*> {};

TEST_P(QueryPlanTest, EveryMoveSeeksAnIndex)
{
    using Op = SqliteKeyOrder::Op;
    TempDatabase db;
    std::unique_ptr<EngineCursor> opened = db.open(GetParam());
    auto& cursor = dynamic_cast<SqliteCursor&>(*opened);
    std::vector<IndexDescription> indexes = cursor.description().indexes;
    ASSERT_FALSE(indexes.empty());
    for (const IndexDescription& index : indexes) {
        ASSERT_TRUE(cursor.switchToIndex(index.name, false).ok());
        const SqliteKeyOrder& order = cursor.keyOrder();
        for (Op op : {Op::First, Op::Last, Op::Greater, Op::GreaterEqual, Op::Less, Op::LessEqual, Op::Equal}) {
            bool keyed = op != Op::First && op != Op::Last;
            for (int prefix = keyed ? 1 : 0; prefix <= (keyed ? order.length() : 0); ++prefix) {
                std::string sql = order.sql(op, prefix);
                std::string plan = planOf(cursor.tableFile().handle(), sql);
                SCOPED_TRACE(sql + "\n" + plan);
                EXPECT_TRUE(plan.find("USING INDEX") != std::string::npos ||
                            plan.find("USING COVERING INDEX") != std::string::npos ||
                            plan.find("USING INTEGER PRIMARY KEY") != std::string::npos);
                EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos);
                if (keyed) {
                    EXPECT_NE(plan.find("SEARCH"), std::string::npos);
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, QueryPlanTest, ::testing::Values("Datapegawai.db", "Mutasi.db", "JK.db"));

TEST(PrefixPlanTest, PrefixSeekSearchesTheIndexLedByTheField)
{
    TempDatabase db;
    std::unique_ptr<EngineCursor> opened = db.open("Datapegawai.db");
    auto& cursor = dynamic_cast<SqliteCursor&>(*opened);
    const TableDescription& table = cursor.description();
    const IndexDescription& names = table.indexes[static_cast<size_t>(cursor.tableFile().indexNumber("Nama_Pegawai"))];
    int name = table.fieldNumber("Nama_Pegawai");
    for (const std::string order : {"Nama_Pegawai", "", "Karpeg"}) {
        ASSERT_TRUE(cursor.switchToIndex(order, false).ok());
        std::string sql = cursor.prefixSql(name, names, true);
        std::string plan = planOf(cursor.tableFile().handle(), sql);
        SCOPED_TRACE(sql + "\n" + plan);
        bool searched = plan.find("SEARCH records USING INDEX index_Nama_Pegawai") != std::string::npos;
        bool covered = plan.find("SEARCH records USING COVERING INDEX index_Nama_Pegawai") != std::string::npos;
        EXPECT_TRUE(searched || covered);
        // In the index's order or read unsorted: never a sort of the range.
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos);
        // In NIP order the range reads only the index, which holds the NIP.
        if (order.empty()) {
            EXPECT_TRUE(covered);
        }
    }
}

// A search with its window reads the first row of each spelling's range
// in one statement: each a seek on the name index, nothing sorted.
TEST(PrefixPlanTest, RangeStartsSeekTheNameIndexEach)
{
    TempDatabase db;
    std::unique_ptr<EngineCursor> opened = db.open("Datapegawai.db");
    auto& cursor = dynamic_cast<SqliteCursor&>(*opened);
    ASSERT_TRUE(cursor.switchToIndex("Nama_Pegawai", false).ok());
    int name = cursor.description().fieldNumber("Nama_Pegawai");
    for (size_t ranges : {1u, 3u, 16u}) {
        std::string sql = cursor.rangeStartsSql(name, ranges);
        std::string plan = planOf(cursor.tableFile().handle(), sql);
        SCOPED_TRACE(sql + "\n" + plan);
        size_t seeks = 0;
        for (size_t at = plan.find("SEARCH records USING INDEX index_Nama_Pegawai"); at != std::string::npos;
             at = plan.find("SEARCH records USING INDEX index_Nama_Pegawai", at + 1))
            ++seeks;
        EXPECT_EQ(seeks, ranges);
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos);
        EXPECT_EQ(plan.find("SCAN records"), std::string::npos);
    }
}
