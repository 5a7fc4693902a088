#pragma once
#include "SearchWindowLayout.h"
#include "TForm.h"

class QLineEdit;
class QPushButton;
class TDBGrid;
class TDBNavigator;
class TDMarsipstaf;
class TDataSource;
class TGroupBox;
class TRadioGroup;
class TTable;

// The common body of the two search windows: an ordering group, a search
// box with its "Cari" button, two grids showing the same current row in
// two groups of columns, each with a navigator, and "Tutup". The windows
// hold no data beyond the search text and the ordering chosen; the record
// found is the shared table's current record.
class SearchWindow : public TForm {
    Q_OBJECT
public:
    TRadioGroup* RadioGroup1 = nullptr;  // the ordering, which also picks the key field
    TGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;      // the key searched for
    QPushButton* Button2 = nullptr;  // "Cari"
    TDBGrid* DBGrid1 = nullptr;      // the key columns
    TDBNavigator* DBNavigator1 = nullptr;
    TDBGrid* DBGrid2 = nullptr;  // the other columns of the same row
    TDBNavigator* DBNavigator2 = nullptr;
    QPushButton* Button1 = nullptr;  // "Tutup"

    // The chosen ordering item sets the table's IndexFieldNames.
    void RadioGroup1Click();
    // Cari: find the whole search text as the key of the current ordering;
    // found or not, the box is emptied and keeps the focus. An error of the
    // search ends the handler before the box is emptied.
    void Button2Click();
    // Tutup: hide the window.
    void Button1Click();

    static const QString notFoundText;

protected:
    // Binds every control to the module's table named in layout.
    SearchWindow(const QString& name, const QString& caption, const QRect& outer, SearchWindowLayout layout,
                 TDMarsipstaf& module);

private:
    void build(SearchPart part, TDataSource* source);
    TDBGrid* buildGrid(const char* name, const SearchGrid& plan, TDataSource* source);
    void buildSearchGroup();

    SearchWindowLayout layout_;
    TTable* table_;
};
