#include "TForm13.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TRepMemo.h"

#include <QFontMetrics>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

QString line(const TRepMemo& memo, int number)
{
    return memo.Lines().at(number - 1);
}

QImage rendered(TRepMemo& memo)
{
    return memo.grab().toImage();
}

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

}

TEST(TForm14, HoldsTheFortyUsageLinesWithTheirBlanksAndDashes)
{
    TForm14 form;
    const TRepMemo& memo = *form.RepMemo1;
    ASSERT_EQ(memo.Lines().size(), 40);
    EXPECT_EQ(line(memo, 1), QStringLiteral("1.Aktifkan program aplikasi dengan klik 2 kali icon program aplikasi"));
    EXPECT_EQ(line(memo, 8), QStringLiteral("   Pegawai"));
    EXPECT_EQ(line(memo, 32), QStringLiteral("   mestinya.   "));
    EXPECT_EQ(line(memo, 18), QString::fromUtf8("   Cara menjalankannya sama seperti proses \u2013 proses yang ada pada Form "
                                                "Data Pegawai, hanya pada "));
    EXPECT_EQ(line(memo, 31).count(QChar(0x2013)), 2);
    EXPECT_EQ(line(memo, 39), QStringLiteral("9.Jika tekan Yes maka akan muncul kembali Form Password  tekanlah tombol Tutup."));
    EXPECT_TRUE(line(memo, 40).isEmpty());
    EXPECT_EQ(memo.Alignment(), TRepAlignment::taLeftJustify);
}

TEST(TForm15, HoldsTheEighteenHistoryLinesCentred)
{
    TForm15 form;
    const TRepMemo& memo = *form.RepMemo1;
    ASSERT_EQ(memo.Lines().size(), 18);
    EXPECT_EQ(line(memo, 1), QStringLiteral("Sejak Undang-undang Hukum Pidana untuk orang Hindia Belanda yang telah dikodifikasi"));
    EXPECT_EQ(line(memo, 17), QStringLiteral("( Dwang Opvoeding Regeling ) dengan perubahan-perubahannya, sesuai dengan Stbl. "));
    EXPECT_EQ(line(memo, 18), QStringLiteral("Tahun 1917 Nomor 708. "));
    EXPECT_EQ(memo.Alignment(), TRepAlignment::taCenter);
}

TEST(TForm15, EachHistoryLineIsCentredOnTheControlsCentre)
{
    TForm15 form;
    TRepMemo& memo = *form.RepMemo1;
    ASSERT_EQ(memo.VisibleLineCount(), 18);  // the whole text fits
    const QFontMetrics metrics(memo.font());
    const int centre2 = 2 * 16 + 497;  // twice the designed centre, in the window
    for (int i = 0; i < 18; ++i) {
        const int left = memo.x() + memo.LineLeft(i);
        const int width = metrics.horizontalAdvance(memo.LaidOutLines()[std::size_t(i)]);
        EXPECT_LE(std::abs(2 * left + width - centre2), 2) << "line " << i + 1;
    }
    // Short lines start further right than long ones.
    EXPECT_GT(memo.LineLeft(17), memo.LineLeft(0) + 100);
}

TEST(TForm14, UsageLinesStartAtTheLeftEdgeAndKeepTheirIndent)
{
    TForm14 form;
    TRepMemo& memo = *form.RepMemo1;
    EXPECT_EQ(memo.x(), 16);
    for (int i = 0; i < memo.VisibleLineCount(); ++i)
        EXPECT_EQ(memo.LineLeft(i), 0) << "line " << i + 1;
    // No line is wrapped or trimmed: the continuation lines keep their blanks.
    ASSERT_EQ(memo.LaidOutLines().size(), 40u);
    EXPECT_EQ(memo.LaidOutLines()[7], QStringLiteral("   Pegawai"));
    // The indent shows: the first ink of line 8 is right of that of line 1.
    const QImage image = rendered(memo);
    const int lineHeight = memo.LineHeight();
    auto firstInk = [&](int row) {
        for (int x = 1; x < image.width(); ++x)
            for (int y = row * lineHeight + 1; y < (row + 1) * lineHeight; ++y)
                if (image.pixelColor(x, y).lightness() < 128)
                    return x;
        return -1;
    };
    EXPECT_GT(firstInk(7), firstInk(0) + 5);
}

namespace {
struct MemoCase {
    const char* name;
    std::function<TForm*()> create;
    QRect designed;
};
std::ostream& operator<<(std::ostream& os, const MemoCase& c)
{
    return os << c.name;
}
TRepMemo* memoOf(TForm& form)
{
    return form.findChild<TRepMemo*>(QStringLiteral("RepMemo1"));
}
}

class InformationWindowTest : public ::testing::TestWithParam<MemoCase> {};

TEST_P(InformationWindowTest, TextIsWhiteWithCornerMarksAndShowsOnlyTheLinesThatFit)
{
    std::unique_ptr<TForm> form(GetParam().create());
    TRepMemo* memo = memoOf(*form);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->y(), GetParam().designed.y());
    EXPECT_EQ(memo->height(), GetParam().designed.height());
    const int fit = memo->height() / memo->LineHeight();
    EXPECT_EQ(memo->VisibleLineCount(), std::min<int>(fit, int(memo->LaidOutLines().size())));

    const QImage image = rendered(*memo);
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    for (QPoint p : {QPoint(r, 0), QPoint(r - 3, 0), QPoint(r, 3), QPoint(0, b), QPoint(3, b), QPoint(0, b - 3),
                     QPoint(r, b), QPoint(r - 3, b), QPoint(r, b - 3)})
        EXPECT_TRUE(isBlack(image, p.x(), p.y())) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixelColor(r - 4, b), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(r, b - 4), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(r / 2, b - 1), QColor(Qt::white));
    // Below the last line that fits, nothing is drawn.
    for (int y = memo->VisibleLineCount() * memo->LineHeight(); y < b; ++y)
        for (int x = 1; x < r; ++x)
            ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST_P(InformationWindowTest, TheTextCannotBeFocusedScrolledOrChanged)
{
    std::unique_ptr<TForm> form(GetParam().create());
    form->Show();
    TRepMemo* memo = memoOf(*form);
    EXPECT_EQ(memo->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(memo->findChildren<QScrollBar*>().isEmpty());
    const QImage before = rendered(*memo);
    QTest::mouseClick(memo, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::keyClick(memo, Qt::Key_PageDown);
    QWheelEvent wheel(QPointF(20, 20), memo->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(memo, &wheel);
    EXPECT_EQ(rendered(*memo), before);
    EXPECT_FALSE(memo->hasFocus());
    form->close();
}

TEST_P(InformationWindowTest, TutupAndTheFramesCloseBoxHideTheWindowUnchanged)
{
    std::unique_ptr<TForm> form(GetParam().create());
    form->Show();
    const QStringList lines = memoOf(*form)->Lines();
    auto* tutup = form->findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_NE(tutup, nullptr);
    EXPECT_EQ(tutup->text(), QStringLiteral("Tutup"));
    QTest::mouseClick(tutup, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    form->Show();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(memoOf(*form)->Lines(), lines);
    form->close();
    EXPECT_FALSE(form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Information, InformationWindowTest,
                         ::testing::Values(MemoCase{"Form14", [] { return new TForm14(); }, QRect(16, 16, 505, 417)},
                                           MemoCase{"Form15", [] { return new TForm15(); }, QRect(16, 16, 497, 241)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TForm13, HoldsUsageLinesOneToThirtyNineInAPlainEditBox)
{
    TForm13 form;
    const QStringList lines = form.memo()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 39);
    EXPECT_EQ(lines.first(), QStringLiteral("1.Aktifkan program aplikasi dengan klik 2 kali icon program aplikasi"));
    EXPECT_EQ(lines.last(), QStringLiteral("9.Jika tekan Yes maka akan muncul kembali Form Password  tekanlah tombol Tutup."));
    EXPECT_TRUE(form.findChildren<QPushButton*>().isEmpty());
}
