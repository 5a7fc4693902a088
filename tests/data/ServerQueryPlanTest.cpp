// On the server every cursor movement and seek must be one index range scan,
// the case-insensitive name index included: a plan with a table scan or a
// sort still answers right on a small table, so only the plan shows it.
#include "BothEngines.h"
#include "PgCursor.h"

#include <gtest/gtest.h>

namespace {

// Fills every text column with numbered values and lets the server count them,
// so the planner weighs a table of some size, as in an office.
void fill(const TempDatabase& db, const TableDescription& table, int rows)
{
    std::string names, values;
    for (const FieldDescription& field : table.fields) {
        if (field.type != ColumnType::Text)
            continue;
        names += (names.empty() ? "\"" : ", \"") + field.name + "\"";
        values += (values.empty() ? "" : ", ") + std::string("right(lpad(g::text, 12, '0'), ") +
                  std::to_string(field.size) + ")";
    }
    db.runSql(table.tableName, "INSERT INTO {table} (" + names + ") SELECT " + values + " FROM generate_series(1, " +
                                   std::to_string(rows) + ") g; ANALYZE {table}");
}

std::string planOf(PgTable& table, const std::string& sql, const std::vector<FieldValue>& parameters)
{
    PgResult result;
    EngineStatus status = table.connection().run("EXPLAIN " + sql, parameters, result, "explain");
    EXPECT_TRUE(status.ok()) << sql << "\n" << status.message << (status.stack.empty() ? "" : status.stack[0]);
    std::string plan;
    for (int row = 0; row < result.rows(); ++row)
        plan += result.text(row, 0) + "\n";
    return plan;
}

struct PlanCase {
    const char* table;
    int rows;
};

class ServerQueryPlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(ServerQueryPlan, EveryMoveAndSeekIsAnIndexScan)
{
    using Op = PgKeyOrder::Op;
    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::unique_ptr<EngineCursor> opened = db.open(GetParam().table);
    auto& cursor = dynamic_cast<PgCursor&>(*opened);
    db.runSql(GetParam().table, "DELETE FROM {table}");
    fill(db, cursor.description(), GetParam().rows);
    ASSERT_FALSE(cursor.description().indexes.empty());
    for (const IndexDescription& index : cursor.description().indexes) {
        ASSERT_TRUE(cursor.switchToIndex(index.name, false).ok());
        const PgKeyOrder& order = cursor.keyOrder();
        for (Op op : {Op::First, Op::Last, Op::Greater, Op::GreaterEqual, Op::Less, Op::LessEqual, Op::Equal}) {
            bool keyed = op != Op::First && op != Op::Last;
            for (int prefix = keyed ? 1 : 0; prefix <= (keyed ? order.length() : 0); ++prefix) {
                std::vector<FieldValue> parameters(static_cast<size_t>(prefix), std::string("00000000004"));
                for (int i = 0; i < prefix; ++i)
                    if (i >= static_cast<int>(order.columns().size()))
                        parameters[static_cast<size_t>(i)] = std::string("7");
                std::string sql = order.sql(op, prefix, PgCursor::readAhead);
                std::string plan = planOf(cursor.table(), sql, parameters);
                SCOPED_TRACE(sql + "\n" + plan);
                EXPECT_NE(plan.find("Index Scan"), std::string::npos);
                EXPECT_EQ(plan.find("Seq Scan"), std::string::npos);
                EXPECT_EQ(plan.find("Sort"), std::string::npos);
                if (keyed) {
                    EXPECT_NE(plan.find("Index Cond"), std::string::npos);
                }
            }
        }
    }
    // A bookmark and a record read under a lock go straight to the row.
    std::string byRid =
        "SELECT " + cursor.table().selectList() + " FROM " + cursor.table().qualifiedName() + " WHERE rid = $1";
    std::string plan = planOf(cursor.table(), byRid, {std::string("7")});
    EXPECT_NE(plan.find("Index Scan"), std::string::npos) << plan;
}

INSTANTIATE_TEST_SUITE_P(Tables, ServerQueryPlan,
                         // The code tables fit one page, where the server rightly reads the page.
                         ::testing::Values(PlanCase{"Datapegawai.db", 20000}, PlanCase{"Mutasi.db", 20000}),
                         [](const ::testing::TestParamInfo<PlanCase>& info) {
                             std::string name = info.param.table;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
