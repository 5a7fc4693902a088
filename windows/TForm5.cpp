#include "TForm5.h"
#include "WindowFonts.h"

TForm5* Form5 = nullptr;

TForm5::TForm5()
    : TForm(QStringLiteral("Form5"), QString::fromUtf8("Form Lihat Data Mutasi"), QRect(192, 107, 345, 231), WindowFonts::sansSerif(11))
{
}
