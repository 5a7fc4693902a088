#include "TForm9.h"

#include "DMarsipstaf.h"
#include "ReportDefinitions.h"

TForm9* Form9 = nullptr;

TForm9::TForm9()
    : ReportWindow(QStringLiteral("Form9"), QString::fromUtf8("Laporan Daftar Urut Kepangkatan"),
                   ReportDefinitions::Form9(DMarsipstaf ? &DMarsipstaf->Tdatapeg : nullptr))
{
}
