#include "ReferenceBinder.h"
#include "TDMarsipstaf.h"
#include "TForm10.h"
#include "TForm11.h"
#include "TForm13.h"
#include "TForm14.h"
#include "TForm15.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "TForm5.h"
#include "TForm6.h"
#include "TForm7.h"
#include "TForm8.h"
#include "TForm9.h"

#include <QStyle>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {
ReferenceBinder& binder()
{
    static ReferenceBinder references;
    return references;
}

TDMarsipstaf& unopenedModule()
{
    static TDMarsipstaf module;
    return module;
}

struct WindowCase {
    const char* name;
    std::function<TForm*()> create;
    const char* caption;
    QRect outer;                    // null: a report window, never shown, any geometry
    bool roomForScrollBar = false;  // widened by its text's scroll bar
};

std::ostream& operator<<(std::ostream& os, const WindowCase& c)
{
    return os << c.name;
}

template <class T>
std::function<TForm*()> factory()
{
    return [] { return new T(); };
}

// A window over the data module, built unbound to open tables.
template <class T>
std::function<TForm*()> overModule()
{
    return [] { return new T(unopenedModule()); };
}
}  // namespace

class WindowPropertiesTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(WindowPropertiesTest, CaptionOuterGeometryFontAndHiddenAtCreation)
{
    std::unique_ptr<TForm> form(GetParam().create());
    EXPECT_EQ(form->objectName().toStdString(), GetParam().name);
    EXPECT_EQ(form->windowTitle().toStdString(), GetParam().caption);
    if (!GetParam().outer.isNull()) {
        const QRect outer = GetParam().outer;
        EXPECT_EQ(form->outerRect(), outer);
        EXPECT_EQ(form->pos(), outer.topLeft());
        int width = outer.width() - TForm::frameWidth;
        if (GetParam().roomForScrollBar)
            width += form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        EXPECT_EQ(form->size(), QSize(width, outer.height() - TForm::frameHeight));
    }
    EXPECT_EQ(form->font().family().toStdString(), "Liberation Sans");
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_FALSE(form->isVisible());
    form->Show();
    EXPECT_TRUE(form->isVisible());
    form->close();  // frame's close box: hidden, not destroyed
    EXPECT_FALSE(form->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowPropertiesTest,
    ::testing::Values(
        // The record windows are one button step wider than designed, for "Riwayat".
        WindowCase{"Form2", [] { return new TForm2(binder(), unopenedModule); }, "Form Data Pegawai",
                   QRect(89, 66, 684 + 94, 487)},
        WindowCase{"Form3", [] { return new TForm3(unopenedModule()); }, "Form Data Mutasi",
                   QRect(37, 70, 736 + 106, 416)},
        WindowCase{"Form4", overModule<TForm4>(), "Form Lihat Data Pegawai", QRect(232, 126, 351, 224)},
        WindowCase{"Form5", overModule<TForm5>(), "Form Lihat Data Mutasi", QRect(192, 107, 345, 231)},
        WindowCase{"Form6", overModule<TForm6>(), "Form Cari Data Pegawai", QRect(274, 78, 347, 478)},
        WindowCase{"Form7", overModule<TForm7>(), "Form Cari Data Mutasi", QRect(234, 94, 370, 478)},
        WindowCase{"Form8", factory<TForm8>(), "Laporan Daftar Urut Kepangkatan", QRect()},
        WindowCase{"Form9", overModule<TForm9>(), "Laporan Daftar Urut Kepangkatan", QRect()},
        WindowCase{"Form10", overModule<TForm10>(), "Laporan Bezetting", QRect()},
        WindowCase{"Form11", overModule<TForm11>(), "Laporan Mutasi", QRect()},
        WindowCase{"Form13", factory<TForm13>(), "Form Sekilas Penggunaan Program", QRect(219, 72, 544, 456)},
        WindowCase{"Form14", factory<TForm14>(), "Form Sekilas Penggunaan Program", QRect(202, 58, 540, 500), true},
        WindowCase{"Form15", factory<TForm15>(), "Form Sekilas RADAR Kelas I Sindara", QRect(191, 100, 537, 331)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TForm2, BindsToTheDataModulesSourcesOnlyWhenItIsPublished)
{
    ReferenceBinder references;
    std::unique_ptr<TDMarsipstaf> module;
    TForm2 form(references, [&]() -> TDMarsipstaf& { return *module; });  // created before the module, as at start-up
    EXPECT_EQ(form.dataSource("DSdatapeg"), nullptr);
    module = std::make_unique<TDMarsipstaf>();
    references.publish("DMarsipstaf");
    for (const char* name : TForm2::referencedSources)
        EXPECT_EQ(form.dataSource(name), module->DataSourceByName(name)) << name;
    EXPECT_EQ(form.dataSource("DSdatapeg"), &module->DSdatapeg);
}
