#include "alerts/FrontPanelFeed.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace sentinax;

namespace {

// The companions' entry points are plain C function pointers, so the doubles
// record into globals that each test clears.
std::vector<FrontPanelCommand> g_records;
struct PanoraCall {
    int32_t group, code, value;
    std::string colour;
};
std::vector<PanoraCall> g_panora;

void RecordMainEntry(FrontPanelCommand* record) {
    g_records.push_back(*record);
}
void RecordPanora(int32_t group, int32_t code, int32_t value, char* colour) {
    // The colour must be a one-character, terminated string.
    g_panora.push_back({group, code, value, colour ? std::string(colour) : "<null>"});
}

FeedInputs Inputs(int32_t sysFan = 0) {
    FeedInputs in;
    in.CpuTempByte = 45;
    in.SystemTemp = 38;
    in.CpuFan = 2400;
    in.SysFan = sysFan;
    return in;
}

class FrontPanelFeedTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_records.clear();
        g_panora.clear();
    }
    std::vector<int32_t> Arguments() const {
        std::vector<int32_t> out;
        for (const auto& r : g_records)
            out.push_back(r.argument);
        return out;
    }
    std::vector<int32_t> Codes() const {
        std::vector<int32_t> out;
        for (const auto& c : g_panora)
            out.push_back(c.code);
        return out;
    }
};

} // namespace

TEST_F(FrontPanelFeedTest, FrontPanelRotatesThreeItemsThenFourOnceTheSystemFanIsOn) {
    FrontPanelFeed feed(RecordMainEntry, nullptr, false);
    uint8_t sysFanEnabled = 0;
    for (int i = 0; i < 4; ++i)
        feed.Feed(Inputs(1500), sysFanEnabled);
    // The front-panel path never switches the system fan on itself.
    EXPECT_EQ(sysFanEnabled, 0);
    EXPECT_EQ(Arguments(), (std::vector<int32_t>{1, 3, 0, 1}));

    sysFanEnabled = 1;
    for (int i = 0; i < 5; ++i)
        feed.Feed(Inputs(1500), sysFanEnabled);
    EXPECT_EQ(Arguments(), (std::vector<int32_t>{1, 3, 0, 1, 3, 0, 2, 1, 3}));
    EXPECT_EQ(feed.FeedPosition(), 3);

    // Records: command 114 and the value of the item sent.
    const std::vector<int32_t> values{45, 38, 2400, 45, 38, 2400, 1500, 45, 38};
    for (size_t i = 0; i < g_records.size(); ++i) {
        EXPECT_EQ(g_records[i].command, 114) << i;
        EXPECT_EQ(g_records[i].value, values[i]) << i;
    }
}

TEST_F(FrontPanelFeedTest, PanelDisplaySwitchesTheSystemFanOnAtItsFirstReading) {
    FrontPanelFeed feed(nullptr, RecordPanora, false);
    uint8_t sysFanEnabled = 0;
    for (int i = 0; i < 5; ++i) // 1 2 3 1 2
        feed.Feed(Inputs(0), sysFanEnabled);
    EXPECT_EQ(sysFanEnabled, 0);
    // First non-zero reading on position 3: the switch comes before the call,
    // so the very same tick already moves on to position 4.
    feed.Feed(Inputs(900), sysFanEnabled);
    EXPECT_EQ(sysFanEnabled, 1);
    EXPECT_EQ(feed.FeedPosition(), 4);
    // For good: a zero reading later does not switch it off.
    feed.Feed(Inputs(0), sysFanEnabled);
    feed.Feed(Inputs(0), sysFanEnabled);
    EXPECT_EQ(sysFanEnabled, 1);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{257, 259, 258, 257, 259, 258, 260, 257}));
    for (const auto& call : g_panora)
        EXPECT_EQ(call.group, 256);
    EXPECT_EQ(g_panora[5].value, 2400);
    EXPECT_EQ(g_panora[6].value, 0); // the system fan as read on that tick
}

TEST_F(FrontPanelFeedTest, ExcludedBoardKeepsTheSystemFanOff) {
    FrontPanelFeed feed(nullptr, RecordPanora, true);
    uint8_t sysFanEnabled = 0;
    for (int i = 0; i < 4; ++i)
        feed.Feed(Inputs(1200), sysFanEnabled);
    EXPECT_EQ(sysFanEnabled, 0);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{257, 259, 258, 257}));
}

TEST_F(FrontPanelFeedTest, ColourPerItemEachTick) {
    FrontPanelFeed feed(nullptr, RecordPanora, false);
    uint8_t sysFanEnabled = 1;
    FeedInputs in = Inputs(1000);
    in.Red[0] = true; // CPU temperature
    in.Red[3] = true; // system fan
    for (int i = 0; i < 4; ++i)
        feed.Feed(in, sysFanEnabled);
    in = Inputs(1000); // a tick without evaluation: all green
    feed.Feed(in, sysFanEnabled);
    ASSERT_EQ(g_panora.size(), 5u);
    EXPECT_EQ(g_panora[0].colour, "R");
    EXPECT_EQ(g_panora[1].colour, "G");
    EXPECT_EQ(g_panora[2].colour, "G");
    EXPECT_EQ(g_panora[3].colour, "R");
    EXPECT_EQ(g_panora[4].colour, "G");
}

TEST_F(FrontPanelFeedTest, SuspendPausesTheFrontPanelButNotThePanelDisplay) {
    uint8_t sysFanEnabled = 0;
    FeedInputs paused = Inputs(700);
    paused.PausedForSuspend = true;

    FrontPanelFeed frontPanel(RecordMainEntry, nullptr, false);
    frontPanel.Feed(Inputs(), sysFanEnabled);
    frontPanel.Feed(paused, sysFanEnabled);
    frontPanel.Feed(paused, sysFanEnabled);
    EXPECT_EQ(g_records.size(), 1u);
    EXPECT_EQ(frontPanel.FeedPosition(), 2); // the rotation waits too
    frontPanel.Feed(Inputs(), sysFanEnabled);
    EXPECT_EQ(Arguments(), (std::vector<int32_t>{1, 3}));

    FrontPanelFeed panel(nullptr, RecordPanora, false);
    panel.Feed(paused, sysFanEnabled);
    panel.Feed(paused, sysFanEnabled);
    EXPECT_EQ(Codes(), (std::vector<int32_t>{257, 259}));
    EXPECT_EQ(sysFanEnabled, 1); // the switch runs while paused as well
}

TEST_F(FrontPanelFeedTest, NoCompanionLoadedSendsNothing) {
    FrontPanelFeed feed(nullptr, nullptr, false);
    uint8_t sysFanEnabled = 0;
    feed.Feed(Inputs(1000), sysFanEnabled);
    EXPECT_TRUE(g_records.empty());
    EXPECT_TRUE(g_panora.empty());
    EXPECT_EQ(feed.FeedPosition(), 1);
    EXPECT_EQ(sysFanEnabled, 0);
}
