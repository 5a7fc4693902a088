#include "TForm2.h"

#include "DMarsipstaf.h"
#include "WindowFonts.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(ReferenceBinder& references)
    : TForm(QStringLiteral("Form2"), QString::fromUtf8("Form Data Pegawai"), QRect(89, 66, 684, 487),
            WindowFonts::sansSerif(11))
{
    references.refer("DMarsipstaf", [this] { bindDataModule(); });
}

void TForm2::bindDataModule()
{
    dataModule_ = DMarsipstaf;
}
