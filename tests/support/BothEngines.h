#pragma once
// Tests that run once on the table files and once on the test server, with
// one body: a suite derived from ::testing::TestWithParam<TestEngine> makes
// its TempDatabase with GetParam() and is instantiated with
// INSTANTIATE_FOR_BOTH_ENGINES(Suite).
#include "TempDatabase.h"

#include <gtest/gtest.h>

#include <cstdlib>

#define INSTANTIATE_FOR_BOTH_ENGINES(suite)                                                                            \
    INSTANTIATE_TEST_SUITE_P(Engines, suite, ::testing::Values(TestEngine::Files, TestEngine::Server),                 \
                             [](const ::testing::TestParamInfo<TestEngine>& info) {                                    \
                                 return std::string(info.param == TestEngine::Files ? "Files" : "Server");             \
                             })

// Without a test server the server half is skipped on a developer's machine
// and fails under CI, where tools/run-tests.sh always starts one.
#define SKIP_WITHOUT_TEST_SERVER(db)                                                                                   \
    do {                                                                                                               \
        if ((db).serverMissing()) {                                                                                    \
            if (std::getenv("CI"))                                                                                     \
                FAIL() << "ARSIPSTAF_TEST_PG is not set: run the tests with tools/run-tests.sh";                       \
            GTEST_SKIP() << "no test server (ARSIPSTAF_TEST_PG): run the tests with tools/run-tests.sh";               \
        }                                                                                                              \
    } while (false)
