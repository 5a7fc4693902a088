// While a run of rows goes to the server on a thread of its own, the session
// is that thread's: a statement of another caller is refused rather than
// mixed into the copy, and goes through once the run is settled.
#include "BothEngines.h"
#include "BulkWriter.h"
#include "EngineConfig.h"
#include "StorageEngine.h"

#include <gtest/gtest.h>

TEST(ServerBulkWriter, TheSessionIsRefusedToOthersWhileARunIsOnItsWay)
{
    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::unique_ptr<EngineDatabase> database;
    TempDatabase::check(StorageEngine::defaultSession().openDatabase(EngineConfig::defaultAlias, database));
    std::unique_ptr<EngineCursor> codes;
    TempDatabase::check(database->openTable("JK.db", "", codes));
    std::unique_ptr<BulkWriter> writer;
    TempDatabase::check(database->openBulkWriter("Agama.db", writer));

    std::int64_t added = 0;
    TempDatabase::check(writer->store({{std::string("9"), std::string("Lain-lain")}}, added));
    std::int64_t count = 0;
    EngineStatus refused = codes->recordCount(count);
    EXPECT_EQ(refused.code, EngineCode::Internal);
    EXPECT_EQ(refused.message, "The connection to the database server is busy.");

    TempDatabase::check(writer->settle(added));
    EXPECT_EQ(added, 1);
    TempDatabase::check(codes->recordCount(count));
    EXPECT_EQ(count, 2);
    TempDatabase::check(writer->commit());
}
