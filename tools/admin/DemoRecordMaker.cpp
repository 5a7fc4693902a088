#include "DemoRecordMaker.h"

#include "TableFields.h"

#include <cstdio>

namespace employees = fields::Datapegawai;
namespace transfers = fields::Mutasi;

namespace {

const std::vector<std::string> firstNames = {
    "Agus",  "Budi",   "Dewi",    "Sri",     "Siti",    "Ahmad", "Muhammad", "Eko",    "Joko",  "Rina",
    "Yuni",  "Hendra", "Bambang", "Slamet",  "Wahyu",   "Dian",  "Putri",    "Rudi",   "Andi",  "Nur",
    "Fitri", "Hadi",   "Iwan",    "Rahmat",  "Lestari", "Indah", "Yusuf",    "Taufik", "Ratna", "Wulan",
    "Dedi",  "Asep",   "Made",    "Ketut",   "Nyoman",  "Teguh", "Rizki",    "Aditya", "Ayu",   "Kartika",
    "Irfan", "Lukman", "Maria",   "Yohanes", "Bayu",    "Citra"};
const std::vector<std::string> lastNames = {
    "Santoso",   "Wijaya",     "Saputra",   "Hidayat",     "Susanto",  "Kurniawan", "Setiawan", "Pratama",  "Nugroho",
    "Siregar",   "Nasution",   "Harahap",   "Simanjuntak", "Sinaga",   "Hutapea",   "Lubis",    "Wibowo",   "Purnomo",
    "Suryadi",   "Rahayu",     "Handayani", "Wulandari",   "Permana",  "Gunawan",   "Halim",    "Sitompul", "Tanjung",
    "Syahputra", "Firmansyah", "Hasibuan",  "Pangaribuan", "Manurung", "Prasetyo",  "Utami",    "Anggraini"};
const std::vector<std::string> places = {
    "Jakarta",     "Bandung",    "Surabaya",   "Medan",    "Semarang",  "Yogyakarta",      "Malang",
    "Makassar",    "Palembang",  "Padang",     "Denpasar", "Pontianak", "Banjarmasin",     "Manado",
    "Kupang",      "Ambon",      "Pekanbaru",  "Jambi",    "Bengkulu",  "Lampung",         "Cirebon",
    "Tasikmalaya", "Purwokerto", "Kediri",     "Madiun",   "Jember",    "Pematangsiantar", "Bukittinggi",
    "Mataram",     "Samarinda",  "Balikpapan", "Palu",     "Kendari",   "Sorong"};
const std::vector<std::string> streets = {
    "Jl. Merdeka",     "Jl. Sudirman",    "Jl. Diponegoro", "Jl. Gatot Subroto", "Jl. Ahmad Yani", "Jl. Pahlawan",
    "Jl. Gajah Mada",  "Jl. Hayam Wuruk", "Jl. Kartini",    "Jl. Imam Bonjol",   "Jl. Veteran",    "Jl. Pemuda",
    "Jl. Cendrawasih", "Jl. Melati",      "Jl. Anggrek",    "Jl. Mawar",         "Jl. Kenanga",    "Jl. Flamboyan"};
const std::vector<std::string> trainings = {"Diklat Prajabatan",      "Diklatpim Tk. IV", "Diklatpim Tk. III",
                                            "Diklat Teknis Keamanan", "Diklat Bendahara", "Diklat Kepegawaian",
                                            "Diklat Pembinaan Napi",  "Diklat Intelijen", "-"};
const std::vector<std::string> offices = {"Lapas Kelas I",   "Lapas Kelas IIA", "Lapas Kelas IIB", "Rutan Kelas I",
                                          "Rutan Kelas IIA", "Rutan Kelas IIB", "Bapas Kelas I",   "Kanwil"};
const std::vector<std::string> decreeUnits = {"PK", "KP", "UM", "OT"};

// A bijection on [0, 9e9): multiply by a number coprime to 9e9, so that
// consecutive records get scattered, distinct numbers.
std::uint64_t scatter(std::uint64_t n)
{
    const std::uint64_t range = 9000000000ULL;
    return (n % range) * 7919ULL % range;  // 7919 is prime and shares no factor with 9e9
}

}  // namespace

std::string DemoRecordMaker::employeeNumber(std::uint64_t n)
{
    return std::to_string(1000000000ULL + scatter(n));
}

std::string DemoRecordMaker::decreeNumber(std::uint64_t n)
{
    unsigned number = static_cast<unsigned>(n % 10000);
    n /= 10000;
    unsigned year = 2000 + static_cast<unsigned>(n % 25);
    n /= 25;
    unsigned month = 1 + static_cast<unsigned>(n % 12);
    n /= 12;
    unsigned part = 1 + static_cast<unsigned>(n % 99);
    n /= 99;
    char letter = static_cast<char>('A' + n % 26);
    char text[32];
    std::snprintf(text, sizeof text, "%c-%04u-%s.%02u.%02u-%04u", letter, number,
                  decreeUnits[number % decreeUnits.size()].c_str(), part, month, year);
    return text;
}

const std::string& DemoRecordMaker::pick(const std::vector<std::string>& list)
{
    return list[random_() % list.size()];
}

std::string DemoRecordMaker::pickCode(const std::vector<std::string>& codes)
{
    return codes.empty() ? std::string() : pick(codes);
}

std::string DemoRecordMaker::digits(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + random_() % 10);
    return text;
}

std::string DemoRecordMaker::date(int fromYear, int toYear)
{
    int year = fromYear + static_cast<int>(random_() % static_cast<unsigned>(toYear - fromYear + 1));
    int month = 1 + static_cast<int>(random_() % 12);
    int day = 1 + static_cast<int>(random_() % 28);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string DemoRecordMaker::name()
{
    std::string text = pick(firstNames);
    if (random_() % 3 == 0)
        text += " " + pick(firstNames);
    return (text + " " + pick(lastNames)).substr(0, 25);
}

std::string DemoRecordMaker::rankFor(const std::string& grade)
{
    // A grade has its own rank; both tables use the same codes.
    for (const std::string& rank : codes_.ranks)
        if (rank == grade)
            return rank;
    return pickCode(codes_.ranks);
}

DemoRecordMaker::Named DemoRecordMaker::employee(std::uint64_t n)
{
    std::string grade = pickCode(codes_.grades);
    std::string address = pick(streets) + " No. " + std::to_string(1 + random_() % 150);
    return {{employees::NIP.name, employeeNumber(n)},
            {employees::Karpeg.name, digits(8)},
            {employees::Nama_Pegawai.name, name()},
            {employees::Tempat_Lahir.name, pick(places)},
            {employees::Tanggal_Lahir.name, date(1960, 2000)},
            {employees::Kd_JK.name, pickCode(codes_.sexes)},
            {employees::Kd_Agama.name, pickCode(codes_.religions)},
            {employees::Alamat.name, address.substr(0, 30)},
            {employees::Kd_Pangkat.name, rankFor(grade)},
            {employees::Kd_Gol.name, grade},
            {employees::Kd_Jabatan.name, pickCode(codes_.positions)},
            {employees::Kd_Pend.name, pickCode(codes_.educations)},
            {employees::Pendidikan_Diklat.name, pick(trainings)},
            {employees::Kd_Status.name, pickCode(codes_.statuses)}};
}

DemoRecordMaker::Named DemoRecordMaker::transfer(std::uint64_t n)
{
    std::string grade = pickCode(codes_.grades);
    std::string from = pick(offices) + " " + pick(places);
    std::string to = pick(offices) + " " + pick(places);
    return {{transfers::No_SKM.name, decreeNumber(n)},
            {transfers::NIP.name, employeeNumber(n) + std::to_string(n % 10)},
            {transfers::Nama_Pegawai.name, name().substr(0, 30)},
            {transfers::Kd_Golongan.name, grade},
            {transfers::Kd_Pangkat.name, rankFor(grade)},
            {transfers::Kd_Jabatan.name, pickCode(codes_.positions)},
            {transfers::Asal.name, from},
            {transfers::Pindah_Ke.name, to},
            {transfers::TMT.name, date(2000, 2024)}};
}

std::vector<FieldValue> DemoRecordMaker::inColumnOrder(const Named& values, const TableDescription& table)
{
    std::vector<FieldValue> row;
    for (const FieldDescription& column : table.fields)
        row.push_back(column.hasDefault ? FieldValue(column.defaultValue) : FieldValue());
    for (const auto& [name, value] : values)
        if (int number = table.fieldNumber(name); number >= 0)
            row[static_cast<size_t>(number)] = value;
    return row;
}
