#include "TForm2.h"

#include "FormControls.h"
#include "GridColumns.h"
#include "TDMarsipstaf.h"
#include "TForm6.h"

TForm2* Form2 = nullptr;

namespace {
RecordWindowLayout employeeLayout()
{
    return {
        .table = "Tdatapeg",
        .dataSource = "DSdatapeg",
        .left = {.name = "Panel1",
                 .bounds = QRect(8, 8, 345, 289),
                 .rows = {{.label = "NIP", .control = "DBEdit1", .field = "NIP", .maxLength = 10},
                          {.label = "Kartu Pegawai", .control = "DBEdit2", .field = "Karpeg", .maxLength = 8},
                          {.label = "Nama Pegawai", .control = "DBEdit3", .field = "Nama_Pegawai"},
                          {.label = "Tempat Lahir", .control = "DBEdit4", .field = "Tempat_Lahir"},
                          {.label = "Tanggal Lahir", .control = "DBEdit5", .field = "Tanggal_Lahir", .maxLength = 10},
                          {.label = "Jenis Kelamin",
                           .control = "DBLookupComboBox1",
                           .field = "Kd_JK",
                           .listSource = "DSjk",
                           .keyField = "Kd_JK",
                           .listField = "JK"},
                          {.label = "Agama",
                           .control = "DBLookupComboBox2",
                           .field = "Kd_Agama",
                           .listSource = "DSagama",
                           .keyField = "Kd_Agama",
                           .listField = "Agama"},
                          {.label = "Alamat", .control = "DBEdit6", .field = "Alamat"}}},
        .right = {.name = "Panel2",
                  .bounds = QRect(363, 8, 305, 209),
                  .rows = {{.label = "Pangkat",
                            .control = "DBLookupComboBox3",
                            .field = "Kd_Pangkat",
                            .listSource = "DSpangkat",
                            .keyField = "Kd_Pangkat",
                            .listField = "Pangkat"},
                           {.label = "Golongan",
                            .control = "DBLookupComboBox4",
                            .field = "Kd_Gol",
                            .listSource = "DSgol",
                            .keyField = "Kd_Gol",
                            .listField = "Golongan"},
                           {.label = "Jabatan",
                            .control = "DBLookupComboBox5",
                            .field = "Kd_Jabatan",
                            .listSource = "DSjab",
                            .keyField = "Kd_Jabatan",
                            .listField = "Jabatan"},
                           {.label = "Pendidikan Formal",
                            .control = "DBLookupComboBox6",
                            .field = "Kd_Pend",
                            .listSource = "DSpf",
                            .keyField = "Kd_Pend",
                            .listField = "Pend_Formal"},
                           {.label = "Pendidikan Diklat", .control = "DBEdit7", .field = "Pendidikan_Diklat"},
                           {.label = "Status",
                            .control = "DBLookupComboBox7",
                            .field = "Kd_Status",
                            .listSource = "DSstatus",
                            .keyField = "Kd_Status",
                            .listField = "Status"}}},
        .entriesEnabledAtStart = true,
        .ordering = {.bounds = QRect(360, 224, 153, 73),
                     .items = {QStringLiteral("NIP"), QStringLiteral("Kartu Pegawai"), QStringLiteral("Nama Pegawai")},
                     .fields = {"NIP", "Karpeg", "Nama_Pegawai"}},
        .searchGroup = QRect(515, 224, 145, 73),
        .searchCaption = QStringLiteral("Cari Data"),
        .searchMaxLength = 10,
        .buttonRowTop = 304,
        .buttonLeft = 11,
        .buttonStep = 94,
        .grid = QRect(11, 340, 649, 81),
        .gridOptions = FormControls::rowSelectOptions(),
        .gridColumns = GridColumns::employees(),
        .serifGrid = true,
        .navigator = QRect(12, 428, 640, 25),
        .keyField = "NIP",
    };
}
}  // namespace

TForm2::TForm2(ReferenceBinder& references, DataModuleAccess module)
    : RecordWindow(QStringLiteral("Form2"), QStringLiteral("Form Data Pegawai"), QRect(89, 66, 684, 487),
                   employeeLayout())
{
    DBEdit1 = entry(1);
    DBEdit2 = entry(2);
    DBEdit3 = entry(3);
    DBEdit4 = entry(4);
    DBEdit5 = entry(5);
    DBEdit6 = entry(6);
    DBEdit7 = entry(7);
    DBLookupComboBox1 = lookupBox(1);
    DBLookupComboBox2 = lookupBox(2);
    DBLookupComboBox3 = lookupBox(3);
    DBLookupComboBox4 = lookupBox(4);
    DBLookupComboBox5 = lookupBox(5);
    DBLookupComboBox6 = lookupBox(6);
    DBLookupComboBox7 = lookupBox(7);

    for (const char* name : referencedSources) {
        const std::string source = name;
        sources_[source] = nullptr;
        references.refer("DMarsipstaf",
                         [this, source, module] { sources_[source] = module().DataSourceByName(source); });
    }
    references.refer("DMarsipstaf", [this, module] { bindTo(module()); });
}

TDataSource* TForm2::dataSource(const std::string& name) const
{
    auto found = sources_.find(name);
    return found == sources_.end() ? nullptr : found->second;
}

void TForm2::showSearchWindow()
{
    Form6->Show();
}
