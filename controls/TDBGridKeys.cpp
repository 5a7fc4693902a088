// The record grid: keys and the commands they give.
#include "TDBGrid.h"

#include "ConfirmDelete.h"
#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TInplaceEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

GridKeyboard::Key keyOf(int key)
{
    using Key = GridKeyboard::Key;
    switch (key) {
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Home:
        return Key::Home;
    case Qt::Key_End:
        return Key::End;
    case Qt::Key_PageUp:
        return Key::PageUp;
    case Qt::Key_PageDown:
        return Key::PageDown;
    case Qt::Key_Insert:
        return Key::Insert;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Key::Tab;
    case Qt::Key_Escape:
        return Key::Escape;
    case Qt::Key_F2:
        return Key::F2;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    default:
        return Key::Other;
    }
}

}  // namespace

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
    guardedEvent(event, [&] {
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
    });
}

void TDBGrid::Execute(GridCommand command, Qt::KeyboardModifiers modifiers)
{
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
    case GridCommand::PageUp:
        MoveRecords(-visibleRows_);
        break;
    case GridCommand::PageDown:
        MoveRecords(visibleRows_);
        break;
    case GridCommand::TopRow:
        ClearSelection();
        MoveRecords(-link_.ActiveRecord());
        break;
    case GridCommand::BottomRow:
        ClearSelection();
        MoveRecords(link_.RecordCount() - 1 - link_.ActiveRecord());
        break;
    case GridCommand::FirstRecord:
        GoFirst();
        break;
    case GridCommand::LastRecord:
        GoLast();
        break;
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
    case GridCommand::FirstColumn:
        SetSelectedIndex(FirstVisibleColumn());
        break;
    case GridCommand::LastColumn:
        SetSelectedIndex(LastVisibleColumn());
        break;
    case GridCommand::DeleteRecord:
        DeleteRecords();
        break;
    case GridCommand::InsertRecord:
        InsertRecord();
        break;
    case GridCommand::TabNext:
        TabTo(1);
        break;
    case GridCommand::TabPrior:
        TabTo(-1);
        break;
    case GridCommand::FocusNext:
    case GridCommand::FocusPrior:
        LeaveByTab(command == GridCommand::FocusNext);
        break;
    case GridCommand::Reset:
        Reset();
        break;
    case GridCommand::ShowEditor:
        ShowEditor();
        break;
    case GridCommand::Enter:
        Enter();
        break;
    case GridCommand::None:
        break;
    }
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
// previous row, as Down and Up do. Past the last cell of the last row it
// appends a row only after the clerk typed in this one; otherwise, as
// before the first cell of the first row, the focus moves on out of the
// grid, so Tab never keeps the clerk inside it.
void TDBGrid::TabTo(int step)
{
    const int next = NextVisibleColumn(selectedIndex_, step);
    if (next >= 0) {
        SetSelectedIndex(next);
        return;
    }
    WriteEditorText();
    TDataSet* dataSet = DataSet();
    if (step > 0) {
        const bool typed = RecordTyped();
        if (EmptyNewRecord() && dataSet->Eof()) {
            LeaveByTab(true);
            return;
        }
        if (EmptyNewRecord())
            dataSet->Cancel();
        else
            MoveRecords(1);
        if (dataSet->Eof()) {
            if (!typed || !CanAppend()) {
                LeaveByTab(true);
                return;
            }
            dataSet->Append();
        }
    } else if (EmptyNewRecord() && dataSet->Eof()) {
        dataSet->Cancel();
    } else {
        MoveRecords(-1);
        if (dataSet->Bof()) {
            LeaveByTab(false);
            return;
        }
    }
    SetSelectedIndex(step > 0 ? FirstVisibleColumn() : LastVisibleColumn());
}

// A record in edit or insert state that the clerk changed.
bool TDBGrid::RecordTyped() const
{
    TDataSet* dataSet = DataSet();
    const TDataSetState state = dataSet->State();
    return (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) && dataSet->Modified();
}

void TDBGrid::LeaveByTab(bool forward)
{
    // From the cell editor the way out starts at the grid, not at the
    // editor's place inside it.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus != this && isAncestorOf(focus))
        setFocus(Qt::OtherFocusReason);
    QAbstractScrollArea::focusNextPrevChild(forward);
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

void TDBGrid::EditorKey(QKeyEvent* event)
{
    if (ProcessKey(keyOf(event->key()), event->modifiers()))
        event->accept();
    else
        event->ignore();
}
