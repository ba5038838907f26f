// The main window's integration tests run the real window class offscreen,
// with the real hardware library playing the scenario named by HMIO_SCENARIO.
#include "OffscreenRun.h"
#include "app/CSentinaxApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    sentinax::test::OffscreenRun offscreen;
    ::testing::InitGoogleTest(&argc, argv);
    sentinax::CSentinaxApp app(argc, argv);
    return RUN_ALL_TESTS();
}
