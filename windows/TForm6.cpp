#include "TForm6.h"
#include "WindowFonts.h"

TForm6* Form6 = nullptr;

TForm6::TForm6()
    : TForm(QStringLiteral("Form6"), QString::fromUtf8("Form Cari Data Pegawai"), QRect(274, 78, 347, 478), WindowFonts::sansSerif(11))
{
}
