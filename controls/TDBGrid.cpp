// The record grid: properties, columns, layout and what the link reports.
#include "TDBGrid.h"

#include "ColumnWidth.h"
#include "GridScrollBar.h"
#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TField.h"
#include "TInplaceEdit.h"
#include "TPopupDataList.h"

#include <QListWidget>
#include <QLocale>
#include <QScrollBar>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int indicatorCellWidth = 12;
constexpr int resizeSlack = 3;
constexpr size_t captionCacheLimit = 256;

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

bool isKorean()
{
    return QLocale::system().language() == QLocale::Korean;
}

}  // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QAbstractScrollArea(parent), link_(*this), options_(TDBGridOptions::defaults(isKorean())), titleFont_(font())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, guard(this, &TDBGrid::ScrollAction));
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, guard(this, &TDBGrid::ScrollThumbReleased));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, guard([this](int value) {
                if (updatingScrollBar_)
                    return;
                leftColumn_ = value;
                PlaceEditor();
                viewport()->update();
            }));
    UpdateLayout();
}

TDBGrid::~TDBGrid()
{
    // The children that call back into the grid, and the list on the
    // grid's own data source, go first.
    delete popup_;
    popup_ = nullptr;
    delete pickList_;
    pickList_ = nullptr;
    delete editor_;
    editor_ = nullptr;
    link_.SetDataSource(nullptr);
}

// ---- properties ----

void TDBGrid::SetDataSource(TDataSource* source)
{
    link_.SetDataSource(source);
    LinkActiveChanged();
}

void TDBGrid::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    RefreshEditor();
    viewport()->update();
}

void TDBGrid::SetOptions(TDBGridOptions options)
{
    options = options.applyRules();
    if (!options.has(TDBGridOption::dgMultiSelect))
        selectedRows_.clear();
    options_ = options;
    if (!CanEditShow())
        HideEditor();
    UpdateLayout();
}

TColumn* TDBGrid::AddColumn(const std::string& fieldName)
{
    if (defaultColumns_) {
        columns_.clear();
        selectedIndex_ = 0;
        leftColumn_ = 0;
        defaultColumns_ = false;
    }
    columns_.push_back(std::make_unique<TColumn>(this, fieldName));
    RemapColumns();
    UpdateLayout();
    return columns_.back().get();
}

void TDBGrid::ClearColumns()
{
    HideEditor();
    columns_.clear();
    defaultColumns_ = false;
    selectedIndex_ = 0;
    leftColumn_ = 0;
    RemapColumns();
    UpdateLayout();
}

TColumn* TDBGrid::Column(int index) const
{
    return index >= 0 && index < ColumnCount() ? columns_[static_cast<size_t>(index)].get() : nullptr;
}

void TDBGrid::MoveColumn(int from, int to)
{
    if (!Column(from) || !Column(to) || from == to)
        return;
    WriteEditorText();
    TColumn* selected = Column(selectedIndex_);
    auto moving = std::move(columns_[static_cast<size_t>(from)]);
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, std::move(moving));
    for (int i = 0; i < ColumnCount(); ++i)
        if (Column(i) == selected)
            selectedIndex_ = i;
    RemapColumns();
    PlaceEditor();
    RefreshEditor();
    viewport()->update();
}

void TDBGrid::SetTitleFont(const QFont& font)
{
    titleFont_ = font;
    ForgetMeasures();
    UpdateLayout();
}

TField* TDBGrid::SelectedField() const
{
    TColumn* column = Column(selectedIndex_);
    return column ? column->Field() : nullptr;
}

void TDBGrid::SetSelectedIndex(int index)
{
    if (!Column(index) || index == selectedIndex_)
        return;
    WriteEditorText();
    const bool keepEditor = EditorVisible() && Has(TDBGridOption::dgAlwaysShowEditor);
    HideEditor();
    selectedIndex_ = index;
    MakeColumnVisible(index);
    if (keepEditor)
        ShowEditor();
    viewport()->update();
}

void TDBGrid::ClearSelection()
{
    if (selectedRows_.empty())
        return;
    selectedRows_.clear();
    viewport()->update();
}

// ---- layout ----

const TDBGrid::Measures& TDBGrid::FontMeasures() const
{
    if (!measures_.valid) {
        const QFontMetrics data = fontMetrics();
        measures_.zeroWidth = data.horizontalAdvance(QLatin1Char('0'));
        measures_.rowHeight = data.height() + 3;
        measures_.titleHeight = QFontMetrics(titleFont_).height() + 3;
        measures_.valid = true;
    }
    return measures_;
}

int TDBGrid::CaptionWidth(const std::string& caption) const
{
    FontMeasures();
    auto found = measures_.captionWidths.find(caption);
    if (found != measures_.captionWidths.end())
        return found->second;
    if (measures_.captionWidths.size() >= captionCacheLimit)
        measures_.captionWidths.clear();
    const int width = QFontMetrics(titleFont_).horizontalAdvance(fromUtf8(caption));
    measures_.captionWidths.emplace(caption, width);
    return width;
}

int TDBGrid::RowHeight() const
{
    return FontMeasures().rowHeight;
}

int TDBGrid::TitleHeight() const
{
    return HasTitles() ? FontMeasures().titleHeight : 0;
}

int TDBGrid::IndicatorWidth() const
{
    return Has(TDBGridOption::dgIndicator) ? indicatorCellWidth : 0;
}

int TDBGrid::DataTop() const
{
    return HasTitles() ? TitleHeight() + RowLine() : 0;
}

int TDBGrid::DefaultWidthOf(const TColumn& column) const
{
    TField* field = column.Field();
    if (!field)
        return DefaultColWidth;
    const int title = HasTitles() ? CaptionWidth(column.TitleCaption()) : 0;
    return ColumnWidth::fromMetrics(FontMeasures().zeroWidth, 0, field->DisplayWidth(), HasTitles(), title);
}

int TDBGrid::ColumnLeft(int column) const
{
    if (column < leftColumn_)
        return -1;
    int x = FirstLeft();
    for (int i = leftColumn_; i < column; ++i)
        if (Column(i)->Visible)
            x += Column(i)->Width() + ColLine();
    return x;
}

std::vector<int> TDBGrid::ColumnLefts() const
{
    std::vector<int> lefts;
    lefts.reserve(static_cast<size_t>(std::max(0, ColumnCount() - leftColumn_) + 1));
    int x = FirstLeft();
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        const bool visible = Column(i)->Visible;
        lefts.push_back(visible ? x : -1);
        if (visible)
            x += Column(i)->Width() + ColLine();
    }
    lefts.push_back(x);
    return lefts;
}

QRect TDBGrid::CellRect(int column, int row) const
{
    if (row < 0 || row >= visibleRows_)
        return {};
    const int top = DataTop() + row * (RowHeight() + RowLine());
    if (column < 0)
        return IndicatorWidth() > 0 ? QRect(0, top, IndicatorWidth(), RowHeight()) : QRect();
    TColumn* col = Column(column);
    const int left = ColumnLeft(column);
    if (!col || !col->Visible || left < 0 || left >= viewport()->width())
        return {};
    return QRect(left, top, col->Width(), RowHeight());
}

QRect TDBGrid::TitleRect(int column) const
{
    TColumn* col = Column(column);
    const int left = ColumnLeft(column);
    if (!HasTitles() || !col || !col->Visible || left < 0)
        return {};
    return QRect(left, 0, col->Width(), TitleHeight());
}

// The column under x (-1 the indicator, -2 none); onBorder tells whether
// x is on the column's right edge, where dragging resizes it.
int TDBGrid::HitColumn(int x, bool* onBorder) const
{
    if (onBorder)
        *onBorder = false;
    if (x < IndicatorWidth() + ColLine())
        return -1;
    const std::vector<int> lefts = ColumnLefts();
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        if (!Column(i)->Visible)
            continue;
        const int left = lefts[static_cast<size_t>(i - leftColumn_)];
        const int right = left + Column(i)->Width();
        if (onBorder && std::abs(x - right) <= resizeSlack) {
            *onBorder = true;
            return i;
        }
        if (x >= left && x <= right + ColLine())
            return i;
    }
    return -2;
}

int TDBGrid::HitRow(int y) const
{
    if (y < DataTop())
        return -1;
    const int row = (y - DataTop()) / (RowHeight() + RowLine());
    return row < ShownRowCount() ? row : -2;
}

int TDBGrid::ShownRowCount() const
{
    const int records = link_.Active() ? link_.RecordCount() : 0;
    return std::max(1, records);
}

void TDBGrid::UpdateLayout()
{
    const int available = viewport()->height() - DataTop();
    const int rows = std::max(1, available / (RowHeight() + RowLine()));
    visibleRows_ = rows;
    link_.SetBufferCount(rows);
    UpdateScrollBars();
    PlaceEditor();
    viewport()->update();
}

void TDBGrid::UpdateScrollBars()
{
    updatingScrollBar_ = true;
    QScrollBar* bar = verticalScrollBar();
    TDataSet* dataSet = DataSet();
    if (link_.Active() && dataSet) {
        const GridScrollBar::Range range = GridScrollBar::unnumbered(dataSet->Bof(), dataSet->Eof());
        bar->setRange(range.minimum, range.maximum);
        bar->setPageStep(range.pageStep);
        bar->setValue(range.position);
        bar->setEnabled(true);
    } else {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
    int total = IndicatorWidth();
    for (const auto& column : columns_)
        if (column->Visible)
            total += column->Width() + ColLine();
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, total > viewport()->width() ? std::max(0, ColumnCount() - 1) : 0);
    across->setPageStep(1);
    if (across->maximum() == 0)
        leftColumn_ = 0;
    across->setValue(leftColumn_);
    updatingScrollBar_ = false;
}

void TDBGrid::MakeColumnVisible(int column)
{
    if (!Column(column))
        return;
    if (column < leftColumn_)
        leftColumn_ = column;
    while (leftColumn_ < column && ColumnLeft(column) + Column(column)->Width() > viewport()->width())
        ++leftColumn_;
    UpdateScrollBars();
    PlaceEditor();
}

void TDBGrid::RemapColumns()
{
    std::vector<TField*> map;
    for (const auto& column : columns_) {
        column->ResetField();
        map.push_back(column->Field());
    }
    link_.SetFieldMap(std::move(map));
}

int TDBGrid::FirstVisibleColumn() const
{
    return NextVisibleColumn(-1, 1);
}

int TDBGrid::LastVisibleColumn() const
{
    return NextVisibleColumn(ColumnCount(), -1);
}

// The next visible column from from in direction step; -1 when none.
int TDBGrid::NextVisibleColumn(int from, int step) const
{
    for (int i = from + step; i >= 0 && i < ColumnCount(); i += step)
        if (Column(i)->Visible)
            return i;
    return -1;
}

QSize TDBGrid::sizeHint() const
{
    return {320, 120};
}

// ---- link notifications ----

// A grid given no columns shows one per visible field, in field order, for
// as long as the dataset is open.
void TDBGrid::UpdateDefaultColumns()
{
    if (!columns_.empty() && !defaultColumns_)
        return;
    columns_.clear();
    TDataSet* dataSet = DataSet();
    defaultColumns_ = link_.Active() && dataSet;
    if (!defaultColumns_)
        return;
    for (const auto& field : dataSet->Fields())
        if (field->Visible)
            columns_.push_back(std::make_unique<TColumn>(this, field->FieldName()));
    selectedIndex_ = std::clamp(selectedIndex_, 0, std::max(0, ColumnCount() - 1));
    leftColumn_ = std::clamp(leftColumn_, 0, std::max(0, ColumnCount() - 1));
}

void TDBGrid::LinkActiveChanged()
{
    UpdateDefaultColumns();
    RemapColumns();
    if (!link_.Active()) {
        HideEditor();
        selectedRows_.clear();
    }
    UpdateLayout();
}

void TDBGrid::LinkEditingChanged()
{
    RefreshEditor();
    viewport()->update();
}

void TDBGrid::LinkRecordChanged(TField* field)
{
    // A looked-up text follows its key field.
    TField* selected = SelectedField();
    if (!field || field == selected || (selected && selected->IsLookup() && field == LookupKeyField()))
        RefreshEditor();
    viewport()->update();
}

void TDBGrid::LinkDataSetChanged()
{
    // Hidden windows share their tables with the visible ones: their grids
    // catch up once, when shown, not on every change.
    if (!isVisible()) {
        staleWhileHidden_ = true;
        return;
    }
    staleWhileHidden_ = false;
    UpdateScrollBars();
    RefreshEditor();
    PlaceEditor();
    viewport()->update();
}

void TDBGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    guardedEvent(event, [&] {
        if (staleWhileHidden_)
            LinkDataSetChanged();
    });
}

void TDBGrid::LinkDataSetScrolled(int)
{
    LinkDataSetChanged();
}

void TDBGrid::LinkLayoutChanged()
{
    UpdateDefaultColumns();
    RemapColumns();
    UpdateLayout();
}

bool TDBGrid::LinkFocusControl(TField* field)
{
    int found = -1;
    for (int i = 0; i < ColumnCount(); ++i)
        if (Column(i)->Field() == field)
            found = i;
    if (found < 0)
        return false;
    SetSelectedIndex(found);
    if (SelectedField() != field || !isEnabled() || !isVisible())
        return false;
    setFocus(Qt::OtherFocusReason);
    ShowEditor();
    return true;
}
