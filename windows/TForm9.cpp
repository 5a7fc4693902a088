#include "TForm9.h"

#include "TDMarsipstaf.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(TDMarsipstaf& module) : ReportWindow(ReportRegistry::at("Form9"), module)
{
}
