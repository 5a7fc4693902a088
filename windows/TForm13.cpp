#include "TForm13.h"
#include "WindowFonts.h"

TForm13::TForm13()
    : TForm(QStringLiteral("Form13"), QString::fromUtf8("Form Sekilas Penggunaan Program"), QRect(219, 72, 544, 456), WindowFonts::sansSerif(11))
{
}
