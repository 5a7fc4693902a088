#include "TForm1.h"

#include "HandlerGuard.h"
#include "JpegImage.h"
#include "MessageBoxes.h"
#include "PictureBox.h"
#include "ReportRegistry.h"
#include "ReportWindow.h"
#include "ShortCut.h"
#include "TForm12.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"
#include "WindowFonts.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

TForm1* Form1 = nullptr;

namespace {
const char* const shortCutProperty = "ShortCut";
const char* const captionProperty = "Caption";
const char* const picturePath = ":/assets/menu-picture.jpg";
constexpr std::uint16_t noShortCut = 0;
}  // namespace

TForm1::TForm1()
    : TForm(QStringLiteral("Form1"), QStringLiteral("Pengelolaan Data Mutasi Kepegawaian RADAR Kelas I Sindara"),
            QRect(288, 127, 305, 352), WindowFonts::sansSerif(11))
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    Data1 = addMenu("Data1", "Data");
    Pegawai1 = addItem(Data1, "Pegawai1", "Data Kepegawaian", ShortCut::ctrl | 'P', &TForm1::Pegawai1Click);
    Mutasi1 = addItem(Data1, "Mutasi1", "Data Mutasi", ShortCut::ctrl | 'M', &TForm1::Mutasi1Click);
    N1 = Data1->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    Keluar1 = addItem(Data1, "Keluar1", "Keluar", ShortCut::ctrl | 'X', &TForm1::Keluar1Click);

    Lihat1 = addMenu("Lihat1", "Lihat");
    DataPegawai1 = addItem(Lihat1, "DataPegawai1", "Data Pegawai", ShortCut::ctrl | 'D', &TForm1::DataPegawai1Click);
    Datamutasi1 = addItem(Lihat1, "Datamutasi1", "Data Mutasi", ShortCut::ctrl | 'T', &TForm1::Datamutasi1Click);

    Cari1 = addMenu("Cari1", "Cari");
    DataPegawai2 = addItem(Cari1, "DataPegawai2", "Data Pegawai", ShortCut::ctrl | ShortCut::alt | 'P',
                           &TForm1::DataPegawai2Click);
    DataMutasi2 =
        addItem(Cari1, "DataMutasi2", "Data Mutasi", ShortCut::ctrl | ShortCut::alt | 'M', &TForm1::DataMutasi2Click);

    Laporan1 = addMenu("Laporan1", "Laporan");
    for (const ReportRegistry::Entry& report : ReportRegistry::all())
        addItem(Laporan1, report.menuItem, report.menuCaption, report.shortCut,
                [this, name = report.name] { openReport(name); });
    DaftarurutKepangkatan1 = reportItem("DaftarurutKepangkatan1");
    Bezetting1 = reportItem("Bezetting1");
    Mutasi2 = reportItem("Mutasi2");

    Sekilas1 = addMenu("Sekilas1", "Sekilas");
    PenggunaanProgram1 =
        addItem(Sekilas1, "PenggunaanProgram1", "Penggunaan Program", noShortCut, &TForm1::PenggunaanProgram1Click);
    RADARKelasISindara1 = addItem(Sekilas1, "RADARKelasISindara1", "RADAR Kelas I Sindara", noShortCut,
                                  &TForm1::RADARKelasISindara1Click);

    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(297, 305);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Image1, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();

    loadPicture();
}

QMenu* TForm1::addMenu(const char* name, const char* caption)
{
    QMenu* menu = MainMenu1->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->setFont(font());  // a pop-up is a window of its own and inherits no font
    return menu;
}

QAction* TForm1::addItem(QMenu* menu, const char* name, const char* caption, std::uint16_t shortCut,
                         void (TForm1::*handler)())
{
    return addItem(menu, name, caption, shortCut, [this, handler] { (this->*handler)(); });
}

QAction* TForm1::addItem(QMenu* menu, const char* name, const char* caption, std::uint16_t shortCut,
                         std::function<void()> handler)
{
    // The text after the tab is what the menu shows at the right of the item,
    // so the short-cut text is ours, not the toolkit's.
    const QString text = QString::fromUtf8(caption);
    const QString keys = ShortCut::text(shortCut);
    QAction* item = menu->addAction(keys.isEmpty() ? text : text + QLatin1Char('\t') + keys);
    item->setObjectName(QString::fromLatin1(name));
    item->setProperty(captionProperty, text);
    item->setProperty(shortCutProperty, int(shortCut));
    item->setShortcut(ShortCut::keys(shortCut));
    item->setShortcutContext(Qt::WindowShortcut);  // only while this window is active
    connect(item, &QAction::triggered, this, guard(std::move(handler)));
    return item;
}

std::uint16_t TForm1::shortCutOf(const QAction* item)
{
    return std::uint16_t(item->property(shortCutProperty).toInt());
}

QString TForm1::captionOf(const QAction* item)
{
    return item->property(captionProperty).toString();
}

void TForm1::loadPicture()
{
    QFile file(QString::fromLatin1(picturePath));
    if (!file.open(QIODevice::ReadOnly))
        throw JpegError("The menu picture is missing from the program");
    const QByteArray bytes = file.readAll();
    Image1->setPicture(
        JpegImage::decode(reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())));
}

void TForm1::Pegawai1Click()
{
    Form2->Show();
}
void TForm1::Mutasi1Click()
{
    Form3->Show();
}
void TForm1::DataPegawai1Click()
{
    Form4->Show();
}
void TForm1::Datamutasi1Click()
{
    Form5->Show();
}
void TForm1::DataPegawai2Click()
{
    Form6->Show();
}
void TForm1::DataMutasi2Click()
{
    Form7->Show();
}
void TForm1::DaftarurutKepangkatan1Click()
{
    openReport("Form9");
}
void TForm1::Bezetting1Click()
{
    openReport("Form10");
}
void TForm1::Mutasi2Click()
{
    openReport("Form11");
}

QAction* TForm1::reportItem(const char* name) const
{
    return Laporan1->findChild<QAction*>(QString::fromLatin1(name));
}

void TForm1::openReport(const char* name)
{
    if (ReportWindow* window = ReportWindow::named(QString::fromLatin1(name)))
        window->OpenPreview();
}
void TForm1::PenggunaanProgram1Click()
{
    Form14->Show();
}
void TForm1::RADARKelasISindara1Click()
{
    Form15->Show();
}

void TForm1::Keluar1Click()
{
    if (MessageDlg(QStringLiteral("Anda ingin mengakhiri Program Aplikasi Ini ?"), MessageDialogType::Confirmation,
                   {MessageButton::Yes, MessageButton::No}) == mrYes)
        Close();
    Form12->Show();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Close();
    Form12->Show();
}
