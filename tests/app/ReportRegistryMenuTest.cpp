#include "DMarsipstaf.h"
#include "ReportRegistry.h"
#include "ReportWindow.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TRepStandardPreview.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

// Counts the previews a report window opens and closes each at once, so the
// command returns.
int previewsOpenedBy(ReportWindow* window, const std::function<void()>& command)
{
    int opened = 0;
    const auto connection = QObject::connect(window->Report1, &ReportPanel::previewOpened, window->Report1,
                                             [&opened](TRepStandardPreview* preview) {
                                                 ++opened;
                                                 QMetaObject::invokeMethod(
                                                     preview, [preview] { preview->close(); }, Qt::QueuedConnection);
                                             });
    command();
    QObject::disconnect(connection);
    return opened;
}

}  // namespace

using ReportRegistryMenu = StartedProgram;

TEST_F(ReportRegistryMenu, EveryReportHasAWindowOverItsTableAndALaporanItemThatOpensIt)
{
    EXPECT_EQ(Form1->Laporan1->actions().size(), qsizetype(ReportRegistry::all().size()));
    for (const ReportRegistry::Entry& report : ReportRegistry::all()) {
        ReportWindow* window = ReportWindow::named(QString::fromLatin1(report.name));
        ASSERT_NE(window, nullptr) << report.name;
        EXPECT_EQ(window->windowTitle().toStdString(), report.caption);
        EXPECT_EQ(window->Report1->report().DataSet, &report.table(*DMarsipstaf)) << report.name;
        QAction* item = Form1->Laporan1->findChild<QAction*>(QString::fromLatin1(report.menuItem));
        ASSERT_NE(item, nullptr) << report.menuItem;
        EXPECT_TRUE(Form1->Laporan1->actions().contains(item));
        EXPECT_EQ(TForm1::captionOf(item).toStdString(), report.menuCaption);
        EXPECT_EQ(TForm1::shortCutOf(item), report.shortCut);
        activate(Form1);
        EXPECT_EQ(previewsOpenedBy(window, [item] { item->trigger(); }), 1) << report.name;
    }
}

TEST_F(ReportRegistryMenu, TheNamedReportHandlersOpenTheirWindowsPreview)
{
    const std::pair<const char*, void (TForm1::*)()> handlers[] = {
        {"Form9", &TForm1::DaftarurutKepangkatan1Click},
        {"Form10", &TForm1::Bezetting1Click},
        {"Form11", &TForm1::Mutasi2Click},
    };
    activate(Form1);
    for (const auto& [name, handler] : handlers) {
        ReportWindow* window = ReportWindow::named(QString::fromLatin1(name));
        ASSERT_NE(window, nullptr) << name;
        EXPECT_EQ(previewsOpenedBy(window, [handler] { (Form1->*handler)(); }), 1) << name;
    }
}
