#include "TForm.h"
#include "TApplication.h"
#include "WindowFonts.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<TForm> makeForm(const char* name)
{
    return std::make_unique<TForm>(QString::fromLatin1(name), QStringLiteral("Caption"), QRect(10, 20, 308, 127),
                                   WindowFonts::sansSerif());
}
}  // namespace

TEST(TForm, OuterSizeLessFrameAllowanceIsTheClientArea)
{
    auto form = makeForm("Outer");
    EXPECT_EQ(form->size(), QSize(300, 100));
    EXPECT_EQ(form->pos(), QPoint(10, 20));
    EXPECT_EQ(form->windowTitle().toStdString(), "Caption");
    EXPECT_FALSE(form->isVisible());
}

TEST(TForm, CloseOfASecondaryWindowOnlyHidesIt)
{
    auto main = makeForm("Main");
    TApplication::instance()->SetMainForm(main.get());
    auto other = makeForm("Other");
    other->Show();
    ASSERT_TRUE(other->isVisible());
    other->Close();
    EXPECT_FALSE(other->isVisible());
    other->Show();
    other->close();  // the frame's close box
    EXPECT_FALSE(other->isVisible());
    EXPECT_FALSE(TApplication::instance()->Terminated());
    other->Show();
    other->Show();  // showing twice only brings it to the front
    EXPECT_TRUE(other->isVisible());
}

TEST(TForm, ClosingTheMainWindowEndsTheProgram)
{
    auto main = makeForm("Main");
    TApplication::instance()->SetMainForm(main.get());
    ASSERT_TRUE(main->isMainForm());
    QTimer::singleShot(0, main.get(), [&main] { main->close(); });
    QTimer guard;  // ends the loop if closing the window did not
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    const int code = QCoreApplication::exec();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(TApplication::instance()->Terminated());
}
