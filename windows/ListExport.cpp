#include "ListExport.h"

#include "CsvExportSink.h"
#include "EDBEngineError.h"
#include "EDatabaseError.h"
#include "EngineDatabase.h"
#include "ExportLayout.h"
#include "HandlerGuard.h"
#include "TDBGrid.h"
#include "TForm.h"
#include "TTable.h"
#include "TableExporter.h"
#include "XlsxExport.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>

#include <memory>

const QString ListExport::Filter = QStringLiteral("CSV|*.csv|Excel|*.xlsx");

ListExport::ListExport(TForm* window, TDBGrid* grid, TTable* table)
    : QObject(window), Dialogs(&platformDialogs_), window_(window), grid_(grid), table_(table)
{
    Action = new QAction(QString::fromUtf8("Ekspor..."), window);
    Action->setObjectName(QStringLiteral("ExportAction"));
    Action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(Action);
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(Action, &QAction::triggered, this, guard(this, &ListExport::Execute));
}

namespace {

// The window stays disabled while its export runs, whatever ends it.
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* widget) : widget_(widget) { widget_->setEnabled(false); }
    ~DisabledWhile() { widget_->setEnabled(true); }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QWidget* widget_;
};

}  // namespace

bool ListExport::Progress(long long done, long long total)
{
    if (!progress_) {
        progress_ = new QProgressDialog(QString::fromUtf8("Mengekspor data..."), QString::fromUtf8("Batal"), 0,
                                        static_cast<int>(total), window_);
        progress_->setObjectName(QStringLiteral("ExportProgress"));
        progress_->setWindowTitle(window_->windowTitle());
        progress_->setWindowModality(Qt::NonModal);
        progress_->setMinimumDuration(0);
        progress_->setAutoReset(false);
    }
    progress_->setMaximum(static_cast<int>(std::max(total, done)));
    progress_->setValue(static_cast<int>(done));
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

void ListExport::Execute()
{
    if (!table_ || !table_->Active())
        return;
    table_->CheckBrowseMode();
    QString name;
    int filterIndex = 0;
    if (!Dialogs->Save({QString::fromUtf8("Ekspor Data"), Filter, QStringLiteral("csv")}, name, filterIndex))
        return;
    bool xlsx = name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
    if (!xlsx && !name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        xlsx = filterIndex == 1;
        name += xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    }
    std::vector<std::string> names;
    for (int i = 0; i < grid_->ColumnCount(); ++i)
        names.push_back(grid_->Column(i)->FieldName);
    // The records of this moment, through a connection of the export's own.
    std::unique_ptr<EngineSnapshot> snapshot;
    TableDescription file;
    EngineStatus status = table_->openSnapshot(snapshot);
    if (status.ok())
        status = snapshot->describe(table_->TableName, file);
    if (!status.ok())
        throw EDBEngineError(status);
    std::vector<ExportColumn> columns;
    std::string error;
    if (!ExportLayout::forTable(*table_, file, names, columns, error))
        throw EDatabaseError(table_->Name() + ": " + error);

    const std::string path = name.toStdString();
    std::unique_ptr<ExportSink> sink;
    if (xlsx)
        sink = XlsxExport::open(path, RegionalSettings::current());
    else
        sink = std::make_unique<CsvExportSink>(path, RegionalSettings::current());
    TableExporter::Result result;
    {
        DisabledWhile disabled(window_);
        result = TableExporter::run(*snapshot, table_->TableName, table_->CurrentIndexName(), columns, *sink,
                                    [this](std::int64_t done, std::int64_t total) { return Progress(done, total); });
        sink.reset();
        delete progress_;
        progress_ = nullptr;
    }
    if (!result.ok && !result.cancelled)
        throw EDatabaseError(result.error);
}
