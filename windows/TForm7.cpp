#include "TForm7.h"
#include "WindowFonts.h"

TForm7* Form7 = nullptr;

TForm7::TForm7()
    : TForm(QStringLiteral("Form7"), QString::fromUtf8("Form Cari Data Mutasi"), QRect(234, 94, 370, 478), WindowFonts::sansSerif(11))
{
}
