#include "TForm15.h"
#include "WindowFonts.h"

TForm15* Form15 = nullptr;

TForm15::TForm15()
    : TForm(QStringLiteral("Form15"), QString::fromUtf8("Form Sekilas RADAR Kelas I Sindara"), QRect(191, 100, 537, 331), WindowFonts::sansSerif(11))
{
}
