#include "TableCatalogue.h"

#include <algorithm>
#include <strings.h>

namespace {

CatalogueField text(const std::string& name, int size, const std::string& object = {}, const std::string& mask = {})
{
    CatalogueField field;
    field.name = name;
    field.object = object;
    field.size = size;
    field.mask = mask;
    return field;
}

CatalogueField date(const std::string& name, const std::string& object, const std::string& mask)
{
    CatalogueField field;
    field.name = name;
    field.object = object;
    field.type = ColumnType::Date;
    field.mask = mask;
    return field;
}

CatalogueField required(CatalogueField field)
{
    field.required = true;
    return field;
}

// A lookup field: the text of codeTable's result column for the code in keyField.
CatalogueField lookup(const std::string& object, const std::string& name, const std::string& keyField,
                      const std::string& codeTable, const std::string& codeKey, const std::string& result)
{
    CatalogueField field = text(name, 20, object);
    field.keyField = keyField;
    field.lookupTable = codeTable;
    field.lookupKey = codeKey;
    field.lookupResult = result;
    return field;
}

CatalogueIndex index(const std::string& name, const std::string& field, bool primary, bool caseInsensitive = false)
{
    return {name, field, primary, caseInsensitive};
}

CatalogueTable codeTable(const std::string& tableName, const std::string& object, const std::string& dataSource,
                         const std::string& key, const std::string& textColumn, int textSize,
                         std::vector<std::vector<std::string>> rows)
{
    CatalogueTable table;
    table.tableName = tableName;
    table.object = object;
    table.dataSource = dataSource;
    table.fields = {text(key, 2), text(textColumn, textSize)};
    table.indexes = {index("Primary", key, true)};
    table.rows = std::move(rows);
    return table;
}

CatalogueTable employees()
{
    CatalogueTable table;
    table.tableName = "Datapegawai.db";
    table.object = "Tdatapeg";
    table.dataSource = "DSdatapeg";
    table.declaresFields = true;
    table.fields = {
        // The key: no record with a blank one is stored, by "Simpan" or by a move.
        required(text("NIP", 10, "TdatapegNIP", "0000000000;1;_")),
        text("Karpeg", 8, "TdatapegKarpeg", "00000000;1;_"),
        text("Nama_Pegawai", 25, "TdatapegNama_Pegawai"),
        text("Tempat_Lahir", 20, "TdatapegTempat_Lahir"),
        date("Tanggal_Lahir", "TdatapegTanggal_Lahir", "!99/99/9999;1;_"),
        text("Kd_JK", 2, "TdatapegKd_JK"),
        lookup("TdatapegJenisKelamin", "Jenis Kelamin", "Kd_JK", "JK.db", "Kd_JK", "JK"),
        text("Kd_Agama", 2, "TdatapegKd_Agama"),
        lookup("TdatapegAgama", "Agama", "Kd_Agama", "Agama.db", "Kd_Agama", "Agama"),
        text("Alamat", 30, "TdatapegAlamat"),
        text("Kd_Pangkat", 2, "TdatapegKd_Pangkat"),
        lookup("TdatapegPangkat", "Pangkat", "Kd_Pangkat", "Pangkat.db", "Kd_Pangkat", "Pangkat"),
        text("Kd_Gol", 2, "TdatapegKd_Gol"),
        lookup("TdatapegGolongan", "Golongan", "Kd_Gol", "Golongan.db", "Kd_Gol", "Golongan"),
        text("Kd_Jabatan", 2, "TdatapegKd_Jabatan"),
        lookup("TdatapegJabatan", "Jabatan", "Kd_Jabatan", "Jabatan.db", "Kd_Jabatan", "Jabatan"),
        text("Kd_Pend", 2, "TdatapegKd_Pend"),
        lookup("TdatapegPendidikanFormal", "Pendidikan Formal", "Kd_Pend", "Pend_Formal.db", "Kd_Pend", "Pend_Formal"),
        text("Pendidikan_Diklat", 25, "TdatapegPendidikan_Diklat"),
        text("Kd_Status", 2, "TdatapegKd_Status"),
        lookup("TdatapegStatus", "Status", "Kd_Status", "Status.db", "Kd_Status", "Status"),
    };
    table.indexes = {index("Primary", "NIP", true), index("Karpeg", "Karpeg", false),
                     index("Nama_Pegawai", "Nama_Pegawai", false, true)};
    return table;
}

CatalogueTable transfers()
{
    CatalogueTable table;
    table.tableName = "Mutasi.db";
    table.object = "Tmutasi";
    table.dataSource = "DSmutasi";
    table.declaresFields = true;
    table.fields = {
        required(text("No_SKM", 20, "TmutasiNo_SKM", "!A-9999-AA.99.99-9999;1;_")),  // the key, as NIP
        text("NIP", 11, "TmutasiNIP", "!99999999999;1;_"),
        text("Nama_Pegawai", 30, "TmutasiNama_Pegawai"),
        text("Kd_Golongan", 2, "TmutasiKd_Golongan"),
        lookup("TmutasiGolongan", "Golongan", "Kd_Golongan", "Golongan.db", "Kd_Gol", "Golongan"),
        text("Kd_Pangkat", 2, "TmutasiKd_Pangkat"),
        lookup("TmutasiPangkat", "Pangkat", "Kd_Pangkat", "Pangkat.db", "Kd_Pangkat", "Pangkat"),
        text("Kd_Jabatan", 2, "TmutasiKd_Jabatan"),
        lookup("TmutasiJabatan", "Jabatan", "Kd_Jabatan", "Jabatan.db", "Kd_Jabatan", "Jabatan"),
        text("Asal", 50, "TmutasiAsal"),
        text("Pindah_Ke", 50, "TmutasiPindah_Ke"),
        date("TMT", "TmutasiTMT", "!99/99/00;1;_"),
    };
    table.indexes = {index("Primary", "No_SKM", true), index("NIP", "NIP", false),
                     index("Nama_Pegawai", "Nama_Pegawai", false, true)};
    return table;
}

std::vector<CatalogueTable> makeTables()
{
    return {
        codeTable("Agama.db", "Tagama", "DSagama", "Kd_Agama", "Agama", 20,
                  {{"01", "Islam"},
                   {"02", "Kristen Protestan"},
                   {"03", "Katolik"},
                   {"04", "Hindu"},
                   {"05", "Buddha"},
                   {"06", "Khonghucu"}}),
        employees(),
        codeTable("Golongan.db", "Tgol", "DSgol", "Kd_Gol", "Golongan", 10,
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
        codeTable("Jabatan.db", "Tjab", "DSjab", "Kd_Jabatan", "Jabatan", 30,
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
        codeTable("JK.db", "Tjk", "DSjk", "Kd_JK", "JK", 20, {{"LK", "Laki-laki"}, {"PR", "Perempuan"}}),
        transfers(),
        codeTable("Pangkat.db", "Tpangkat", "DSpangkat", "Kd_Pangkat", "Pangkat", 30,
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
        codeTable("Pend_Formal.db", "Tpf", "DSpf", "Kd_Pend", "Pend_Formal", 30,
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
        codeTable("Status.db", "Tstatus", "DSstatus", "Kd_Status", "Status", 20,
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
        if (strcasecmp(field.name.c_str(), name.c_str()) == 0)
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
                step.text +=
                    (step.text.empty() ? "column " : ", column ") + field.name + " added to " + table.tableName;
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
