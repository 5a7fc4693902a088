#pragma once
#include "ReferenceBinder.h"
#include "TForm.h"

#include <map>
#include <string>

class TDataSource;

// Unit Fdatapeg. The employee data window: entries, grid and navigator over
// the employee table. It is created before the data module, so its
// references to the module's data sources are recorded by name and bound
// when the module is published.
class TForm2 : public TForm {
    Q_OBJECT
public:
    explicit TForm2(ReferenceBinder& references);

    // The data sources its controls name, by object name ("DSdatapeg");
    // null until the data module has been published.
    TDataSource* dataSource(const std::string& name) const;

    // The data module's sources this window refers to.
    static constexpr const char* referencedSources[] = {"DSdatapeg", "DSjk",  "DSagama", "DSpangkat",
                                                        "DSgol",     "DSjab", "DSpf",    "DSstatus"};

private:
    std::map<std::string, TDataSource*> sources_;
};

// Created at start-up, hidden; lives until the program ends.
extern TForm2* Form2;
