#pragma once
// The main() of a widget test executable: one application object for every
// test, offscreen unless the environment names another platform.
#include "TApplication.h"

#include <gtest/gtest.h>

inline int runWidgetTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
