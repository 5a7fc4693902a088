#include "InformationTexts.h"

#include <initializer_list>

namespace {
QStringList fromUtf8(std::initializer_list<const char*> lines)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line);
    return out;
}
}  // namespace

// The lines are given exactly as they are shown, trailing blanks included:
// the leading blanks indent the continuation lines.
const QStringList& InformationTexts::usage()
{
    static const QStringList lines = fromUtf8({
        "1.Aktifkan program aplikasi dengan klik 2 kali icon program aplikasi",
        "2.Setelah itu akan muncul form login agar dapat masuk ke dalam program aplikasi",
        "   Masukkan password, jika password salah maka akan muncul sebuah kotak pesan kesalahan",
        "   Jika password benar maka akan masuk ke menu utama program aplikasi",
        "3.Dalam menu utama terdapat beberapa menu yaitu Data, Lihat, Cari, Laporan dan Sekilas. ",
        "   Jika kita memilih menu Data maka akan terdapat sub menu Pegawai, Mutasi dan Keluar",
        "   Jika kita ingin mengolah data kepegawaian pilihlah sub menu Pegawaian dan akan muncul Form Data ",
        "   Pegawai",
        "   Jika ingin menambah data maka tekan tombol Tambah, setelah selesai tekan tombol Simpan. Apabila ",
        "   data belum lengkap maka akan muncul pesan bahwa data yang dimasukkan belum lengkap.",
        "   Jika ingin menghapus  data tekan tombol Hapus maka akan keluar kotak pesan seperti berikut ",
        "   Apabila ingin mencari data pegawai tekanlah tombol Cari atau dapat menggunakan menu Cari lalu pilih ",
        "   sub menu Data Pegawai ",
        "   Masukkanlah NIP dari pegawai yang ingin kita cari datanya, jika data tidak ada maka akan muncul ",
        "   pesan seperti berikut :",
        "4.Jika ingin mengolah data mutasi pilihlah sub menu  Mutasi dan akan muncul Form Data ",
        "   Mutasi ",
        "   Cara menjalankannya sama seperti proses – proses yang ada pada Form Data Pegawai, hanya pada ",
        "   saat menekan tombol Cari yang akan muncul adalah Form Cari Data Mutasi dan yang harus diinputkan ",
        "   adalah No_SKM dari pegawai yang ingin kita cari datanya",
        "5.Apabila ingin melihat data pilihlah menu Lihat pada menu ini terdapat sub Menu Data ",
        "   Pegawai dan Data Mutasi",
        "   Jika ingin melihat data pegawai pilihlah sub menu Data Pegawai dan akan muncul Form Lihat Data ",
        "   Pegawai seperti berikut",
        "   Dan jika ingin melihat data mutasi pilihlah sub menu Data Mutasi lalu akan muncul Form Data Mutasi",
        "6.Pada Menu Laporan terdapat sub menu Laporan Daftar Urut Kepangkatan, Laporan ",
        "   Bezetting dan Laporan Mutasi",
        "   Jika ingin melihat  Laporan Daftar Urut Kepangkatan pilihlah sub menu Daftar Urut Kepangkatan",
        "   Sedangkan jika ingin melihat Laporan Bezetting pilihlah sub menu Bezetting",
        "   Dan jika ingin melihat laporan mutasi pilihlah sub menu Mutasi",
        "   Pada   masing – masing laporan terdapat toolbar – toolbar yang dapat difungsikan    sebagaimana ",
        "   mestinya.   ",
        "7.Pada menu Sekilas terdapat sub menu  Penggunaan Program yang memberikan informasi ",
        "   bagaimana menjalankan program aplikasi ini dan  Sekilas RADAR yang memberikan informasi singkat ",
        "   tentang RADAR",
        "8.Jika kita ingin keluar dari program aplikasi maka pilihlah menu Data lalu pilih sub menu ",
        "   Keluar dan akan muncul kotak pesan seperti berikut",
        "   tekanlah Yes jika memang ingin keluar dari program aplikasi, dan tekanlah  No jika tidak.",
        "9.Jika tekan Yes maka akan muncul kembali Form Password  tekanlah tombol Tutup.",
        "",
    });
    return lines;
}

const QStringList& InformationTexts::officeHistory()
{
    static const QStringList lines = fromUtf8({
        "Sejak Undang-undang Hukum Pidana untuk orang Hindia Belanda yang telah dikodifikasi",
        "dan dengan pembaharuannya pada tahun 1915 Nomor 732 diberlakukan di Indonesia,",
        "telah dicantumkan pada pasal 45 KUHP yang tujuannya adalah usaha untuk pemberantasan ",
        "kanakalan anak, yang mulai berlaku di Indonesia sejak jaman Belanda kira-kira tahun 1917.",
        "Sedangkan di Amsterdam sendiri Undang-undang tersebut berlaku sejak tahun 1603, dan di Inggris ",
        "baru pada tahun 1908. ",
        "Pada saat itu telah berkembang Etiologi Kriminil, yaitu ilmu yang menyelidiki sebab-sebab terjadinya ",
        "kejahatan dan dicari metode untuk melawannya jika telah diketahui sebab-sebab tersebut.",
        "Oleh karena itu sejak jaman Belanda pulalah mulai berdiri Jawatan Kepenjaraan, dan dengan ",
        "adanya pasal 45 KUHP tersebut maka berdiri pula Jawatan Pendidikan Paksa yang digabungkan ",
        "dengan Jawatan Kepenjaraan dengan maksud untuk penghematan biaya. Yang sekarang menjadi ",
        "Direktorat Pembinaan Dalam Lembaga Pemasyarakatan untuk anak.",
        "Rumah Pendidikan Paksa yang menjadi tempat untuk menampung anak-anak yang telah melakukan ",
        "perbuatan yang melanggar hukum ataupun nakal, akhirnya berubah menjadi Lembaga Pemasyarakatan ",
        "Anak Negara dan berdiri sejak 1 Maret 1916 dengan Ordonantie Nomor 33. Sedangkan peraturan ",
        "pelaksanaannya yang dijadikan dasar hukumnya adalah Peraturan Pendidikan Paksa ",
        "( Dwang Opvoeding Regeling ) dengan perubahan-perubahannya, sesuai dengan Stbl. ",
        "Tahun 1917 Nomor 708. ",
    });
    return lines;
}
