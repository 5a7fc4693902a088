#include "TDBGrid.h"

#include "ColumnWidth.h"
#include "ConfirmDelete.h"
#include "GridScrollBar.h"
#include "IndicatorImages.h"
#include "TDataSet.h"
#include "TDataSource.h"
#include "TField.h"
#include "TInplaceEdit.h"
#include "TPopupDataList.h"
#include "TStringField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int indicatorCellWidth = 12;
constexpr int textMargin = 2;
constexpr int resizeSlack = 3;

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

bool isKorean()
{
    return QLocale::system().language() == QLocale::Korean;
}

GridKeyboard::Key keyOf(int key)
{
    using Key = GridKeyboard::Key;
    switch (key) {
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_End: return Key::End;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    case Qt::Key_Tab: case Qt::Key_Backtab: return Key::Tab;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_F2: return Key::F2;
    case Qt::Key_Return: case Qt::Key_Enter: return Key::Enter;
    default: return Key::Other;
    }
}

} // namespace

TDBGrid::TDBGrid(QWidget* parent)
    : QAbstractScrollArea(parent), link_(*this), options_(TDBGridOptions::defaults(isKorean())), titleFont_(font())
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &TDBGrid::ScrollAction);
    connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, &TDBGrid::ScrollThumbReleased);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (updatingScrollBar_)
            return;
        leftColumn_ = value;
        PlaceEditor();
        viewport()->update();
    });
    UpdateLayout();
}

TDBGrid::~TDBGrid()
{
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
    columns_.push_back(std::make_unique<TColumn>(this, fieldName));
    RemapColumns();
    UpdateLayout();
    return columns_.back().get();
}

void TDBGrid::ClearColumns()
{
    HideEditor();
    columns_.clear();
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

int TDBGrid::RowHeight() const
{
    return fontMetrics().height() + 3;
}

int TDBGrid::TitleHeight() const
{
    return HasTitles() ? QFontMetrics(titleFont_).height() + 3 : 0;
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
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int title = QFontMetrics(titleFont_).horizontalAdvance(fromUtf8(column.TitleCaption()));
    return ColumnWidth::fromMetrics(zero, 0, field->DisplayWidth(), HasTitles(), title);
}

int TDBGrid::ColumnLeft(int column) const
{
    if (column < leftColumn_)
        return -1;
    int x = IndicatorWidth() > 0 ? IndicatorWidth() + ColLine() : 0;
    for (int i = leftColumn_; i < column; ++i)
        if (Column(i)->Visible)
            x += Column(i)->Width() + ColLine();
    return x;
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
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        if (!Column(i)->Visible)
            continue;
        const int left = ColumnLeft(i);
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

void TDBGrid::LinkActiveChanged()
{
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
    UpdateScrollBars();
    RefreshEditor();
    PlaceEditor();
    viewport()->update();
}

void TDBGrid::LinkDataSetScrolled(int)
{
    LinkDataSetChanged();
}

void TDBGrid::LinkLayoutChanged()
{
    RemapColumns();
    UpdateLayout();
}

void TDBGrid::LinkFocusControl(TField* field)
{
    int found = -1;
    for (int i = 0; i < ColumnCount(); ++i)
        if (Column(i)->Field() == field)
            found = i;
    if (found < 0)
        return;
    SetSelectedIndex(found);
    if (SelectedField() == field && isEnabled() && isVisible()) {
        setFocus(Qt::OtherFocusReason);
        ShowEditor();
    }
}

// ---- the in-place editor ----

bool TDBGrid::EditorVisible() const
{
    return editor_ && editorShown_;
}

bool TDBGrid::CanEditShow() const
{
    return Has(TDBGridOption::dgEditing) && link_.Active() && Column(selectedIndex_) != nullptr;
}

void TDBGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    if (!editor_)
        editor_ = new TInplaceEdit(*this, viewport());
    editorShown_ = true;
    RefreshEditor();
    PlaceEditor();
    if (editor_->isVisible() && (GridFocused() || window()->focusWidget() == this))
        editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
}

void TDBGrid::HideEditor()
{
    if (!editor_ || !editorShown_)
        return;
    CloseUp(false);
    const bool hadFocus = editor_->hasFocus() || window()->focusWidget() == editor_;
    editorShown_ = false;
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    editor_->hide();
    viewport()->update();
}

void TDBGrid::PlaceEditor()
{
    if (!EditorVisible())
        return;
    const QRect cell = CellRect(selectedIndex_, link_.ActiveRecord());
    if (cell.isEmpty()) {
        editor_->hide();
        return;
    }
    editor_->setGeometry(cell.adjusted(-1, -1, ColLine(), RowLine()));
    editor_->show();
    editor_->raise();
}

// The editor shows the current cell's field again, unless it holds
// unwritten text or a keystroke is just starting an edit.
void TDBGrid::RefreshEditor()
{
    if (!EditorVisible() || link_.Modified() || beginningEdit_)
        return;
    TColumn* column = Column(selectedIndex_);
    TField* field = column ? column->Field() : nullptr;
    editor_->setEditMask(field ? fromUtf8(field->EditMask) : QString());
    auto* text = dynamic_cast<TStringField*>(field);
    editor_->setMaxLength(text && !field->IsLookup() ? text->Size() : 0);
    editor_->setText(field && link_.RecordCount() > 0 ? fromUtf8(field->EditText()) : QString());
    editor_->setReadOnly(!column || column->ReadOnly());
    editor_->SetHasButton(CanDropDown());
    PlaceEditor();
}

bool TDBGrid::EditorCanModify()
{
    TColumn* column = Column(selectedIndex_);
    TField* field = column ? column->Field() : nullptr;
    if (readOnly_ || !link_.Active() || link_.ReadOnly() || !column || column->ReadOnly() || !field ||
        !field->CanModify())
        return false;
    beginningEdit_ = true;
    try {
        link_.Edit();
    } catch (...) {
        beginningEdit_ = false;
        throw;
    }
    beginningEdit_ = false;
    if (link_.Editing())
        link_.SetModified();
    return link_.Editing();
}

void TDBGrid::EditorChanged()
{
    viewport()->update();
}

void TDBGrid::WriteEditorText()
{
    if (!link_.Modified() || !editor_)
        return;
    if (link_.Updating()) {
        TField* field = SelectedField();
        editor_->validateEdit();
        if (field)
            field->SetEditText(editor_->text().toStdString());
        link_.ClearModified();
        return;
    }
    link_.UpdateRecord();
}

// ---- painting ----

bool TDBGrid::GridFocused() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || (editor_ && focus == editor_));
}

void TDBGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Active, QPalette::Base));
    if (HasTitles())
        PaintTitles(painter);
    TDataSet* dataSet = DataSet();
    if (!link_.Active() || !dataSet || link_.RecordCount() == 0) {
        PaintRow(painter, 0, link_.Active());
        return;
    }
    const int current = link_.ActiveRecord();
    const int rows = std::min(link_.RecordCount(), visibleRows_);
    for (int row = 0; row < rows; ++row) {
        link_.SetActiveRecord(row);
        PaintRow(painter, row, row == current);
    }
    link_.SetActiveRecord(current);
    if (drag_ == Drag::Move && dragTarget_ >= 0) {
        const int x = ColumnLeft(dragTarget_);
        if (x >= 0)
            painter.fillRect(QRect(x - 1, 0, 3, TitleHeight()), palette().color(QPalette::Highlight));
    }
}

void TDBGrid::PaintFixedCell(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, palette().color(QPalette::Active, QPalette::Button));
    if (!Has(TDBGridOption::dgColLines) || !Has(TDBGridOption::dgRowLines))
        return;
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

// Grid lines right of and below a cell, as the options ask.
void TDBGrid::PaintLines(QPainter& painter, const QRect& cell)
{
    const QColor line = palette().color(QPalette::Mid);
    if (ColLine())
        painter.fillRect(QRect(cell.right() + 1, cell.top(), 1, cell.height() + RowLine()), line);
    if (RowLine())
        painter.fillRect(QRect(cell.left(), cell.bottom() + 1, cell.width() + ColLine(), 1), line);
}

void TDBGrid::PaintTitles(QPainter& painter)
{
    if (IndicatorWidth() > 0) {
        const QRect corner(0, 0, IndicatorWidth(), TitleHeight());
        PaintFixedCell(painter, corner);
        PaintLines(painter, corner);
    }
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        const QRect cell = TitleRect(i);
        if (cell.isEmpty())
            continue;
        if (cell.left() > viewport()->width())
            break;
        const TColumnTitle& title = Column(i)->Title;
        PaintFixedCell(painter, cell);
        if (title.Color)
            painter.fillRect(cell.adjusted(1, 1, -1, -1), *title.Color);
        PaintLines(painter, cell);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.setFont(title.Font.value_or(titleFont_));
        painter.setClipRect(cell);
        const QRect inner = cell.adjusted(textMargin, textMargin, -textMargin, 0);
        Qt::Alignment align = Qt::AlignLeft;
        if (title.Alignment == TAlignment::taRightJustify)
            align = Qt::AlignRight;
        else if (title.Alignment == TAlignment::taCenter)
            align = Qt::AlignHCenter;
        painter.drawText(inner, static_cast<int>(align | Qt::AlignTop), fromUtf8(Column(i)->TitleCaption()));
        painter.setClipping(false);
    }
}

void TDBGrid::PaintIndicator(QPainter& painter, const QRect& rect, int row, bool current)
{
    PaintFixedCell(painter, rect);
    PaintLines(painter, rect);
    TDataSet* dataSet = DataSet();
    if (!link_.Active() || !dataSet)
        return;
    const bool selected = !selectedRows_.empty() && link_.RecordCount() > 0 && IsRowSelected(dataSet->Bookmark());
    int image = -1;
    if (current) {
        if (selected)
            image = IndicatorImages::MultiArrow;
        else if (dataSet->State() == TDataSetState::dsEdit)
            image = IndicatorImages::Edit;
        else if (dataSet->State() == TDataSetState::dsInsert)
            image = IndicatorImages::Insert;
        else
            image = IndicatorImages::Arrow;
    } else if (selected) {
        image = IndicatorImages::MultiDot;
    }
    (void)row;
    if (image < 0)
        return;
    const QImage& picture = IndicatorImages::image(static_cast<IndicatorImages::Index>(image));
    const int x = rect.right() - picture.width();
    const int y = rect.top() + (rect.height() - picture.height()) / 2;
    painter.drawImage(QPoint(x, y), picture);
}

void TDBGrid::PaintRow(QPainter& painter, int row, bool current)
{
    painter.setFont(font());
    const QFontMetrics metrics = fontMetrics();
    if (IndicatorWidth() > 0)
        PaintIndicator(painter, CellRect(-1, row), row, current);
    const bool hasRecord = link_.Active() && link_.RecordCount() > 0;
    const bool showSelection = Has(TDBGridOption::dgAlwaysShowSelection) || GridFocused();
    const bool rowSelect = Has(TDBGridOption::dgRowSelect);
    const QPalette& colours = palette();
    for (int i = leftColumn_; i < ColumnCount(); ++i) {
        const QRect cell = CellRect(i, row);
        if (cell.isEmpty()) {
            if (ColumnLeft(i) >= viewport()->width())
                break;
            continue;
        }
        const bool selected = current && hasRecord && (rowSelect || i == selectedIndex_);
        const bool highlight = selected && showSelection;
        painter.fillRect(cell, colours.color(QPalette::Active, highlight ? QPalette::Highlight : QPalette::Base));
        PaintLines(painter, cell);
        TField* field = hasRecord ? Column(i)->Field() : nullptr;
        if (field) {
            QPalette::ColorRole role = highlight ? QPalette::HighlightedText : QPalette::Text;
            painter.setPen(colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, role));
            const QString text = fromUtf8(field->DisplayText());
            const QRect inner = cell.adjusted(textMargin, textMargin, -textMargin, 0);
            Qt::Alignment align = Qt::AlignLeft;
            if (Column(i)->Alignment() == TAlignment::taRightJustify)
                align = Qt::AlignRight;
            else if (Column(i)->Alignment() == TAlignment::taCenter)
                align = Qt::AlignHCenter;
            painter.setClipRect(cell);
            painter.drawText(inner, static_cast<int>(align | Qt::AlignTop), text);
            painter.setClipping(false);
        }
        if (selected && !rowSelect && hasFocus()) {
            painter.setPen(QPen(colours.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    (void)metrics;
}

// ---- keyboard ----

bool TDBGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A row-select grid leaves Escape to the window (a cancel button).
        if (key->key() == Qt::Key_Escape && link_.Active() && !Has(TDBGridOption::dgRowSelect)) {
            key->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

// A grid that takes Tab keeps it (Alt+Tab aside); a row-select grid lets
// Tab move the focus on.
bool TDBGrid::focusNextPrevChild(bool next)
{
    const bool takesTab = Has(TDBGridOption::dgTabs) && !Has(TDBGridOption::dgRowSelect);
    if (takesTab && link_.Active() && !(QApplication::keyboardModifiers() & Qt::AltModifier))
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

bool TDBGrid::ProcessKey(GridKeyboard::Key key, Qt::KeyboardModifiers modifiers)
{
    if (!link_.Active() || key == GridKeyboard::Key::Other)
        return false;
    GridKeyboard::Context context;
    context.rowSelect = Has(TDBGridOption::dgRowSelect);
    int shown = 0;
    for (const auto& column : columns_)
        shown += column->Visible ? 1 : 0;
    context.singleColumn = shown == 1;
    context.rightToLeft = layoutDirection() == Qt::RightToLeft;
    context.takesTab = Has(TDBGridOption::dgTabs) && !context.rowSelect;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const GridCommand command = GridKeyboard::decide(key, shift, ctrl, alt, context);
    if (command == GridCommand::None)
        return false;
    if (command == GridCommand::Enter && !Has(TDBGridOption::dgEditing))
        return false;
    Execute(command, modifiers);
    return true;
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown) {
        int key = event->key();
        OnKeyDown(key, event->modifiers());
        if (key == 0) {
            event->accept();
            return;
        }
    }
    if (ProcessKey(keyOf(event->key()), event->modifiers())) {
        event->accept();
        return;
    }
    // A character typed in an editable grid opens the editor and goes to it.
    const QString text = event->text();
    const bool character = !text.isEmpty() && (text.at(0) == QLatin1Char('\b') || text.at(0).unicode() >= 32) &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (character && link_.Active() && CanEditShow()) {
        if (!EditorVisible())
            ShowEditor();
        if (EditorVisible()) {
            editor_->setFocus(Qt::OtherFocusReason);
            QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), text);
            QApplication::sendEvent(editor_, &copy);
            event->accept();
            return;
        }
    }
    event->ignore();
}

void TDBGrid::Execute(GridCommand command, Qt::KeyboardModifiers modifiers)
{
    TDataSet* dataSet = DataSet();
    switch (command) {
    case GridCommand::RecordUp:
    case GridCommand::RecordDown: {
        auto move = command == GridCommand::RecordUp ? &TDBGrid::RecordUp : &TDBGrid::RecordDown;
        if ((modifiers & Qt::ShiftModifier) && Has(TDBGridOption::dgMultiSelect)) {
            ExtendSelection(move);
            break;
        }
        ClearSelection();
        (this->*move)();
        break;
    }
    case GridCommand::PageUp: MoveRecords(-visibleRows_); break;
    case GridCommand::PageDown: MoveRecords(visibleRows_); break;
    case GridCommand::TopRow:
        ClearSelection();
        MoveRecords(-link_.ActiveRecord());
        break;
    case GridCommand::BottomRow:
        ClearSelection();
        MoveRecords(link_.RecordCount() - 1 - link_.ActiveRecord());
        break;
    case GridCommand::FirstRecord: GoFirst(); break;
    case GridCommand::LastRecord: GoLast(); break;
    case GridCommand::ColumnLeft: {
        const int previous = NextVisibleColumn(selectedIndex_, -1);
        if (previous >= 0)
            SetSelectedIndex(previous);
        break;
    }
    case GridCommand::ColumnRight: {
        const int next = NextVisibleColumn(selectedIndex_, 1);
        if (next >= 0)
            SetSelectedIndex(next);
        break;
    }
    case GridCommand::FirstColumn: SetSelectedIndex(FirstVisibleColumn()); break;
    case GridCommand::LastColumn: SetSelectedIndex(LastVisibleColumn()); break;
    case GridCommand::DeleteRecord: DeleteRecords(); break;
    case GridCommand::InsertRecord: InsertRecord(); break;
    case GridCommand::TabNext: TabTo(1); break;
    case GridCommand::TabPrior: TabTo(-1); break;
    case GridCommand::Reset: Reset(); break;
    case GridCommand::ShowEditor: ShowEditor(); break;
    case GridCommand::Enter: Enter(); break;
    case GridCommand::None: break;
    }
    (void)dataSet;
}

// A new record nobody has typed into yet.
bool TDBGrid::EmptyNewRecord() const
{
    TDataSet* dataSet = DataSet();
    return dataSet && dataSet->State() == TDataSetState::dsInsert && !dataSet->Modified() && !link_.Modified();
}

bool TDBGrid::CanAppend() const
{
    TDataSet* dataSet = DataSet();
    return dataSet && dataSet->CanModify() && !readOnly_ && Has(TDBGridOption::dgEditing);
}

void TDBGrid::RecordUp()
{
    TDataSet* dataSet = DataSet();
    if (EmptyNewRecord() && dataSet->Eof()) {
        dataSet->Cancel();
        return;
    }
    MoveRecords(-1);
}

void TDBGrid::RecordDown()
{
    TDataSet* dataSet = DataSet();
    if (EmptyNewRecord()) {
        if (dataSet->Eof())
            return;
        dataSet->Cancel();
    } else {
        MoveRecords(1);
    }
    if (dataSet->Eof() && CanAppend())
        dataSet->Append();
}

// Shift with an arrow in a multi-selecting grid: the rows passed over
// join the selection.
void TDBGrid::ExtendSelection(void (TDBGrid::*move)())
{
    if (const std::int64_t from = CurrentBookmark())
        selectedRows_.insert(from);
    (this->*move)();
    if (const std::int64_t to = CurrentBookmark())
        selectedRows_.insert(to);
    viewport()->update();
}

void TDBGrid::MoveRecords(int distance)
{
    WriteEditorText();
    if (distance != 0)
        DataSet()->MoveBy(distance);
}

void TDBGrid::GoFirst()
{
    WriteEditorText();
    DataSet()->First();
}

void TDBGrid::GoLast()
{
    WriteEditorText();
    DataSet()->Last();
}

// Tab walks the columns; past either end it crosses to the next or the
// previous row, as Down and Up do.
void TDBGrid::TabTo(int step)
{
    const int next = NextVisibleColumn(selectedIndex_, step);
    if (next >= 0) {
        SetSelectedIndex(next);
        return;
    }
    WriteEditorText();
    if (step > 0)
        RecordDown();
    else
        RecordUp();
    SetSelectedIndex(step > 0 ? FirstVisibleColumn() : LastVisibleColumn());
}

void TDBGrid::DeleteRecords()
{
    TDataSet* dataSet = DataSet();
    if (readOnly_ || dataSet->IsEmpty() || !dataSet->CanModify())
        return;
    const bool several = selectedRows_.size() > 1;
    if (Has(TDBGridOption::dgConfirmDelete) && !ConfirmDelete(this, several))
        return;
    if (selectedRows_.empty()) {
        dataSet->Delete();
        return;
    }
    const std::set<std::int64_t> doomed = selectedRows_;
    selectedRows_.clear();
    for (std::int64_t bookmark : doomed)
        if (dataSet->GotoBookmark(bookmark))
            dataSet->Delete();
}

void TDBGrid::InsertRecord()
{
    TDataSet* dataSet = DataSet();
    if (dataSet->CanModify() && !readOnly_ && Has(TDBGridOption::dgEditing))
        dataSet->Insert();
}

void TDBGrid::Reset()
{
    link_.Reset();
    ClearSelection();
    if (!Has(TDBGridOption::dgAlwaysShowEditor))
        HideEditor();
}

void TDBGrid::Enter()
{
    if (!Has(TDBGridOption::dgAlwaysShowEditor))
        WriteEditorText();
    if (EditorVisible())
        HideEditor();
    else
        ShowEditor();
}

// ---- the editor's keys and focus ----

void TDBGrid::EditorKey(QKeyEvent* event)
{
    if (ProcessKey(keyOf(event->key()), event->modifiers()))
        event->accept();
    else
        event->ignore();
}

void TDBGrid::EditorFocusOut(QFocusEvent* event)
{
    viewport()->update();
    FocusLeaving(event->reason());
}

// ---- focus ----

bool TDBGrid::TakeFocus()
{
    if (!isEnabled() || !isVisible())
        return false;
    if (!GridFocused())
        setFocus(Qt::MouseFocusReason);
    QWidget* focus = window()->focusWidget();
    return focus == this || (editor_ && focus == editor_);
}

void TDBGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TDBGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    FocusLeaving(event->reason());
}

// The focus went elsewhere: when it left the grid (not for the editor, nor
// for another window or a menu), the grid is exited.
void TDBGrid::FocusLeaving(Qt::FocusReason reason)
{
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now == this || (editor_ && now == editor_))
        return;
    GridExit();
}

void TDBGrid::GridExit()
{
    TDataSet* dataSet = DataSet();
    if (!link_.Active() || !dataSet)
        return;
    if (Has(TDBGridOption::dgCancelOnExit) && EmptyNewRecord()) {
        dataSet->Cancel();
    } else {
        try {
            WriteEditorText();
        } catch (...) {
            if (EditorVisible())
                editor_->setFocus(Qt::OtherFocusReason);
            else
                setFocus(Qt::OtherFocusReason);
            throw;
        }
    }
    if (!Has(TDBGridOption::dgAlwaysShowEditor))
        HideEditor();
}

void TDBGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateLayout();
    else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        viewport()->update();
}

void TDBGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateLayout();
}

// ---- mouse ----

void TDBGrid::mousePressEvent(QMouseEvent* event)
{
    pressedRow_ = -2;
    pressedColumn_ = -2;
    if (!link_.Active())
        return;
    const QPoint pos = event->position().toPoint();
    bool onBorder = false;
    const int column = HitColumn(pos.x(), &onBorder);
    const int row = HitRow(pos.y());
    if (row == -1 && HasTitles() && Has(TDBGridOption::dgColumnResize) && column >= 0) {
        WriteEditorText();
        if (event->button() != Qt::LeftButton)
            return;
        drag_ = onBorder ? Drag::Resize : Drag::Move;
        dragColumn_ = column;
        dragTarget_ = -1;
        dragStartX_ = pos.x();
        dragStartWidth_ = Column(column)->Width();
        return;
    }
    if (row == -2 || column == -2)
        return;
    if (!TakeFocus())
        return;
    WriteEditorText();
    HideEditor();
    const bool wasCurrent = row >= 0 && row == link_.ActiveRecord() && column == selectedIndex_;
    if (row >= 0 && row != link_.ActiveRecord()) {
        if (!(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
            ClearSelection();
        MoveRecords(row - link_.ActiveRecord());
    }
    if (row >= 0 && Has(TDBGridOption::dgMultiSelect) && (event->modifiers() & Qt::ControlModifier))
        ToggleRowSelection();
    if (column >= 0)
        SetSelectedIndex(column);
    pressedRow_ = row;
    pressedColumn_ = column;
    if (event->button() == Qt::LeftButton && row >= 0 &&
        (wasCurrent || Has(TDBGridOption::dgAlwaysShowEditor)))
        ShowEditor();
    if (row == -1 && column >= 0 && event->button() == Qt::LeftButton) {
        drag_ = Drag::Title;
        dragColumn_ = column;
    }
}

void TDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (drag_ == Drag::Resize) {
        Column(dragColumn_)->SetWidth(std::max(1, dragStartWidth_ + pos.x() - dragStartX_));
        UpdateScrollBars();
        PlaceEditor();
        viewport()->update();
        return;
    }
    if (drag_ == Drag::Move) {
        const int over = HitColumn(pos.x());
        dragTarget_ = over >= 0 && over != dragColumn_ ? over : -1;
        viewport()->update();
        return;
    }
    bool onBorder = false;
    const bool inTitles = HasTitles() && pos.y() < TitleHeight() && Has(TDBGridOption::dgColumnResize);
    if (inTitles)
        HitColumn(pos.x(), &onBorder);
    viewport()->setCursor(onBorder ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TDBGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const Drag drag = drag_;
    drag_ = Drag::None;
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (drag == Drag::Move) {
        const int target = dragTarget_;
        dragTarget_ = -1;
        if (target >= 0) {
            MoveColumn(dragColumn_, target);
            return;
        }
    }
    if (drag == Drag::Resize) {
        UpdateScrollBars();
        return;
    }
    const int column = HitColumn(pos.x());
    const int row = HitRow(pos.y());
    if (row == -1 && column >= 0 && (drag == Drag::Move || drag == Drag::Title) && column == dragColumn_) {
        if (OnTitleClick)
            OnTitleClick(*Column(column));
        return;
    }
    if (row >= 0 && column >= 0 && row == pressedRow_ && column == pressedColumn_ && OnCellClick)
        OnCellClick(*Column(column));
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (OnDblClick)
        OnDblClick();
}

// ---- lookup columns ----

// The key field of the current column's lookup field, in the grid's table.
TField* TDBGrid::LookupKeyField() const
{
    TField* field = SelectedField();
    TDataSet* dataSet = DataSet();
    if (!field || !field->IsLookup() || !dataSet)
        return nullptr;
    return dataSet->FindField(field->KeyFields);
}

// A read-only grid offers no drop-down: the column is read-only then.
bool TDBGrid::CanDropDown() const
{
    TColumn* column = Column(selectedIndex_);
    TField* key = LookupKeyField();
    TField* field = SelectedField();
    return column && key && key->CanModify() && !column->ReadOnly() && !link_.ReadOnly() && field->LookupDataSet &&
           field->LookupDataSet->Active();
}

bool TDBGrid::DropDownVisible() const
{
    return popup_ && popup_->isVisible();
}

// The column's DropDownRows, or fewer when the code table has fewer records.
int TDBGrid::DropDownRowCount(const TColumn& column) const
{
    const int count = SelectedField()->LookupDataSet->RecordCount();
    if (count <= 0 || count >= column.DropDownRows)
        return column.DropDownRows;
    return count;
}

void TDBGrid::DropDown()
{
    if (!EditorVisible() || DropDownVisible() || !CanDropDown())
        return;
    TField* field = SelectedField();
    if (!popup_) {
        popup_ = new TPopupDataList(this);
        connect(popup_, &TPopupDataList::accepted, this, [this] { CloseUp(true); });
        connect(popup_, &TPopupDataList::discarded, this, [this] { CloseUp(false); });
    }
    lookupSource_.SetDataSet(field->LookupDataSet);
    popup_->setFont(font());
    popup_->setListSource(&lookupSource_);
    popup_->setKeyFieldName(field->LookupKeyFields);
    popup_->setListFieldNames(field->LookupResultField + ";");
    popup_->setListFieldIndex(0);
    popup_->setReadOnly(false);
    popup_->setRowCount(DropDownRowCount(*Column(selectedIndex_)));
    popup_->setKeyValue(LookupKeyField()->Value());
    const QSize size(editor_->width(), popup_->heightForRows(popup_->rowCount()));
    QPoint place = editor_->mapToGlobal(QPoint(0, editor_->height()));
    const QRect screen = editor_->screen()->availableGeometry();
    if (place.y() + size.height() > screen.bottom())
        place.setY(editor_->mapToGlobal(QPoint(0, 0)).y() - size.height());
    popup_->setGeometry(QRect(place, size));
    popup_->show();
    editor_->Deselect();
    editor_->update();
}

void TDBGrid::CloseUp(bool accept)
{
    if (!DropDownVisible())
        return;
    const FieldValue key = popup_->keyValue();
    popup_->hide();
    popup_->setListSource(nullptr);
    lookupSource_.SetDataSet(nullptr);
    if (editor_)
        editor_->update();
    if (!accept || !CanDropDown())
        return;
    TField* keyField = LookupKeyField();
    if (!link_.Edit())
        return;
    if (key)
        keyField->SetText(*key);
    else
        keyField->Clear();
}

void TDBGrid::EditorButtonPress()
{
    if (DropDownVisible())
        CloseUp(false);
    else
        DropDown();
}

void TDBGrid::EditorMouseMove(const QPoint& global)
{
    if (!DropDownVisible())
        return;
    if (popup_->isTracking())
        popup_->dragTo(global);
    else if (popup_->geometry().contains(global))
        popup_->pressAt(global);
}

void TDBGrid::EditorMouseRelease(const QPoint& global)
{
    if (DropDownVisible() && popup_->isTracking())
        popup_->releaseAt(global);
}

// ---- multi-selection ----

std::int64_t TDBGrid::CurrentBookmark() const
{
    TDataSet* dataSet = DataSet();
    return dataSet && link_.RecordCount() > 0 ? dataSet->Bookmark() : 0;
}

void TDBGrid::ToggleRowSelection()
{
    const std::int64_t bookmark = CurrentBookmark();
    if (bookmark == 0)
        return;
    auto [place, added] = selectedRows_.insert(bookmark);
    if (!added)
        selectedRows_.erase(place);
    viewport()->update();
}

// ---- scroll bar ----

void TDBGrid::ScrollAction(int action)
{
    if (updatingScrollBar_ || !link_.Active())
        return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        MoveRecords(-link_.ActiveRecord() - 1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        MoveRecords(link_.RecordCount() - link_.ActiveRecord());
        break;
    case QAbstractSlider::SliderPageStepSub: MoveRecords(-visibleRows_); break;
    case QAbstractSlider::SliderPageStepAdd: MoveRecords(visibleRows_); break;
    case QAbstractSlider::SliderToMinimum: GoFirst(); break;
    case QAbstractSlider::SliderToMaximum: GoLast(); break;
    default: return;
    }
    // The bar shows where the dataset stands, not where the slider went.
    UpdateScrollBars();
}

void TDBGrid::ScrollThumbReleased()
{
    if (!link_.Active())
        return;
    switch (GridScrollBar::thumbUnnumbered(verticalScrollBar()->sliderPosition())) {
    case GridScrollBar::Move::First: GoFirst(); break;
    case GridScrollBar::Move::PageUp: MoveRecords(-visibleRows_); break;
    case GridScrollBar::Move::PageDown: MoveRecords(visibleRows_); break;
    case GridScrollBar::Move::Last: GoLast(); break;
    default: break;
    }
    UpdateScrollBars();
}
