#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBNavigator.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TNavButton.h"

#include <QApplication>

// What a clerk typed stays typed: text in the focused entry, not yet
// written, survives another window on the same table being shown for the
// first time, and is stored by the next move.
namespace {

enum class Other { List, Search };

struct TypedTextCase {
    std::string name;
    bool employee;
    Other other;
    TestEngine engine;
};

std::ostream& operator<<(std::ostream& os, const TypedTextCase& c)
{
    return os << c.name;
}

std::vector<TypedTextCase> typedTextCases()
{
    std::vector<TypedTextCase> cases;
    for (TestEngine engine : {TestEngine::Files, TestEngine::Server})
        for (bool employee : {true, false})
            for (Other other : {Other::List, Other::Search})
                cases.push_back({std::string(employee ? "Employee" : "Transfer") +
                                     (other == Other::List ? "List" : "Search") +
                                     (engine == TestEngine::Files ? "Files" : "Server"),
                                 employee, other, engine});
    return cases;
}

void tab()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

class TypedTextStays : public RecordWindowFixture, public ::testing::WithParamInterface<TypedTextCase> {
protected:
    TestEngine engine() const override { return GetParam().engine; }

    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }

    // The other window on the same table, created hidden as start-up does.
    TForm& other()
    {
        if (GetParam().other == Other::Search)
            return GetParam().employee ? static_cast<TForm&>(*form6) : *form7;
        if (!list) {
            if (GetParam().employee)
                list = std::make_unique<TForm4>(dm());
            else
                list = std::make_unique<TForm5>(dm());
        }
        return *list;
    }

    // Tambah, the key and the next entry, then a name left in its entry.
    void typeNewRecord()
    {
        click(form().Button1);
        const bool employee = GetParam().employee;
        QTest::keyClicks(QApplication::focusWidget(), employee ? "7000000001" : "D7000EF01022007");
        tab();
        QTest::keyClicks(QApplication::focusWidget(), employee ? "70000001" : "70000000001");
        tab();
        QTest::keyClicks(QApplication::focusWidget(), "Nama Harus Tersimpan");
    }

    std::unique_ptr<TForm> list;
};

TEST_P(TypedTextStays, WhenAnotherWindowOnTheTableOpensForTheFirstTime)
{
    showAndActivate(form());
    typeNewRecord();
    ASSERT_EQ(QApplication::focusWidget(), form().entry(3));
    other().Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other()));
    EXPECT_EQ(form().entry(3)->text(), QStringLiteral("Nama Harus Tersimpan"));

    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    QTest::mouseClick(form().DBNavigator1->button(nbFirst), Qt::LeftButton);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(table().State(), TDataSetState::dsBrowse);
    const std::string key = GetParam().employee ? "7000000001" : "D-7000-EF.01.02-2007";
    ASSERT_TRUE(table().FindKey({key}));
    EXPECT_EQ(table().FieldByName("Nama_Pegawai")->AsString(), "Nama Harus Tersimpan");
    list.reset();
}

INSTANTIATE_TEST_SUITE_P(Windows, TypedTextStays, ::testing::ValuesIn(typedTextCases()),
                         [](const auto& info) { return info.param.name; });

// The complaint puts the focus into the empty date entry; an impossible
// date typed there is refused when the clerk tabs on, and stays in the
// entry, with the focus, for the correction that is then stored.
struct DateCase {
    std::string name;
    bool employee;
    TestEngine engine;
};

std::ostream& operator<<(std::ostream& os, const DateCase& c)
{
    return os << c.name;
}

class ImpossibleDate : public RecordWindowFixture, public ::testing::WithParamInterface<DateCase> {
protected:
    TestEngine engine() const override { return GetParam().engine; }
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
    TTable& table() { return GetParam().employee ? peg() : mut(); }
};

TEST_P(ImpossibleDate, StaysInTheEntryTheComplaintFocused)
{
    const bool employee = GetParam().employee;
    showAndActivate(form());
    const QStringList texts =
        employee ? QStringList{"1970050505", "44444444", "Dewi Sartika", "Bogor", "", "Jl. Dago 5", "Prajab"}
                 : QStringList{"C3000DE01022003", "19650303033", "Citra Dewi", "Sindara", "Bandung", ""};
    const int dateEntry = employee ? 5 : 6;
    click(form().Button1);
    for (int n = 1; n <= form().entryCount(); ++n)
        if (n != dateEntry)
            typeInto(form().entry(n), texts[n - 1]);
    TDBEdit* date = form().entry(dateEntry);
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    ASSERT_EQ(QApplication::focusWidget(), date);
    const QString impossible = employee ? QStringLiteral("02/31/1990") : QStringLiteral("01/31/05");
    QTest::keyClicks(date, QString(impossible).remove(QLatin1Char('/')));
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        tab();
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text, QStringLiteral("'%1' is not a valid date.").arg(impossible));
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    EXPECT_EQ(QApplication::focusWidget(), date);
    EXPECT_EQ(date->text(), impossible);
    {
        // Tabbing on again is refused again: the text was not dropped.
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        tab();
        EXPECT_EQ(responder.boxes().size(), 1);
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    EXPECT_EQ(date->text(), impossible);

    QTest::keyClick(date, Qt::Key_Home);
    QTest::keyClicks(date, QStringLiteral("0201"));
    tab();
    EXPECT_EQ(table().State(), TDataSetState::dsInsert);
    {
        ModalBoxResponder responder;
        if (!employee)
            responder.click(QStringLiteral("Yes"));
        click(form().Button3);
    }
    EXPECT_TRUE(errors().empty());
    ASSERT_TRUE(table().FindKey({employee ? "1970050505" : "C-3000-DE.01.02-2003"}));
    EXPECT_EQ(table().FieldByName(employee ? "Tanggal_Lahir" : "TMT")->DisplayText(),
              employee ? "02/01/1990" : "02/01/2005");
}

INSTANTIATE_TEST_SUITE_P(Windows, ImpossibleDate,
                         ::testing::Values(DateCase{"EmployeeFiles", true, TestEngine::Files},
                                           DateCase{"TransferFiles", false, TestEngine::Files},
                                           DateCase{"EmployeeServer", true, TestEngine::Server},
                                           DateCase{"TransferServer", false, TestEngine::Server}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
