#include "TDMarsipstaf.h"

#include "TableCatalogue.h"
#include "TableFields.h"

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<TField> makeField(const CatalogueField& declared, int size)
{
    if (declared.type == ColumnType::Date)
        return std::make_unique<TDateField>(declared.name);
    return std::make_unique<TStringField>(declared.name, size);
}

template <class FieldType>
FieldType* declared(const TTable& table, const CatalogueField& from)
{
    for (const auto& field : table.Fields())
        if (field->Name == from.object)
            return static_cast<FieldType*>(field.get());
    return nullptr;
}

}  // namespace

TDMarsipstaf::TDMarsipstaf()
{
    for (TTable* table : Tables()) {
        const CatalogueTable& entry = *TableCatalogue::byObject(table->Name());
        table->DatabaseName = DatabaseAlias;
        table->TableName = entry.tableName;
        DataSourceByName(entry.dataSource)->SetDataSet(table);
    }
    for (TTable* table : Tables())
        DeclareFields(*table);
    TdatapegNIP = declared<TStringField>(Tdatapeg, fields::Datapegawai::NIP);
    TdatapegKarpeg = declared<TStringField>(Tdatapeg, fields::Datapegawai::Karpeg);
    TdatapegNama_Pegawai = declared<TStringField>(Tdatapeg, fields::Datapegawai::Nama_Pegawai);
    TdatapegTempat_Lahir = declared<TStringField>(Tdatapeg, fields::Datapegawai::Tempat_Lahir);
    TdatapegTanggal_Lahir = declared<TDateField>(Tdatapeg, fields::Datapegawai::Tanggal_Lahir);
    TdatapegKd_JK = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_JK);
    TdatapegJenisKelamin = declared<TStringField>(Tdatapeg, fields::Datapegawai::JenisKelamin);
    TdatapegKd_Agama = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Agama);
    TdatapegAgama = declared<TStringField>(Tdatapeg, fields::Datapegawai::Agama);
    TdatapegAlamat = declared<TStringField>(Tdatapeg, fields::Datapegawai::Alamat);
    TdatapegKd_Pangkat = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Pangkat);
    TdatapegPangkat = declared<TStringField>(Tdatapeg, fields::Datapegawai::Pangkat);
    TdatapegKd_Gol = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Gol);
    TdatapegGolongan = declared<TStringField>(Tdatapeg, fields::Datapegawai::Golongan);
    TdatapegKd_Jabatan = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Jabatan);
    TdatapegJabatan = declared<TStringField>(Tdatapeg, fields::Datapegawai::Jabatan);
    TdatapegKd_Pend = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Pend);
    TdatapegPendidikanFormal = declared<TStringField>(Tdatapeg, fields::Datapegawai::PendidikanFormal);
    TdatapegPendidikan_Diklat = declared<TStringField>(Tdatapeg, fields::Datapegawai::Pendidikan_Diklat);
    TdatapegKd_Status = declared<TStringField>(Tdatapeg, fields::Datapegawai::Kd_Status);
    TdatapegStatus = declared<TStringField>(Tdatapeg, fields::Datapegawai::Status);
    TmutasiNo_SKM = declared<TStringField>(Tmutasi, fields::Mutasi::No_SKM);
    TmutasiNIP = declared<TStringField>(Tmutasi, fields::Mutasi::NIP);
    TmutasiNama_Pegawai = declared<TStringField>(Tmutasi, fields::Mutasi::Nama_Pegawai);
    TmutasiKd_Golongan = declared<TStringField>(Tmutasi, fields::Mutasi::Kd_Golongan);
    TmutasiGolongan = declared<TStringField>(Tmutasi, fields::Mutasi::Golongan);
    TmutasiKd_Pangkat = declared<TStringField>(Tmutasi, fields::Mutasi::Kd_Pangkat);
    TmutasiPangkat = declared<TStringField>(Tmutasi, fields::Mutasi::Pangkat);
    TmutasiKd_Jabatan = declared<TStringField>(Tmutasi, fields::Mutasi::Kd_Jabatan);
    TmutasiJabatan = declared<TStringField>(Tmutasi, fields::Mutasi::Jabatan);
    TmutasiAsal = declared<TStringField>(Tmutasi, fields::Mutasi::Asal);
    TmutasiPindah_Ke = declared<TStringField>(Tmutasi, fields::Mutasi::Pindah_Ke);
    TmutasiTMT = declared<TDateField>(Tmutasi, fields::Mutasi::TMT);
}

TDMarsipstaf::~TDMarsipstaf()
{
    for (TTable* table : Tables())
        table->Close();
}

// The record tables declare their fields as the catalogue gives them; the
// code tables open with their files' columns.
void TDMarsipstaf::DeclareFields(TTable& table)
{
    const CatalogueTable& entry = *TableCatalogue::byObject(table.Name());
    if (!entry.declaresFields)
        return;
    for (const CatalogueField& from : entry.fields) {
        std::unique_ptr<TField> field = makeField(from, from.size);
        field->Name = from.object;
        field->EditMask = from.mask;
        field->Required = from.required;
        field->DisplayLabel = from.label;
        if (from.isLookup()) {
            field->FieldKind = TFieldKind::fkLookup;
            field->KeyFields = from.keyField;
            field->LookupDataSet = TableByName(TableCatalogue::byFile(from.lookupTable)->object);
            field->LookupKeyFields = from.lookupKey;
            field->LookupResultField = from.lookupResult;
        }
        table.AddField(std::move(field));
    }
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

std::vector<std::string> TDMarsipstaf::OpeningOrder()
{
    std::vector<std::string> order;
    auto add = [&order](const std::string& file) {
        if (std::find(order.begin(), order.end(), file) == order.end())
            order.push_back(file);
    };
    for (const char* object : {"Tagama", "Tdatapeg", "Tgol", "Tjab", "Tjk", "Tmutasi", "Tpangkat", "Tpf", "Tstatus"}) {
        const CatalogueTable& table = *TableCatalogue::byObject(object);
        add(table.tableName);
        for (const CatalogueField& field : table.fields)
            if (field.isLookup())
                add(field.lookupTable);
    }
    return order;
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
