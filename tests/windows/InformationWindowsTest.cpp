#include "TForm13.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TRepMemo.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

QString line(const TRepMemo& memo, int number)
{
    return memo.Lines().at(number - 1);
}

// The text as painted, without the scroll bar.
QImage rendered(TRepMemo& memo)
{
    return memo.grab(memo.TextRect()).toImage();
}

// Row `row` of the painted text, and the same line drawn on its own in the
// memo's font: equal images mean that line is what the control shows there.
// The 4 pixels at each side, where the corner marks are, are left out.
constexpr int markReach = 4;

QImage paintedRow(TRepMemo& memo, int row)
{
    const int h = memo.LineHeight();
    return rendered(memo).copy(markReach, row * h, memo.TextRect().width() - 2 * markReach, h);
}

QImage drawnLine(const TRepMemo& memo, const QString& text)
{
    QImage image(memo.TextRect().width(), memo.LineHeight(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(memo.font());
    painter.setPen(Qt::black);
    painter.drawText(0, QFontMetrics(memo.font()).ascent(), text);
    painter.end();
    return image.copy(markReach, 0, image.width() - 2 * markReach, image.height());
}

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 128)
                return true;
    return false;
}

void turnWheel(QWidget* widget, int notches)
{
    QWheelEvent wheel(QPointF(20, 20), widget->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

}  // namespace

TEST(TForm14, HoldsTheFortyUsageLinesWithTheirBlanksAndDashes)
{
    TForm14 form;
    const TRepMemo& memo = *form.RepMemo1;
    ASSERT_EQ(memo.Lines().size(), 40);
    EXPECT_EQ(line(memo, 1), QStringLiteral("1.Aktifkan program aplikasi dengan klik 2 kali icon program aplikasi"));
    EXPECT_EQ(line(memo, 8), QStringLiteral("   Pegawai"));
    EXPECT_EQ(line(memo, 32), QStringLiteral("   mestinya.   "));
    EXPECT_EQ(line(memo, 18),
              QString::fromUtf8("   Cara menjalankannya sama seperti proses \u2013 proses yang ada pada Form "
                                "Data Pegawai, hanya pada "));
    EXPECT_EQ(line(memo, 31).count(QChar(0x2013)), 2);
    EXPECT_EQ(line(memo, 39),
              QStringLiteral("9.Jika tekan Yes maka akan muncul kembali Form Password  tekanlah tombol Tutup."));
    EXPECT_TRUE(line(memo, 40).isEmpty());
    EXPECT_EQ(memo.Alignment(), TRepAlignment::taLeftJustify);
}

TEST(TForm15, HoldsTheEighteenHistoryLinesCentred)
{
    TForm15 form;
    const TRepMemo& memo = *form.RepMemo1;
    ASSERT_EQ(memo.Lines().size(), 18);
    EXPECT_EQ(line(memo, 1),
              QStringLiteral("Sejak Undang-undang Hukum Pidana untuk orang Hindia Belanda yang telah dikodifikasi"));
    EXPECT_EQ(line(memo, 17),
              QStringLiteral("( Dwang Opvoeding Regeling ) dengan perubahan-perubahannya, sesuai dengan Stbl. "));
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
}  // namespace

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

TEST(TForm15, HistoryThatFitsCannotBeFocusedScrolledOrChanged)
{
    TForm15 form;
    form.Show();
    TRepMemo* memo = form.RepMemo1;
    EXPECT_FALSE(memo->Scrolls());
    EXPECT_EQ(memo->focusPolicy(), Qt::NoFocus);
    for (const QScrollBar* bar : memo->findChildren<QScrollBar*>())
        EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(memo->width(), memo->TextRect().width());
    EXPECT_EQ(form.width(), 537 - TForm::frameWidth);
    const QImage before = rendered(*memo);
    QTest::mouseClick(memo, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::keyClick(memo, Qt::Key_PageDown);
    turnWheel(memo, -1);
    EXPECT_EQ(rendered(*memo), before);
    EXPECT_EQ(memo->TopLine(), 0);
    EXPECT_FALSE(memo->hasFocus());
    form.close();
}

TEST(TForm14, UsageTextScrollsToItsLastLinesWhichArePaintedAsTheFirstOnes)
{
    TForm14 form;
    form.Show();
    QApplication::setActiveWindow(&form);
    TRepMemo* memo = form.RepMemo1;
    const int lines = int(memo->LaidOutLines().size());
    const int fit = memo->height() / memo->LineHeight();
    ASSERT_LT(fit, lines);  // the text is taller than the control
    ASSERT_TRUE(memo->Scrolls());
    auto* bar = memo->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    // The bar sits right of the text, inside the window, and covers no line.
    EXPECT_EQ(bar->x(), memo->TextRect().width());
    EXPECT_LE(memo->geometry().right(), form.width() - 1);
    EXPECT_TRUE(form.Button1->hasFocus());

    // Unscrolled, the first line is painted in the first row.
    EXPECT_TRUE(hasInk(drawnLine(*memo, line(*memo, 1))));
    EXPECT_EQ(paintedRow(*memo, 0), drawnLine(*memo, line(*memo, 1)));

    // A click gives the text the focus; Page Down runs to the end.
    QTest::mouseClick(memo, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(memo->hasFocus());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(memo, Qt::Key_PageDown);
    EXPECT_EQ(memo->TopLine(), lines - fit);
    EXPECT_EQ(bar->value(), lines - fit);
    // Line 40 is empty, so line 39 is the last painted, one row above the bottom one.
    const int lastRow = fit - 1;
    EXPECT_EQ(paintedRow(*memo, lastRow - 1), drawnLine(*memo, line(*memo, 39)));
    EXPECT_EQ(paintedRow(*memo, lastRow), drawnLine(*memo, QString()));
    EXPECT_EQ(paintedRow(*memo, lastRow - 3),
              drawnLine(*memo, QStringLiteral("   Keluar dan akan muncul kotak pesan seperti berikut")));
    // Corner marks stay at the text's corners.
    const QImage image = rendered(*memo);
    EXPECT_TRUE(isBlack(image, image.width() - 1, image.height() - 1));
    EXPECT_TRUE(isBlack(image, 0, 0));
}

TEST(TForm14, ArrowsPagesWheelAndBarScrollByWholeLines)
{
    TForm14 form;
    form.Show();
    QApplication::setActiveWindow(&form);
    TRepMemo* memo = form.RepMemo1;
    auto* bar = memo->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    const int page = memo->height() / memo->LineHeight();
    const int last = int(memo->LaidOutLines().size()) - page;
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_EQ(paintedRow(*memo, 0), drawnLine(*memo, line(*memo, 2)));
    QTest::keyClick(memo, Qt::Key_Up);
    QTest::keyClick(memo, Qt::Key_Up);  // stops at the first line
    EXPECT_EQ(memo->TopLine(), 0);
    QTest::keyClick(memo, Qt::Key_PageDown);
    EXPECT_EQ(memo->TopLine(), std::min(page, last));
    QTest::keyClick(memo, Qt::Key_PageUp);
    EXPECT_EQ(memo->TopLine(), 0);
    turnWheel(memo, -1);  // a notch down scrolls the system's lines per notch
    EXPECT_EQ(memo->TopLine(), QApplication::wheelScrollLines());
    for (int i = 0; i < 20; ++i)
        turnWheel(memo, -1);
    EXPECT_EQ(memo->TopLine(), last);  // and stops at the last line
    turnWheel(memo, 20);
    EXPECT_EQ(memo->TopLine(), 0);
    // a click on the bar's lower arrow, then on its upper one
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QPoint down =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar).center();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, down);
    EXPECT_EQ(memo->TopLine(), 1);
    const QPoint up =
        bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, bar).center();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, up);
    EXPECT_EQ(memo->TopLine(), 0);
    bar->setValue(5);  // as a drag of the thumb does
    EXPECT_EQ(memo->TopLine(), 5);
    EXPECT_EQ(paintedRow(*memo, 0), drawnLine(*memo, line(*memo, 6)));
    QTest::keyClick(memo, Qt::Key_End);
    EXPECT_EQ(memo->TopLine(), last);
    QTest::keyClick(memo, Qt::Key_Home);
    EXPECT_EQ(memo->TopLine(), 0);
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
    EXPECT_EQ(lines.last(),
              QStringLiteral("9.Jika tekan Yes maka akan muncul kembali Form Password  tekanlah tombol Tutup."));
    EXPECT_TRUE(form.findChildren<QPushButton*>().isEmpty());
}
