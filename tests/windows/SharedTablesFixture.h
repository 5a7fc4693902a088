#pragma once
// The data module on fresh temporary tables, published as DMarsipstaf the
// way start-up publishes it, so windows built in a test bind to it.
#include "DMarsipstaf.h"
#include "DataModuleFixture.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

class SharedTablesFixture : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        DMarsipstaf = &dm();
    }

    void TearDown() override
    {
        DMarsipstaf = nullptr;
        DataModuleFixture::TearDown();
    }


    std::string currentTransfer(const std::string& field = "No_SKM")
    {
        return mut().FieldByName(field)->AsString();
    }

    // Shows a window and makes it the active one, so focus checks mean something.
    static void showActive(QWidget& window)
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};
