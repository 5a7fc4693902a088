#include "ModalBoxResponder.h"
#include "SharedTablesFixture.h"
#include "TDBGrid.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

// The designed tab order: the named controls in the order Tab reaches them
// (radio buttons count as their group, whatever their number).
QStringList tabOrder(QWidget& window)
{
    QStringList seen;
    QWidget* w = &window;
    do {
        w = w->nextInFocusChain();
        QString name = w->objectName();
        if (qobject_cast<QRadioButton*>(w))
            name = w->parentWidget()->objectName();
        const bool takesTab = (w->focusPolicy() & Qt::TabFocus) || name.startsWith(QStringLiteral("DBNavigator"));
        if (!name.isEmpty() && takesTab && w->window() == &window && (seen.isEmpty() || seen.last() != name))
            seen << name;
    } while (w != &window);
    return seen;
}

struct TabCase {
    const char* name;
    std::function<TForm*(TDMarsipstaf&)> create;
    QStringList order;
};

std::ostream& operator<<(std::ostream& os, const TabCase& c)
{
    return os << c.name;
}

QStringList names(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* n : list)
        out << QString::fromLatin1(n);
    return out;
}

}  // namespace

class WindowTabOrderTest : public SharedTablesFixture, public ::testing::WithParamInterface<TabCase> {};

TEST_P(WindowTabOrderTest, ControlsAreReachedInTheDesignedOrder)
{
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    QStringList order = tabOrder(*form);
    // The chain is a ring: start it at the designed first control.
    const qsizetype first = order.indexOf(GetParam().order.first());
    ASSERT_GE(first, 0);
    order = order.mid(first) + order.mid(0, first);
    EXPECT_EQ(order, GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowTabOrderTest,
                         ::testing::Values(TabCase{"Form4", windowOver<TForm4>,
                                                   names({"DBGrid1", "Button1", "Button2", "Button3", "DBNavigator1"})},
                                           TabCase{"Form5", windowOver<TForm5>,
                                                   names({"DBGrid1", "DBNavigator1", "Button1", "Button2", "Button3"})},
                                           TabCase{"Form6", windowOver<TForm6>,
                                                   names({"DBGrid1", "DBGrid2", "DBNavigator1", "DBNavigator2",
                                                          "RadioGroup1", "Button2", "Edit1", "Button1"})},
                                           TabCase{"Form7", windowOver<TForm7>,
                                                   names({"RadioGroup1", "Edit1", "Button2", "DBGrid1", "DBNavigator1",
                                                          "DBGrid2", "DBNavigator2", "Button1"})}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

struct TypingCase {
    const char* name;
    std::function<TForm*(TDMarsipstaf&)> create;
    const char* grid;
    bool transfers;
    bool edits;  // typing begins editing the record
};

std::ostream& operator<<(std::ostream& os, const TypingCase& c)
{
    return os << c.name;
}

}  // namespace

class GridTypingTest : public SharedTablesFixture, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(GridTypingTest, OnlyTheTransferListEditsInItsGrid)
{
    addEmployee("1970000001", "Ani");
    addTransfer("A-0001-AA.01.01-2001", "19700000001", "Ani");
    std::unique_ptr<TForm> form(GetParam().create(dm()));
    showActive(*form);
    auto* grid = form->findChild<TDBGrid*>(QString::fromLatin1(GetParam().grid));
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    TTable& table = GetParam().transfers ? mut() : peg();
    const std::string before = table.Fields()[0]->AsString();
    ModalBoxResponder responder;  // no box may appear
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("B"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
    if (GetParam().edits) {
        EXPECT_EQ(table.State(), TDataSetState::dsEdit);
        EXPECT_TRUE(grid->EditorVisible());
    } else {
        EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
        EXPECT_EQ(table.Fields()[0]->AsString(), before);
    }
    if (table.State() != TDataSetState::dsBrowse)
        table.Cancel();
}

INSTANTIATE_TEST_SUITE_P(
    Grids, GridTypingTest,
    ::testing::Values(TypingCase{"EmployeeList", windowOver<TForm4>, "DBGrid1", false, false},
                      TypingCase{"TransferList", windowOver<TForm5>, "DBGrid1", true, true},
                      TypingCase{"EmployeeSearchKeys", windowOver<TForm6>, "DBGrid1", false, false},
                      TypingCase{"EmployeeSearchDetails", windowOver<TForm6>, "DBGrid2", false, false},
                      TypingCase{"TransferSearchKeys", windowOver<TForm7>, "DBGrid1", true, false},
                      TypingCase{"TransferSearchDetails", windowOver<TForm7>, "DBGrid2", true, false}),
    [](const auto& info) { return std::string(info.param.name); });
