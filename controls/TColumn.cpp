#include "TColumn.h"

#include "ColumnWidth.h"
#include "TDBGrid.h"
#include "TDataSet.h"
#include "TField.h"

TColumn::TColumn(TDBGrid* grid, std::string fieldName) : FieldName(std::move(fieldName)), grid_(grid)
{
}

TField* TColumn::Field() const
{
    if (!resolved_ && grid_) {
        TDataSet* dataSet = grid_->DataSet();
        if (dataSet && dataSet->Active() && !FieldName.empty()) {
            field_ = dataSet->FindField(FieldName);
            resolved_ = true;
        }
    }
    return field_;
}

int TColumn::Width() const
{
    if (width_)
        return *width_;
    if (!grid_)
        return ColumnWidth::outsideGrid;
    return grid_->DefaultWidthOf(*this);
}

bool TColumn::ReadOnly() const
{
    if (readOnly_ || (grid_ && grid_->ReadOnly()))
        return true;
    TField* field = Field();
    return field && field->ReadOnly;
}

std::string TColumn::TitleCaption() const
{
    if (Title.Caption)
        return *Title.Caption;
    if (TField* field = Field())
        return field->Label();
    return FieldName;
}

TAlignment TColumn::Alignment() const
{
    TField* field = Field();
    return field ? field->Alignment : TAlignment::taLeftJustify;
}
