#include "TDMarsipstaf.h"

#include "TableCatalogue.h"

#include <memory>

namespace {

std::unique_ptr<TField> makeField(const CatalogueField& declared, int size)
{
    if (declared.type == ColumnType::Date)
        return std::make_unique<TDateField>(declared.name);
    return std::make_unique<TStringField>(declared.name, size);
}

template <class FieldType>
FieldType* declared(const TTable& table, const std::string& object)
{
    for (const auto& field : table.Fields())
        if (field->Name == object)
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
    TdatapegNIP = declared<TStringField>(Tdatapeg, "TdatapegNIP");
    TdatapegKarpeg = declared<TStringField>(Tdatapeg, "TdatapegKarpeg");
    TdatapegNama_Pegawai = declared<TStringField>(Tdatapeg, "TdatapegNama_Pegawai");
    TdatapegTempat_Lahir = declared<TStringField>(Tdatapeg, "TdatapegTempat_Lahir");
    TdatapegTanggal_Lahir = declared<TDateField>(Tdatapeg, "TdatapegTanggal_Lahir");
    TdatapegKd_JK = declared<TStringField>(Tdatapeg, "TdatapegKd_JK");
    TdatapegJenisKelamin = declared<TStringField>(Tdatapeg, "TdatapegJenisKelamin");
    TdatapegKd_Agama = declared<TStringField>(Tdatapeg, "TdatapegKd_Agama");
    TdatapegAgama = declared<TStringField>(Tdatapeg, "TdatapegAgama");
    TdatapegAlamat = declared<TStringField>(Tdatapeg, "TdatapegAlamat");
    TdatapegKd_Pangkat = declared<TStringField>(Tdatapeg, "TdatapegKd_Pangkat");
    TdatapegPangkat = declared<TStringField>(Tdatapeg, "TdatapegPangkat");
    TdatapegKd_Gol = declared<TStringField>(Tdatapeg, "TdatapegKd_Gol");
    TdatapegGolongan = declared<TStringField>(Tdatapeg, "TdatapegGolongan");
    TdatapegKd_Jabatan = declared<TStringField>(Tdatapeg, "TdatapegKd_Jabatan");
    TdatapegJabatan = declared<TStringField>(Tdatapeg, "TdatapegJabatan");
    TdatapegKd_Pend = declared<TStringField>(Tdatapeg, "TdatapegKd_Pend");
    TdatapegPendidikanFormal = declared<TStringField>(Tdatapeg, "TdatapegPendidikanFormal");
    TdatapegPendidikan_Diklat = declared<TStringField>(Tdatapeg, "TdatapegPendidikan_Diklat");
    TdatapegKd_Status = declared<TStringField>(Tdatapeg, "TdatapegKd_Status");
    TdatapegStatus = declared<TStringField>(Tdatapeg, "TdatapegStatus");
    TmutasiNo_SKM = declared<TStringField>(Tmutasi, "TmutasiNo_SKM");
    TmutasiNIP = declared<TStringField>(Tmutasi, "TmutasiNIP");
    TmutasiNama_Pegawai = declared<TStringField>(Tmutasi, "TmutasiNama_Pegawai");
    TmutasiKd_Golongan = declared<TStringField>(Tmutasi, "TmutasiKd_Golongan");
    TmutasiGolongan = declared<TStringField>(Tmutasi, "TmutasiGolongan");
    TmutasiKd_Pangkat = declared<TStringField>(Tmutasi, "TmutasiKd_Pangkat");
    TmutasiPangkat = declared<TStringField>(Tmutasi, "TmutasiPangkat");
    TmutasiKd_Jabatan = declared<TStringField>(Tmutasi, "TmutasiKd_Jabatan");
    TmutasiJabatan = declared<TStringField>(Tmutasi, "TmutasiJabatan");
    TmutasiAsal = declared<TStringField>(Tmutasi, "TmutasiAsal");
    TmutasiPindah_Ke = declared<TStringField>(Tmutasi, "TmutasiPindah_Ke");
    TmutasiTMT = declared<TDateField>(Tmutasi, "TmutasiTMT");
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
