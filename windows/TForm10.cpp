#include "TForm10.h"

#include "DMarsipstaf.h"
#include "ReportDefinitions.h"

TForm10* Form10 = nullptr;

TForm10::TForm10()
    : ReportWindow(QStringLiteral("Form10"), QString::fromUtf8("Laporan Bezetting"),
                   ReportDefinitions::Form10(DMarsipstaf ? &DMarsipstaf->Tdatapeg : nullptr))
{
}
