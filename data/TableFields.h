#pragma once
#include "CatalogueField.h"

// Every field of the nine tables, named once: the catalogue (TableCatalogue)
// is built from these, and window layouts, grid columns and report texts
// name their fields through them. A constant is named after the data
// module's field object without its table's prefix ("TdatapegJenisKelamin"
// is Datapegawai::JenisKelamin).
namespace fields {

// A lookup field: the text in result for the code in key, found by codeKey.
constexpr CatalogueField lookup(CatalogueField field, const CatalogueField& key, const CatalogueField& codeKey,
                                const CatalogueField& result)
{
    field.keyField = key.name;
    field.lookupTable = result.table;
    field.lookupKey = codeKey.name;
    field.lookupResult = result.name;
    return field;
}

// The code tables: a two-character code and its text.

namespace Agama {
inline constexpr const char* file = "Agama.db";
inline constexpr CatalogueField Kd_Agama{.table = file, .name = "Kd_Agama", .size = 2};
inline constexpr CatalogueField Agama{.table = file, .name = "Agama", .size = 20};
}  // namespace Agama

namespace Golongan {
inline constexpr const char* file = "Golongan.db";
inline constexpr CatalogueField Kd_Gol{.table = file, .name = "Kd_Gol", .size = 2};
inline constexpr CatalogueField Golongan{.table = file, .name = "Golongan", .size = 10};
}  // namespace Golongan

namespace Jabatan {
inline constexpr const char* file = "Jabatan.db";
inline constexpr CatalogueField Kd_Jabatan{.table = file, .name = "Kd_Jabatan", .size = 2};
inline constexpr CatalogueField Jabatan{.table = file, .name = "Jabatan", .size = 30};
}  // namespace Jabatan

namespace JK {
inline constexpr const char* file = "JK.db";
inline constexpr CatalogueField Kd_JK{.table = file, .name = "Kd_JK", .size = 2};
inline constexpr CatalogueField JK{.table = file, .name = "JK", .size = 20};
}  // namespace JK

namespace Pangkat {
inline constexpr const char* file = "Pangkat.db";
inline constexpr CatalogueField Kd_Pangkat{.table = file, .name = "Kd_Pangkat", .size = 2};
inline constexpr CatalogueField Pangkat{.table = file, .name = "Pangkat", .size = 30};
}  // namespace Pangkat

namespace Pend_Formal {
inline constexpr const char* file = "Pend_Formal.db";
inline constexpr CatalogueField Kd_Pend{.table = file, .name = "Kd_Pend", .size = 2};
inline constexpr CatalogueField Pend_Formal{.table = file, .name = "Pend_Formal", .size = 30};
}  // namespace Pend_Formal

namespace Status {
inline constexpr const char* file = "Status.db";
inline constexpr CatalogueField Kd_Status{.table = file, .name = "Kd_Status", .size = 2};
inline constexpr CatalogueField Status{.table = file, .name = "Status", .size = 20};
}  // namespace Status

// The record tables; lookup fields show a code table's text for their code.

namespace Datapegawai {
inline constexpr const char* file = "Datapegawai.db";
// The key: no record with a blank one is stored, by "Simpan" or by a move.
inline constexpr CatalogueField NIP{
    .table = file, .name = "NIP", .object = "TdatapegNIP", .size = 10, .mask = "0000000000;1;_", .required = true};
inline constexpr CatalogueField Karpeg{
    .table = file, .name = "Karpeg", .object = "TdatapegKarpeg", .size = 8, .mask = "00000000;1;_"};
inline constexpr CatalogueField Nama_Pegawai{
    .table = file, .name = "Nama_Pegawai", .object = "TdatapegNama_Pegawai", .size = 25};
inline constexpr CatalogueField Tempat_Lahir{
    .table = file, .name = "Tempat_Lahir", .object = "TdatapegTempat_Lahir", .size = 20};
inline constexpr CatalogueField Tanggal_Lahir{.table = file,
                                              .name = "Tanggal_Lahir",
                                              .object = "TdatapegTanggal_Lahir",
                                              .type = ColumnType::Date,
                                              .size = 10,
                                              .mask = "!99/99/9999;1;_"};
inline constexpr CatalogueField Kd_JK{.table = file, .name = "Kd_JK", .object = "TdatapegKd_JK", .size = 2};
inline constexpr CatalogueField JenisKelamin =
    lookup({.table = file, .name = "Jenis Kelamin", .object = "TdatapegJenisKelamin", .size = 20}, Kd_JK,
           fields::JK::Kd_JK, fields::JK::JK);
inline constexpr CatalogueField Kd_Agama{.table = file, .name = "Kd_Agama", .object = "TdatapegKd_Agama", .size = 2};
inline constexpr CatalogueField Agama = lookup({.table = file, .name = "Agama", .object = "TdatapegAgama", .size = 20},
                                               Kd_Agama, fields::Agama::Kd_Agama, fields::Agama::Agama);
inline constexpr CatalogueField Alamat{.table = file, .name = "Alamat", .object = "TdatapegAlamat", .size = 30};
inline constexpr CatalogueField Kd_Pangkat{
    .table = file, .name = "Kd_Pangkat", .object = "TdatapegKd_Pangkat", .size = 2};
inline constexpr CatalogueField Pangkat =
    lookup({.table = file, .name = "Pangkat", .object = "TdatapegPangkat", .size = 20}, Kd_Pangkat,
           fields::Pangkat::Kd_Pangkat, fields::Pangkat::Pangkat);
inline constexpr CatalogueField Kd_Gol{.table = file, .name = "Kd_Gol", .object = "TdatapegKd_Gol", .size = 2};
inline constexpr CatalogueField Golongan =
    lookup({.table = file, .name = "Golongan", .object = "TdatapegGolongan", .size = 20}, Kd_Gol,
           fields::Golongan::Kd_Gol, fields::Golongan::Golongan);
inline constexpr CatalogueField Kd_Jabatan{
    .table = file, .name = "Kd_Jabatan", .object = "TdatapegKd_Jabatan", .size = 2};
inline constexpr CatalogueField Jabatan =
    lookup({.table = file, .name = "Jabatan", .object = "TdatapegJabatan", .size = 20}, Kd_Jabatan,
           fields::Jabatan::Kd_Jabatan, fields::Jabatan::Jabatan);
inline constexpr CatalogueField Kd_Pend{.table = file, .name = "Kd_Pend", .object = "TdatapegKd_Pend", .size = 2};
inline constexpr CatalogueField PendidikanFormal =
    lookup({.table = file, .name = "Pendidikan Formal", .object = "TdatapegPendidikanFormal", .size = 20}, Kd_Pend,
           fields::Pend_Formal::Kd_Pend, fields::Pend_Formal::Pend_Formal);
inline constexpr CatalogueField Pendidikan_Diklat{
    .table = file, .name = "Pendidikan_Diklat", .object = "TdatapegPendidikan_Diklat", .size = 25};
inline constexpr CatalogueField Kd_Status{.table = file, .name = "Kd_Status", .object = "TdatapegKd_Status", .size = 2};
inline constexpr CatalogueField Status =
    lookup({.table = file, .name = "Status", .object = "TdatapegStatus", .size = 20}, Kd_Status,
           fields::Status::Kd_Status, fields::Status::Status);
}  // namespace Datapegawai

namespace Mutasi {
inline constexpr const char* file = "Mutasi.db";
// The key, as NIP of Datapegawai.
inline constexpr CatalogueField No_SKM{.table = file,
                                       .name = "No_SKM",
                                       .object = "TmutasiNo_SKM",
                                       .size = 20,
                                       .mask = "!A-9999-AA.99.99-9999;1;_",
                                       .required = true};
inline constexpr CatalogueField NIP{
    .table = file, .name = "NIP", .object = "TmutasiNIP", .size = 11, .mask = "!99999999999;1;_"};
inline constexpr CatalogueField Nama_Pegawai{
    .table = file, .name = "Nama_Pegawai", .object = "TmutasiNama_Pegawai", .size = 30};
inline constexpr CatalogueField Kd_Golongan{
    .table = file, .name = "Kd_Golongan", .object = "TmutasiKd_Golongan", .size = 2};
inline constexpr CatalogueField Golongan =
    lookup({.table = file, .name = "Golongan", .object = "TmutasiGolongan", .size = 20}, Kd_Golongan,
           fields::Golongan::Kd_Gol, fields::Golongan::Golongan);
inline constexpr CatalogueField Kd_Pangkat{
    .table = file, .name = "Kd_Pangkat", .object = "TmutasiKd_Pangkat", .size = 2};
inline constexpr CatalogueField Pangkat =
    lookup({.table = file, .name = "Pangkat", .object = "TmutasiPangkat", .size = 20}, Kd_Pangkat,
           fields::Pangkat::Kd_Pangkat, fields::Pangkat::Pangkat);
inline constexpr CatalogueField Kd_Jabatan{
    .table = file, .name = "Kd_Jabatan", .object = "TmutasiKd_Jabatan", .size = 2};
inline constexpr CatalogueField Jabatan =
    lookup({.table = file, .name = "Jabatan", .object = "TmutasiJabatan", .size = 20}, Kd_Jabatan,
           fields::Jabatan::Kd_Jabatan, fields::Jabatan::Jabatan);
inline constexpr CatalogueField Asal{.table = file, .name = "Asal", .object = "TmutasiAsal", .size = 50};
inline constexpr CatalogueField Pindah_Ke{.table = file, .name = "Pindah_Ke", .object = "TmutasiPindah_Ke", .size = 50};
inline constexpr CatalogueField TMT{
    .table = file, .name = "TMT", .object = "TmutasiTMT", .type = ColumnType::Date, .size = 8, .mask = "!99/99/00;1;_"};
}  // namespace Mutasi

}  // namespace fields
