// Saving and exporting from the preview through Qt's own file dialog.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "ModalBoxResponder.h"
#include "PreviewFixture.h"
#include "QtFileDialogs.h"
#include "RealFileDialog.h"

namespace {

mode_t modeOf(const QString& file)
{
    struct stat st {};
    return ::stat(file.toLocal8Bit().constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

std::string contents(const QString& file)
{
    std::ifstream in(file.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

QString pdfText(const QString& file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Limits the size of files this process writes, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

class SaveExport : public PreviewFixture {
protected:
    void useRealDialogs() { panel->Dialogs = &real; }

    static void clickSave(TRepStandardPreview& preview)
    {
        QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.SaveReport), Qt::LeftButton);
    }

    QString path(const char* name) const
    {
        return QDir(QString::fromStdString(db_->root())).filePath(QLatin1String(name));
    }

    QtFileDialogs real;
};

TEST_F(SaveExport, RealDialogWritesTheReportUnderTheTypedNameWithItsExtension)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    useRealDialogs();
    {
        std::ofstream old(path("saved.RPF").toStdString());
        old << "old contents";
    }
    std::vector<std::vector<std::uint8_t>> pages;
    RealFileDialog::Seen seen, again;
    openPreview([&](TRepStandardPreview& preview) {
        for (int n = 1; n <= preview.destination()->PageCount(); ++n)
            pages.push_back(*preview.destination()->GetPage(n));
        {
            RealFileDialog dialog(path("saved"));
            clickSave(preview);
            seen = dialog.seen();
        }
        {
            RealFileDialog dialog(path("named.rpf"));
            clickSave(preview);
            again = dialog.seen();
        }
    });
    EXPECT_TRUE(seen.answered);
    EXPECT_EQ(seen.title.toStdString(), "Save report");
    EXPECT_EQ(seen.filters.join(QLatin1Char('|')).toStdString(), "Report file(*.RPF)|PDF file (*.pdf)");
    ASSERT_EQ(pages.size(), 2u);
    for (const char* name : {"saved.RPF", "named.rpf"}) {
        SCOPED_TRACE(name);
        TRepPrinter loaded;
        loaded.Load(path(name).toStdString());
        ASSERT_EQ(loaded.PageCount(), 2);
        EXPECT_EQ(*loaded.GetPage(1), pages[0]);
        EXPECT_EQ(*loaded.GetPage(2), pages[1]);
    }
    EXPECT_FALSE(QFile::exists(path("named.rpf.RPF")));
    // only the two reports: no temporary file left beside them
    EXPECT_EQ(QDir(QString::fromStdString(db_->root()))
                  .entryList({QStringLiteral("*.RPF*"), QStringLiteral("*.rpf*")}, QDir::Files)
                  .size(),
              2);
}

TEST_F(SaveExport, PdfFilterWritesThePagesAsPreviewedWithSelectableText)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    openPreview([&](TRepStandardPreview& preview) {
        RealFileDialog dialog(path("export"), 1);
        clickSave(preview);
        EXPECT_TRUE(dialog.seen().answered);
    });
    const QString file = path("export.pdf");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(path("export.RPF")));
    const PdfInfo info = pdfInfo(file);
    EXPECT_EQ(info.pages, 2);
    // Legal, landscape: 14 by 8.5 inches
    EXPECT_NEAR(info.widthPt, 1008, 1);
    EXPECT_NEAR(info.heightPt, 612, 1);
    const QString first = pdfText(file, 1), second = pdfText(file, 2);
    EXPECT_TRUE(first.contains(QStringLiteral("Laporan Daftar Urut Kepangkatan"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Pegawai 15")));
    EXPECT_FALSE(first.contains(QStringLiteral("Pegawai 16")));
    EXPECT_TRUE(second.contains(QStringLiteral("Pegawai 16")));
    EXPECT_TRUE(second.contains(QStringLiteral("Pegawai 20")));
}

// Reports hold personal data: whatever the umask, a new file is the owner's
// only, and a file saved over keeps the modes its owner gave it.
TEST_F(SaveExport, NewFilesAreTheOwnersOnlyAndReplacedOnesKeepTheirModes)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    useRealDialogs();
    const QString shared = path("shared.RPF");
    {
        std::ofstream old(shared.toStdString());
    }
    ::chmod(shared.toLocal8Bit().constData(), 0640);
    const mode_t saved = ::umask(0);
    openPreview([&](TRepStandardPreview& preview) {
        for (const auto& [name, filter] : {std::pair{"fresh", 0}, std::pair{"fresh", 1}, std::pair{"shared", 0}}) {
            RealFileDialog dialog(path(name), filter);
            clickSave(preview);
            EXPECT_TRUE(dialog.seen().answered);
        }
    });
    ::umask(saved);
    EXPECT_EQ(modeOf(path("fresh.RPF")), 0600u);
    EXPECT_EQ(modeOf(path("fresh.pdf")), 0600u);
    EXPECT_EQ(modeOf(shared), 0640u);
    TRepPrinter loaded;
    loaded.Load(shared.toStdString());
    EXPECT_EQ(loaded.PageCount(), 2);
}

TEST_F(SaveExport, FailedWriteShowsTheErrorAndLeavesTheEarlierFile)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    useRealDialogs();
    const QString file = path("kept.RPF");
    {
        std::ofstream old(file.toStdString());
        old << "old contents";
    }
    std::unique_ptr<ModalBoxResponder> responder;
    auto answerErrorBox = [&] {
        responder = std::make_unique<ModalBoxResponder>();
        responder->click(QStringLiteral("OK"));
    };
    QList<ModalBoxRecord> boxes;
    openPreview([&](TRepStandardPreview& preview) {
        {
            FileSizeLimit disk(4096);  // the pages take more
            RealFileDialog dialog(file, 0, answerErrorBox);
            clickSave(preview);
        }
        boxes += responder->boxes();
        responder.reset();  // the next file dialog is not a box to answer
        RealFileDialog pdf(path("kept.pdf"), 1, answerErrorBox);
        {
            std::ofstream old(path("kept.pdf").toStdString());
            old << "old pdf";
        }
        FileSizeLimit disk(4096);
        clickSave(preview);
        boxes += responder->boxes();
    });
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("Cannot write file \"") + file)) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[1].text.startsWith(QStringLiteral("Cannot write file"))) << boxes[1].text.toStdString();
    EXPECT_EQ(contents(file), "old contents");
    EXPECT_EQ(contents(path("kept.pdf")), "old pdf");
    EXPECT_EQ(QDir(QString::fromStdString(db_->root())).entryList({QStringLiteral("kept*")}, QDir::Files).size(), 2);
}

TEST(QtFileDialogs, ChosenFilterIsFoundWithOrWithoutItsDetails)
{
    const QString filter = TRepStandardPreview::SaveFilter;
    EXPECT_EQ(QtFileDialogs::filterIndex(filter, QStringLiteral("Report file(*.RPF) (*.RPF)")), 0);
    EXPECT_EQ(QtFileDialogs::filterIndex(filter, QStringLiteral("Report file(*.RPF)")), 0);
    EXPECT_EQ(QtFileDialogs::filterIndex(filter, QStringLiteral("PDF file (*.pdf)")), 1);
    EXPECT_EQ(QtFileDialogs::filterIndex(filter, QStringLiteral("Text file")), -1);
    EXPECT_EQ(QtFileDialogs::extension(filter, 0).toStdString(), "RPF");
    EXPECT_EQ(QtFileDialogs::extension(filter, 1).toStdString(), "pdf");
    EXPECT_TRUE(QtFileDialogs::extension(filter, 2).isEmpty());
}

}  // namespace

namespace {

TEST_F(SaveExport, DamagedFileIsRefusedWholeAndThePreviewKeepsItsPages)
{
    addEmployees(200);  // 12 pages, past the memory limit: in a temporary file
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    // a saved report cut at 30,000 bytes, and one whose header claims 1000 pages
    const QString whole = path("whole.RPF"), cut = path("cut.RPF"), claims = path("claims.RPF");
    {
        auto report = ReportDefinitions::Form10(&peg());
        TRepPrinter destination;
        report->RunReport(destination);
        destination.Save(whole.toStdString());
    }
    std::string bytes = contents(whole);
    ASSERT_GT(bytes.size(), 30000u);
    std::ofstream(cut.toStdString(), std::ios::binary) << bytes.substr(0, 30000);
    bytes[8] = char(0xE8), bytes[9] = char(0x03);  // 1000
    std::ofstream(claims.toStdString(), std::ios::binary) << bytes;

    std::vector<QString> texts;
    openPreview([&](TRepStandardPreview& preview) {
        TRepPrinter& destination = *preview.destination();
        ASSERT_EQ(destination.PageCount(), 12);
        const std::string temporary = destination.PageList().stream()->temporaryName();
        ASSERT_FALSE(temporary.empty());
        const std::vector<std::uint8_t> page1 = *destination.GetPage(1);
        for (const QString& damaged : {cut, claims}) {
            std::unique_ptr<ModalBoxResponder> responder;
            {
                RealFileDialog dialog(damaged, 0, [&] {
                    responder = std::make_unique<ModalBoxResponder>();
                    responder->click(QStringLiteral("OK"));
                });
                QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.LoadReport), Qt::LeftButton);
            }
            ASSERT_TRUE(responder);
            ASSERT_EQ(responder->boxes().size(), 1);
            texts.push_back(responder->last().text);
            EXPECT_FALSE(destination.ReportLoaded());
            EXPECT_EQ(destination.PageCount(), 12);
            EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 1 of 12");
            EXPECT_TRUE(QFile::exists(QString::fromStdString(temporary)));
            EXPECT_EQ(destination.PageList().stream()->temporaryName(), temporary);
            EXPECT_EQ(*destination.GetPage(1), page1);
            EXPECT_TRUE(preview.PrintSetup->isEnabled());
        }
        // a save after the refused loads writes the run's pages
        RealFileDialog dialog(path("after"));
        clickSave(preview);
    });
    ASSERT_EQ(texts.size(), 2u);
    for (const QString& text : texts)
        EXPECT_TRUE(text.startsWith(QStringLiteral("Invalid report file"))) << text.toStdString();
    TRepPrinter saved;
    saved.Load(path("after.RPF").toStdString());
    EXPECT_EQ(saved.PageCount(), 12);
}

}  // namespace
