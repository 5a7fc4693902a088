#include "TForm2.h"

#include "FormControls.h"
#include "TDMarsipstaf.h"
#include "TForm6.h"

TForm2* Form2 = nullptr;

namespace {
RecordWindowLayout employeeLayout()
{
    RecordWindowLayout layout{
        "Tdatapeg",
        "DSdatapeg",
        {"Panel1",
         QRect(8, 8, 345, 289),
         {{"NIP", "DBEdit1", "NIP", 10},
          {"Kartu Pegawai", "DBEdit2", "Karpeg", 8},
          {"Nama Pegawai", "DBEdit3", "Nama_Pegawai", 0},
          {"Tempat Lahir", "DBEdit4", "Tempat_Lahir", 0},
          {"Tanggal Lahir", "DBEdit5", "Tanggal_Lahir", 10},
          {"Jenis Kelamin", "DBLookupComboBox1", "Kd_JK", 0, "DSjk", "Kd_JK", "JK"},
          {"Agama", "DBLookupComboBox2", "Kd_Agama", 0, "DSagama", "Kd_Agama", "Agama"},
          {"Alamat", "DBEdit6", "Alamat", 0}}},
        {"Panel2",
         QRect(363, 8, 305, 209),
         {{"Pangkat", "DBLookupComboBox3", "Kd_Pangkat", 0, "DSpangkat", "Kd_Pangkat", "Pangkat"},
          {"Golongan", "DBLookupComboBox4", "Kd_Gol", 0, "DSgol", "Kd_Gol", "Golongan"},
          {"Jabatan", "DBLookupComboBox5", "Kd_Jabatan", 0, "DSjab", "Kd_Jabatan", "Jabatan"},
          {"Pendidikan Formal", "DBLookupComboBox6", "Kd_Pend", 0, "DSpf", "Kd_Pend", "Pend_Formal"},
          {"Pendidikan Diklat", "DBEdit7", "Pendidikan_Diklat", 0},
          {"Status", "DBLookupComboBox7", "Kd_Status", 0, "DSstatus", "Kd_Status", "Status"}}},
        true,
        QRect(360, 224, 153, 73),
        {QStringLiteral("NIP"), QStringLiteral("Kartu Pegawai"), QStringLiteral("Nama Pegawai")},
        {"NIP", "Karpeg", "Nama_Pegawai"},
        QRect(515, 224, 145, 73),
        QStringLiteral("Cari Data"),
        10,
        304,
        11,
        94,
        QRect(11, 340, 649, 81),
        FormControls::rowSelectOptions(),
        {"NIP", "Karpeg", "Nama_Pegawai", "Tempat_Lahir", "Tanggal_Lahir", "Jenis Kelamin", "Agama", "Alamat",
         "Pangkat", "Golongan", "Jabatan", "Pendidikan Formal", "Pendidikan_Diklat", "Status"},
        true,
        QRect(12, 428, 640, 25),
        "NIP"};
    return layout;
}
}

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
