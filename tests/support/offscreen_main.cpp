// The main of the widget test binaries: offscreen, with a QApplication.
#include "OffscreenRun.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    sentinax::test::OffscreenRun offscreen;
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
