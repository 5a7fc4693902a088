// Layouts name fields through the catalogue's constants, so a misspelt name
// does not build. What the compiler cannot see: that the constant is one of
// the table the control shows (an entry, a lookup box, a grid column or a
// report text), and that an entry allows no more than that field holds.
#include "ReferenceBinder.h"
#include "ReportWindow.h"
#include "TDBEdit.h"
#include "TDBGrid.h"
#include "TDBLookupComboBox.h"
#include "TDMarsipstaf.h"
#include "TForm10.h"
#include "TForm11.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm9.h"
#include "TRepDBText.h"
#include "TableCatalogue.h"
#include "TableFields.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const CatalogueTable* tableOf(const TDataSet* dataSet)
{
    return dataSet ? TableCatalogue::byObject(dataSet->Name()) : nullptr;
}

const CatalogueTable* tableOf(const TDataSource* source)
{
    return source ? tableOf(source->DataSet()) : nullptr;
}

// What is wrong with the field a control names: "" when nothing.
std::string fieldProblem(const std::string& control, const CatalogueTable* table, const std::string& field)
{
    if (!table)
        return control + ": no table of the catalogue";
    if (!table->field(field))
        return control + ": " + table->tableName + " has no field '" + field + "'";
    return std::string();
}

// Every problem of the controls of form (and its report, if any).
std::vector<std::string> problems(const QWidget& form, const TBandReport* report)
{
    std::vector<std::string> found;
    auto note = [&](const std::string& problem) {
        if (!problem.empty())
            found.push_back(problem);
    };
    for (const TDBEdit* edit : form.findChildren<TDBEdit*>()) {
        std::string name = edit->objectName().toStdString();
        const CatalogueTable* table = tableOf(edit->DataSource());
        note(fieldProblem(name, table, edit->DataField()));
        const CatalogueField* field = table ? table->field(edit->DataField()) : nullptr;
        if (field && edit->maxLength() > field->size)
            found.push_back(name + ": allows " + std::to_string(edit->maxLength()) + " characters, '" + field->name +
                            "' holds " + std::to_string(field->size));
    }
    for (const TDBLookupComboBox* box : form.findChildren<TDBLookupComboBox*>()) {
        std::string name = box->objectName().toStdString();
        note(fieldProblem(name, tableOf(box->DataSource()), box->DataField()));
        note(fieldProblem(name + " list", tableOf(box->ListSource()), box->KeyField()));
        note(fieldProblem(name + " list", tableOf(box->ListSource()), box->ListField()));
    }
    for (const TDBGrid* grid : form.findChildren<TDBGrid*>())
        for (int i = 0; i < grid->ColumnCount(); ++i)
            note(fieldProblem(grid->objectName().toStdString() + " column " + std::to_string(i),
                              tableOf(grid->DataSource()), grid->Column(i)->FieldName));
    if (report)
        for (const auto& band : report->bands())
            for (const auto& control : band->controls())
                if (const auto* text = dynamic_cast<const TRepDBText*>(control.get()))
                    note(fieldProblem(text->Name, tableOf(text->DataSet), text->DataField));
    return found;
}

struct LayoutFieldsTest : ::testing::Test {
    TDMarsipstaf module;  // never opened: the names are checked, not the records
    ReferenceBinder references;
};

TEST_F(LayoutFieldsTest, EveryFieldAWindowNamesIsInItsTableWithTheSizeItsEntryAllows)
{
    std::vector<std::unique_ptr<TForm>> windows;
    windows.emplace_back(new TForm2(references, [this]() -> TDMarsipstaf& { return module; }));
    references.publish("DMarsipstaf");
    windows.emplace_back(new TForm3(module));
    windows.emplace_back(new TForm4(module));
    windows.emplace_back(new TForm5(module));
    windows.emplace_back(new TForm6(module));
    windows.emplace_back(new TForm7(module));
    windows.emplace_back(new TForm9(module));
    windows.emplace_back(new TForm10(module));
    windows.emplace_back(new TForm11(module));
    int controls = 0;
    for (const auto& window : windows) {
        SCOPED_TRACE(window->objectName().toStdString());
        auto* reportWindow = dynamic_cast<ReportWindow*>(window.get());
        EXPECT_THAT(problems(*window, reportWindow ? &reportWindow->Report1->report() : nullptr), ::testing::IsEmpty());
        controls += static_cast<int>(window->findChildren<TDBEdit*>().size() + window->findChildren<TDBGrid*>().size());
    }
    EXPECT_GT(controls, 20);  // the windows were bound and their controls seen
}

TEST_F(LayoutFieldsTest, AFieldOfAnotherTableOrATooLongEntryIsFound)
{
    QWidget form;
    auto* edit = new TDBEdit(&form);
    edit->setObjectName("DBEdit1");
    edit->SetDataSource(&module.DSdatapeg);
    edit->SetDataField(fields::Mutasi::Asal.name);
    auto* grid = new TDBGrid(&form);
    grid->setObjectName("DBGrid1");
    grid->SetDataSource(&module.DSmutasi);
    grid->AddColumn(fields::Mutasi::Pindah_Ke.name);
    grid->AddColumn(fields::Datapegawai::Alamat.name);
    EXPECT_THAT(problems(form, nullptr), ::testing::ElementsAre("DBEdit1: Datapegawai.db has no field 'Asal'",
                                                                "DBGrid1 column 1: Mutasi.db has no field 'Alamat'"));
    // The transfer table's NIP in the employee window: the name is there, the length is not.
    edit->SetDataField(fields::Mutasi::NIP.name);
    edit->setMaxLength(fields::Mutasi::NIP.size);
    EXPECT_THAT(problems(form, nullptr), ::testing::ElementsAre("DBEdit1: allows 11 characters, 'NIP' holds 10",
                                                                "DBGrid1 column 1: Mutasi.db has no field 'Alamat'"));
}

}  // namespace
