#include "TForm10.h"

#include "TDMarsipstaf.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(TDMarsipstaf& module) : ReportWindow(ReportRegistry::at("Form10"), module)
{
}
