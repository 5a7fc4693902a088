#include "TForm14.h"
#include "WindowFonts.h"

TForm14* Form14 = nullptr;

TForm14::TForm14()
    : TForm(QStringLiteral("Form14"), QString::fromUtf8("Form Sekilas Penggunaan Program"), QRect(202, 58, 540, 500), WindowFonts::sansSerif(11))
{
}
