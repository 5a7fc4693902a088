#pragma once
#include "RecordWindow.h"
#include "ReferenceBinder.h"

#include <functional>
#include <map>
#include <string>

class TDataSource;

// Unit Fdatapeg. The employee data window: entries, grid and navigator over
// the employee table. It is created before the data module, so its
// references to the module's data sources are recorded by name and bound
// when the module is published. Its entries start enabled: typing into one
// right away edits the current record.
class TForm2 : public RecordWindow {
    Q_OBJECT
public:
    // Reaches the data module; called only once it has been published.
    using DataModuleAccess = std::function<TDMarsipstaf&()>;

    TForm2(ReferenceBinder& references, DataModuleAccess module);

    // The data sources its controls name, by object name ("DSdatapeg");
    // null until the data module has been published.
    TDataSource* dataSource(const std::string& name) const;

    // The data module's sources this window refers to.
    static constexpr const char* referencedSources[] = {"DSdatapeg", "DSjk",  "DSagama", "DSpangkat",
                                                        "DSgol",     "DSjab", "DSpf",    "DSstatus"};

    TDBEdit* DBEdit1;
    TDBEdit* DBEdit2;
    TDBEdit* DBEdit3;
    TDBEdit* DBEdit4;
    TDBEdit* DBEdit5;
    TDBEdit* DBEdit6;
    TDBEdit* DBEdit7;
    TDBLookupComboBox* DBLookupComboBox1;
    TDBLookupComboBox* DBLookupComboBox2;
    TDBLookupComboBox* DBLookupComboBox3;
    TDBLookupComboBox* DBLookupComboBox4;
    TDBLookupComboBox* DBLookupComboBox5;
    TDBLookupComboBox* DBLookupComboBox6;
    TDBLookupComboBox* DBLookupComboBox7;

protected:
    void showSearchWindow() override;

private:
    std::map<std::string, TDataSource*> sources_;
};

// Created at start-up, hidden; lives until the program ends.
extern TForm2* Form2;
