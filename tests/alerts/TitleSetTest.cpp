// The title list kept from a compositor's events, and the Wayland finder's
// answers where there is no compositor to ask.
#include "alerts/TitleSet.h"
#include "alerts/WaylandWindowFinder.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace sentinax {
namespace {

const std::array<std::string, 3> kTitles = {"Home Theater", "Ovalis II", "Configuration"};

TEST(TitleSet, AnswersFollowRetitledSharedAndClosedWindows) {
    TitleSet set;
    EXPECT_FALSE(set.FirstExisting(kTitles));
    set.Set(1, "Configuration");
    set.Set(2, "Configuration");
    set.Set(3, "Configuration - x");
    set.Set(4, "");
    EXPECT_EQ(set.FirstExisting(kTitles), 2u);
    set.Set(5, "Ovalis II");
    EXPECT_EQ(set.FirstExisting(kTitles), 1u) << "the list's order, not the windows'";
    set.Set(5, "Ovalis III");
    EXPECT_EQ(set.FirstExisting(kTitles), 2u) << "a retitled window loses its old title";
    set.Remove(1);
    EXPECT_EQ(set.FirstExisting(kTitles), 2u) << "a second window still has it";
    set.Remove(2);
    set.Remove(2);
    set.Remove(99);
    EXPECT_FALSE(set.FirstExisting(kTitles));
    set.Set(6, std::string("Conf\xff\x00iguration", 15));
    EXPECT_FALSE(set.FirstExisting(kTitles)) << "odd bytes are compared as they are";
    EXPECT_EQ(set.Windows(), 4u);
    set.Clear();
    EXPECT_EQ(set.Windows(), 0u);
}

TEST(WaylandWindowFinder, WithoutACompositorItFindsNothingAndSaysWhy) {
    WaylandWindowFinder none{std::string()};
    EXPECT_FALSE(none.FirstExisting(kTitles));
    EXPECT_EQ(none.Limitation(), "") << "an X11 session misses nothing";

    WaylandWindowFinder gone{"/nonexistent/sx-wayland-0"};
    EXPECT_FALSE(gone.FirstExisting(kTitles));
    EXPECT_NE(gone.Limitation().find("no connection"), std::string::npos);
    EXPECT_EQ(gone.Reading(), WaylandWindowFinder::Source::None);
}

} // namespace
} // namespace sentinax
