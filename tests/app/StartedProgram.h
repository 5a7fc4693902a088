#pragma once
// A fixture with the program's objects created as start-up creates them,
// over a fresh default database.
#include "ApplicationObjects.h"
#include "DataModuleStartup.h"
#include "TApplication.h"
#include "TempDatabase.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

class StartedProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        objects = std::make_unique<ApplicationObjects>(openDataModule);
        objects->create();
    }
    void TearDown() override { objects.reset(); }

    // Makes the window the active one, as a click on it would.
    static void activate(QWidget* window)
    {
        window->show();
        QApplication::setActiveWindow(window);
    }

    TempDatabase database;  // the nine default tables, behind the alias
    std::unique_ptr<ApplicationObjects> objects;
};
