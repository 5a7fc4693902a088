#include "DefaultTableFiles.h"

#include "SqliteTableFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FieldDescription text(const std::string& name, int size)
{
    FieldDescription field;
    field.name = name;
    field.type = ColumnType::Text;
    field.typeName = "String";
    field.size = size;
    return field;
}

FieldDescription date(const std::string& name)
{
    FieldDescription field;
    field.name = name;
    field.type = ColumnType::Date;
    field.typeName = "Date";
    return field;
}

IndexDescription index(const std::string& name, const std::string& field, bool primary, bool caseInsensitive = false)
{
    IndexDescription index;
    index.name = name;
    index.fields = {field};
    index.primary = primary;
    index.unique = primary;
    index.caseInsensitive = caseInsensitive;
    return index;
}

DefaultTableFiles::File codeTable(const std::string& tableName, const std::string& key, const std::string& textColumn,
                                  int textSize, std::vector<std::vector<std::string>> rows)
{
    DefaultTableFiles::File file;
    file.description.tableName = tableName;
    file.description.fields = {text(key, 2), text(textColumn, textSize)};
    file.description.indexes = {index("Primary", key, true)};
    file.rows = std::move(rows);
    return file;
}

DefaultTableFiles::File employees()
{
    DefaultTableFiles::File file;
    file.description.tableName = "Datapegawai.db";
    file.description.fields = {text("NIP", 10),
                               text("Karpeg", 8),
                               text("Nama_Pegawai", 25),
                               text("Tempat_Lahir", 20),
                               date("Tanggal_Lahir"),
                               text("Kd_JK", 2),
                               text("Kd_Agama", 2),
                               text("Alamat", 30),
                               text("Kd_Pangkat", 2),
                               text("Kd_Gol", 2),
                               text("Kd_Jabatan", 2),
                               text("Kd_Pend", 2),
                               text("Pendidikan_Diklat", 25),
                               text("Kd_Status", 2)};
    file.description.indexes = {index("Primary", "NIP", true), index("Karpeg", "Karpeg", false),
                                index("Nama_Pegawai", "Nama_Pegawai", false, true)};
    return file;
}

DefaultTableFiles::File transfers()
{
    DefaultTableFiles::File file;
    file.description.tableName = "Mutasi.db";
    file.description.fields = {text("No_SKM", 20),     text("NIP", 11),       text("Nama_Pegawai", 30),
                               text("Kd_Golongan", 2), text("Kd_Pangkat", 2), text("Kd_Jabatan", 2),
                               text("Asal", 50),       text("Pindah_Ke", 50), date("TMT")};
    file.description.indexes = {index("Primary", "No_SKM", true), index("NIP", "NIP", false),
                                index("Nama_Pegawai", "Nama_Pegawai", false, true)};
    return file;
}

EngineStatus fill(const std::string& directory, const DefaultTableFiles::File& file)
{
    if (file.rows.empty())
        return EngineStatus::success();
    std::shared_ptr<SqliteTableFile> table;
    EngineStatus status = SqliteTableFile::open(directory, file.description.tableName, table);
    for (size_t i = 0; status.ok() && i < file.rows.size(); ++i) {
        EngineRecord record;
        for (const std::string& value : file.rows[i])
            record.values.emplace_back(value);
        std::int64_t rowid = 0;
        status = table->insert(record, rowid);
    }
    return status;
}

}  // namespace

std::vector<DefaultTableFiles::File> DefaultTableFiles::all()
{
    return {
        codeTable("Agama.db", "Kd_Agama", "Agama", 20,
                  {{"01", "Islam"},
                   {"02", "Kristen Protestan"},
                   {"03", "Katolik"},
                   {"04", "Hindu"},
                   {"05", "Buddha"},
                   {"06", "Khonghucu"}}),
        employees(),
        codeTable("Golongan.db", "Kd_Gol", "Golongan", 10,
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
        codeTable("Jabatan.db", "Kd_Jabatan", "Jabatan", 30,
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
        codeTable("JK.db", "Kd_JK", "JK", 20, {{"LK", "Laki-laki"}, {"PR", "Perempuan"}}),
        transfers(),
        codeTable("Pangkat.db", "Kd_Pangkat", "Pangkat", 30,
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
        codeTable("Pend_Formal.db", "Kd_Pend", "Pend_Formal", 30,
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
        codeTable("Status.db", "Kd_Status", "Status", 20,
                  {{"01", "CPNS"}, {"02", "PNS"}, {"03", "PPPK"}, {"04", "Pensiun"}}),
    };
}

EngineStatus DefaultTableFiles::createIn(const std::string& directory, std::vector<std::string>& report)
{
    return createIn(directory, report, Modes());
}

EngineStatus DefaultTableFiles::createIn(const std::string& directory, std::vector<std::string>& report,
                                         const Modes& modes)
{
    std::error_code error;
    bool made = std::filesystem::create_directories(directory, error);
    if (error)
        return EngineStatus::failure(EngineCode::DirectoryMissing, "Cannot create the directory " + directory + ".",
                                     {error.message()});
    bool shared = modes.group != static_cast<gid_t>(-1);
    if ((made || shared) && (::chown(directory.c_str(), static_cast<uid_t>(-1), modes.group) != 0 ||
                             ::chmod(directory.c_str(), modes.directory) != 0))
        return EngineStatus::failure(EngineCode::IoError, "Cannot set the modes of the directory " + directory + ".",
                                     {std::strerror(errno)});
    for (const File& file : all()) {
        const std::string& name = file.description.tableName;
        std::string path = directory + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            report.push_back(name + ": already exists, left as it is");
            continue;
        }
        EngineStatus status = SqliteTableFile::create(path, file.description, modes.file, modes.group);
        if (status.ok())
            status = fill(directory, file);
        if (!status.ok())
            return status;
        report.push_back(
            name + ": created" +
            (file.rows.empty() ? std::string() : " with " + std::to_string(file.rows.size()) + " records"));
    }
    return EngineStatus::success();
}

EngineStatus DefaultTableFiles::createOnServer(ServerDatabase& database, std::vector<std::string>& report)
{
    EngineStatus status = database.prepareSchema();
    if (!status.ok())
        return status;
    for (const File& file : all()) {
        const std::string& name = file.description.tableName;
        if (database.hasTable(name)) {
            report.push_back(name + ": already exists, left as it is");
            continue;
        }
        status = database.createTable(file.description, file.rows);
        if (!status.ok())
            return status;
        report.push_back(
            name + ": created" +
            (file.rows.empty() ? std::string() : " with " + std::to_string(file.rows.size()) + " records"));
    }
    return EngineStatus::success();
}
