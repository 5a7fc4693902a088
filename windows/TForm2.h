#pragma once
#include "ReferenceBinder.h"
#include "TForm.h"

class TDMarsipstaf;

// Unit Fdatapeg. The employee data window: entries, grid and navigator over
// the employee table. It is created before the data module, so its
// references to the module's data sources are recorded by name and bound
// when the module is published.
class TForm2 : public TForm {
    Q_OBJECT
public:
    explicit TForm2(ReferenceBinder& references);

    // The data module its references were bound to; null until then.
    TDMarsipstaf* dataModule() const { return dataModule_; }

private:
    void bindDataModule();

    TDMarsipstaf* dataModule_ = nullptr;
};

// Created at start-up, hidden; lives until the program ends.
extern TForm2* Form2;
