#pragma once
// The data module on fresh temporary tables; windows built in a test are
// given it, as start-up gives them the one data module. The global stays
// unset: no window may reach the module through it.
#include "DataModuleFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

class SharedTablesFixture : public DataModuleFixture {
protected:
    std::string currentTransfer(const std::string& field = "No_SKM") { return mut().FieldByName(field)->AsString(); }

    // Shows a window and makes it the active one, so focus checks mean something.
    static void showActive(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};
