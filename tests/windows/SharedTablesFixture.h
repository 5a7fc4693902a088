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

    TTable& mut() { return dm().Tmutasi; }

    // Appends and posts one transfer record.
    void addTransfer(const std::string& skm, const std::string& nip, const std::string& name)
    {
        mut().Append();
        mut().FieldByName("No_SKM")->SetText(skm);
        mut().FieldByName("NIP")->SetText(nip);
        mut().FieldByName("Nama_Pegawai")->SetText(name);
        mut().Post();
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
