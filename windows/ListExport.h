#pragma once
#include <QObject>

#include "QtFileDialogs.h"

class QAction;
class QProgressDialog;
class TDBGrid;
class TForm;
class TTable;

// The export command of a list window ("Ekspor...", Ctrl+E, also in the
// window's context menu): writes what the grid shows, its columns in its
// ordering, to a CSV file or a spreadsheet workbook the user names. A
// pending record is stored first, as moving would. Long exports show a
// progress window with a cancel button; the list window is disabled
// meanwhile, the program's other windows stay usable (the export reads
// through a connection of its own, at one moment).
class ListExport : public QObject {
    Q_OBJECT
public:
    // Does not take ownership of grid or table; table null: the command does nothing.
    ListExport(TForm* window, TDBGrid* grid, TTable* table);

    // Asks for the file and writes it. Failures raise EDatabaseError; a
    // cancelled or failed export leaves the file that was there, if any.
    void Execute();

    QAction* Action;
    FileDialogs* Dialogs;  // the platform's dialogs unless a test sets its own
    static const QString Filter;

private:
    bool Progress(long long done, long long total);

    TForm* window_;
    TDBGrid* grid_;
    TTable* table_;
    QtFileDialogs platformDialogs_;
    QProgressDialog* progress_ = nullptr;
};
