#include "TForm11.h"

#include "DMarsipstaf.h"
#include "ReportDefinitions.h"

TForm11* Form11 = nullptr;

TForm11::TForm11()
    : ReportWindow(QStringLiteral("Form11"), QString::fromUtf8("Laporan Mutasi"),
                   ReportDefinitions::Form11(DMarsipstaf ? &DMarsipstaf->Tmutasi : nullptr))
{
}
