#include "TForm11.h"

#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(TDMarsipstaf& module)
    : ReportWindow(QStringLiteral("Form11"), QString::fromUtf8("Laporan Mutasi"),
                   ReportDefinitions::Form11(&module.Tmutasi))
{
}
