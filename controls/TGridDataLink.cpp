#include "TGridDataLink.h"

#include "TDBGrid.h"
#include "TDataSet.h"

void TGridDataLink::Reset()
{
    if (modified_) {
        modified_ = false;
        grid_.LinkRecordChanged(nullptr);
    } else if (TDataSet* dataSet = DataSet()) {
        dataSet->Cancel();
    }
}

void TGridDataLink::ActiveChanged()
{
    modified_ = false;
    grid_.LinkActiveChanged();
}

void TGridDataLink::EditingChanged()
{
    if (!Editing())
        modified_ = false;
    grid_.LinkEditingChanged();
}

void TGridDataLink::RecordChanged(TField* field)
{
    grid_.LinkRecordChanged(field);
}

void TGridDataLink::DataSetChanged()
{
    grid_.LinkDataSetChanged();
}

void TGridDataLink::DataSetScrolled(int rows)
{
    grid_.LinkDataSetScrolled(rows);
}

void TGridDataLink::LayoutChanged()
{
    grid_.LinkLayoutChanged();
}

void TGridDataLink::UpdateData()
{
    grid_.WriteEditorText();
}

bool TGridDataLink::FocusControl(TField* field)
{
    return grid_.LinkFocusControl(field);
}
