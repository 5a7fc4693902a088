#include "TForm10.h"

#include "ReportDefinitions.h"
#include "TDMarsipstaf.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(TDMarsipstaf& module)
    : ReportWindow(QStringLiteral("Form10"), QString::fromUtf8("Laporan Bezetting"),
                   ReportDefinitions::Form10(&module.Tdatapeg))
{
}
