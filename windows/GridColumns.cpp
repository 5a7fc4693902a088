#include "GridColumns.h"

const GridColumns::List& GridColumns::employees()
{
    static const List columns = {
        "NIP",    "Karpeg",  "Nama_Pegawai", "Tempat_Lahir", "Tanggal_Lahir",     "Jenis Kelamin",     "Agama",
        "Alamat", "Pangkat", "Golongan",     "Jabatan",      "Pendidikan Formal", "Pendidikan_Diklat", "Status"};
    return columns;
}

const GridColumns::List& GridColumns::transfers()
{
    static const List columns = {"No_SKM",  "NIP",  "Nama_Pegawai", "Golongan", "Pangkat",
                                 "Jabatan", "Asal", "Pindah_Ke",    "TMT"};
    return columns;
}

GridColumns::List GridColumns::keys(const List& columns)
{
    return List(columns.begin(), columns.begin() + keyCount);
}

GridColumns::List GridColumns::afterKeys(const List& columns)
{
    return List(columns.begin() + keyCount, columns.end());
}
