#include "ListWindow.h"

#include "FormControls.h"
#include "HandlerGuard.h"
#include "ListExport.h"
#include "TDBGrid.h"
#include "TDBNavigator.h"
#include "TDMarsipstaf.h"
#include "TTable.h"
#include "WindowFonts.h"

#include <QPushButton>

#include <cassert>

ListWindow::ListWindow(const QString& name, const QString& caption, const QRect& outer, const ListWindowLayout& layout,
                       TDMarsipstaf& module)
    : TForm(name, caption, outer, WindowFonts::sansSerif(11)), table_(module.TableByName(layout.table))
{
    TDataSource* source = module.DataSourceByName(layout.dataSource);
    assert(table_ && source);
    // Created in tab order: the focus chain follows creation.
    buildGrid(layout, source);
    if (layout.navigatorBeforeButtons)
        buildNavigator(layout, source);
    buildButtons(layout);
    if (!layout.navigatorBeforeButtons)
        buildNavigator(layout, source);

    Export = new ListExport(this, DBGrid1, table_);

    connect(Button1, &QPushButton::clicked, this, guard(this, &ListWindow::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guard(this, &ListWindow::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guard(this, &ListWindow::Button3Click));
}

void ListWindow::buildGrid(const ListWindowLayout& layout, TDataSource* source)
{
    DBGrid1 = FormControls::grid(this, "DBGrid1", source, layout.grid, layout.gridOptions, layout.gridColumns);
    FormControls::fixWidths(DBGrid1, layout.narrowColumns, layout.narrowWidth);
    if (layout.readOnlyGrid)
        DBGrid1->SetReadOnly(true);
    if (layout.serifTitles)
        FormControls::serifTitles(DBGrid1);
}

void ListWindow::buildButtons(const ListWindowLayout& layout)
{
    Button1 = FormControls::button(this, "Button1", "Pertama", layout.firstButton);
    Button2 = FormControls::button(this, "Button2", "Terakhir", layout.lastButton);
    Button3 = FormControls::button(this, "Button3", "Tutup", layout.closeButton);
}

void ListWindow::buildNavigator(const ListWindowLayout& layout, TDataSource* source)
{
    DBNavigator1 = FormControls::movementNavigator(this, "DBNavigator1", source, layout.navigator);
}

void ListWindow::Button1Click()
{
    table_->First();
}

void ListWindow::Button2Click()
{
    table_->Last();
}

void ListWindow::Button3Click()
{
    Close();
}
