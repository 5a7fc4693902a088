#include "SearchWindow.h"

#include "FormControls.h"
#include "HandlerGuard.h"
#include "MessageBoxes.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDMarsipstaf.h"
#include "TGroupBox.h"
#include "TRadioGroup.h"
#include "TTable.h"
#include "WindowFonts.h"

#include <QLineEdit>
#include <QPushButton>

#include <cassert>

const QString SearchWindow::notFoundText = QStringLiteral("Data Tidak Ada ");

SearchWindow::SearchWindow(const QString& name, const QString& caption, const QRect& outer, SearchWindowLayout layout,
                           TDMarsipstaf& module)
    : TForm(name, caption, outer, WindowFonts::sansSerif(11)), layout_(std::move(layout)),
      table_(module.TableByName(layout_.table))
{
    TDataSource* source = module.DataSourceByName(layout_.dataSource);
    assert(table_ && source);
    for (SearchPart part : layout_.tabOrder)
        build(part, source);

    RadioGroup1->OnClick = [this] { RadioGroup1Click(); };
    connect(Button2, &QPushButton::clicked, this, guard(this, &SearchWindow::Button2Click));
    connect(Button1, &QPushButton::clicked, this, guard(this, &SearchWindow::Button1Click));
}

void SearchWindow::build(SearchPart part, TDataSource* source)
{
    switch (part) {
    case SearchPart::upperGrid:
        DBGrid1 = buildGrid("DBGrid1", layout_.upper, source);
        break;
    case SearchPart::upperNavigator:
        DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, layout_.upper.navigator);
        break;
    case SearchPart::lowerGrid:
        DBGrid2 = buildGrid("DBGrid2", layout_.lower, source);
        break;
    case SearchPart::lowerNavigator:
        DBNavigator2 = FormControls::movementNavigator(this, "DBNavigator2", source, layout_.lower.navigator);
        break;
    case SearchPart::orderingGroup:
        RadioGroup1 = FormControls::orderingGroup(this, layout_.ordering);
        break;
    case SearchPart::searchGroup:
        buildSearchGroup();
        break;
    case SearchPart::closeButton:
        Button1 = FormControls::button(this, "Button1", "Tutup", layout_.closeButton);
        break;
    }
}

TDBGrid* SearchWindow::buildGrid(const char* name, const SearchGrid& plan, TDataSource* source)
{
    TDBGrid* grid = FormControls::grid(this, name, source, plan.bounds, plan.options, plan.columns);
    FormControls::fixWidths(grid, plan.narrowColumns, plan.narrowWidth);
    if (layout_.readOnlyGrids)
        grid->SetReadOnly(true);
    grid->setFont(WindowFonts::timesNewRoman(13, layout_.boldGrids));
    FormControls::serifTitles(grid);
    return grid;
}

void SearchWindow::buildSearchGroup()
{
    GroupBox1 = new TGroupBox(layout_.searchCaption, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(layout_.searchGroup);
    if (layout_.searchButtonFirst)
        Button2 = FormControls::button(GroupBox1, "Button2", "Cari", layout_.searchButton);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(layout_.searchBox);
    if (layout_.searchMaxLength)
        Edit1->setMaxLength(*layout_.searchMaxLength);
    if (!layout_.searchButtonFirst)
        Button2 = FormControls::button(GroupBox1, "Button2", "Cari", layout_.searchButton);
}

void SearchWindow::RadioGroup1Click()
{
    FormControls::applyOrdering(RadioGroup1, layout_.ordering, *table_);
}

void SearchWindow::Button2Click()
{
    if (!table_->FindKey({Edit1->text().toStdString()}))
        ShowMessage(notFoundText);
    Edit1->clear();
    Edit1->setFocus();
}

void SearchWindow::Button1Click()
{
    Close();
}
