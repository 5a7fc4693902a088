#include "TForm8.h"

#include "ReportDefinitions.h"

TForm8* Form8 = nullptr;

TForm8::TForm8()
    : ReportWindow(QStringLiteral("Form8"), QString::fromUtf8("Laporan Daftar Urut Kepangkatan"),
                   ReportDefinitions::Form8())
{
}
