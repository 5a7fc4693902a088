#include "TForm3.h"
#include "WindowFonts.h"

TForm3* Form3 = nullptr;

TForm3::TForm3()
    : TForm(QStringLiteral("Form3"), QString::fromUtf8("Form Data Mutasi"), QRect(37, 70, 736, 416), WindowFonts::sansSerif(11))
{
}
