#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"

// The ordering group of the record windows always shows the order the
// table is in: a choice the table refuses (a pending record with a blank
// key cannot be stored first) puts the group back, and the arrow keys
// choose from the first key on.
namespace {

struct RefusalCase {
    std::string name;
    bool employee;
    int chosenBefore;  // -1: nothing chosen yet
    TestEngine engine;
};

std::ostream& operator<<(std::ostream& os, const RefusalCase& c)
{
    return os << c.name;
}

std::vector<RefusalCase> refusalCases()
{
    std::vector<RefusalCase> cases;
    for (TestEngine engine : {TestEngine::Files, TestEngine::Server})
        for (bool employee : {true, false})
            for (int before : {-1, 0})
                cases.push_back({std::string(employee ? "Employee" : "Transfer") +
                                     (before < 0 ? "NothingChosen" : "FirstChosen") +
                                     (engine == TestEngine::Files ? "Files" : "Server"),
                                 employee, before, engine});
    return cases;
}

class OrderingRefusal : public RecordWindowFixture, public ::testing::WithParamInterface<RefusalCase> {
protected:
    TestEngine engine() const override { return GetParam().engine; }
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }
};

TEST_P(OrderingRefusal, PutsTheGroupBackOnTheTablesOrderAndTheSameChoiceWorksOnceTheKeyIsThere)
{
    const RefusalCase& c = GetParam();
    showAndActivate(form());
    if (c.chosenBefore >= 0)
        choose(form().RadioGroup1, c.chosenBefore);
    const std::string orderBefore = table().IndexFieldNames();
    click(form().Button1);
    typeInto(form().entry(3), QStringLiteral("Zaenal"));
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        choose(form().RadioGroup1, 2);
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_TRUE(responder.last().text.contains(QStringLiteral("must have a value")));
    }
    EXPECT_EQ(table().IndexFieldNames(), orderBefore);
    EXPECT_EQ(form().RadioGroup1->ItemIndex(), c.chosenBefore);
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(form().RadioGroup1->button(item)->isChecked(), item == c.chosenBefore) << item;

    typeInto(form().entry(1), c.employee ? QStringLiteral("1999090909") : QStringLiteral("Z9999ZZ01012001"));
    ModalBoxResponder responder;
    choose(form().RadioGroup1, 2);
    EXPECT_TRUE(responder.boxes().isEmpty());
    EXPECT_EQ(form().RadioGroup1->ItemIndex(), 2);
    EXPECT_EQ(table().IndexFieldNames(), "Nama_Pegawai");
    table().Last();
    EXPECT_EQ(table().FieldByName("Nama_Pegawai")->AsString(), "Zaenal");
}

INSTANTIATE_TEST_SUITE_P(Windows, OrderingRefusal, ::testing::ValuesIn(refusalCases()),
                         [](const auto& info) { return info.param.name; });

// Before any item was chosen with the mouse, the arrows choose too.
TEST_F(RecordWindowFixture, ArrowKeysChooseTheOrderingBeforeAnyMouseChoice)
{
    for (RecordWindow* form : {static_cast<RecordWindow*>(form2.get()), static_cast<RecordWindow*>(form3.get())}) {
        showAndActivate(*form);
        TTable& table = *form->table();
        TRadioGroup* group = form->RadioGroup1;
        ASSERT_EQ(group->ItemIndex(), -1);
        group->button(0)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(group->ItemIndex(), 1);
        EXPECT_EQ(table.IndexFieldNames(), form == form2.get() ? "Karpeg" : "NIP");
        EXPECT_EQ(QApplication::focusWidget(), group->button(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(group->ItemIndex(), 2);
        EXPECT_EQ(table.IndexFieldNames(), "Nama_Pegawai");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        EXPECT_EQ(group->ItemIndex(), 1);
        form->Close();
    }
    EXPECT_TRUE(errors().empty());
}

}  // namespace
