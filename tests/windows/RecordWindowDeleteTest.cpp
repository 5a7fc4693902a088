#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBGrid.h"

// After "Hapus" the grid shows the rows around the record that became
// current, wherever in the table the deleted record stood.
namespace {

struct DeleteCase {
    std::string name;
    bool employee;
    int fromEnd;  // the deleted record: 1 the last, 2 the second-last, ...
    TestEngine engine;
};

std::ostream& operator<<(std::ostream& os, const DeleteCase& c)
{
    return os << c.name;
}

std::vector<DeleteCase> deleteCases()
{
    std::vector<DeleteCase> cases;
    for (TestEngine engine : {TestEngine::Files, TestEngine::Server})
        for (bool employee : {true, false})
            for (int fromEnd : {1, 2, 3})
                cases.push_back({std::string(employee ? "Employee" : "Transfer") + std::to_string(fromEnd) + "FromEnd" +
                                     (engine == TestEngine::Files ? "Files" : "Server"),
                                 employee, fromEnd, engine});
    return cases;
}

class GridAfterDelete : public RecordWindowFixture, public ::testing::WithParamInterface<DeleteCase> {
protected:
    TestEngine engine() const override { return GetParam().engine; }
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }

    // Keys from the first row of the grid to its last.
    std::vector<std::string> gridKeys()
    {
        TGridDataLink& link = form().DBGrid1->DataLink();
        const int current = link.ActiveRecord();
        std::vector<std::string> keys;
        for (int row = 0; row < link.RecordCount(); ++row) {
            link.SetActiveRecord(row);
            keys.push_back(table().Fields().front()->AsString());
        }
        link.SetActiveRecord(current);
        return keys;
    }
};

TEST_P(GridAfterDelete, ShowsTheRowsAroundTheNewCurrentRecord)
{
    const bool employee = GetParam().employee;
    for (int n = 0; n < 6; ++n) {
        if (employee)
            addEmployee("19800101" + std::to_string(10 + n), "Tambahan");
        else
            addTransfer("E-10" + std::to_string(10 + n) + "-AA.01.01-2001", "19800101010", "Tambahan");
    }
    showAndActivate(form());
    const int rows = form().DBGrid1->VisibleRowCount();
    ASSERT_GE(rows, 2);
    ASSERT_GT(table().RecordCount(), rows + 2);
    table().Last();
    for (int n = 1; n < GetParam().fromEnd; ++n)
        table().Prior();
    const std::string deleted = table().Fields().front()->AsString();
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("Yes"));
        click(form().Button4);
    }
    const std::vector<std::string> shown = gridKeys();
    const std::string current = table().Fields().front()->AsString();

    std::vector<std::string> all;
    for (table().First(); !table().Eof(); table().Next())
        all.push_back(table().Fields().front()->AsString());
    ASSERT_EQ(std::find(all.begin(), all.end(), deleted), all.end());
    ASSERT_EQ(shown.size(), std::size_t(rows));
    const auto top = std::find(all.begin(), all.end(), shown.front());
    ASSERT_LE(top + rows, all.end());
    EXPECT_EQ(shown, std::vector<std::string>(top, top + rows));
    EXPECT_NE(std::find(shown.begin(), shown.end(), current), shown.end());
}

INSTANTIATE_TEST_SUITE_P(Windows, GridAfterDelete, ::testing::ValuesIn(deleteCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
