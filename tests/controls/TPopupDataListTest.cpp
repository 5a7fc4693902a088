#include "TPopupDataList.h"

#include "CatchingApplication.h"
#include "DataModuleFixture.h"
#include "ManualTimer.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// A popup over the grade table (17 codes), seven rows.
class PopupDataList : public DataModuleFixture {
protected:
    void SetUp() override
    {
        app.takeErrors();
        DataModuleFixture::SetUp();
        popup = std::make_unique<TPopupDataList>();
        auto timer = std::make_unique<ManualTimer>();
        scrollTimer = timer.get();
        popup->setScrollTimer(std::move(timer));
        popup->setKeyFieldName("Kd_Gol");
        popup->setListFieldNames("Golongan;");
        popup->setListSource(&dm().DSgol);
        popup->setRowCount(7);
        popup->resize(150, popup->heightForRows(7));
    }
    void TearDown() override
    {
        popup.reset();
        DataModuleFixture::TearDown();
    }
    bool key(int code, const QString& text = {}) { return popup->handleKey(code, Qt::NoModifier, text); }
    std::string highlighted() { return popup->keyValue().value_or("<null>"); }
    QPoint rowPoint(int row) { return popup->mapToGlobal(QPoint(20, 1 + row * popup->rowHeight() + 2)); }

    CatchingApplication& app = CatchingApplication::instance();
    std::unique_ptr<TPopupDataList> popup;
    ManualTimer* scrollTimer = nullptr;
};

TEST_F(PopupDataList, ShowsRowsAroundTheKeyAndMovesOnlyTheHighlight)
{
    popup->setKeyValue("3A");
    ASSERT_EQ(popup->rowTexts().size(), 7u);
    ASSERT_GE(popup->highlightedRow(), 0);
    EXPECT_EQ(popup->rowTexts()[popup->highlightedRow()], "III/a");
    EXPECT_TRUE(key(Qt::Key_Down));
    EXPECT_EQ(highlighted(), "3B");
    EXPECT_TRUE(key(Qt::Key_Up));
    EXPECT_TRUE(key(Qt::Key_Left));
    EXPECT_EQ(highlighted(), "2D");
    EXPECT_TRUE(key(Qt::Key_PageDown));
    EXPECT_EQ(highlighted(), "4B");  // rows - 1 further
    EXPECT_TRUE(key(Qt::Key_End));
    EXPECT_EQ(highlighted(), "4E");
    EXPECT_TRUE(key(Qt::Key_Down));
    EXPECT_EQ(highlighted(), "4E");
    EXPECT_TRUE(key(Qt::Key_Home));
    EXPECT_EQ(highlighted(), "1A");
    EXPECT_EQ(popup->rowTexts().front(), "I/a");
    EXPECT_EQ(dm().Tdatapeg.State(), TDataSetState::dsBrowse);
}

// A key among the last records of the table: the rows end with the last
// record instead of leaving blank rows below it.
TEST_F(PopupDataList, AKeyNearTheEndStillFillsEveryRow)
{
    for (const char* key : {"4E", "4D", "4B", "3D"}) {
        popup->setKeyValue(key);
        const std::vector<std::string> rows = popup->rowTexts();
        ASSERT_EQ(rows.size(), 7u) << key;
        ASSERT_GE(popup->highlightedRow(), 0) << key;
        EXPECT_EQ(dm().Tgol.FieldByName("Kd_Gol")->AsString(), key);
    }
    popup->setKeyValue("4D");
    EXPECT_EQ(popup->rowTexts(), (std::vector<std::string>{"III/c", "III/d", "IV/a", "IV/b", "IV/c", "IV/d", "IV/e"}));
    EXPECT_EQ(popup->highlightedRow(), 5);
}

// A short table, as many rows as records: all of them whatever the key.
TEST_F(PopupDataList, AShortTableShowsAllItsRecordsForAnyKey)
{
    popup->setKeyFieldName("Kd_Status");
    popup->setListFieldNames("Status;");
    popup->setListSource(&dm().DSstatus);
    popup->setRowCount(4);
    for (const char* key : {"01", "02", "03", "04"}) {
        popup->setKeyValue(key);
        EXPECT_EQ(popup->rowTexts(), (std::vector<std::string>{"CPNS", "PNS", "PPPK", "Pensiun"})) << key;
        EXPECT_EQ(popup->highlightedRow(), std::stoi(key) - 1);
    }
}

TEST_F(PopupDataList, KeyMissingFromTheTableStartsAtTheFirstRow)
{
    popup->setKeyValue("ZZ");
    EXPECT_EQ(popup->highlightedRow(), -1);
    EXPECT_EQ(popup->rowTexts().front(), "I/a");
    key(Qt::Key_Down);  // only brings a record into view: the first
    EXPECT_EQ(highlighted(), "1A");
}

TEST_F(PopupDataList, EnterAcceptsEscapeDiscards)
{
    QSignalSpy accepted(popup.get(), &TPopupDataList::accepted);
    QSignalSpy discarded(popup.get(), &TPopupDataList::discarded);
    key(Qt::Key_Return);
    key(Qt::Key_Escape);
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(discarded.count(), 1);
}

TEST_F(PopupDataList, TypedLettersSearchTheShownTexts)
{
    popup->setKeyValue("1A");
    key('I', QStringLiteral("i"));
    key('V', QStringLiteral("v"));
    EXPECT_EQ(highlighted(), "4A");
    EXPECT_EQ(popup->searchText(), "iv");
    key(Qt::Key_Backspace);
    EXPECT_EQ(popup->searchText(), "");
}

TEST_F(PopupDataList, ReadOnlyListKeepsItsHighlight)
{
    popup->setKeyValue("2A");
    popup->setReadOnly(true);
    key(Qt::Key_Down);
    key('I', QStringLiteral("i"));
    EXPECT_EQ(highlighted(), "2A");
}

TEST_F(PopupDataList, MouseHeldBelowScrollsFasterFurtherAway)
{
    popup->show();
    popup->setKeyValue("1A");
    popup->pressAt(rowPoint(2));
    EXPECT_EQ(highlighted(), "1C");
    popup->dragTo(rowPoint(6));
    EXPECT_EQ(highlighted(), "2C");
    EXPECT_FALSE(scrollTimer->isActive());
    const QPoint below = popup->mapToGlobal(QPoint(20, popup->height() + 4));
    popup->dragTo(below);
    ASSERT_TRUE(scrollTimer->isActive());
    const int nearInterval = scrollTimer->interval();
    scrollTimer->fire();
    EXPECT_EQ(highlighted(), "2D");
    popup->dragTo(popup->mapToGlobal(QPoint(20, popup->height() + 40)));
    EXPECT_LT(scrollTimer->interval(), nearInterval);
    EXPECT_EQ(scrollTimer->interval(), 0);
    QSignalSpy discarded(popup.get(), &TPopupDataList::discarded);
    popup->releaseAt(below);
    EXPECT_EQ(discarded.count(), 1);
    EXPECT_FALSE(scrollTimer->isActive());
    EXPECT_FALSE(popup->isTracking());
}

TEST_F(PopupDataList, ReleaseOverARowAcceptsIt)
{
    popup->show();
    popup->setKeyValue("1A");
    QSignalSpy accepted(popup.get(), &TPopupDataList::accepted);
    popup->pressAt(rowPoint(0));
    popup->releaseAt(rowPoint(3));
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_EQ(highlighted(), "1D");
}

}  // namespace
