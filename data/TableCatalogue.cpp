#include "TableCatalogue.h"

#include "TableFields.h"

#include <algorithm>
#include <strings.h>

namespace {

CatalogueIndex index(const std::string& name, const CatalogueField& field, bool primary, bool caseInsensitive = false)
{
    return {name, field.name, primary, caseInsensitive};
}

CatalogueTable codeTable(const char* object, const char* dataSource, const CatalogueField& key,
                         const CatalogueField& text, std::vector<std::vector<std::string>> rows)
{
    CatalogueTable table;
    table.tableName = key.table;
    table.object = object;
    table.dataSource = dataSource;
    table.fields = {key, text};
    table.indexes = {index("Primary", key, true)};
    table.rows = std::move(rows);
    return table;
}

CatalogueTable employees()
{
    using namespace fields::Datapegawai;
    CatalogueTable table;
    table.tableName = file;
    table.object = "Tdatapeg";
    table.dataSource = "DSdatapeg";
    table.declaresFields = true;
    table.fields = {NIP,        Karpeg,  Nama_Pegawai, Tempat_Lahir,     Tanggal_Lahir,     Kd_JK,     JenisKelamin,
                    Kd_Agama,   Agama,   Alamat,       Kd_Pangkat,       Pangkat,           Kd_Gol,    Golongan,
                    Kd_Jabatan, Jabatan, Kd_Pend,      PendidikanFormal, Pendidikan_Diklat, Kd_Status, Status};
    table.indexes = {index("Primary", NIP, true), index("Karpeg", Karpeg, false),
                     index("Nama_Pegawai", Nama_Pegawai, false, true)};
    return table;
}

CatalogueTable transfers()
{
    using namespace fields::Mutasi;
    CatalogueTable table;
    table.tableName = file;
    table.object = "Tmutasi";
    table.dataSource = "DSmutasi";
    table.declaresFields = true;
    table.fields = {No_SKM,  NIP,        Nama_Pegawai, Kd_Golongan, Golongan,  Kd_Pangkat,
                    Pangkat, Kd_Jabatan, Jabatan,      Asal,        Pindah_Ke, TMT};
    table.indexes = {index("Primary", No_SKM, true), index("NIP", NIP, false),
                     index("Nama_Pegawai", Nama_Pegawai, false, true)};
    return table;
}

std::vector<CatalogueTable> makeTables()
{
    return {
        codeTable("Tagama", "DSagama", fields::Agama::Kd_Agama, fields::Agama::Agama,
                  {{"01", "Islam"},
                   {"02", "Kristen Protestan"},
                   {"03", "Katolik"},
                   {"04", "Hindu"},
                   {"05", "Buddha"},
                   {"06", "Khonghucu"}}),
        employees(),
        codeTable("Tgol", "DSgol", fields::Golongan::Kd_Gol, fields::Golongan::Golongan,
                  {{"1A", "I/a"},
                   {"1B", "I/b"},
                   {"1C", "I/c"},
                   {"1D", "I/d"},
                   {"2A", "II/a"},
                   {"2B", "II/b"},
                   {"2C", "II/c"},
                   {"2D", "II/d"},
                   {"3A", "III/a"},
                   {"3B", "III/b"},
                   {"3C", "III/c"},
                   {"3D", "III/d"},
                   {"4A", "IV/a"},
                   {"4B", "IV/b"},
                   {"4C", "IV/c"},
                   {"4D", "IV/d"},
                   {"4E", "IV/e"}}),
        codeTable("Tjab", "DSjab", fields::Jabatan::Kd_Jabatan, fields::Jabatan::Jabatan,
                  {{"01", "Kepala Kantor"},
                   {"02", "Kasubbag Tata Usaha"},
                   {"03", "Kaur Kepegawaian"},
                   {"04", "Kaur Keuangan"},
                   {"05", "Kaur Umum"},
                   {"06", "Kepala Seksi"},
                   {"07", "Kepala Subseksi"},
                   {"08", "Kepala Pengamanan"},
                   {"09", "Kepala Regu Jaga"},
                   {"10", "Petugas Pengamanan"},
                   {"11", "Analis Kepegawaian"},
                   {"12", "Bendahara"},
                   {"13", "Staf Administrasi"},
                   {"14", "Pengemudi"}}),
        codeTable("Tjk", "DSjk", fields::JK::Kd_JK, fields::JK::JK, {{"LK", "Laki-laki"}, {"PR", "Perempuan"}}),
        transfers(),
        codeTable("Tpangkat", "DSpangkat", fields::Pangkat::Kd_Pangkat, fields::Pangkat::Pangkat,
                  {{"1A", "Juru Muda"},
                   {"1B", "Juru Muda Tk. I"},
                   {"1C", "Juru"},
                   {"1D", "Juru Tk. I"},
                   {"2A", "Pengatur Muda"},
                   {"2B", "Pengatur Muda Tk. I"},
                   {"2C", "Pengatur"},
                   {"2D", "Pengatur Tk. I"},
                   {"3A", "Penata Muda"},
                   {"3B", "Penata Muda Tk. I"},
                   {"3C", "Penata"},
                   {"3D", "Penata Tk. I"},
                   {"4A", "Pembina"},
                   {"4B", "Pembina Tk. I"},
                   {"4C", "Pembina Utama Muda"},
                   {"4D", "Pembina Utama Madya"},
                   {"4E", "Pembina Utama"}}),
        codeTable("Tpf", "DSpf", fields::Pend_Formal::Kd_Pend, fields::Pend_Formal::Pend_Formal,
                  {{"01", "SD"},
                   {"02", "SMP"},
                   {"03", "SMA/SMK"},
                   {"04", "D1"},
                   {"05", "D2"},
                   {"06", "D3"},
                   {"07", "D4"},
                   {"08", "S1"},
                   {"09", "S2"},
                   {"10", "S3"}}),
        codeTable("Tstatus", "DSstatus", fields::Status::Kd_Status, fields::Status::Status,
                  {{"01", "CPNS"}, {"02", "PNS"}, {"03", "PPPK"}, {"04", "Pensiun"}}),
    };
}

}  // namespace

TableDescription CatalogueTable::description(int version) const
{
    TableDescription description;
    description.tableName = tableName;
    for (const CatalogueField& field : fields) {
        if (field.isLookup() || field.since > version)
            continue;
        FieldDescription column;
        column.name = field.name;
        column.type = field.type;
        column.typeName = field.type == ColumnType::Date ? "Date" : "String";
        column.size = field.type == ColumnType::Date ? 0 : field.size;
        description.fields.push_back(column);
    }
    for (const CatalogueIndex& from : indexes) {
        IndexDescription index;
        index.name = from.name;
        index.fields = {from.field};
        index.primary = from.primary;
        index.unique = from.primary;
        index.caseInsensitive = from.caseInsensitive;
        description.indexes.push_back(index);
    }
    return description;
}

int CatalogueTable::newestVersion() const
{
    int newest = 1;
    for (const CatalogueField& field : fields)
        newest = std::max(newest, field.since);
    return newest;
}

const CatalogueField* CatalogueTable::field(const std::string& name) const
{
    for (const CatalogueField& field : fields)
        if (strcasecmp(field.name, name.c_str()) == 0)
            return &field;
    return nullptr;
}

const std::vector<CatalogueTable>& TableCatalogue::tables()
{
    static const std::vector<CatalogueTable> tables = makeTables();
    return tables;
}

const CatalogueTable* TableCatalogue::byFile(const std::string& tableName)
{
    for (const CatalogueTable& table : tables())
        if (table.tableName == tableName)
            return &table;
    return nullptr;
}

const CatalogueTable* TableCatalogue::byObject(const std::string& object)
{
    for (const CatalogueTable& table : tables())
        if (table.object == object)
            return &table;
    return nullptr;
}

SchemaStep TableCatalogue::columnsOf(int to)
{
    SchemaStep step;
    step.from = to - 1;
    for (const CatalogueTable& table : tables())
        for (const CatalogueField& field : table.fields)
            if (field.since == to && !field.isLookup())
                step.text += std::string(step.text.empty() ? "column " : ", column ") + field.name + " added to " +
                             table.tableName;
    step.apply = [to](SchemaChange& change) {
        const CatalogueTable* table = byFile(change.tableName());
        if (!table)
            return EngineStatus::success();
        TableDescription added = table->description(to);
        EngineStatus status;
        for (const FieldDescription& column : added.fields)
            if (status.ok() && table->field(column.name)->since == to)
                status = change.addColumn(column);
        return status;
    };
    return step;
}
