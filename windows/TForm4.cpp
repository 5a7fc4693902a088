#include "TForm4.h"
#include "WindowFonts.h"

TForm4* Form4 = nullptr;

TForm4::TForm4()
    : TForm(QStringLiteral("Form4"), QString::fromUtf8("Form Lihat Data Pegawai"), QRect(232, 126, 351, 224), WindowFonts::sansSerif(11))
{
}
