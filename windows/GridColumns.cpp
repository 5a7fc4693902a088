#include "GridColumns.h"

#include "TableFields.h"

const GridColumns::List& GridColumns::employees()
{
    using namespace fields::Datapegawai;
    static const List columns = {
        NIP,    Karpeg,  Nama_Pegawai, Tempat_Lahir, Tanggal_Lahir,    JenisKelamin,      Agama,
        Alamat, Pangkat, Golongan,     Jabatan,      PendidikanFormal, Pendidikan_Diklat, Status};
    return columns;
}

const GridColumns::List& GridColumns::transfers()
{
    using namespace fields::Mutasi;
    static const List columns = {No_SKM, NIP, Nama_Pegawai, Golongan, Pangkat, Jabatan, Asal, Pindah_Ke, TMT};
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
