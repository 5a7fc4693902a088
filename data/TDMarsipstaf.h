#pragma once
#include "TDataSource.h"
#include "TDateField.h"
#include "TStringField.h"
#include "TTable.h"

#include <string>
#include <vector>

// The data module: owns every table and data source of the program. Windows,
// controls and reports name its objects, so a table's current record, state
// and ordering are shared by everything that shows it.
class TDMarsipstaf {
public:
    // Creates the data sources, then the tables with the fields the
    // catalogue (TableCatalogue) declares. Opens nothing: Loaded() does.
    TDMarsipstaf();
    ~TDMarsipstaf();
    TDMarsipstaf(const TDMarsipstaf&) = delete;
    TDMarsipstaf& operator=(const TDMarsipstaf&) = delete;

    // Opens the nine tables in order (a lookup field opens its code table
    // first). Throws EDatabaseError, prefixed by the table's name, on the
    // first failure.
    void Loaded();

    static constexpr const char* DatabaseAlias = "rekam_induk";
    // The table files in the order Loaded() opens them: each table, then
    // the code tables its lookup fields show.
    static std::vector<std::string> OpeningOrder();

    TDataSource DSagama{"DSagama"}, DSdatapeg{"DSdatapeg"}, DSgol{"DSgol"}, DSjab{"DSjab"}, DSjk{"DSjk"},
        DSmutasi{"DSmutasi"}, DSpangkat{"DSpangkat"}, DSpf{"DSpf"}, DSstatus{"DSstatus"};
    TTable Tagama{"Tagama"}, Tdatapeg{"Tdatapeg"}, Tgol{"Tgol"}, Tjab{"Tjab"}, Tjk{"Tjk"}, Tmutasi{"Tmutasi"},
        Tpangkat{"Tpangkat"}, Tpf{"Tpf"}, Tstatus{"Tstatus"};

    TStringField* TdatapegNIP;
    TStringField* TdatapegKarpeg;
    TStringField* TdatapegNama_Pegawai;
    TStringField* TdatapegTempat_Lahir;
    TDateField* TdatapegTanggal_Lahir;
    TStringField* TdatapegKd_JK;
    TStringField* TdatapegJenisKelamin;
    TStringField* TdatapegKd_Agama;
    TStringField* TdatapegAgama;
    TStringField* TdatapegAlamat;
    TStringField* TdatapegKd_Pangkat;
    TStringField* TdatapegPangkat;
    TStringField* TdatapegKd_Gol;
    TStringField* TdatapegGolongan;
    TStringField* TdatapegKd_Jabatan;
    TStringField* TdatapegJabatan;
    TStringField* TdatapegKd_Pend;
    TStringField* TdatapegPendidikanFormal;
    TStringField* TdatapegPendidikan_Diklat;
    TStringField* TdatapegKd_Status;
    TStringField* TdatapegStatus;

    TStringField* TmutasiNo_SKM;
    TStringField* TmutasiNIP;
    TStringField* TmutasiNama_Pegawai;
    TStringField* TmutasiKd_Golongan;
    TStringField* TmutasiGolongan;
    TStringField* TmutasiKd_Pangkat;
    TStringField* TmutasiPangkat;
    TStringField* TmutasiKd_Jabatan;
    TStringField* TmutasiJabatan;
    TStringField* TmutasiAsal;
    TStringField* TmutasiPindah_Ke;
    TDateField* TmutasiTMT;

    // The tables in creation (and opening) order.
    std::vector<TTable*> Tables();
    // A data source or table by object name ("DSdatapeg"); nullptr if none.
    TDataSource* DataSourceByName(const std::string& name);
    TTable* TableByName(const std::string& name);

private:
    void DeclareFields(TTable& table);
};
