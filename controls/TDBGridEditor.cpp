// The record grid: its in-place editor, and the focus coming and going.
#include "TDBGrid.h"

#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TField.h"
#include "TInplaceEdit.h"
#include "TStringField.h"

#include <QApplication>
#include <QFocusEvent>

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

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
    editor_->SetHasButton(CanDropDown() || HasPickList());
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
    guardedEvent(event, [&] {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
    });
}

void TDBGrid::focusOutEvent(QFocusEvent* event)
{
    guardedEvent(event, [&] {
        QAbstractScrollArea::focusOutEvent(event);
        viewport()->update();
        FocusLeaving(event->reason());
    });
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
    if (event->type() == QEvent::FontChange) {
        ForgetMeasures();
        UpdateLayout();
    } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        viewport()->update();
}

void TDBGrid::resizeEvent(QResizeEvent* event)
{
    guardedEvent(event, [&] {
        QAbstractScrollArea::resizeEvent(event);
        UpdateLayout();
    });
}
