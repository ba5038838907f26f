#include "config/LimitConversion.h"
#include "config/LimitItem.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace sentinax {
namespace {

class RecordingAdjusters : public AdjusterAccess {
public:
    void SetSliderPosition(const std::string& name, int position) override {
        moves.emplace_back(name, position);
    }
    std::vector<std::pair<std::string, int>> moves;
};

int Index(LimitItem item) {
    return static_cast<int>(item);
}

TEST(LimitFromPosition, MatchesTheFormulasAtTheirEdges) {
    using L = LimitItem;
    BoardProfile board;
    const struct {
        LimitItem item;
        int position;
        int32_t expected;
    } cases[] = {
        {L::CpuTempUpper, 0, 50},
        {L::CpuTempUpper, 1, 50},
        {L::CpuTempUpper, 2, 51},
        {L::CpuTempUpper, 100, 100},
        {L::CpuTempLower, 100, 50},
        {L::SysTempUpper, 3, 51},
        {L::SysTempLower, 1, 0},
        {L::CpuFanUpper, 100, 12000},
        {L::CpuFanLower, 30, 1500},
        {L::SysFanUpper, 10, 5700},
        {L::SysFanLower, 100, 5000},
        {L::PsFanUpper, 0, 5000},
        {L::PsFanLower, 14, 700},
        {L::V12Upper, 100, 14000},
        {L::V12Lower, 0, 10000},
        {L::V12Upper, 50, 13000},
        // Double arithmetic truncated: one millivolt below the decimal result.
        {L::VcoreUpper, 1, 2009},
        {L::VcoreUpper, 3, 2029},
        {L::VcoreLower, 18, 679},
        {L::V33Upper, 1, 3305},
        {L::V5Lower, 2, 4019},
        {L::V33Lower, 10, 2760},
        {L::VcoreLower, 20, 700},
        {L::V5Upper, 100, 6000},
        // Stored positions outside the track are converted as they are.
        {L::CpuTempUpper, -3, 48},
        {L::CpuFanLower, -2, -100},
        {L::CpuTempLower, 250, 125},
        {L::CpuFanUpper, INT_MAX, INT32_MAX},
        {L::CpuFanLower, INT_MIN, INT32_MIN},
        {L::V12Upper, INT_MAX, INT32_MAX},
        {L::VcoreLower, INT_MIN, INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LimitFromPosition(Index(c.item), c.position, board), c.expected)
            << kLimitItems[static_cast<std::size_t>(Index(c.item))].Name << " at " << c.position;
    EXPECT_EQ(LimitFromPosition(-1, 50, board), 0);
    EXPECT_EQ(LimitFromPosition(18, 50, board), 0);

    board.SysFanUpperBase = 4000;
    EXPECT_EQ(LimitFromPosition(Index(L::SysFanUpper), 10, board), 4700);
    EXPECT_EQ(LimitFromPosition(Index(L::CpuFanUpper), 10, board), 5700) << "only the system fan";
}

TEST(ConvertLimits, WithoutOverridesFollowsEveryPositionAndMovesNothing) {
    AppSettings settings;
    for (int i = 0; i < kLimitCount; ++i)
        settings.LimitPosition[static_cast<std::size_t>(i)] = 5 * i + 1;
    BoardProfile board;
    board.SysFanUpperBase = 4000;
    RecordingAdjusters adjusters;
    const Thresholds limits = ConvertLimits(settings, board, adjusters);
    for (int i = 0; i < kLimitCount; ++i)
        EXPECT_EQ(limits[i], LimitFromPosition(i, 5 * i + 1, board)) << i;
    EXPECT_EQ(limits.sysFanUpper, 4000 + 70 * 31);
    EXPECT_TRUE(adjusters.moves.empty());
}

TEST(ConvertLimits, OverridesMoveTheAdjusterAndForceTheValueOnly) {
    AppSettings settings;
    settings.LimitPosition.fill(40);
    BoardProfile board;
    board.CpuTempLimitOverride = LimitOverride{90, 95};
    board.CpuFanLimitOverride = LimitOverride{14, 700};
    board.VcoreLowerOverride = true;
    RecordingAdjusters adjusters;
    const AppSettings before = settings;
    const Thresholds limits = ConvertLimits(settings, board, adjusters);

    EXPECT_EQ(limits.cpuTempUpper, 95);
    EXPECT_EQ(limits.cpuFanLower, 700);
    EXPECT_EQ(limits.vcoreLower, 690) << "not the 700 that position 20 gives";
    EXPECT_EQ(limits.cpuTempLower, 20);
    EXPECT_EQ(limits.vcoreUpper, LimitFromPosition(Index(LimitItem::VcoreUpper), 40, board));
    const std::vector<std::pair<std::string, int>> expected = {
        {"CPU_TEMP_UPPER_LIMIT", 90}, {"CPU_FAN_LOWER_LIMIT", 14}, {"VCORE_LOWER_LIMIT", 20}};
    EXPECT_EQ(adjusters.moves, expected);
    EXPECT_EQ(settings.LimitPosition, before.LimitPosition);
    EXPECT_EQ(settings.LimitChanged, before.LimitChanged);
}

TEST(LimitItems, NamesAndBuiltInRowsAgree) {
    for (int i = 0; i < kLimitCount; ++i) {
        const LimitItemInfo& item = kLimitItems[static_cast<std::size_t>(i)];
        EXPECT_EQ(FindLimitItem(item.Name), i);
        EXPECT_EQ(item.BuiltInRow.substr(0, item.Name.size() + 1), std::string(item.Name) + ",");
        EXPECT_EQ(item.BuiltInRow.back(), ',');
    }
    EXPECT_EQ(FindLimitItem("cpu_temp_upper_limit"), -1);
    EXPECT_EQ(FindLimitItem("CPU_TEMP_UPPER_LIMIT "), -1);
}

} // namespace
} // namespace sentinax
