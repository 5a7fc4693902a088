#include "HistoryWindow.h"

#include "ChangeHistory.h"
#include "HandlerGuard.h"
#include "HistoryLink.h"
#include "TDMarsipstaf.h"
#include "TDataSource.h"
#include "WindowFonts.h"

#include <QDateTime>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

#include <cassert>

const QStringList HistoryWindow::columnTitles = {QStringLiteral("Waktu"),      QStringLiteral("Akun"),
                                                 QStringLiteral("Jenis"),      QStringLiteral("Field"),
                                                 QStringLiteral("Nilai Lama"), QStringLiteral("Nilai Baru")};

namespace {

QString kindText(const std::string& kind)
{
    if (kind == ChangeHistory::added)
        return QStringLiteral("Tambah");
    if (kind == ChangeHistory::deleted)
        return QStringLiteral("Hapus");
    return QStringLiteral("Rubah");
}

// The entry's UTC time in the local time of this machine.
QString localTime(const std::string& utc)
{
    QDateTime time = QDateTime::fromString(QString::fromStdString(utc), Qt::ISODateWithMs);
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                          : QString::fromStdString(utc);
}

}  // namespace

HistoryWindow::HistoryWindow(const QString& name, const RecordWindowLayout& layout, TDMarsipstaf& module)
    : TForm(name, QStringLiteral("Riwayat Perubahan"), QRect(120, 100, 760, 400), WindowFonts::sansSerif(11)),
      module_(module), table_(module.TableByName(layout.table)), keyField_(layout.keyField.name)
{
    assert(table_);
    for (const RecordPanel* panel : {&layout.left, &layout.right})
        for (const RecordRow& row : panel->rows)
            fields_[row.field.name] = {QString::fromUtf8(row.label).trimmed(), row.listSource ? row.listSource : "",
                                       row.keyField.name, row.listField.name};

    Grid = new QTableWidget(0, int(columnTitles.size()), this);
    Grid->setObjectName(QStringLiteral("Grid1"));
    Grid->setGeometry(8, 8, 744 - frameWidth, 320);
    Grid->setHorizontalHeaderLabels(columnTitles);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setTabKeyNavigation(false);  // Tab leaves the grid for "Tutup"
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setStretchLastSection(true);
    for (int column : {0, 1, 2, 3})
        Grid->setColumnWidth(column, column == 0 ? 140 : column == 2 ? 60 : 110);

    Button1 = new QPushButton(QStringLiteral("Tutup"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(744 - frameWidth - 75, 336, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, guard([this] { Close(); }));
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, guard([this] { Close(); }));

    link_ = std::make_unique<HistoryLink>([this] { noteChange(); });
    link_->SetDataSource(module.DataSourceByName(layout.dataSource));
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    guarded([this] { Refresh(); });
    Grid->setFocus(Qt::OtherFocusReason);
}

void HistoryWindow::noteChange()
{
    if (isVisible())
        Refresh();
}

void HistoryWindow::Refresh()
{
    std::vector<HistoryRow> rows;
    shownKey_.clear();
    // A record being added has no history yet.
    if (table_->Active() && !table_->IsEmpty() && table_->State() != TDataSetState::dsInsert) {
        shownKey_ = table_->FieldByName(keyField_)->AsString();
        rows = table_->History(HistoryQuery{shownKey_, ""});
    }
    fill(rows);
}

QString HistoryWindow::valueText(const std::string& field, const FieldValue& value)
{
    if (!value)
        return QString();
    QString code = QString::fromStdString(*value);
    auto info = fields_.find(field);
    if (info == fields_.end() || info->second.listSource.empty() || value->empty())
        return code;
    auto [cached, fresh] = codeTexts_.try_emplace(field + '\n' + *value);
    if (fresh) {
        TDataSet* codes = module_.DataSourceByName(info->second.listSource)->DataSet();
        FieldValue text = codes->Lookup(info->second.keyField, {value}, info->second.listField);
        cached->second = text && !text->empty() ? code + QStringLiteral(" ") + QString::fromStdString(*text) : code;
    }
    return cached->second;
}

void HistoryWindow::fill(const std::vector<HistoryRow>& rows)
{
    codeTexts_.clear();
    Grid->setUpdatesEnabled(false);
    Grid->clearContents();
    Grid->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const HistoryRow& entry = rows[size_t(row)];
        auto label = fields_.find(entry.field);
        QString field = label != fields_.end() ? label->second.label : QString::fromStdString(entry.field);
        const QString texts[] = {localTime(entry.time),
                                 QString::fromStdString(entry.account),
                                 kindText(entry.kind),
                                 field,
                                 valueText(entry.field, entry.oldValue),
                                 valueText(entry.field, entry.newValue)};
        for (int column = 0; column < int(std::size(texts)); ++column)
            Grid->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    Grid->setUpdatesEnabled(true);
    if (!rows.empty())
        Grid->setCurrentCell(0, 0);
}

QStringList HistoryWindow::rowTexts(int row) const
{
    QStringList texts;
    for (int column = 0; column < Grid->columnCount(); ++column) {
        const QTableWidgetItem* item = Grid->item(row, column);
        texts << (item ? item->text() : QString());
    }
    return texts;
}
