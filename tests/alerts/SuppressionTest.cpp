#include "alerts/Suppression.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace sentinax {
namespace {

// Answers from a fixed set of open window titles and records what was asked.
class FakeWindowFinder : public WindowFinder {
public:
    explicit FakeWindowFinder(std::set<std::string> open) : open_(std::move(open)) {}
    bool WindowExists(const std::string& title) override {
        asked.push_back(title);
        return open_.count(title) != 0;
    }
    std::vector<std::string> asked;

private:
    std::set<std::string> open_;
};

TEST(Suppression, NoListedWindowAsksEveryTitleInOrder) {
    FakeWindowFinder finder({"Home Theater 2", "Terminal"});
    EXPECT_FALSE(MonitoringSuppressed(finder));
    const std::vector<std::string> expected = {"Home Theater",
                                               "Untitled - 3DMark2001 SE",
                                               "Untitled - 3DMark2001 SE Pro",
                                               "3DMark03 - Professional Edition",
                                               "Ovalis II",
                                               "Serious Sam(FullScreen 640*480)",
                                               "Radio WebUpdate",
                                               "Configuration"};
    EXPECT_EQ(finder.asked, expected);
}

TEST(Suppression, EachListedTitleAloneSuppresses) {
    for (const std::string& title : SuppressorTitles) {
        FakeWindowFinder finder({title});
        EXPECT_TRUE(MonitoringSuppressed(finder)) << title;
        EXPECT_EQ(finder.asked.back(), title) << "the test stops at the first window found";
    }
}

TEST(Suppression, FirstFoundInListOrderEndsTheTest) {
    FakeWindowFinder finder({"Configuration", "Ovalis II"});
    EXPECT_TRUE(MonitoringSuppressed(finder));
    ASSERT_EQ(finder.asked.size(), 5u);
    EXPECT_EQ(finder.asked.back(), "Ovalis II");

    FakeWindowFinder direct({"Configuration", "Ovalis II"});
    EXPECT_EQ(direct.FirstExisting(SuppressorTitles), 4u);
}

TEST(Suppression, OnlyExactTitlesCount) {
    for (const char* near :
         {"Configuration - x", "Configuration ", " Configuration", "configuration", "CONFIGURATION",
          "Configurat", "Untitled - 3DMark2001", "Serious Sam(FullScreen 640x480)", "Ovalis  II"}) {
        FakeWindowFinder finder({near});
        EXPECT_FALSE(MonitoringSuppressed(finder)) << near;
    }
}

} // namespace
} // namespace sentinax
