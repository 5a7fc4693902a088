#include "TForm11.h"

#include "TDMarsipstaf.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(TDMarsipstaf& module) : ReportWindow(ReportRegistry::at("Form11"), module)
{
}
