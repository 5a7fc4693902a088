// Saving and exporting from the preview through Qt's own file dialog.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>
#include <QToolButton>
#include <cmath>
#include <csignal>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "EmfPlayer.h"
#include "InkComparison.h"
#include "LittleEndian.h"
#include "ModalBoxResponder.h"
#include "PdfExport.h"
#include "PreviewFixture.h"
#include "QtFileDialogs.h"
#include "RealFileDialog.h"
#include "RecordingCanvas.h"
#include "TRepProgressForm.h"

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

// The words of a page picture that another reader of the PDF does not find
// where the picture puts them: each word's start in points, from the
// picture's own advances, against pdftotext's word boxes; its end may differ
// by the pixel a glyph's width is rounded to.
std::vector<std::string> misplacedWords(const QString& file, int page, const std::vector<std::uint8_t>& picture,
                                        double pageWidth)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    struct Box {
        double from, to;
    };
    std::multimap<std::string, Box> found;
    const QRegularExpression word(QStringLiteral("xMin=\"([\\d.]+)\"[^>]*xMax=\"([\\d.]+)\"[^>]*>([^<]*)<"));
    for (auto m = word.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); m.hasNext();) {
        const auto w = m.next();
        found.emplace(w.captured(3).toStdString(), Box{w.captured(1).toDouble(), w.captured(2).toDouble()});
    }
    const EmfPictureInfo info = EmfPlayer::info(picture);
    const double scale = pageWidth / double(info.widthPixels());
    RecordingCanvas drawn;
    EmfPlayer::play(picture, drawn);
    std::vector<std::string> misplaced;
    for (const auto& call : drawn.calls) {
        if (call.kind != RecordingCanvas::Kind::Text || call.text.advances.size() != call.text.chars.size())
            continue;
        double x = call.text.origin.x;
        if ((call.text.align & PageTextAlign::HorizontalMask) != PageTextAlign::Left)
            continue;  // the reports place every text from its left
        std::string current;
        double start = x;
        const auto close = [&] {
            if (current.empty())
                return;
            const double from = (start - info.bounds.left) * scale, to = (x - info.bounds.left) * scale;
            const auto [first, last] = found.equal_range(current);
            if (std::none_of(first, last, [&](const auto& f) {
                    return std::abs(f.second.from - from) < 0.3 && std::abs(f.second.to - to) < scale + 0.05;
                }))
                misplaced.push_back(current + " at " + std::to_string(from));
            current.clear();
        };
        for (size_t i = 0; i < call.text.chars.size(); ++i) {
            if (call.text.chars[i] == u' ') {
                close();
                start = x + call.text.advances[i];
            } else {
                current += char(call.text.chars[i]);
            }
            x += call.text.advances[i];
        }
        close();
    }
    return misplaced;
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

// Pages past the memory limit live in a temporary file; Save moves it into
// place rather than copying it, and the preview goes on reading it there.
TEST_F(SaveExport, SaveMovesThePageFileIntoPlaceAndThePreviewGoesOn)
{
    addEmployees(400);
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    std::vector<std::vector<std::uint8_t>> pages;
    std::string temporary, shown;
    std::vector<std::vector<std::uint8_t>> after;
    openPreview([&](TRepStandardPreview& preview) {
        TRepPrinter& destination = *preview.destination();
        temporary = destination.PageList().stream()->temporaryName();
        ASSERT_FALSE(temporary.empty());
        for (int n = 1; n <= destination.PageCount(); ++n)
            pages.push_back(*destination.GetPage(n));
        {
            RealFileDialog dialog(path("moved"));
            clickSave(preview);
            EXPECT_TRUE(dialog.seen().answered);
        }
        EXPECT_FALSE(QFile::exists(QString::fromStdString(temporary)));
        EXPECT_EQ(destination.PageList().stream()->fileName(), path("moved.RPF").toStdString());
        // the pages shown from the saved file, and saved again from it
        preview.LastPage->trigger();
        shown = preview.PagePanel->text().toStdString();
        for (int n = destination.PageCount(); n >= 1; --n)
            after.insert(after.begin(), *destination.GetPage(n));
        RealFileDialog dialog(path("again"));
        clickSave(preview);
        EXPECT_TRUE(dialog.seen().answered);
        preview.Print->trigger();
        processUntil([&] { return panel->report().Available() && !printers->jobs.empty(); }, 1000);
        processUntil([&] { return panel->report().Available(); });
    });
    ASSERT_EQ(pages.size(), 24u);
    EXPECT_EQ(shown, "Page 24 of 24");
    EXPECT_EQ(after, pages);
    EXPECT_EQ(contents(path("moved.RPF")), contents(path("again.RPF")));
    TRepPrinter loaded;
    loaded.Load(path("moved.RPF").toStdString());
    ASSERT_EQ(loaded.PageCount(), 24);
    for (int n = 1; n <= 24; ++n)
        EXPECT_EQ(*loaded.GetPage(n), pages[static_cast<size_t>(n - 1)]) << n;
    EXPECT_EQ(modeOf(path("moved.RPF")), 0600u);
    // the saved file outlives the preview
    EXPECT_TRUE(QFile::exists(path("moved.RPF")));
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_TRUE(printers->jobs[0].begun);
}

// The name typed says what is written, whichever filter is chosen; a name
// that says neither takes the filter's extension.
TEST_F(SaveExport, TheTypedExtensionChoosesTheFormat)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    useRealDialogs();
    struct Case {
        const char* typed;
        int filterDown;  // 0: the report file, 1: PDF
        const char* written;
        bool pdf;
    };
    const Case cases[] = {
        {"laporan.pdf", 0, "laporan.pdf", true},
        {"mutasi.RPF", 1, "mutasi.RPF", false},
        {"daftar", 1, "daftar.pdf", true},
        {"pegawai.2026", 0, "pegawai.2026.RPF", false},
    };
    openPreview([&](TRepStandardPreview& preview) {
        for (const Case& c : cases) {
            RealFileDialog dialog(path(c.typed), c.filterDown);
            clickSave(preview);
        }
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(QFile::exists(path(c.written)));
        EXPECT_EQ(contents(path(c.written)).rfind("%PDF-", 0) == 0, c.pdf);
        if (!c.pdf) {
            TRepPrinter loaded;
            loaded.Load(path(c.written).toStdString());
            EXPECT_EQ(loaded.PageCount(), 2);
        }
    }
}

// The export shows its progress with Cancel and leaves the preview
// answering; Escape on the progress window cancels it, and an earlier file
// of that name stays as it was. Uncancelled, the export writes every page.
TEST_F(SaveExport, PdfExportShowsProgressAndCancelsCleanly)
{
    addEmployees(600);  // 36 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    const QString file = path("export.pdf");
    std::ofstream(file.toStdString()) << "earlier export";
    QString cancelText, pageDuring;
    bool escaped = false;
    int pages = 0;
    openPreview([&](TRepStandardPreview& preview) {
        pages = preview.destination()->PageCount();
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<TRepProgressForm*>(w);
                if (!progress || !progress->isVisible() || escaped)
                    continue;
                cancelText = progress->CancelButton->text();
                preview.NextPageClick();  // the preview answers meanwhile
                pageDuring = preview.PagePanel->text();
                QTest::keyClick(progress, Qt::Key_Escape);
                escaped = true;
                watch.stop();
            }
        });
        watch.start();
        {
            RealFileDialog dialog(file, 1);
            clickSave(preview);
        }
        EXPECT_EQ(contents(file), "earlier export");
        RealFileDialog dialog(file, 1);
        clickSave(preview);
    });
    EXPECT_TRUE(escaped);
    EXPECT_EQ(cancelText.toStdString(), "Cancel");
    EXPECT_EQ(pageDuring.toStdString(), "Page 2 of " + std::to_string(pages));
    EXPECT_EQ(pdfInfo(file).pages, pages);
    // nothing left beside it from the cancelled export
    EXPECT_EQ(QDir(QString::fromStdString(db_->root())).entryList({QStringLiteral("export*")}, QDir::Files).size(), 1);
}

TEST_F(SaveExport, PdfFilterWritesThePagesAsPreviewedWithSelectableText)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    std::vector<std::vector<std::uint8_t>> pictures;
    openPreview([&](TRepStandardPreview& preview) {
        for (int n = 1; n <= 2; ++n)
            pictures.push_back(*preview.destination()->GetPage(n));
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
    // Each page as another program draws it has its ink where the preview
    // has, to within 0.8 mm (a page 1.6 mm lower is told apart), and every
    // word starts where the page picture puts it, to 0.3 points.
    for (int n = 1; n <= 2; ++n) {
        const QImage exported = renderPdf(file, n, 96);
        ASSERT_FALSE(exported.isNull());
        const QImage previewed = renderPicture(pictures[size_t(n - 1)], exported.size());
        EXPECT_GT(sameInk(exported, previewed, 3), 0.97) << "page " << n;
        EXPECT_LT(sameInk(exported, shifted(previewed, 0, 6), 3), 0.9) << "page " << n;
        EXPECT_EQ(misplacedWords(file, n, pictures[size_t(n - 1)], info.widthPt), std::vector<std::string>{});
    }
    const QString first = pdfText(file, 1), second = pdfText(file, 2);
    EXPECT_TRUE(first.contains(QStringLiteral("Laporan Daftar Urut Kepangkatan"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Pegawai 15")));
    EXPECT_FALSE(first.contains(QStringLiteral("Pegawai 16")));
    EXPECT_TRUE(second.contains(QStringLiteral("Pegawai 16")));
    EXPECT_TRUE(second.contains(QStringLiteral("Pegawai 20")));
    // Another reader's text: the words of a name apart by a blank, no tab.
    QProcess gs;
    gs.start(QStringLiteral("gs"), {QStringLiteral("-q"), QStringLiteral("-dNOPAUSE"), QStringLiteral("-dBATCH"),
                                    QStringLiteral("-sDEVICE=txtwrite"), QStringLiteral("-sOutputFile=-"), file});
    ASSERT_TRUE(gs.waitForFinished(60000));
    const QString read = QString::fromUtf8(gs.readAllStandardOutput());
    EXPECT_TRUE(read.contains(QStringLiteral("Pegawai 15"))) << read.toStdString();
    EXPECT_TRUE(read.contains(QStringLiteral("Ka. Sub. Bag. Tata Usaha"))) << read.toStdString();
    EXPECT_FALSE(read.contains(QLatin1Char('\t'))) << read.toStdString();
    // ... and the same words as pdftotext finds, none joined to the next.
    const auto words = [](const QString& text) {
        QStringList list = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        list.sort();
        return list.join(QLatin1Char(' ')).toStdString();
    };
    EXPECT_EQ(words(read), words(first + second));
}

// A character the report's face lacks is drawn in the face Qt would draw it
// with, embedded beside the report's own, and reads back as itself.
TEST_F(SaveExport, PdfTakesCharactersTheFaceLacksFromAnotherFace)
{
    const char32_t check = 0x2713;
    QTextLayout layout(QString::fromUcs4(&check, 1), QFont(QStringLiteral("Arial")));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const auto runs = layout.glyphRuns();
    if (runs.isEmpty() || runs.front().glyphIndexes().value(0) == 0 ||
        runs.front().rawFont().familyName() == QRawFont::fromFont(QFont(QStringLiteral("Arial"))).familyName())
        GTEST_SKIP() << "no installed face has U+2713 apart from the report's own";
    addEmployee("197001010001", "Ad\u00e9 \u2713 Wibowo");
    makePanel(ReportDefinitions::Form9(&peg()));
    const QString file = path("marks.pdf");
    openPreview([&](TRepStandardPreview& preview) { EXPECT_TRUE(PdfExport::write(*preview.destination(), file)); });
    EXPECT_TRUE(pdfText(file, 1).contains(QStringLiteral("Ad\u00e9 \u2713 Wibowo"))) << pdfText(file, 1).toStdString();
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {file});
    ASSERT_TRUE(fonts.waitForFinished(30000));
    const QString listed = QString::fromUtf8(fonts.readAllStandardOutput());
    const QString other = runs.front().rawFont().familyName().remove(QLatin1Char(' '));
    EXPECT_TRUE(listed.contains(other)) << listed.toStdString();
    EXPECT_TRUE(listed.contains(QStringLiteral("LiberationSans"))) << listed.toStdString();
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
    // what is wrong and where
    EXPECT_EQ(boxes[0].text.toStdString(), "Cannot write " + file.toStdString() + ": File too large.");
    EXPECT_EQ(boxes[1].text.toStdString(), "Cannot write " + path("kept.pdf").toStdString() + ": File too large.");
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

// Each damaged file is refused whole through the real dialog, naming the
// file (and the page whose picture is damaged); the report shown on page 5,
// its temporary file and its settings stay byte for byte as they were.
TEST_F(SaveExport, DamagedFileIsRefusedWholeAndThePreviewKeepsItsPages)
{
    addEmployees(200);  // 12 pages, past the memory limit: in a temporary file
    makePanel(ReportDefinitions::Form9(&peg()));
    useRealDialogs();
    const QString whole = path("whole.RPF");
    {
        auto report = ReportDefinitions::Form10(&peg());
        TRepPrinter destination;
        report->RunReport(destination);
        destination.Save(whole.toStdString());
    }
    const std::string bytes = contents(whole);
    ASSERT_GT(bytes.size(), 30000u);
    std::vector<size_t> starts;  // of each page record
    for (size_t at = 128; at + 4 < bytes.size();
         at = LittleEndian::get32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at + 4))
        starts.push_back(at);
    const auto middleOf = [&](size_t page) {
        return (starts[page] + (page + 1 < starts.size() ? starts[page + 1] : bytes.size())) / 2;
    };
    struct Damage {
        const char* name;
        std::function<void(std::string&)> apply;
        const char* says;
    };
    const Damage damages[] = {
        {"cut.RPF", [](std::string& b) { b.resize(30000); }, "Invalid report file"},
        {"claims.RPF", [](std::string& b) { b[8] = char(0xE8), b[9] = char(0x03); }, "page 13"},
        {"first.RPF",
         [](std::string& b) {
             for (size_t at = 200; at < 260; ++at)
                 b[at] = char(~b[at]);
         },
         "page 1 "},
        {"middle.RPF", [&](std::string& b) { b[middleOf(5)] = char(~b[middleOf(5)]); }, "page 6 "},
        {"last.RPF", [&](std::string& b) { b[middleOf(starts.size() - 1)] ^= 1; }, "page 12 "},
        {"empty.RPF", [](std::string& b) { b[8] = b[9] = 0; }, "no pages"},
    };
    ASSERT_EQ(starts.size(), 12u);

    openPreview([&](TRepStandardPreview& preview) {
        TRepPrinter& destination = *preview.destination();
        preview.RepPreview->setPageNumber(5);
        preview.UpdateInfo();
        const std::string temporary = destination.PageList().stream()->temporaryName();
        ASSERT_FALSE(temporary.empty());
        std::vector<std::vector<std::uint8_t>> pages;
        for (int n = 1; n <= destination.PageCount(); ++n)
            pages.push_back(*destination.GetPage(n));
        const auto shown = preview.RepPreview->pageImage()->picture();
        const QString title = preview.windowTitle();
        for (const Damage& damage : damages) {
            SCOPED_TRACE(damage.name);
            std::string damaged = bytes;
            damage.apply(damaged);
            std::ofstream(path(damage.name).toStdString(), std::ios::binary | std::ios::trunc) << damaged;
            std::unique_ptr<ModalBoxResponder> responder;
            {
                RealFileDialog dialog(path(damage.name), 0, [&] {
                    responder = std::make_unique<ModalBoxResponder>();
                    responder->click(QStringLiteral("OK"));
                });
                QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.LoadReport), Qt::LeftButton);
            }
            ASSERT_TRUE(responder);
            ASSERT_EQ(responder->boxes().size(), 1);
            const QString text = responder->last().text;
            EXPECT_TRUE(text.startsWith(QStringLiteral("Invalid report file"))) << text.toStdString();
            EXPECT_TRUE(text.contains(path(damage.name))) << text.toStdString();
            EXPECT_TRUE(text.contains(QLatin1String(damage.says))) << text.toStdString();
            EXPECT_FALSE(destination.ReportLoaded());
            EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 5 of 12");
            EXPECT_EQ(preview.RepPreview->pageImage()->picture(), shown);
            EXPECT_EQ(preview.windowTitle(), title);
            EXPECT_TRUE(QFile::exists(QString::fromStdString(temporary)));
            EXPECT_EQ(destination.PageList().stream()->temporaryName(), temporary);
            ASSERT_EQ(destination.PageCount(), 12);
            for (int n = 1; n <= 12; ++n)
                EXPECT_EQ(*destination.GetPage(n), pages[static_cast<size_t>(n - 1)]) << "page " << n;
            EXPECT_EQ(destination.PaperSize, TRepPaperSize::Legal);
            EXPECT_EQ(destination.Orientation, TRepOrientation::poLandscape);
            EXPECT_TRUE(preview.PrintSetup->isEnabled());
        }
        // a save after the refused loads writes the run's pages
        RealFileDialog dialog(path("after"));
        clickSave(preview);
    });
    TRepPrinter saved;
    saved.Load(path("after.RPF").toStdString());
    EXPECT_EQ(saved.PageCount(), 12);
}

}  // namespace
