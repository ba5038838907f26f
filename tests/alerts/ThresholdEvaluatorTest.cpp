#include "LogFolder.h"

#include "alerts/ThresholdEvaluator.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace sentinax {
namespace {

using R = ReadoutItem;

constexpr int32_t kLower = 1100;
constexpr int32_t kUpper = 1600;
constexpr int32_t kIn = 1350;
constexpr int32_t kOut = 1700;

using testing::FixedTime;

// An evaluator writing into a log file of its own temporary folder.
class Evaluation : public ::testing::Test {
protected:
    EvaluationResult Eval(ReadoutItem item, int32_t value, bool frozen = false) {
        return evaluator_.Evaluate(item, value, kLower, kUpper, frozen);
    }
    // Evaluates out of range n times; returns the last result.
    EvaluationResult Out(ReadoutItem item, int n, bool frozen = false) {
        EvaluationResult last;
        for (int i = 0; i < n; ++i) {
            last = Eval(item, kOut, frozen);
        }
        return last;
    }
    std::string Bytes() const { return folder_.Bytes(); }

    testing::LogFolder folder_;
    WarningLog log_{folder_.LogPath(), FixedTime};
    ThresholdEvaluator evaluator_{log_};
};

TEST_F(Evaluation, BothLimitsAreStrict) {
    const struct {
        int32_t value;
        bool inRange;
    } cases[] = {
        {1099, false}, {1100, false}, {1101, true},       {1599, true},
        {1600, false}, {1601, false}, {INT32_MIN, false}, {INT32_MAX, false},
    };
    for (const auto& c : cases) {
        ThresholdEvaluator evaluator(log_);
        for (int i = 0; i < 3; ++i) {
            evaluator.Evaluate(R::Vcore, c.value, kLower, kUpper, false);
        }
        EXPECT_EQ(evaluator.ViolationCounter(R::Vcore), c.inRange ? 0 : 3) << c.value;
        EXPECT_EQ(evaluator.WarningActive(R::Vcore), !c.inRange) << c.value;
    }
}

TEST_F(Evaluation, EqualLimitsLeaveNoValueInRange) {
    for (int i = 0; i < 3; ++i) {
        evaluator_.Evaluate(R::CpuTemp, 50, 50, 50, false);
    }
    EXPECT_TRUE(evaluator_.WarningActive(R::CpuTemp));
}

TEST_F(Evaluation, ThirdViolationInARowWarnsLogsAndBlinks) {
    // Evaluation number, then what it must show.
    const struct {
        int32_t value;
        ItemColours colours;
        bool logged;
        bool warning;
        bool atLeastThree;
    } steps[] = {
        {kOut, kInRangeColours, false, false, false},
        {kOut, kInRangeColours, false, false, false},
        {kOut, kWarningBlackColours, true, true, true},
        {kOut, kWarningRedColours, false, true, true},
        {kOut, kWarningBlackColours, false, true, true},
        {kOut, kWarningRedColours, false, true, true},
        {kIn, kInRangeColours, false, false, false},
    };
    int n = 0;
    for (const auto& s : steps) {
        ++n;
        const EvaluationResult r = Eval(R::CpuTemp, s.value);
        EXPECT_EQ(r.Colours, s.colours) << "evaluation " << n;
        EXPECT_EQ(r.Logged, s.logged) << "evaluation " << n;
        EXPECT_EQ(r.ReachedThree, s.logged) << "evaluation " << n;
        EXPECT_EQ(r.CountAtLeastThree, s.atLeastThree) << "evaluation " << n;
        EXPECT_EQ(evaluator_.WarningActive(R::CpuTemp), s.warning) << "evaluation " << n;
    }
    EXPECT_EQ(Bytes(), "03/25/2024 09:05:02 CPU Temperature WARNING : 1700 degrees \r\n\r\n");
}

TEST_F(Evaluation, OneValueInRangeStartsTheCountAgain) {
    const int32_t values[] = {kOut, kOut, kIn, kOut, kOut, kOut};
    std::vector<int> loggedAt;
    for (int i = 0; i < 6; ++i) {
        if (Eval(R::V12, values[i]).Logged) {
            loggedAt.push_back(i + 1);
        }
    }
    EXPECT_EQ(loggedAt, std::vector<int>{6});
    EXPECT_EQ(log_.LogLineCount(), 1u);
}

TEST_F(Evaluation, WrappedCounterPausesBlinkingAndLogsAgainAt259) {
    std::vector<int> loggedAt;
    ItemColours colours127;
    for (int n = 1; n <= 259; ++n) {
        const EvaluationResult r = Eval(R::CpuTemp, kOut);
        if (r.Logged) {
            loggedAt.push_back(n);
        }
        if (n == 127) {
            EXPECT_EQ(evaluator_.ViolationCounter(R::CpuTemp), 127);
            colours127 = r.Colours;
        }
        if (n >= 128 && n <= 258) {
            // Negative or below 3 again: no blinking, the warning holds.
            EXPECT_EQ(r.Colours, colours127) << "evaluation " << n;
            EXPECT_TRUE(evaluator_.WarningActive(R::CpuTemp)) << "evaluation " << n;
            EXPECT_FALSE(r.CountAtLeastThree) << "evaluation " << n;
        }
        if (n == 128) {
            EXPECT_EQ(evaluator_.ViolationCounter(R::CpuTemp), -128);
        }
        if (n == 259) {
            EXPECT_TRUE(r.ReachedThree);
            EXPECT_NE(r.Colours, colours127); // blinking goes on from its phase
        }
    }
    EXPECT_EQ(loggedAt, (std::vector<int>{3, 259}));
    EXPECT_EQ(evaluator_.ViolationCounter(R::CpuTemp), 3);

    Eval(R::CpuTemp, kIn);
    EXPECT_EQ(evaluator_.ViolationCounter(R::CpuTemp), 0);
    EXPECT_FALSE(evaluator_.WarningActive(R::CpuTemp));
}

TEST_F(Evaluation, FrozenFlagHoldsOnlyTheCpuAndSystemFanCounters) {
    const struct {
        ReadoutItem item;
        int8_t expected;
    } cases[] = {
        {R::CpuFan, 0},  {R::SysFan, 0}, {R::PowerFan, 2}, {R::Vcore, 2}, {R::CpuTemp, 2},
        {R::SysTemp, 2}, {R::V33, 2},    {R::V5, 2},       {R::V12, 2},
    };
    for (const auto& c : cases) {
        Out(c.item, 2, true);
        EXPECT_EQ(evaluator_.ViolationCounter(c.item), c.expected)
            << "item " << static_cast<int>(c.item);
    }
}

TEST_F(Evaluation, FrozenFanResumesCountingFromWhereItStood) {
    Out(R::CpuFan, 2);
    Out(R::CpuFan, 5, true);
    EXPECT_EQ(evaluator_.ViolationCounter(R::CpuFan), 2);
    EXPECT_FALSE(evaluator_.WarningActive(R::CpuFan));
    EXPECT_TRUE(Out(R::CpuFan, 1).Logged);
}

TEST_F(Evaluation, FrozenFanAtThreeBlinksAndLogsEveryTime) {
    Out(R::SysFan, 3);
    std::vector<ItemColours> shown;
    for (int i = 0; i < 3; ++i) {
        const EvaluationResult r = Eval(R::SysFan, kOut, true);
        EXPECT_TRUE(r.Logged);
        shown.push_back(r.Colours);
    }
    EXPECT_EQ(shown, (std::vector<ItemColours>{kWarningRedColours, kWarningBlackColours,
                                               kWarningRedColours}));
    EXPECT_EQ(log_.LogLineCount(), 4u);
    EXPECT_EQ(evaluator_.ViolationCounter(R::SysFan), 3);
}

TEST_F(Evaluation, FrozenFanPastThreeBlinksWithoutLogging) {
    Out(R::CpuFan, 4);
    const EvaluationResult first = Eval(R::CpuFan, kOut, true);
    const EvaluationResult second = Eval(R::CpuFan, kOut, true);
    EXPECT_FALSE(first.Logged || second.Logged);
    EXPECT_NE(first.Colours, second.Colours);
    EXPECT_EQ(log_.LogLineCount(), 1u);
}

TEST_F(Evaluation, FrozenFanBackInRangeEndsTheEpisode) {
    Out(R::CpuFan, 3);
    EXPECT_EQ(Eval(R::CpuFan, kIn, true).Colours, kInRangeColours);
    EXPECT_EQ(evaluator_.ViolationCounter(R::CpuFan), 0);
    EXPECT_FALSE(evaluator_.WarningActive(R::CpuFan));
}

TEST_F(Evaluation, NineItemsOutAtOnceLogNineLinesInItemOrder) {
    Thresholds limits;
    for (int i = 0; i < kLimitCount; ++i) {
        limits[i] = (i % 2 == 0) ? 100000 : 10000; // upper, lower
    }
    const int32_t values[kReadoutCount] = {900, 70, 55, 3136, 4750, 9000, 0, 500, 540};
    for (int tick = 0; tick < 3; ++tick) {
        for (int i = 0; i < kReadoutCount; ++i) {
            evaluator_.Evaluate(static_cast<ReadoutItem>(i), values[i], limits, false);
        }
    }
    EXPECT_EQ(Bytes(), "03/25/2024 09:05:02 CPU CORE VOLTAGE WARNING : 0.90 v \r\n\r\n"
                       "03/25/2024 09:05:02 CPU Temperature WARNING : 70 degrees \r\n\r\n"
                       "03/25/2024 09:05:02 Chassis Temperature WARNING : 55 degrees \r\n\r\n"
                       "03/25/2024 09:05:02 3.3V WARNING : 3.14 v \r\n\r\n"
                       "03/25/2024 09:05:02 +5V WARNING : 4.75 v \r\n\r\n"
                       "03/25/2024 09:05:02 +12V WARNING : 9.00 v \r\n\r\n"
                       "03/25/2024 09:05:02 CPU FAN SPEED WARNING : 0 rpm \r\n\r\n"
                       "03/25/2024 09:05:02 SYS FAN SPEED WARNING : 500 rpm \r\n\r\n"
                       "03/25/2024 09:05:02 PS FAN SPEED WARNING : 540 rpm \r\n\r\n");
}

TEST_F(Evaluation, VoltagesShareOneBlinkPhase) {
    // Vcore's first warning flips the shared phase, so 3.3 V starts red.
    EXPECT_EQ(Out(R::Vcore, 3).Colours, kWarningBlackColours);
    EXPECT_EQ(Out(R::V33, 3).Colours, kWarningRedColours);
    // Each voltage evaluation of the tick flips it again.
    EXPECT_EQ(Eval(R::Vcore, kOut).Colours, kWarningBlackColours);
    EXPECT_EQ(Eval(R::V33, kOut).Colours, kWarningRedColours);
    EXPECT_EQ(Out(R::V5, 3).Colours, kWarningBlackColours);
    EXPECT_EQ(Out(R::V12, 3).Colours, kWarningRedColours);
    // An in-range voltage leaves the shared phase as it is.
    Eval(R::Vcore, kIn);
    EXPECT_EQ(Eval(R::V33, kOut).Colours, kWarningBlackColours);
}

TEST_F(Evaluation, OtherItemsBlinkOnTheirOwnPhase) {
    const ReadoutItem own[] = {R::CpuTemp, R::SysTemp, R::CpuFan, R::SysFan, R::PowerFan};
    for (ReadoutItem item : own) {
        EXPECT_EQ(Out(item, 3).Colours, kWarningBlackColours) << static_cast<int>(item);
    }
    // A voltage is not affected by them either.
    EXPECT_EQ(Out(R::V5, 3).Colours, kWarningBlackColours);
}

TEST_F(Evaluation, AnyWarningActiveFollowsEveryItem) {
    EXPECT_FALSE(evaluator_.AnyWarningActive());
    Out(R::PowerFan, 3);
    Out(R::SysTemp, 3);
    EXPECT_TRUE(evaluator_.AnyWarningActive());
    Eval(R::PowerFan, kIn);
    EXPECT_TRUE(evaluator_.AnyWarningActive());
    Eval(R::SysTemp, kIn);
    EXPECT_FALSE(evaluator_.AnyWarningActive());
}

TEST_F(Evaluation, ThresholdsSupplyEachItemsOwnLimits) {
    // Every item gets its own narrow range, so a swapped or misrouted field
    // shows. Fields come in upper, lower pairs.
    Thresholds limits;
    for (int pair = 0; pair < kLimitCount / 2; ++pair) {
        limits[2 * pair + 1] = 10000 * (pair + 1);
        limits[2 * pair] = 10000 * (pair + 1) + 500;
    }
    const struct {
        ReadoutItem item;
        int32_t lower;
        int32_t upper;
    } cases[] = {
        {R::CpuTemp, limits.cpuTempLower, limits.cpuTempUpper},
        {R::SysTemp, limits.sysTempLower, limits.sysTempUpper},
        {R::CpuFan, limits.cpuFanLower, limits.cpuFanUpper},
        {R::SysFan, limits.sysFanLower, limits.sysFanUpper},
        {R::PowerFan, limits.psFanLower, limits.psFanUpper},
        {R::Vcore, limits.vcoreLower, limits.vcoreUpper},
        {R::V33, limits.v33Lower, limits.v33Upper},
        {R::V5, limits.v5Lower, limits.v5Upper},
        {R::V12, limits.v12Lower, limits.v12Upper},
    };
    for (const auto& c : cases) {
        const ItemLimits got = LimitsOf(limits, c.item);
        EXPECT_EQ(got.Lower, c.lower) << static_cast<int>(c.item);
        EXPECT_EQ(got.Upper, c.upper) << static_cast<int>(c.item);
        evaluator_.Evaluate(c.item, c.lower + 1, limits, false);
        EXPECT_EQ(evaluator_.ViolationCounter(c.item), 0) << static_cast<int>(c.item);
        evaluator_.Evaluate(c.item, c.upper, limits, false);
        EXPECT_EQ(evaluator_.ViolationCounter(c.item), 1) << static_cast<int>(c.item);
    }
}

TEST_F(Evaluation, LogLineCarriesTheTimeOfWriting) {
    int seconds = 0;
    WarningLog log(log_.Path(), [&seconds] {
        std::tm when = FixedTime();
        when.tm_sec = seconds;
        return when;
    });
    ThresholdEvaluator evaluator(log);
    for (seconds = 10; seconds < 13; ++seconds) {
        evaluator.Evaluate(R::PowerFan, 0, 500, 5000, false);
    }
    EXPECT_EQ(Bytes(), "03/25/2024 09:05:12 PS FAN SPEED WARNING : 0 rpm \r\n\r\n");
}

} // namespace
} // namespace sentinax
