// The main window's integration tests run the real window class offscreen,
// with the real hardware library playing the scenario named by HMIO_SCENARIO.
#include "app/CSentinaxApp.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    sentinax::CSentinaxApp app(argc, argv);
    return RUN_ALL_TESTS();
}
