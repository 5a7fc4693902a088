#include "ModalBoxResponder.h"
#include "SharedTablesFixture.h"
#include "TDBNavigator.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm7.h"
#include "TNavButton.h"

#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// A window over the test's data module.
template <class T>
TForm* windowOver(TDMarsipstaf& module)
{
    return new T(module);
}

struct ListCase {
    const char* name;
    std::function<TForm*(TDMarsipstaf&)> create;
    TTable& (*table)(TDMarsipstaf&);
    const char* keyField;
    // Three records, stored out of key order; returns the first and last key.
    std::pair<std::string, std::string> (*seed)(TTable&);
};

std::ostream& operator<<(std::ostream& os, const ListCase& c)
{
    return os << c.name;
}

void store(TTable& table, const std::vector<std::pair<const char*, const char*>>& values)
{
    table.Append();
    for (const auto& [field, text] : values)
        table.FieldByName(field)->SetText(text);
    table.Post();
}

std::pair<std::string, std::string> seedEmployees(TTable& t)
{
    store(t, {{"NIP", "1970000002"}, {"Nama_Pegawai", "Budi"}});
    store(t, {{"NIP", "1970000003"}, {"Nama_Pegawai", "Ani"}});
    store(t, {{"NIP", "1970000001"}, {"Nama_Pegawai", "Citra"}});
    return {"1970000001", "1970000003"};
}

std::pair<std::string, std::string> seedTransfers(TTable& t)
{
    store(t, {{"No_SKM", "B-0002-AA.01.01-2001"}, {"NIP", "19700000002"}});
    store(t, {{"No_SKM", "C-0003-AA.01.01-2001"}, {"NIP", "19700000003"}});
    store(t, {{"No_SKM", "A-0001-AA.01.01-2001"}, {"NIP", "19700000001"}});
    return {"A-0001-AA.01.01-2001", "C-0003-AA.01.01-2001"};
}

QPushButton* buttonOf(TForm& form, const char* name)
{
    auto* b = form.findChild<QPushButton*>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b;
}

}  // namespace

class ListWindowTest : public SharedTablesFixture, public ::testing::WithParamInterface<ListCase> {
protected:
    TTable& table() { return GetParam().table(dm()); }
    std::string key() { return table().FieldByName(GetParam().keyField)->AsString(); }
};

TEST_P(ListWindowTest, FirstAndLastOnAnEmptyTableShowNothingAndLeaveNothingCurrent)
{
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    ModalBoxResponder responder;  // any box fails the test
    QTest::mouseClick(buttonOf(*form, "Button1"), Qt::LeftButton);
    QTest::mouseClick(buttonOf(*form, "Button2"), Qt::LeftButton);
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_TRUE(table().IsEmpty());
    EXPECT_TRUE(table().Bof());
    EXPECT_TRUE(table().Eof());
}

TEST_P(ListWindowTest, FirstAndLastMoveTheSharedTable)
{
    const auto [first, last] = GetParam().seed(table());
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    QTest::mouseClick(buttonOf(*form, "Button1"), Qt::LeftButton);
    EXPECT_EQ(key(), first);
    EXPECT_TRUE(table().Bof());
    QTest::mouseClick(buttonOf(*form, "Button2"), Qt::LeftButton);
    EXPECT_EQ(key(), last);
    EXPECT_TRUE(table().Eof());
}

TEST_P(ListWindowTest, NavigatorShowsTheFourMovementButtonsAndFollowsTheTable)
{
    GetParam().seed(table());
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    auto* nav = form->findChild<TDBNavigator*>(QStringLiteral("DBNavigator1"));
    ASSERT_NE(nav, nullptr);
    for (int b = 0; b < navigateButtonCount; ++b)
        EXPECT_EQ(nav->VisibleButtons()[b], b <= nbLast) << b;
    QTest::mouseClick(buttonOf(*form, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(nav->button(nbLast)->isEnabled());
    EXPECT_TRUE(nav->button(nbFirst)->isEnabled());
    QTest::mouseClick(nav->button(nbFirst), Qt::LeftButton);
    EXPECT_EQ(key(), GetParam().seed == seedEmployees ? "1970000001" : "A-0001-AA.01.01-2001");
}

TEST_P(ListWindowTest, TutupAndTheFramesCloseBoxOnlyHideTheWindow)
{
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    form->Show();
    QTest::mouseClick(buttonOf(*form, "Button3"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    form->Show();
    EXPECT_TRUE(form->isVisible());
    form->close();
    EXPECT_FALSE(form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListWindowTest,
    ::testing::Values(ListCase{"Form4", windowOver<TForm4>, [](TDMarsipstaf& dm) -> TTable& { return dm.Tdatapeg; },
                               "NIP", seedEmployees},
                      ListCase{"Form5", windowOver<TForm5>, [](TDMarsipstaf& dm) -> TTable& { return dm.Tmutasi; },
                               "No_SKM", seedTransfers}),
    [](const auto& info) { return std::string(info.param.name); });

using ListWindowPendingTest = SharedTablesFixture;

TEST_F(ListWindowPendingTest, PertamaStoresAModifiedNewEmployeeThenMovesToTheFirst)
{
    addEmployee("1970000002", "Budi");
    addEmployee("1970000003", "Ani");
    TForm4 form(dm());
    // A record being entered in the employee data window, modified.
    peg().Append();
    peg().FieldByName("NIP")->SetText("1970000001");
    peg().FieldByName("Nama_Pegawai")->SetText("Citra");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 3);
    EXPECT_EQ(current(), "1970000001");
    EXPECT_EQ(order(), (std::vector<std::string>{"1970000001", "1970000002", "1970000003"}));
}

TEST_F(ListWindowPendingTest, TerakhirDropsAnUnmodifiedNewRecord)
{
    addEmployee("1970000002", "Budi");
    addEmployee("1970000001", "Ani");
    TForm4 form(dm());
    peg().Append();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 2);
    EXPECT_EQ(current(), "1970000002");
}

TEST_F(ListWindowPendingTest, ARefusedPendingRecordShowsTheErrorAndNothingMoves)
{
    addEmployee("1970000002", "Budi");
    addEmployee("1970000001", "Ani");
    TForm4 form(dm());
    peg().Append();
    peg().FieldByName("NIP")->SetText("1970000002");  // key already stored
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_TRUE(responder.last().hasIcon);  // the error box, not a window's own message
    EXPECT_FALSE(responder.last().text.isEmpty());
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(current(), "1970000002");
    peg().Cancel();
    EXPECT_EQ(peg().RecordCount(), 2);
}

TEST_F(ListWindowPendingTest, TerakhirInTheTransferListMovesTheTransferSearchWindowToo)
{
    addTransfer("B-0002-AA.01.01-2001", "19700000002", "Budi");
    addTransfer("A-0001-AA.01.01-2001", "19700000001", "Ani");
    TForm5 list(dm());
    TForm7 search(dm());
    mut().First();
    ASSERT_TRUE(search.DBNavigator1->button(nbLast)->isEnabled());
    QTest::mouseClick(list.Button2, Qt::LeftButton);
    EXPECT_EQ(currentTransfer(), "B-0002-AA.01.01-2001");
    for (TDBNavigator* nav : {search.DBNavigator1, search.DBNavigator2}) {
        EXPECT_FALSE(nav->button(nbLast)->isEnabled());
        EXPECT_FALSE(nav->button(nbNext)->isEnabled());
        EXPECT_TRUE(nav->button(nbFirst)->isEnabled());
    }
}
