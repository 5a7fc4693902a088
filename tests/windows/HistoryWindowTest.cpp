#include "HistoryWindow.h"
#include "RecordWindowFixture.h"

#include <QTableWidget>

namespace {

using HistoryWindowOnFiles = RecordWindowFixture;
using HistoryWindowTest = OnBothEngines<HistoryWindowOnFiles>;

// Rows of the grid without the time column, which is the clock's.
std::vector<QStringList> rowsOf(HistoryWindow& window)
{
    std::vector<QStringList> rows;
    for (int row = 0; row < window.Grid->rowCount(); ++row)
        rows.push_back(window.rowTexts(row).mid(2));
    return rows;
}

TEST_P(HistoryWindowTest, ShowsLookupTextsNewestFirstAndFollowsTheRecord)
{
    auto change = [this](const std::vector<std::pair<std::string, std::string>>& values) {
        peg().Edit();
        for (const auto& [field, text] : values)
            peg().FieldByName(field)->SetText(text);
        peg().Post();
    };
    ASSERT_TRUE(peg().FindKey({"1957010101"}));
    change({{"Kd_Pangkat", "3A"}, {"Kd_JK", "LK"}});
    change({{"Kd_Pangkat", "3B"}});
    showAndActivate(*form2);
    QTest::keyClick(form2.get(), Qt::Key_F8);
    HistoryWindow& window = *form2->historyWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Riwayat Perubahan"));
    const QString account = QString::fromStdString(peg().History(HistoryQuery{"1957010101", ""}).front().account);
    auto row = [&](const char* kind, const char* field, const char* before, const char* after) {
        return QStringList{QString::fromUtf8(kind), QString::fromUtf8(field), QString::fromUtf8(before),
                           QString::fromUtf8(after)};
    };
    std::vector<QStringList> shown = rowsOf(window);
    ASSERT_EQ(shown.size(), 3u + 7u);  // two changes, then the record as added
    EXPECT_EQ(shown[0], row("Rubah", "Pangkat", "3A Penata Muda", "3B Penata Muda Tk. I"));
    EXPECT_EQ(shown[1], row("Rubah", "Jenis Kelamin", "", "LK Laki-laki"));
    EXPECT_EQ(shown[2], row("Rubah", "Pangkat", "", "3A Penata Muda"));
    EXPECT_EQ(shown[3], row("Tambah", "NIP", "", "1957010101"));
    EXPECT_EQ(window.rowTexts(0)[1], account);
    EXPECT_EQ(QDateTime::fromString(window.rowTexts(0)[0], QStringLiteral("dd/MM/yyyy HH:mm:ss")).isValid(), true);

    // The clerk moves on in the record window: the history follows.
    form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    peg().Next();
    EXPECT_EQ(rowsOf(window).size(), 7u);
    EXPECT_EQ(window.rowTexts(0)[3], QStringLiteral("NIP"));
    EXPECT_EQ(window.rowTexts(0)[5], QString::fromStdString(current()));
    // A store shows at once.
    change({{"Kd_Pangkat", "4A"}});
    EXPECT_EQ(rowsOf(window).front(), row("Rubah", "Pangkat", "", "4A Pembina"));
    EXPECT_TRUE(errors().empty());
}

TEST_P(HistoryWindowTest, IsReachedAndLeftFromTheKeyboard)
{
    showAndActivate(*form3);
    form3->Button8->setFocus();
    QTest::keyClick(form3->Button8, Qt::Key_Space);
    HistoryWindow& window = *form3->historyWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), window.Grid);
    EXPECT_EQ(window.rowTexts(0)[3], QStringLiteral("Nomor SKM"));
    QTest::keyClick(window.Grid, Qt::Key_Down);
    EXPECT_EQ(window.Grid->currentRow(), 1);
    QTest::keyClick(window.Grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.Button1);
    QTest::keyClick(window.Button1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.Grid);
    QTest::keyClick(window.Grid, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(errors().empty());
}

INSTANTIATE_FOR_BOTH_ENGINES(HistoryWindowTest);

}  // namespace
