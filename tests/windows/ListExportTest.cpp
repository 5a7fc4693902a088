#include "ListExport.h"
#include "ModalBoxResponder.h"
#include "PythonReader.h"
#include "SharedTablesFixture.h"
#include "TForm4.h"
#include "TForm5.h"

#include <QAction>
#include <QFileDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

const char* xlsxReader = R"(import sys, datetime, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
print('frozen', sheet.freeze_panes)
for row in sheet.iter_rows(values_only=True):
    print('\t'.join('date ' + v.strftime('%Y-%m-%d') if isinstance(v, datetime.datetime)
                    else '' if v is None else str(v) for v in row))
)";

// The file dialog's answer: the name typed into its focused name box, then Enter.
std::vector<ModalBoxResponder::Step> typeName(const std::string& name)
{
    std::vector<ModalBoxResponder::Step> steps;
    for (char c : name)
        steps.push_back(
            {ModalBoxResponder::Step::Key, QString(), c == '.' ? int(Qt::Key_Period) : int(Qt::Key_A + (c - 'a'))});
    steps.push_back({ModalBoxResponder::Step::Key, QString(), Qt::Key_Return});
    return steps;
}

// Watches for the export's progress window; can press its cancel button.
class ProgressWatcher : public QObject {
public:
    explicit ProgressWatcher(bool cancel) : cancel_(cancel) { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QProgressDialog*>(watched);
        if (dialog && event->type() == QEvent::Show && dialog->objectName() == QStringLiteral("ExportProgress")) {
            ++shown;
            if (cancel_)
                if (auto* button = dialog->findChild<QPushButton*>())
                    QMetaObject::invokeMethod(
                        button, [button] { QTest::mouseClick(button, Qt::LeftButton); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool cancel_;
};

// Qt's file dialog opens where the last one was left: each test starts it
// in its own directory.
class DialogDirectory : public QObject {
public:
    explicit DialogDirectory(std::string directory) : directory_(std::move(directory))
    {
        qApp->installEventFilter(this);
    }
    ~DialogDirectory() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* dialog = qobject_cast<QFileDialog*>(watched); dialog && event->type() == QEvent::Show)
            dialog->setDirectory(QString::fromStdString(directory_));
        return QObject::eventFilter(watched, event);
    }

private:
    std::string directory_;
};

}  // namespace

class ListExportOnFiles : public SharedTablesFixture {
protected:
    void SetUp() override
    {
        SharedTablesFixture::SetUp();
        startIn_ = std::make_unique<DialogDirectory>(db_->root());
    }
    void TearDown() override
    {
        startIn_.reset();
        SharedTablesFixture::TearDown();
    }

    // Adds count employees in one statement straight into the store.
    void addMany(int count)
    {
        db_->runSql("Datapegawai.db", "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                          std::to_string(count - 1) +
                                          ") INSERT INTO {table} (\"NIP\", \"Nama_Pegawai\", \"Kd_JK\") "
                                          "SELECT CAST(2000000000 + i AS TEXT), 'Pegawai ' || i, 'LK' FROM n");
    }

    std::unique_ptr<DialogDirectory> startIn_;
};

// Every export reads through a connection of its own: on the server too.
using ListExportTest = OnBothEngines<ListExportOnFiles>;
INSTANTIATE_FOR_BOTH_ENGINES(ListExportTest);

TEST_P(ListExportTest, EmployeeListWritesTheGridsColumnsInTheGridsOrdering)
{
    addEmployee("1970000002", "Budi", {{"Kd_JK", "LK"}, {"Tanggal_Lahir", "17/08/1975"}, {"Alamat", "Jl. Mawar, 3"}});
    addEmployee("1970000003", "Ani", {{"Kd_JK", "PR"}});
    addEmployee("1970000001", "citra");
    peg().SetIndexFieldNames("Nama_Pegawai");
    TForm4 form(dm());
    showActive(form);
    ModalBoxResponder responder;
    responder.steps(typeName("daftar.csv"));
    QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().caption.toStdString(), "Ekspor Data");
    // The same command is in the window's context menu.
    EXPECT_EQ(form.contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_TRUE(form.actions().contains(form.Export->Action));
    EXPECT_EQ(form.Export->Action->text().toStdString(), "Ekspor...");

    std::string path = db_->root() + "/daftar.csv";
    EXPECT_EQ(python(csvReader, path),
              "NIP\tKarpeg\tNama_Pegawai\tTempat_Lahir\tTanggal_Lahir\tJenis Kelamin\tAgama\tAlamat\tPangkat\t"
              "Golongan\tJabatan\tPendidikan Formal\tPendidikan_Diklat\tStatus\n"
              "1970000003\t\tAni\t\t\tPerempuan\t\t\t\t\t\t\t\t\n"
              "1970000002\t\tBudi\t\t17/08/1975\tLaki-laki\t\tJl. Mawar, 3\t\t\t\t\t\t\n"
              "1970000001\t\tcitra\t\t\t\t\t\t\t\t\t\t\t\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_TRUE(form.isEnabled());
}

TEST_P(ListExportTest, TransferListWritesAWorkbookWithDatesAndAFrozenHeader)
{
    addTransfer("B-0002-AA.01.01-2001", "19700000002", "Budi", {{"TMT", "01/04/25"}, {"Kd_Golongan", "3A"}});
    addTransfer("A-0001-AA.01.01-2001", "19700000001", "Ani");
    TForm5 form(dm());
    showActive(form);
    ModalBoxResponder responder;
    responder.steps(typeName("mutasi.xlsx"));
    form.Export->Action->trigger();
    ASSERT_EQ(responder.boxes().size(), 1);
    std::string read = python(xlsxReader, db_->root() + "/mutasi.xlsx");
    EXPECT_EQ(read, "frozen A2\n"
                    "No_SKM\tNIP\tNama_Pegawai\tGolongan\tPangkat\tJabatan\tAsal\tPindah_Ke\tTMT\n"
                    "A-0001-AA.01.01-2001\t19700000001\tAni\t\t\t\t\t\t\n"
                    "B-0002-AA.01.01-2001\t19700000002\tBudi\tIII/a\t\t\t\t\tdate 2025-04-01\n");
}

TEST_P(ListExportTest, APendingRecordIsStoredFirst)
{
    TForm4 form(dm());
    showActive(form);
    peg().Append();
    peg().FieldByName("NIP")->SetText("1980000001");
    ModalBoxResponder responder;
    responder.steps(typeName("baru.csv"));
    form.Export->Action->trigger();
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_NE(python(csvReader, db_->root() + "/baru.csv").find("\n1980000001\t"), std::string::npos);
}

TEST_P(ListExportTest, LongExportShowsProgressAndWritesEveryRecord)
{
    addMany(10000);
    TForm4 form(dm());
    showActive(form);
    ModalBoxResponder responder;
    responder.steps(typeName("semua.csv"));
    ProgressWatcher watcher(false);
    form.Export->Action->trigger();
    EXPECT_GE(watcher.shown, 1);
    std::string read = python(csvReader, db_->root() + "/semua.csv");
    EXPECT_EQ(std::count(read.begin(), read.end(), '\n'), 10001);
    EXPECT_NE(read.find("\n2000009999\t\tPegawai 9999\t"), std::string::npos);
    EXPECT_TRUE(form.isEnabled());
}

TEST_P(ListExportTest, CancelledExportLeavesNoFile)
{
    addMany(10000);
    TForm4 form(dm());
    showActive(form);
    ModalBoxResponder responder;
    responder.steps(typeName("batal.csv"));
    ProgressWatcher watcher(true);
    form.Export->Action->trigger();
    EXPECT_EQ(watcher.shown, 1);
    EXPECT_FALSE(std::filesystem::exists(db_->root() + "/batal.csv"));
    EXPECT_EQ(responder.boxes().size(), 1);  // the file dialog only: no error box
    EXPECT_TRUE(form.isEnabled());
}

TEST_P(ListExportTest, CancellingTheFileDialogWritesNothing)
{
    addEmployee("1970000001", "Ani");
    TForm4 form(dm());
    showActive(form);
    auto entries = [this] {
        auto range = std::filesystem::directory_iterator(db_->root());
        return std::distance(begin(range), end(range));
    };
    const auto before = entries();
    ModalBoxResponder responder;
    responder.steps({{ModalBoxResponder::Step::Key, QString(), Qt::Key_A},
                     {ModalBoxResponder::Step::Key, QString(), Qt::Key_Escape}});
    form.Export->Action->trigger();
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_FALSE(responder.last().leftOpen);
    EXPECT_EQ(entries(), before);
}
