#include "TForm2.h"

#include "DMarsipstaf.h"
#include "WindowFonts.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(ReferenceBinder& references)
    : TForm(QStringLiteral("Form2"), QString::fromUtf8("Form Data Pegawai"), QRect(89, 66, 684, 487),
            WindowFonts::sansSerif(11))
{
    for (const char* name : referencedSources) {
        const std::string source = name;
        sources_[source] = nullptr;
        references.refer("DMarsipstaf", [this, source] { sources_[source] = DMarsipstaf->DataSourceByName(source); });
    }
}

TDataSource* TForm2::dataSource(const std::string& name) const
{
    auto found = sources_.find(name);
    return found == sources_.end() ? nullptr : found->second;
}
