#include "TForm2.h"

#include "FormControls.h"
#include "GridColumns.h"
#include "TDMarsipstaf.h"
#include "TForm6.h"
#include "TableFields.h"

TForm2* Form2 = nullptr;

namespace {
using namespace fields;

RecordWindowLayout employeeLayout()
{
    return {
        .table = "Tdatapeg",
        .dataSource = "DSdatapeg",
        .left = {.name = "Panel1",
                 .bounds = QRect(8, 8, 345, 289),
                 .rows = {{.label = "NIP", .control = "DBEdit1", .field = Datapegawai::NIP, .limitToField = true},
                          {.label = "Kartu Pegawai",
                           .control = "DBEdit2",
                           .field = Datapegawai::Karpeg,
                           .limitToField = true},
                          {.label = "Nama Pegawai", .control = "DBEdit3", .field = Datapegawai::Nama_Pegawai},
                          {.label = "Tempat Lahir", .control = "DBEdit4", .field = Datapegawai::Tempat_Lahir},
                          {.label = "Tanggal Lahir",
                           .control = "DBEdit5",
                           .field = Datapegawai::Tanggal_Lahir,
                           .limitToField = true},
                          {.label = "Jenis Kelamin",
                           .control = "DBLookupComboBox1",
                           .field = Datapegawai::Kd_JK,
                           .listSource = "DSjk",
                           .keyField = JK::Kd_JK,
                           .listField = JK::JK},
                          {.label = "Agama",
                           .control = "DBLookupComboBox2",
                           .field = Datapegawai::Kd_Agama,
                           .listSource = "DSagama",
                           .keyField = Agama::Kd_Agama,
                           .listField = Agama::Agama},
                          {.label = "Alamat", .control = "DBEdit6", .field = Datapegawai::Alamat}}},
        .right =
            {.name = "Panel2",
             .bounds = QRect(363, 8, 305, 209),
             .rows = {{.label = "Pangkat",
                       .control = "DBLookupComboBox3",
                       .field = Datapegawai::Kd_Pangkat,
                       .listSource = "DSpangkat",
                       .keyField = Pangkat::Kd_Pangkat,
                       .listField = Pangkat::Pangkat},
                      {.label = "Golongan",
                       .control = "DBLookupComboBox4",
                       .field = Datapegawai::Kd_Gol,
                       .listSource = "DSgol",
                       .keyField = Golongan::Kd_Gol,
                       .listField = Golongan::Golongan},
                      {.label = "Jabatan",
                       .control = "DBLookupComboBox5",
                       .field = Datapegawai::Kd_Jabatan,
                       .listSource = "DSjab",
                       .keyField = Jabatan::Kd_Jabatan,
                       .listField = Jabatan::Jabatan},
                      {.label = "Pendidikan Formal",
                       .control = "DBLookupComboBox6",
                       .field = Datapegawai::Kd_Pend,
                       .listSource = "DSpf",
                       .keyField = Pend_Formal::Kd_Pend,
                       .listField = Pend_Formal::Pend_Formal},
                      {.label = "Pendidikan Diklat", .control = "DBEdit7", .field = Datapegawai::Pendidikan_Diklat},
                      {.label = "Status",
                       .control = "DBLookupComboBox7",
                       .field = Datapegawai::Kd_Status,
                       .listSource = "DSstatus",
                       .keyField = Status::Kd_Status,
                       .listField = Status::Status}}},
        .entriesEnabledAtStart = true,
        .ordering = {.bounds = QRect(360, 224, 153, 73),
                     .items = {QStringLiteral("NIP"), QStringLiteral("Kartu Pegawai"), QStringLiteral("Nama Pegawai")},
                     .fields = {Datapegawai::NIP, Datapegawai::Karpeg, Datapegawai::Nama_Pegawai}},
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
        .keyField = Datapegawai::NIP,
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
