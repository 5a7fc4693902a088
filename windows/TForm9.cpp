#include "TForm9.h"

#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(TDMarsipstaf& module)
    : ReportWindow(QStringLiteral("Form9"), QString::fromUtf8("Laporan Daftar Urut Kepangkatan"),
                   ReportDefinitions::Form9(&module.Tdatapeg))
{
}
