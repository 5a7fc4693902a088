#pragma once
#include "RecordWindow.h"

class TDMarsipstaf;

// Unit Fdatamutasi. The transfer data window: the twin of the employee data
// window over the transfer table. Its entries start disabled; a stored
// transfer is followed by a reminder to delete the employee's record and
// by the employee data window coming to the front.
class TForm3 : public RecordWindow {
    Q_OBJECT
public:
    // Created after the data module, so it binds at once.
    explicit TForm3(TDMarsipstaf& module);

    static const QString reminderText;

    TDBEdit* DBEdit1;
    TDBEdit* DBEdit2;
    TDBEdit* DBEdit3;
    TDBEdit* DBEdit4;
    TDBEdit* DBEdit5;
    TDBEdit* DBEdit6;
    TDBLookupComboBox* DBLookupComboBox1;
    TDBLookupComboBox* DBLookupComboBox2;
    TDBLookupComboBox* DBLookupComboBox3;

protected:
    void afterStore() override;
    bool locksSearchOnStore() const override { return true; }
    void showSearchWindow() override;
};

// Created at start-up, hidden; lives until the program ends.
extern TForm3* Form3;
