// The record grid: the drop-down of lookup columns.
#include "TDBGrid.h"

#include "HandlerGuard.h"
#include "TDataSet.h"
#include "TField.h"
#include "TInplaceEdit.h"
#include "TPopupDataList.h"

#include <QListWidget>
#include <QScreen>

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
    if (EditorVisible() && HasPickList()) {
        DropDownPickList();
        return;
    }
    if (!EditorVisible() || DropDownVisible() || !CanDropDown())
        return;
    TField* field = SelectedField();
    if (!popup_) {
        popup_ = new TPopupDataList(this);
        connect(popup_, &TPopupDataList::accepted, this, guard([this] { CloseUp(true); }));
        connect(popup_, &TPopupDataList::discarded, this, guard([this] { CloseUp(false); }));
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
    if (PickListVisible())
        pickList_->hide();
    else if (DropDownVisible())
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
