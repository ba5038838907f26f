// The X server's visibility report on a private Xvfb: "our" window and the
// windows that cover it are made through a second connection, as the toolkit
// and other programs would.
#include "skin/X11Visibility.h"

#include "XTestDisplay.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <memory>

namespace sentinax {
namespace {

using testing::TitleClient;
using testing::XvfbServer;

// Reads events until Covered() is `covered`; the deadline only guards a hang.
bool WaitCovered(X11Visibility& visibility, bool covered) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        visibility.ReadEvents();
        if (visibility.Covered() == covered)
            return true;
        pollfd p{visibility.Fd(), POLLIN, 0};
        if (p.fd < 0)
            return false;
        ::poll(&p, 1, 100);
    }
    return false;
}

// Takes what the server sends within a short while (for checks that nothing
// changes).
void ReadFor(X11Visibility& visibility, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end && visibility.Fd() >= 0) {
        pollfd p{visibility.Fd(), POLLIN, 0};
        ::poll(&p, 1, 20);
        visibility.ReadEvents();
    }
}

class X11VisibilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed";
        server_ = std::make_unique<XvfbServer>();
        if (!server_->Start())
            GTEST_SKIP() << "Xvfb did not start";
        client_ = std::make_unique<TitleClient>(server_->Display());
        ASSERT_TRUE(client_->Ok());
        pidAtom_ = client_->Atom("_NET_WM_PID");
    }

    // A 10 x 10 window at (0, 0), unmapped, marked as a window of this process.
    xcb_window_t OurWindow() {
        const xcb_window_t w = client_->Window(false);
        client_->Cardinal(w, pidAtom_, static_cast<uint32_t>(::getpid()));
        client_->Sync();
        return w;
    }

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<TitleClient> client_;
    uint32_t pidAtom_ = 0;
};

TEST_F(X11VisibilityTest, OnlyAWindowOfThisProcessOnThisDisplayIsWatched) {
    X11Visibility visibility(server_->Display());
    ASSERT_TRUE(visibility.Connected());
    const xcb_window_t unmarked = client_->Window(true);
    const xcb_window_t foreign = client_->Window(true);
    client_->Cardinal(foreign, pidAtom_, static_cast<uint32_t>(::getpid()) + 1);
    client_->Sync();
    struct Case {
        const char* why;
        xcb_window_t window;
    } cases[] = {
        {"no window of that id on this display", foreign + 1000},
        {"no _NET_WM_PID", unmarked},
        {"another process's window", foreign},
        {"no window at all", 0},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(visibility.Watch(c.window, static_cast<uint32_t>(::getpid()))) << c.why;
        EXPECT_EQ(visibility.Watched(), 0u) << c.why;
    }
    // Covering a window that was refused reports nothing.
    const xcb_window_t cover = client_->Window(true);
    client_->Raise(cover);
    client_->Sync();
    ReadFor(visibility, 200);
    EXPECT_FALSE(visibility.Covered());
    EXPECT_TRUE(visibility.Connected());
}

TEST_F(X11VisibilityTest, FollowsWindowsCoveringAndUncoveringIt) {
    const xcb_window_t ours = OurWindow();
    X11Visibility visibility(server_->Display());
    ASSERT_TRUE(visibility.Watch(ours, static_cast<uint32_t>(::getpid())));
    EXPECT_FALSE(visibility.Covered()) << "nothing is known before the server reports";

    const xcb_window_t other = client_->Window(false);
    client_->Map(other); // mapped later, so above ours: wholly covered once ours is up
    client_->Map(ours);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, true)) << "mapped under another window";

    client_->Place(other, 5, 5, 10, 10);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, false)) << "a quarter of it shows again";

    client_->Place(other, 0, 0, 12, 12);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, true));

    client_->Place(other, 5, 5, 10, 10);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, false));
    // Covered while unmapped: nothing is said until it is mapped again.
    client_->Unmap(ours);
    client_->Place(other, 0, 0, 10, 10);
    client_->Map(ours);
    client_->Sync();
    EXPECT_TRUE(WaitCovered(visibility, true)) << "the fresh state after a new map";

    client_->Raise(ours);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, false)) << "raised above the other window";

    client_->Raise(other);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, true));
    client_->Destroy(other);
    client_->Sync();
    EXPECT_TRUE(WaitCovered(visibility, false)) << "the covering window went away";
}

TEST_F(X11VisibilityTest, AnotherWindowTakesThePlaceOfTheWatchedOne) {
    const xcb_window_t first = OurWindow();
    const xcb_window_t second = OurWindow();
    const xcb_window_t cover = client_->Window(true);
    X11Visibility visibility(server_->Display());
    ASSERT_TRUE(visibility.Watch(first, static_cast<uint32_t>(::getpid())));
    client_->Map(first);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, true));

    // The toolkit made the window again (another id): the old one's state
    // goes with it, and only the new one counts.
    ASSERT_TRUE(visibility.Watch(second, static_cast<uint32_t>(::getpid())));
    EXPECT_FALSE(visibility.Covered());
    client_->Place(second, 50, 50, 10, 10); // clear of the others
    client_->Map(second);
    client_->Sync();
    ReadFor(visibility, 200);
    EXPECT_FALSE(visibility.Covered());
    // The first window shows and is covered again: not the second one's state.
    client_->Unmap(cover);
    client_->Map(cover);
    client_->Sync();
    ReadFor(visibility, 200);
    EXPECT_FALSE(visibility.Covered()) << "events of the first window are not its";
    EXPECT_EQ(visibility.Watched(), second);
}

TEST_F(X11VisibilityTest, AServerThatGoesAwayLeavesTheWindowUncovered) {
    const xcb_window_t ours = OurWindow();
    client_->Window(true);
    X11Visibility visibility(server_->Display());
    ASSERT_TRUE(visibility.Watch(ours, static_cast<uint32_t>(::getpid())));
    client_->Map(ours);
    client_->Raise(ours);
    client_->Sync();
    ReadFor(visibility, 200);
    ASSERT_FALSE(visibility.Covered());
    // Covered, then the server ends.
    const xcb_window_t cover = client_->Window(true);
    client_->Raise(cover);
    client_->Sync();
    ASSERT_TRUE(WaitCovered(visibility, true));
    client_.reset();
    server_->Stop();
    EXPECT_TRUE(WaitCovered(visibility, false));
    EXPECT_FALSE(visibility.Connected());
    EXPECT_EQ(visibility.Fd(), -1);
    EXPECT_FALSE(visibility.Watch(ours, static_cast<uint32_t>(::getpid())));
    // A display that cannot be reached at all watches nothing either.
    X11Visibility nowhere(server_->Display());
    EXPECT_FALSE(nowhere.Connected());
    EXPECT_FALSE(nowhere.Watch(ours, static_cast<uint32_t>(::getpid())));
    EXPECT_FALSE(nowhere.ReadEvents());
}

} // namespace
} // namespace sentinax
