#include "TDMarsipstaf.h"

#include <memory>

namespace {

TStringField* text(TTable& table, const std::string& object, const std::string& name, int size,
                   const std::string& mask = {})
{
    auto field = std::make_unique<TStringField>(name, size);
    field->Name = object;
    field->EditMask = mask;
    return static_cast<TStringField*>(table.AddField(std::move(field)));
}

TDateField* date(TTable& table, const std::string& object, const std::string& name, const std::string& mask)
{
    auto field = std::make_unique<TDateField>(name);
    field->Name = object;
    field->EditMask = mask;
    return static_cast<TDateField*>(table.AddField(std::move(field)));
}

TStringField* lookup(TTable& table, const std::string& object, const std::string& name, const std::string& keyField,
                     TTable& codes, const std::string& codeKey, const std::string& result)
{
    TStringField* field = text(table, object, name, 20);
    field->FieldKind = TFieldKind::fkLookup;
    field->KeyFields = keyField;
    field->LookupDataSet = &codes;
    field->LookupKeyFields = codeKey;
    field->LookupResultField = result;
    return field;
}

}  // namespace

TDMarsipstaf::TDMarsipstaf()
{
    TDataSource* sources[] = {&DSagama, &DSdatapeg, &DSgol, &DSjab, &DSjk, &DSmutasi, &DSpangkat, &DSpf, &DSstatus};
    const char* files[] = {"Agama.db",  "Datapegawai.db", "Golongan.db",    "Jabatan.db", "JK.db",
                           "Mutasi.db", "Pangkat.db",     "Pend_Formal.db", "Status.db"};
    std::vector<TTable*> tables = Tables();
    for (size_t i = 0; i < tables.size(); ++i) {
        tables[i]->DatabaseName = DatabaseAlias;
        tables[i]->TableName = files[i];
        sources[i]->SetDataSet(tables[i]);
    }
    DeclareEmployeeFields();
    DeclareTransferFields();
}

TDMarsipstaf::~TDMarsipstaf()
{
    for (TTable* table : Tables())
        table->Close();
}

void TDMarsipstaf::DeclareEmployeeFields()
{
    TTable& t = Tdatapeg;
    TdatapegNIP = text(t, "TdatapegNIP", "NIP", 10, "0000000000;1;_");
    // The key: no record with a blank one is stored, by "Simpan" or by a move.
    TdatapegNIP->Required = true;
    TdatapegKarpeg = text(t, "TdatapegKarpeg", "Karpeg", 8, "00000000;1;_");
    TdatapegNama_Pegawai = text(t, "TdatapegNama_Pegawai", "Nama_Pegawai", 25);
    TdatapegTempat_Lahir = text(t, "TdatapegTempat_Lahir", "Tempat_Lahir", 20);
    TdatapegTanggal_Lahir = date(t, "TdatapegTanggal_Lahir", "Tanggal_Lahir", "!99/99/9999;1;_");
    TdatapegKd_JK = text(t, "TdatapegKd_JK", "Kd_JK", 2);
    TdatapegJenisKelamin = lookup(t, "TdatapegJenisKelamin", "Jenis Kelamin", "Kd_JK", Tjk, "Kd_JK", "JK");
    TdatapegKd_Agama = text(t, "TdatapegKd_Agama", "Kd_Agama", 2);
    TdatapegAgama = lookup(t, "TdatapegAgama", "Agama", "Kd_Agama", Tagama, "Kd_Agama", "Agama");
    TdatapegAlamat = text(t, "TdatapegAlamat", "Alamat", 30);
    TdatapegKd_Pangkat = text(t, "TdatapegKd_Pangkat", "Kd_Pangkat", 2);
    TdatapegPangkat = lookup(t, "TdatapegPangkat", "Pangkat", "Kd_Pangkat", Tpangkat, "Kd_Pangkat", "Pangkat");
    TdatapegKd_Gol = text(t, "TdatapegKd_Gol", "Kd_Gol", 2);
    TdatapegGolongan = lookup(t, "TdatapegGolongan", "Golongan", "Kd_Gol", Tgol, "Kd_Gol", "Golongan");
    TdatapegKd_Jabatan = text(t, "TdatapegKd_Jabatan", "Kd_Jabatan", 2);
    TdatapegJabatan = lookup(t, "TdatapegJabatan", "Jabatan", "Kd_Jabatan", Tjab, "Kd_Jabatan", "Jabatan");
    TdatapegKd_Pend = text(t, "TdatapegKd_Pend", "Kd_Pend", 2);
    TdatapegPendidikanFormal =
        lookup(t, "TdatapegPendidikanFormal", "Pendidikan Formal", "Kd_Pend", Tpf, "Kd_Pend", "Pend_Formal");
    TdatapegPendidikan_Diklat = text(t, "TdatapegPendidikan_Diklat", "Pendidikan_Diklat", 25);
    TdatapegKd_Status = text(t, "TdatapegKd_Status", "Kd_Status", 2);
    TdatapegStatus = lookup(t, "TdatapegStatus", "Status", "Kd_Status", Tstatus, "Kd_Status", "Status");
}

void TDMarsipstaf::DeclareTransferFields()
{
    TTable& t = Tmutasi;
    TmutasiNo_SKM = text(t, "TmutasiNo_SKM", "No_SKM", 20, "!A-9999-AA.99.99-9999;1;_");
    TmutasiNo_SKM->Required = true;  // the key, as TdatapegNIP
    TmutasiNIP = text(t, "TmutasiNIP", "NIP", 11, "!99999999999;1;_");
    TmutasiNama_Pegawai = text(t, "TmutasiNama_Pegawai", "Nama_Pegawai", 30);
    TmutasiKd_Golongan = text(t, "TmutasiKd_Golongan", "Kd_Golongan", 2);
    TmutasiGolongan = lookup(t, "TmutasiGolongan", "Golongan", "Kd_Golongan", Tgol, "Kd_Gol", "Golongan");
    TmutasiKd_Pangkat = text(t, "TmutasiKd_Pangkat", "Kd_Pangkat", 2);
    TmutasiPangkat = lookup(t, "TmutasiPangkat", "Pangkat", "Kd_Pangkat", Tpangkat, "Kd_Pangkat", "Pangkat");
    TmutasiKd_Jabatan = text(t, "TmutasiKd_Jabatan", "Kd_Jabatan", 2);
    TmutasiJabatan = lookup(t, "TmutasiJabatan", "Jabatan", "Kd_Jabatan", Tjab, "Kd_Jabatan", "Jabatan");
    TmutasiAsal = text(t, "TmutasiAsal", "Asal", 50);
    TmutasiPindah_Ke = text(t, "TmutasiPindah_Ke", "Pindah_Ke", 50);
    TmutasiTMT = date(t, "TmutasiTMT", "TMT", "!99/99/00;1;_");
}

void TDMarsipstaf::Loaded()
{
    for (TTable* table : Tables())
        table->Open();
}

std::vector<TTable*> TDMarsipstaf::Tables()
{
    return {&Tagama, &Tdatapeg, &Tgol, &Tjab, &Tjk, &Tmutasi, &Tpangkat, &Tpf, &Tstatus};
}

TDataSource* TDMarsipstaf::DataSourceByName(const std::string& name)
{
    for (TDataSource* source : {&DSagama, &DSdatapeg, &DSgol, &DSjab, &DSjk, &DSmutasi, &DSpangkat, &DSpf, &DSstatus})
        if (source->Name == name)
            return source;
    return nullptr;
}

TTable* TDMarsipstaf::TableByName(const std::string& name)
{
    for (TTable* table : Tables())
        if (table->Name() == name)
            return table;
    return nullptr;
}
