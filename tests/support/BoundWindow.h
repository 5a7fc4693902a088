#pragma once
// A shown, active window over a loaded data module, for widget tests of
// the data-aware controls. Errors escaping event handlers are recorded by
// the test application and read with errors().
#include "CatchingApplication.h"
#include "DataModuleFixture.h"

#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

class BoundWindow : public DataModuleFixture {
protected:
    void SetUp() override
    {
        app.takeErrors();
        DataModuleFixture::SetUp();
        window = std::make_unique<QWidget>();
        layout = new QVBoxLayout(window.get());
    }

    void TearDown() override
    {
        window.reset();
        DataModuleFixture::TearDown();
    }

    // Shows the window with what the test put in it.
    void showWindow()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::vector<std::string> errors() { return app.takeErrors(); }

    CatchingApplication& app = CatchingApplication::instance();  // before any widget
    std::unique_ptr<QWidget> window;
    QVBoxLayout* layout = nullptr;
};
