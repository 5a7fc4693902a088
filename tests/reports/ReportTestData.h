#pragma once
#include <cstdio>
#include <string>

#include "RegionalSettings.h"
#include "TDMarsipstaf.h"
#include "TempDatabase.h"

// The real data module on temporary table files, with records added through
// the tables themselves.
struct ReportTestData {
    TempDatabase database;
    TDMarsipstaf module;

    ReportTestData()
    {
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
        module.Loaded();
    }

    static std::string numbered(int n, int digits)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%0*d", digits, n);
        return text;
    }

    void addEmployees(int count, int from = 1)
    {
        TTable& t = module.Tdatapeg;
        for (int n = from; n < from + count; ++n) {
            t.Append();
            module.TdatapegNIP->SetAsString("19" + numbered(n, 8));
            module.TdatapegKarpeg->SetAsString(numbered(n, 8));
            module.TdatapegNama_Pegawai->SetAsString("Pegawai " + numbered(n, 5));
            module.TdatapegTempat_Lahir->SetAsString("Sindara");
            module.TdatapegTanggal_Lahir->SetAsString("17/08/1980");
            module.TdatapegKd_JK->SetAsString(n % 2 ? "LK" : "PR");
            module.TdatapegKd_Agama->SetAsString("01");
            module.TdatapegKd_Pangkat->SetAsString("3A");
            module.TdatapegKd_Gol->SetAsString("3A");
            module.TdatapegKd_Jabatan->SetAsString("13");
            module.TdatapegKd_Pend->SetAsString("08");
            module.TdatapegKd_Status->SetAsString("02");
            t.Post();
        }
    }

    void addTransfers(int count)
    {
        TTable& t = module.Tmutasi;
        for (int n = 1; n <= count; ++n) {
            t.Append();
            module.TmutasiNo_SKM->SetAsString("W-" + numbered(n, 4) + "-PK.01.02-2020");
            module.TmutasiNIP->SetAsString("19" + numbered(n, 9));
            module.TmutasiNama_Pegawai->SetAsString("Pegawai " + numbered(n, 5));
            module.TmutasiKd_Golongan->SetAsString("2B");
            module.TmutasiKd_Pangkat->SetAsString("2B");
            module.TmutasiKd_Jabatan->SetAsString("10");
            module.TmutasiAsal->SetAsString("Sindara");
            module.TmutasiPindah_Ke->SetAsString("Tirtamaya");
            module.TmutasiTMT->SetAsString("01/03/20");
            t.Post();
        }
    }
};
