#include "TDBNavigator.h"

#include "BoundWindow.h"
#include "ManualTimer.h"
#include "ModalBoxResponder.h"
#include "NavigatorEnabling.h"
#include "NavigatorGlyphs.h"
#include "TDBEdit.h"
#include "TNavButton.h"

#include <QApplication>

namespace {

const TNavButtonSet movement = TNavButtonSet().set(nbFirst).set(nbPrior).set(nbNext).set(nbLast);

TNavButtonSet set(std::initializer_list<TNavigateBtn> buttons)
{
    TNavButtonSet result;
    for (TNavigateBtn b : buttons)
        result.set(b);
    return result;
}

// ---- enabling rules ----

struct EnablingCase {
    const char* name;
    NavigatorEnabling state;
    TNavButtonSet expected;
};

class NavigatorEnablingRules : public testing::TestWithParam<EnablingCase> {};

TEST_P(NavigatorEnablingRules, Buttons)
{
    EXPECT_EQ(GetParam().state.buttons(), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    States, NavigatorEnablingRules,
    testing::Values(EnablingCase{"disabled", {false, true, false, false, true, false}, {}},
                    EnablingCase{"inactive", {true, false, false, false, true, false}, {}},
                    EnablingCase{"empty", {true, true, true, true, true, false}, set({nbInsert, nbEdit, nbRefresh})},
                    EnablingCase{"first",
                                 {true, true, true, false, true, false},
                                 set({nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbRefresh})},
                    EnablingCase{"last editing",
                                 {true, true, false, true, true, true},
                                 set({nbFirst, nbPrior, nbInsert, nbDelete, nbPost, nbCancel, nbRefresh})},
                    EnablingCase{"read-only middle", {true, true, false, false, false, false}, movement}));

// ---- layout ----

struct LayoutCase {
    int width;
    int visible;
    int expectedWidth;
    int buttonWidth;
};

class NavigatorLayout : public testing::TestWithParam<LayoutCase> {
protected:
    CatchingApplication& app = CatchingApplication::instance();
};

TEST_P(NavigatorLayout, EqualButtonsAcrossARoundedWidth)
{
    TDBNavigator nav;
    if (GetParam().visible == 4)
        nav.SetVisibleButtons(movement);
    nav.SetBounds(0, 0, GetParam().width, 25);
    EXPECT_EQ(nav.width(), GetParam().expectedWidth);
    int x = 0;
    for (int i = 0; i < navigateButtonCount; ++i) {
        const QRect r = nav.button(TNavigateBtn(i))->geometry();
        if (!nav.VisibleButtons()[i]) {
            EXPECT_GT(r.left(), nav.width());
            continue;
        }
        EXPECT_EQ(r, QRect(x, 0, GetParam().buttonWidth, 25)) << "button " << i;
        x += GetParam().buttonWidth;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, NavigatorLayout,
                         testing::Values(LayoutCase{640, 4, 640, 160}, LayoutCase{712, 4, 712, 178},
                                         LayoutCase{328, 4, 328, 82}, LayoutCase{320, 4, 320, 80},
                                         LayoutCase{344, 4, 344, 86}, LayoutCase{643, 4, 640, 160},
                                         LayoutCase{241, 10, 240, 24}, LayoutCase{50, 4, 80, 20}));

TEST_F(NavigatorLayout, CreatedAt241By25WithHintsOff)
{
    TDBNavigator nav;
    EXPECT_EQ(nav.size(), QSize(240, 25));  // 241 rounded down to ten buttons
    EXPECT_TRUE(nav.button(nbNext)->toolTip().isEmpty());
    EXPECT_EQ(nav.focusPolicy(), Qt::NoFocus);
    nav.Hints = QStringList{QString(), QStringLiteral("Mundur")};
    nav.SetShowHint(true);
    EXPECT_EQ(nav.button(nbPrior)->toolTip(), QStringLiteral("Mundur"));
    EXPECT_EQ(nav.button(nbNext)->toolTip(), QStringLiteral("Next record"));
}

// ---- on the employee table ----

class NavigatorWindow : public BoundWindow {
protected:
    void SetUp() override
    {
        BoundWindow::SetUp();
        nav = addNavigator();
    }

    TDBNavigator* addNavigator()
    {
        auto* navigator = new TDBNavigator(window.get());
        navigator->SetVisibleButtons(movement);
        navigator->SetDataSource(&dm().DSdatapeg);
        layout->addWidget(navigator);
        return navigator;
    }

    TNavButtonSet enabled(TDBNavigator* n = nullptr)
    {
        TNavButtonSet on;
        for (int i = 0; i < navigateButtonCount; ++i)
            on[i] = (n ? n : nav)->button(TNavigateBtn(i))->isEnabled();
        return on & movement;
    }
    void click(TNavigateBtn b) { QTest::mouseClick(nav->button(b), Qt::LeftButton); }
    void addEmployees(int count)
    {
        for (int i = 0; i < count; ++i)
            addEmployee("19" + std::to_string(60000000 + i), "Pegawai " + std::to_string(i));
    }

    TDBNavigator* nav = nullptr;
};

TEST_F(NavigatorWindow, EmptyTableDisablesMovement)
{
    showWindow();
    EXPECT_EQ(enabled(), TNavButtonSet());
}

TEST_F(NavigatorWindow, OneRecordTable)
{
    addEmployee("1957010101", "Ahmad Yani");
    showWindow();
    click(nbFirst);
    EXPECT_EQ(enabled(), set({nbNext, nbLast}));
    click(nbNext);
    EXPECT_EQ(current(), "1957010101");
    EXPECT_EQ(enabled(), set({nbFirst, nbPrior}));
    EXPECT_TRUE(errors().empty());
}

TEST_F(NavigatorWindow, LastThenPriorOnALongTable)
{
    addEmployees(12);
    showWindow();
    click(nbLast);
    EXPECT_EQ(enabled(), set({nbFirst, nbPrior}));
    click(nbPrior);
    EXPECT_EQ(enabled(), movement);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 10");
}

TEST_F(NavigatorWindow, ClosedTableDisablesEverything)
{
    addEmployees(2);
    peg().Close();
    showWindow();
    for (int i = 0; i < navigateButtonCount; ++i)
        EXPECT_FALSE(nav->button(TNavigateBtn(i))->isEnabled()) << i;
}

TEST_F(NavigatorWindow, DisabledNavigatorDisablesItsButtonsUntilEnabledAgain)
{
    addEmployees(3);
    peg().First();
    nav->setEnabled(false);
    EXPECT_EQ(enabled(), TNavButtonSet());
    nav->setEnabled(true);
    EXPECT_EQ(enabled(), set({nbNext, nbLast}));
}

TEST_F(NavigatorWindow, TwoNavigatorsOnOneTableChangeTogether)
{
    addEmployees(5);
    TDBNavigator* other = addNavigator();
    showWindow();
    click(nbFirst);
    EXPECT_EQ(enabled(other), set({nbNext, nbLast}));
    QTest::mouseClick(other->button(nbLast), Qt::LeftButton);
    EXPECT_EQ(enabled(), set({nbFirst, nbPrior}));
}

TEST_F(NavigatorWindow, HoldingNextRepeatsUntilTheEnd)
{
    addEmployees(6);
    showWindow();
    click(nbFirst);
    auto timer = std::make_unique<ManualTimer>();
    ManualTimer& repeat = *timer;
    nav->button(nbNext)->setRepeatTimer(std::move(timer));
    QTest::mousePress(nav->button(nbNext), Qt::LeftButton);
    EXPECT_EQ(repeat.interval(), 400);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 0");  // nothing before the first tick
    repeat.fire();
    EXPECT_EQ(repeat.interval(), 100);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 1");
    repeat.fire();
    repeat.fire();
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 3");
    QTest::mouseRelease(nav->button(nbNext), Qt::LeftButton);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 4");  // once more on release
    EXPECT_FALSE(repeat.isActive());

    QTest::mousePress(nav->button(nbNext), Qt::LeftButton);
    for (int i = 0; i < 5; ++i)
        repeat.fire();
    EXPECT_TRUE(peg().Eof());
    EXPECT_FALSE(nav->button(nbNext)->isEnabled());
    EXPECT_FALSE(repeat.isActive());
    QTest::mouseRelease(nav->button(nbNext), Qt::LeftButton);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 5");
    EXPECT_TRUE(errors().empty());
}

TEST_F(NavigatorWindow, RepeatStopsOnAnError)
{
    addEmployees(4);
    showWindow();
    auto timer = std::make_unique<ManualTimer>();
    ManualTimer& repeat = *timer;
    nav->button(nbPrior)->setRepeatTimer(std::move(timer));
    // A new record with a key already stored cannot be posted on leaving.
    peg().Append();
    peg().FieldByName("NIP")->SetText("1960000000");
    QTest::mousePress(nav->button(nbPrior), Qt::LeftButton);
    EXPECT_THROW(repeat.fire(), std::exception);
    EXPECT_FALSE(repeat.isActive());
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    QTest::mouseRelease(nav->button(nbPrior), Qt::LeftButton);
    EXPECT_EQ(errors().size(), 1u);  // the click on release reaches the error box
}

TEST_F(NavigatorWindow, PriorWhileInsertingPostsOnlyWhatWasEntered)
{
    addEmployees(3);
    showWindow();
    peg().Append();
    click(nbPrior);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 3);

    peg().Append();
    peg().FieldByName("NIP")->SetText("1999999999");
    click(nbPrior);
    EXPECT_EQ(peg().RecordCount(), 4);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 2");
}

TEST_F(NavigatorWindow, ClickLeavesTheFocusWhereItWas)
{
    addEmployees(3);
    auto* edit = new TDBEdit(window.get());
    edit->SetDataSource(&dm().DSdatapeg);
    edit->SetDataField("Nama_Pegawai");
    layout->addWidget(edit);
    showWindow();
    edit->setFocus();
    click(nbLast);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->text(), QStringLiteral("Pegawai 2"));
}

TEST_F(NavigatorWindow, DeleteAsksFirst)
{
    addEmployees(3);
    nav->SetVisibleButtons(allNavigateButtons());
    showWindow();
    peg().First();
    ModalBoxResponder boxes;
    boxes.click(QStringLiteral("Cancel"));
    click(nbDelete);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(boxes.last().buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    EXPECT_EQ(boxes.last().result, 2);
    EXPECT_EQ(peg().RecordCount(), 3);
    boxes.click(QStringLiteral("OK"));
    click(nbDelete);
    EXPECT_EQ(peg().RecordCount(), 2);
    nav->ConfirmDelete = false;
    click(nbDelete);
    EXPECT_EQ(boxes.boxes().size(), 2);
    EXPECT_EQ(peg().RecordCount(), 1);
}

TEST_F(NavigatorWindow, EditButtonsFollowTheState)
{
    addEmployees(2);
    nav->SetVisibleButtons(allNavigateButtons());
    showWindow();
    std::vector<TNavigateBtn> actions;
    nav->BeforeAction = [&](TNavigateBtn b) { actions.push_back(b); };
    auto on = [&](TNavigateBtn b) { return nav->button(b)->isEnabled(); };
    EXPECT_TRUE(on(nbEdit));
    EXPECT_FALSE(on(nbPost));
    click(nbEdit);
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_FALSE(on(nbEdit));
    EXPECT_TRUE(on(nbPost) && on(nbCancel));
    click(nbCancel);
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    click(nbRefresh);
    EXPECT_EQ(actions, (std::vector<TNavigateBtn>{nbEdit, nbCancel, nbRefresh}));
}

TEST_F(NavigatorWindow, KeyboardOnlyWithTabStop)
{
    addEmployees(3);
    nav->SetTabStop(true);
    showWindow();
    peg().First();
    nav->setFocus();
    ASSERT_TRUE(nav->hasFocus());
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Right);
    EXPECT_EQ(nav->focusedButton(), nbNext);
    QTest::keyClick(nav, Qt::Key_Space);
    EXPECT_EQ(current("Nama_Pegawai"), "Pegawai 1");
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Right);  // no visible button beyond the last
    EXPECT_EQ(nav->focusedButton(), nbLast);
}

}  // namespace

namespace {

struct GlyphCase {
    const char* name;
    int width;
};

class NavigatorGlyph : public testing::TestWithParam<GlyphCase> {};

TEST_P(NavigatorGlyph, EnabledBlackBesideEmbossedGrey)
{
    const QImage image = NavigatorGlyphs::bitmap(QString::fromLatin1(GetParam().name));
    ASSERT_EQ(image.size(), QSize(2 * GetParam().width, 13));
    EXPECT_EQ(qAlpha(image.pixel(0, 12)), 0);  // the transparent corner
    int black = 0, blackDisabled = 0, white = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255 && qGray(p) == 0)
                ++(x < GetParam().width ? black : blackDisabled);
            if (qAlpha(p) == 255 && qGray(p) == 255 && x >= GetParam().width)
                ++white;
        }
    EXPECT_GT(black, 10);
    EXPECT_EQ(blackDisabled, 0);
    EXPECT_GT(white, 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, NavigatorGlyph,
                         testing::Values(GlyphCase{"DBN_FIRST", 14}, GlyphCase{"dbn_prior", 10},
                                         GlyphCase{"DBN_NEXT", 10}, GlyphCase{"DBN_LAST", 14},
                                         GlyphCase{"DBN_INSERT", 14}, GlyphCase{"DBN_DELETE", 14},
                                         GlyphCase{"DBN_EDIT", 14}, GlyphCase{"DBN_POST", 14},
                                         GlyphCase{"DBN_CANCEL", 14}, GlyphCase{"DBN_REFRESH", 14}));

}  // namespace
