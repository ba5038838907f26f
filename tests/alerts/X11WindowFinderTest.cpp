// The X11 finder against a private Xvfb: windows are made and titled through a
// second connection, as another program (or a window manager) would.
#include "alerts/X11WindowFinder.h"
#include "alerts/Suppression.h"

#include "ScopedEnv.h"
#include "XTestDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace sentinax {
namespace {

using testing::TitleClient;
using testing::XvfbServer;

class X11WindowFinderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!XvfbServer::Installed()) {
            return;
        }
        server_ = new XvfbServer;
        if (!server_->Start()) {
            delete server_;
            server_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        if (server_ == nullptr) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        client_ = std::make_unique<TitleClient>(server_->Display());
        ASSERT_TRUE(client_->Ok());
        finder_ = std::make_unique<X11WindowFinder>(server_->Display());
    }
    void TearDown() override {
        if (client_) {
            client_->ClientList({});
            client_->Sync();
        }
    }

    static XvfbServer* server_;
    std::unique_ptr<TitleClient> client_; // its windows go when it disconnects
    std::unique_ptr<X11WindowFinder> finder_;
};

XvfbServer* X11WindowFinderTest::server_ = nullptr;

TEST_F(X11WindowFinderTest, ReadsUtf8AndLatin1Titles) {
    client_->NetWmName(client_->Window(), "Ovalis II");
    client_->WmName(client_->Window(), "Configuraci\xF3n"); // Latin-1 STRING
    client_->Sync();

    EXPECT_TRUE(finder_->WindowExists("Ovalis II"));
    EXPECT_TRUE(finder_->WindowExists("Configuraci\xC3\xB3n")) << "Latin-1 read as UTF-8";
    EXPECT_FALSE(finder_->WindowExists("Configuraci\xF3n")) << "raw Latin-1 bytes are no UTF-8";
    EXPECT_FALSE(finder_->WindowExists("Configuration"));
}

TEST_F(X11WindowFinderTest, NetWmNameTakesPrecedenceOverWmName) {
    const auto w = client_->Window();
    client_->NetWmName(w, "Radio WebUpdate");
    client_->WmName(w, "Home Theater");
    client_->Sync();

    EXPECT_TRUE(finder_->WindowExists("Radio WebUpdate"));
    EXPECT_FALSE(finder_->WindowExists("Home Theater"));
}

TEST_F(X11WindowFinderTest, OnlyExactTitlesMatchWhateverTheirLength) {
    const std::string longTitle(300, 'x');
    client_->NetWmName(client_->Window(), "Configuration - x");
    client_->WmName(client_->Window(), "Configuration" + std::string(200, ' '));
    client_->NetWmName(client_->Window(), "Ovalis");
    client_->NetWmName(client_->Window(), longTitle);
    client_->Sync();

    EXPECT_FALSE(finder_->WindowExists("Configuration"));
    EXPECT_FALSE(finder_->WindowExists("Ovalis II"));
    EXPECT_FALSE(finder_->WindowExists("Configuration - "));
    EXPECT_TRUE(finder_->WindowExists("Configuration - x"));
    EXPECT_TRUE(finder_->WindowExists(longTitle));
    EXPECT_FALSE(finder_->WindowExists(longTitle.substr(1)));
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
}

TEST_F(X11WindowFinderTest, HiddenWindowsCountAndClosedOnesDoNot) {
    const auto hidden = client_->Window(/*mapped=*/false);
    client_->WmName(hidden, "Home Theater");
    client_->Sync();
    EXPECT_TRUE(finder_->WindowExists("Home Theater"));
    EXPECT_TRUE(MonitoringSuppressed(*finder_));

    client_->Destroy(hidden);
    client_->Sync();
    EXPECT_FALSE(finder_->WindowExists("Home Theater"));
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
}

// Between changes the answer comes from the last scan; every change that can
// alter it (a new, renamed, reparented or destroyed window, a new client list)
// is seen at the next lookup.
TEST_F(X11WindowFinderTest, AnswersFromTheLastScanUntilWindowsChange) {
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
    const unsigned scans = finder_->Scans();
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
    EXPECT_EQ(finder_->Scans(), scans) << "nothing changed: no new scan";

    const auto w = client_->Window(/*mapped=*/false); // created: seen
    client_->Sync();
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
    client_->NetWmName(w, "Configuration"); // titled after it was first seen
    client_->Sync();
    EXPECT_TRUE(MonitoringSuppressed(*finder_));
    client_->NetWmName(w, "Configuration - x"); // renamed
    client_->Sync();
    EXPECT_FALSE(MonitoringSuppressed(*finder_));

    const auto frame = client_->Window();
    const auto inner = client_->Window(true, frame);
    client_->Sync();
    EXPECT_FALSE(MonitoringSuppressed(*finder_));
    client_->WmName(inner, "Home Theater"); // a title deep in a frame
    client_->MarkManaged(inner);
    client_->Sync();
    EXPECT_TRUE(MonitoringSuppressed(*finder_));
    client_->Destroy(frame);
    client_->Sync();
    EXPECT_FALSE(MonitoringSuppressed(*finder_));

    const unsigned before = finder_->Scans();
    for (unsigned i = 0; i < X11WindowFinder::kRescanEvery + 1; ++i)
        MonitoringSuppressed(*finder_);
    EXPECT_EQ(finder_->Scans(), before + 1) << "one scan per period all the same";
}

TEST_F(X11WindowFinderTest, OnePassAnswersInListOrderNotWindowOrder) {
    client_->NetWmName(client_->Window(), "Configuration");
    client_->NetWmName(client_->Window(), "Ovalis II");
    client_->Sync();

    EXPECT_EQ(finder_->FirstExisting(SuppressorTitles), std::optional<std::size_t>(4));
    EXPECT_EQ(finder_->FirstExisting({}), std::nullopt);
    EXPECT_TRUE(MonitoringSuppressed(*finder_));
}

// A reparenting window manager: the root's children are untitled (or oddly
// titled) frames; the titled clients inside carry WM_STATE.
TEST_F(X11WindowFinderTest, LooksInsideWindowManagerFrames) {
    const auto frame = client_->Window();
    client_->WmName(frame, "Home Theater"); // a frame's own title does not count
    const auto inner = client_->Window(true, frame);
    const auto managed = client_->Window(true, inner);
    client_->MarkManaged(managed);
    client_->NetWmName(managed, "Untitled - 3DMark2001 SE");
    client_->Sync();

    EXPECT_TRUE(finder_->WindowExists("Untitled - 3DMark2001 SE"));
    EXPECT_FALSE(finder_->WindowExists("Home Theater"));
    EXPECT_TRUE(MonitoringSuppressed(*finder_));
}

TEST_F(X11WindowFinderTest, ReadsTheWindowManagersClientList) {
    // A client the manager lists but has not (yet) marked with WM_STATE.
    const auto frame = client_->Window();
    const auto client = client_->Window(true, frame);
    client_->NetWmName(client, "Radio WebUpdate");
    client_->Sync();
    EXPECT_FALSE(finder_->WindowExists("Radio WebUpdate")) << "not a top-level window yet";

    client_->ClientList({client});
    const auto withdrawn = client_->Window(/*mapped=*/false); // not managed, not listed
    client_->WmName(withdrawn, "Ovalis II");
    client_->Sync();
    EXPECT_TRUE(finder_->WindowExists("Radio WebUpdate"));
    EXPECT_TRUE(finder_->WindowExists("Ovalis II")) << "unlisted windows still count";
    EXPECT_EQ(finder_->FirstExisting(SuppressorTitles), std::optional<std::size_t>(4));
}

TEST(X11WindowFinderWithoutServer, NoDisplayFindsNothing) {
    {
        const test::ScopedEnv noDisplay("DISPLAY", nullptr);
        X11WindowFinder fromEnvironment;
        EXPECT_FALSE(fromEnvironment.WindowExists("Configuration"));
        EXPECT_FALSE(MonitoringSuppressed(fromEnvironment));
    }

    X11WindowFinder empty{std::string()};
    EXPECT_FALSE(empty.WindowExists("Configuration"));

    X11WindowFinder nobodyListening(":4093"); // no server there
    EXPECT_FALSE(nobodyListening.WindowExists("Configuration"));
    EXPECT_FALSE(MonitoringSuppressed(nobodyListening));
}

TEST(X11WindowFinderWithoutServer, SurvivesTheServerGoingAwayAndComesBack) {
    if (!XvfbServer::Installed()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    XvfbServer server;
    ASSERT_TRUE(server.Start());
    const int number = server.Number();
    X11WindowFinder finder(server.Display());
    {
        TitleClient client(server.Display());
        client.NetWmName(client.Window(), "Ovalis II");
        client.Sync();
        EXPECT_TRUE(finder.WindowExists("Ovalis II"));
        server.Stop();
        EXPECT_FALSE(finder.WindowExists("Ovalis II"));
        // (A further lookup now would find no server and pause reconnecting.)
    }
    ASSERT_TRUE(server.Start(number)) << "display :" << number << " was taken meanwhile";
    TitleClient client(server.Display());
    client.NetWmName(client.Window(), "Ovalis II");
    client.Sync();
    EXPECT_TRUE(finder.WindowExists("Ovalis II")) << "the next lookup connects again";
}

} // namespace
} // namespace sentinax
