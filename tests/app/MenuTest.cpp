#include "ModalBoxResponder.h"
#include "PictureBox.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TForm10.h"
#include "TForm11.h"
#include "TForm12.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm8.h"
#include "TForm9.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {
// What an item does: shows a window, or asks a report window for its preview.
struct Target {
    TForm* const* window = nullptr;
    ReportWindow* const* report = nullptr;
};

template <class T>
Target shows(T* const& global)
{
    Target t;
    t.window = reinterpret_cast<TForm* const*>(&global);
    return t;
}

template <class T>
Target previews(T* const& global)
{
    Target t;
    t.report = reinterpret_cast<ReportWindow* const*>(&global);
    return t;
}

struct ItemCase {
    const char* name;
    const char* menu;
    const char* caption;
    std::uint16_t value;
    const char* text;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Target target;
};

std::ostream& operator<<(std::ostream& os, const ItemCase& c)
{
    return os << c.name;
}

const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;

const ItemCase items[] = {
    {"Pegawai1", "Data1", "Data Kepegawaian", 16464, "Ctrl+P", Qt::Key_P, ctrl, shows(Form2)},
    {"Mutasi1", "Data1", "Data Mutasi", 16461, "Ctrl+M", Qt::Key_M, ctrl, shows(Form3)},
    {"DataPegawai1", "Lihat1", "Data Pegawai", 16452, "Ctrl+D", Qt::Key_D, ctrl, shows(Form4)},
    {"Datamutasi1", "Lihat1", "Data Mutasi", 16468, "Ctrl+T", Qt::Key_T, ctrl, shows(Form5)},
    {"DataPegawai2", "Cari1", "Data Pegawai", 49232, "Ctrl+Alt+P", Qt::Key_P, ctrlAlt, shows(Form6)},
    {"DataMutasi2", "Cari1", "Data Mutasi", 49229, "Ctrl+Alt+M", Qt::Key_M, ctrlAlt, shows(Form7)},
    {"DaftarurutKepangkatan1", "Laporan1", "Daftar Urut Kepangkatan", 16449, "Ctrl+A", Qt::Key_A, ctrl,
     previews(Form9)},
    {"Bezetting1", "Laporan1", "Bezetting", 16450, "Ctrl+B", Qt::Key_B, ctrl, previews(Form10)},
    {"Mutasi2", "Laporan1", "Mutasi", 16451, "Ctrl+C", Qt::Key_C, ctrl, previews(Form11)},
    {"PenggunaanProgram1", "Sekilas1", "Penggunaan Program", 0, "", Qt::Key_unknown, {}, shows(Form14)},
    {"RADARKelasISindara1", "Sekilas1", "RADAR Kelas I Sindara", 0, "", Qt::Key_unknown, {}, shows(Form15)},
};

// Counts the previews each report window opens and closes each at once, so
// the report command returns.
class PreviewCloser {
public:
    PreviewCloser()
    {
        for (ReportWindow* window : {static_cast<ReportWindow*>(Form8), static_cast<ReportWindow*>(Form9),
                                     static_cast<ReportWindow*>(Form10), static_cast<ReportWindow*>(Form11)})
            QObject::connect(window->Report1, &ReportPanel::previewOpened, window->Report1,
                             [this, window](TRepStandardPreview* preview) {
                                 ++opened[window];
                                 QMetaObject::invokeMethod(
                                     preview, [preview] { preview->close(); }, Qt::QueuedConnection);
                             });
    }
    std::map<ReportWindow*, int> opened;
};

int reportRequests(const PreviewCloser& closer)
{
    int n = 0;
    for (const auto& [window, count] : closer.opened)
        n += count;
    return n;
}
}  // namespace

class MenuItemTest : public StartedProgram, public ::testing::WithParamInterface<ItemCase> {
protected:
    QAction* item() const { return Form1->findChild<QAction*>(QString::fromLatin1(GetParam().name)); }

    void SetUp() override
    {
        StartedProgram::SetUp();
        closer = std::make_unique<PreviewCloser>();
    }
    void TearDown() override
    {
        closer.reset();
        StartedProgram::TearDown();
    }

    // Whether the item's command ran: its window is visible, or its report
    // window alone opened a preview (and the command returned once it closed).
    bool commandRan() const
    {
        const Target& t = GetParam().target;
        if (t.window)
            return (*t.window)->isVisible();
        return closer->opened[*t.report] == 1 && reportRequests(*closer) == 1;
    }

    std::unique_ptr<PreviewCloser> closer;
};

TEST_P(MenuItemTest, CaptionShortCutAndMenu)
{
    QAction* action = item();
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(TForm1::captionOf(action).toStdString(), GetParam().caption);
    EXPECT_EQ(TForm1::shortCutOf(action), GetParam().value);
    const QString shown = action->text();
    EXPECT_EQ(shown.section(QLatin1Char('\t'), 0, 0).toStdString(), GetParam().caption);
    EXPECT_EQ(shown.section(QLatin1Char('\t'), 1).toStdString(), GetParam().text);
    auto* menu = Form1->findChild<QMenu*>(QString::fromLatin1(GetParam().menu));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(action));
}

TEST_P(MenuItemTest, ChoosingTheItemRunsItsCommand)
{
    activate(Form1);
    item()->trigger();
    EXPECT_TRUE(commandRan());
    EXPECT_TRUE(Form1->isVisible());
}

using ShortCutItemTest = MenuItemTest;

TEST_P(ShortCutItemTest, ShortCutActsWhileTheMenuWindowIsActive)
{
    activate(Form1);
    QTest::keyClick(Form1, GetParam().key, GetParam().modifiers);
    EXPECT_TRUE(commandRan());
}

TEST_P(ShortCutItemTest, ShortCutDoesNothingInAnotherWindow)
{
    Form1->show();
    activate(Form12);
    QTest::keyClick(Form12, GetParam().key, GetParam().modifiers);
    EXPECT_FALSE(commandRan());
    EXPECT_EQ(reportRequests(*closer), 0);
}

INSTANTIATE_TEST_SUITE_P(Items, MenuItemTest, ::testing::ValuesIn(items),
                         [](const auto& info) { return std::string(info.param.name); });

// The "Sekilas" items, the last two, have no short-cut.
INSTANTIATE_TEST_SUITE_P(Items, ShortCutItemTest, ::testing::ValuesIn(std::begin(items), std::end(items) - 2),
                         [](const auto& info) { return std::string(info.param.name); });

using Menu = StartedProgram;

TEST_F(Menu, BarHoldsTheMenusInOrderAndDataHasASeparatorBeforeKeluar)
{
    QStringList titles;
    for (QAction* a : Form1->MainMenu1->actions())
        titles << a->text();
    EXPECT_EQ(titles.join(QLatin1Char(',')).toStdString(), "Data,Lihat,Cari,Laporan,Sekilas");
    const QList<QAction*> data = Form1->Data1->actions();
    ASSERT_EQ(data.size(), 4);
    EXPECT_EQ(data[0], Form1->Pegawai1);
    EXPECT_EQ(data[1], Form1->Mutasi1);
    EXPECT_TRUE(data[2]->isSeparator());
    EXPECT_EQ(data[3], Form1->Keluar1);
    EXPECT_EQ(TForm1::shortCutOf(Form1->Keluar1), 16472);
    EXPECT_EQ(Form1->Keluar1->text().section(QLatin1Char('\t'), 1).toStdString(), "Ctrl+X");
}

TEST_F(Menu, WindowPropertiesAndPictureAtNaturalSize)
{
    EXPECT_EQ(Form1->windowTitle().toStdString(), "Pengelolaan Data Mutasi Kepegawaian RADAR Kelas I Sindara");
    EXPECT_EQ(Form1->outerRect(), QRect(288, 127, 305, 352));
    EXPECT_EQ(Form1->font().pixelSize(), 11);
    for (QMenu* menu : Form1->findChildren<QMenu*>())
        EXPECT_EQ(menu->font(), Form1->font()) << menu->objectName().toStdString();
    activate(Form1);
    EXPECT_EQ(Form1->Image1->size(), QSize(297, 305));
    EXPECT_EQ(Form1->Image1->x(), 0);
    EXPECT_EQ(Form1->Image1->y(), Form1->MainMenu1->height());
    EXPECT_EQ(Form1->Image1->picture().size(), QSize(295, 305));
    // Drawn from the top-left corner: the control's first pixel is the picture's.
    const QImage grabbed = Form1->Image1->grab().toImage();
    EXPECT_EQ(grabbed.pixelColor(0, 0).rgb(), Form1->Image1->picture().pixelColor(0, 0).rgb());
    EXPECT_EQ(grabbed.pixelColor(294, 304).rgb(), Form1->Image1->picture().pixelColor(294, 304).rgb());
}

TEST_F(Menu, ShowingAWindowTwiceKeepsItsState)
{
    activate(Form1);
    Form1->Pegawai1->trigger();
    Form2->setWindowTitle(QStringLiteral("changed"));
    Form2->close();
    ASSERT_FALSE(Form2->isVisible());
    TForm2* before = Form2;
    Form1->Pegawai1->trigger();
    Form1->Pegawai1->trigger();
    EXPECT_EQ(Form2, before);
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(Form2->windowTitle().toStdString(), "changed");
}

TEST_F(Menu, KeluarYesHidesTheMenuAndShowsTheLoginAgain)
{
    activate(Form12);
    QTest::keyClicks(Form12->Edit1, QStringLiteral("mawar"));
    QTest::mouseClick(Form12->Button1, Qt::LeftButton);
    activate(Form1);
    Form1->Pegawai1->trigger();
    activate(Form1);
    ModalBoxResponder responder;
    responder.click(QStringLiteral("Yes"));
    QTest::keyClick(Form1, Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(responder.boxes().size(), 1);
    const ModalBoxRecord& box = responder.last();
    EXPECT_EQ(box.text.toStdString(), "Anda ingin mengakhiri Program Aplikasi Ini ?");
    EXPECT_EQ(box.caption.toStdString(), "Confirm");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Form12->isVisible());
    EXPECT_TRUE(Form12->Edit1->text().isEmpty());
    EXPECT_TRUE(Form2->isVisible());  // windows opened from the menu stay open
    EXPECT_FALSE(TApplication::instance()->MainForm()->isHidden());
}

TEST_F(Menu, KeluarNoOrCloseBoxShowsTheLoginInFrontOfTheMenu)
{
    for (int answer = 0; answer < 2; ++answer) {
        Form12->Hide();
        activate(Form1);
        ModalBoxResponder responder;
        if (answer == 0)
            responder.click(QStringLiteral("No"));
        else
            responder.closeBox();
        Form1->Keluar1->trigger();
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_TRUE(Form1->isVisible());
        EXPECT_TRUE(Form12->isVisible());
    }
}

TEST_F(Menu, ClosingTheMenuWindowByItsFrameReturnsToTheLogin)
{
    // Once through the close box's own event, once through close(): both
    // hide the menu window and show the login window, as Yes to "Keluar" does.
    for (int way = 0; way < 2; ++way) {
        activate(Form1);
        Form12->Hide();
        ModalBoxResponder responder;  // the frame asks nothing
        if (way == 0) {
            QCloseEvent close;
            QApplication::sendEvent(Form1, &close);
            EXPECT_FALSE(close.isAccepted());
        } else {
            EXPECT_FALSE(Form1->close());
        }
        EXPECT_TRUE(responder.boxes().empty());
        EXPECT_FALSE(Form1->isVisible()) << way;
        EXPECT_TRUE(Form12->isVisible()) << way;
        EXPECT_FALSE(TApplication::instance()->Terminated());
        EXPECT_NE(Form1, nullptr);
    }
}
