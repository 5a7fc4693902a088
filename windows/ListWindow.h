#pragma once
#include "ListWindowLayout.h"
#include "TForm.h"

class ListExport;
class QPushButton;
class TDBGrid;
class TDBNavigator;
class TDMarsipstaf;
class TDataSource;
class TTable;

// The common body of the two record list windows: three buttons above a
// grid over one table and a navigator below it. The windows hold no data;
// the current record and the ordering are the shared table's.
class ListWindow : public TForm {
    Q_OBJECT
public:
    QPushButton* Button1;  // "Pertama"
    QPushButton* Button2;  // "Terakhir"
    QPushButton* Button3;  // "Tutup"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    ListExport* Export;  // "Ekspor...": what the grid shows, to a file

    // Pertama: the first record of the current ordering.
    void Button1Click();
    // Terakhir: the last record of the current ordering.
    void Button2Click();
    // Tutup: hide the window.
    void Button3Click();

protected:
    // Binds every control to the module's table named in layout.
    ListWindow(const QString& name, const QString& caption, const QRect& outer, const ListWindowLayout& layout,
               TDMarsipstaf& module);

private:
    void buildGrid(const ListWindowLayout& layout, TDataSource* source);
    void buildButtons(const ListWindowLayout& layout);
    void buildNavigator(const ListWindowLayout& layout, TDataSource* source);

    TTable* table_;
};
