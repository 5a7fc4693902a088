// Printing through a real CUPS queue that prints into PDF files, set up in
// Qt's own print dialog driven as a user does.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <pwd.h>
#include <set>
#include <sys/file.h>
#include <unistd.h>

#include "PreviewFixture.h"
#include "QtPrintSetupDialog.h"
#include "QtPrinterSystem.h"

namespace {

const QString Queue = QStringLiteral("arsipstaf-pdf");

// What the print dialog showed, and the choices to make in it.
struct SetupSeen {
    bool shown = false;
    QString acceptText;
    bool orientationOffered = false;
    bool landscapeChecked = false;
    bool rangeChecked = false;
    int from = 0, to = 0;
    QStringList visibleUnhonoured;
};

struct SetupChoice {
    bool pageRange = false;
    int from = 0, to = 0;
    bool portrait = false;
};

class CupsPrinting : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        // The queue writes every job into one folder and a test takes the
        // folder's new file: tests in other processes must not print meanwhile.
        queueLock = ::open("/tmp/arsipstaf-cups-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        ASSERT_GE(queueLock, 0);
        ASSERT_EQ(::flock(queueLock, LOCK_EX), 0);
        QProcess script;
        script.start(QStringLiteral("bash"), {QStringLiteral(ARSIPSTAF_SOURCE_DIR "/tools/cups-pdf-queue.sh"), Queue});
        ASSERT_TRUE(script.waitForFinished(60000));
        ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        for (qsizetype i = 0; i < printers.size(); ++i)
            if (printers[i].printerName() == Queue)
                queueIndex = int(i);
        ASSERT_GE(queueIndex, 0) << "the queue is not listed";
        outbox = QDir(QString::fromLocal8Bit(getpwuid(getuid())->pw_dir)).filePath(QStringLiteral("PDF"));
    }

    void useCups(ReportPanel& p)
    {
        p.Printers = &cups;
        p.SetupDialog = &realSetup;
    }

    // Answers the next print dialog with the choice.
    SetupSeen setUp(TRepStandardPreview& preview, const SetupChoice& choice)
    {
        SetupSeen seen;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QPrintDialog* dialog = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QPrintDialog*>(w); d && d->isVisible())
                    dialog = d;
            if (!dialog)
                return;
            poll.stop();
            seen.shown = true;
            answer(*dialog, choice, seen);
        });
        poll.start();
        QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.PrintSetup), Qt::LeftButton);
        return seen;
    }

    void answer(QPrintDialog& dialog, const SetupChoice& choice, SetupSeen& seen)
    {
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text().contains(QStringLiteral("Options")))
                QTest::mouseClick(b, Qt::LeftButton);
            if (b->isDefault())
                seen.acceptText = b->text();
        }
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
        ASSERT_NE(printers, nullptr);
        printers->setCurrentIndex(printers->findText(Queue));
        for (const char* name :
             {"pagesRadioButton", "pagesLineEdit", "pageSetCombo", "reverse", "collate", "properties"})
            for (QWidget* w : dialog.findChildren<QWidget*>(QLatin1String(name)))
                if (w->isVisible())
                    seen.visibleUnhonoured << QLatin1String(name);
        auto* portrait = dialog.findChild<QRadioButton*>(QStringLiteral("portrait"));
        auto* landscape = dialog.findChild<QRadioButton*>(QStringLiteral("landscape"));
        seen.orientationOffered = portrait && landscape;
        seen.landscapeChecked = landscape && landscape->isChecked();
        auto* range = dialog.findChild<QRadioButton*>(QStringLiteral("printRange"));
        auto* all = dialog.findChild<QRadioButton*>(QStringLiteral("printAll"));
        auto* from = dialog.findChild<QSpinBox*>(QStringLiteral("from"));
        auto* to = dialog.findChild<QSpinBox*>(QStringLiteral("to"));
        ASSERT_TRUE(range && all && from && to);
        seen.rangeChecked = range->isChecked();
        seen.from = from->value();
        seen.to = to->value();
        QTabWidget* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabs"));
        auto pick = [&](QRadioButton* button) {
            if (tabs)
                for (int i = 0; i < tabs->count(); ++i)
                    if (tabs->widget(i)->isAncestorOf(button))
                        tabs->setCurrentIndex(i);
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
        };
        if (choice.pageRange) {
            pick(range);
            for (auto [box, value] : {std::pair{to, choice.to}, std::pair{from, choice.from}}) {
                box->setFocus();
                box->selectAll();
                QTest::keyClicks(box, QString::number(value));
                QTest::keyClick(box, Qt::Key_Tab);
            }
        } else {
            pick(all);
        }
        if (seen.orientationOffered)
            pick(choice.portrait ? portrait : landscape);
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->isDefault())
                QTest::mouseClick(b, Qt::LeftButton);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the print dialog stayed open";
            dialog.reject();
        }
    }

    std::set<QString> outboxFiles() const
    {
        const QStringList names = QDir(outbox).entryList({QStringLiteral("*.pdf")}, QDir::Files);
        return {names.begin(), names.end()};
    }

    // Prints from the preview and waits for the queue's new file.
    QString printAndCollect(TRepStandardPreview& preview)
    {
        const std::set<QString> before = outboxFiles();
        QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.Print), Qt::LeftButton);
        processUntil([&] { return panel->report().Available() && !panel->progressForm(); });
        for (int i = 0; i < 600; ++i) {
            for (const QString& name : outboxFiles())
                if (!before.count(name)) {
                    const QString file = QDir(outbox).filePath(name);
                    // cups-pdf writes the file whole, then leaves it
                    if (pdfInfo(file).pages > 0)
                        return file;
                }
            QThread::msleep(100);
            QCoreApplication::processEvents();
        }
        ADD_FAILURE() << "no file from the queue in " << outbox.toStdString();
        return {};
    }

    void TearDown() override
    {
        PreviewFixture::TearDown();
        if (queueLock >= 0)
            ::close(queueLock);  // lets the next printing test go
    }

    QtPrinterSystem cups;
    QtPrintSetupDialog realSetup;
    int queueIndex = -1;
    QString outbox;
    int queueLock = -1;
};

TEST_F(CupsPrinting, SetupDialogRangeAndOrientationReachThePrintedPdf)
{
    addEmployees(40);  // 3 pages, landscape
    useCups(makePanel(ReportDefinitions::Form9(&peg())));
    SetupSeen first, second;
    QString ranged, whole;
    openPreview([&](TRepStandardPreview& preview) {
        first = setUp(preview, {.pageRange = true, .from = 2, .to = 3});
        ranged = printAndCollect(preview);
        second = setUp(preview, {.pageRange = false, .portrait = true});
        whole = printAndCollect(preview);
    });
    ASSERT_TRUE(first.shown);
    EXPECT_EQ(first.acceptText.toStdString(), "OK");
    EXPECT_TRUE(first.orientationOffered);
    EXPECT_TRUE(first.landscapeChecked);
    EXPECT_TRUE(first.visibleUnhonoured.isEmpty()) << first.visibleUnhonoured.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(first.rangeChecked);
    // the range chosen before is what the dialog opens on
    ASSERT_TRUE(second.shown);
    EXPECT_TRUE(second.rangeChecked);
    EXPECT_EQ(second.from, 2);
    EXPECT_EQ(second.to, 3);

    // The queue's files hold their texts as drawings (the driver's own
    // fonts), so what printed is told by pages, size and name.
    ASSERT_FALSE(ranged.isEmpty());
    // the job is named after the report
    EXPECT_TRUE(QFileInfo(ranged).fileName().startsWith(QStringLiteral("Daftar_Urut_Kepangkatan")))
        << ranged.toStdString();
    const PdfInfo rangedInfo = pdfInfo(ranged);
    EXPECT_EQ(rangedInfo.pages, 2);                                          // pages 2 and 3 of 3
    EXPECT_NEAR(std::min(rangedInfo.widthPt, rangedInfo.heightPt), 612, 1);  // Legal
    EXPECT_NEAR(std::max(rangedInfo.widthPt, rangedInfo.heightPt), 1008, 1);

    // every page, laid out upright: as many pages as a portrait run makes
    ASSERT_FALSE(whole.isEmpty());
    auto upright = ReportDefinitions::Form9(&peg());
    upright->Page.setOrientation(TRepOrientation::poPortrait);
    TRepPrinter store;
    upright->RunReport(store);
    ASSERT_EQ(store.PageCount(), 2);
    EXPECT_EQ(pdfInfo(whole).pages, 2);
    QFile::remove(ranged);
    QFile::remove(whole);
}

// A file loaded over a longer report: the setup is offered again, describes
// the file's pages and starts from all of them (not the range set for the
// report before), and the jobs carry the loaded report's name.
TEST_F(CupsPrinting, LoadedFileIsSetUpAndPrintedAsItsOwnReport)
{
    addEmployees(120);  // 8 pages
    for (int i = 1; i <= 20; ++i) {
        char skm[32];
        std::snprintf(skm, sizeof skm, "A-%04d-AB.01.01-2000", i);
        addTransfer(skm, "1970" + std::to_string(100000 + i), "Pegawai " + std::to_string(i));
    }
    const std::string file = db_->root() + "/mutasi.RPF";
    {
        auto report = ReportDefinitions::Form11(&mut());
        TRepPrinter destination;
        report->RunReport(destination);
        ASSERT_EQ(destination.PageCount(), 2);
        destination.Save(file);
    }
    useCups(makePanel(ReportDefinitions::Form9(&peg())));
    dialogs.answer = QString::fromStdString(file);
    SetupSeen loadedSetup, rangedSetup;
    QString whole, ranged, title;
    bool setupEnabled = false;
    openPreview([&](TRepStandardPreview& preview) {
        ASSERT_TRUE(setUp(preview, {.pageRange = true, .from = 7, .to = 8}).shown);
        preview.LoadReport->trigger();
        setupEnabled = preview.PrintSetup->isEnabled();
        title = preview.windowTitle();
        loadedSetup = setUp(preview, {.pageRange = false});
        whole = printAndCollect(preview);
        rangedSetup = setUp(preview, {.pageRange = true, .from = 2, .to = 2});
        ranged = printAndCollect(preview);
    });
    EXPECT_TRUE(setupEnabled);
    EXPECT_EQ(title.toStdString(), "Print Preview - Mutasi");
    ASSERT_TRUE(loadedSetup.shown);
    EXPECT_FALSE(loadedSetup.rangeChecked);
    EXPECT_EQ(loadedSetup.from, 1);
    EXPECT_EQ(loadedSetup.to, 2);
    EXPECT_TRUE(rangedSetup.shown);
    ASSERT_FALSE(whole.isEmpty());
    EXPECT_TRUE(QFileInfo(whole).fileName().startsWith(QStringLiteral("Mutasi"))) << whole.toStdString();
    EXPECT_EQ(pdfInfo(whole).pages, 2);
    ASSERT_FALSE(ranged.isEmpty());
    EXPECT_EQ(pdfInfo(ranged).pages, 1);
    QFile::remove(whole);
    QFile::remove(ranged);
}

}  // namespace
