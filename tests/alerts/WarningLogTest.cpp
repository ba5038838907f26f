#include "LogFolder.h"

#include "alerts/WarningLog.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace sentinax {
namespace {

using testing::FixedTime;

class WarningLogFile : public ::testing::Test {
protected:
    std::string Bytes() const { return folder_.Bytes(); }
    void Prefill(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary) << bytes;
    }

    testing::LogFolder folder_;
    const std::string& dir_ = folder_.Dir();
    const std::string path_ = folder_.LogPath();
};

TEST(FormatItemWarning, GivesEachItemsLine) {
    using R = ReadoutItem;
    const std::tm when = FixedTime();
    const struct {
        ReadoutItem item;
        int32_t value;
        const char* expected;
    } cases[] = {
        {R::Vcore, 1100, "03/25/2024 09:05:02 CPU CORE VOLTAGE WARNING : 1.10 v \n"},
        {R::Vcore, 0, "03/25/2024 09:05:02 CPU CORE VOLTAGE WARNING : 0.00 v \n"},
        {R::CpuTemp, 70, "03/25/2024 09:05:02 CPU Temperature WARNING : 70 degrees \n"},
        {R::CpuTemp, -5, "03/25/2024 09:05:02 CPU Temperature WARNING : -5 degrees \n"},
        {R::SysTemp, 55, "03/25/2024 09:05:02 Chassis Temperature WARNING : 55 degrees \n"},
        {R::V33, 3136, "03/25/2024 09:05:02 3.3V WARNING : 3.14 v \n"},
        {R::V5, 4750, "03/25/2024 09:05:02 +5V WARNING : 4.75 v \n"},
        {R::V5, -480, "03/25/2024 09:05:02 +5V WARNING : -0.48 v \n"},
        {R::V12, 13800, "03/25/2024 09:05:02 +12V WARNING : 13.80 v \n"},
        {R::CpuFan, 0, "03/25/2024 09:05:02 CPU FAN SPEED WARNING : 0 rpm \n"},
        {R::SysFan, 12000, "03/25/2024 09:05:02 SYS FAN SPEED WARNING : 12000 rpm \n"},
        {R::PowerFan, 540, "03/25/2024 09:05:02 PS FAN SPEED WARNING : 540 rpm \n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatItemWarning(c.item, c.value, when), c.expected)
            << "item " << static_cast<int>(c.item) << " value " << c.value;
    }
}

TEST(FormatItemWarning, PutsMonthBeforeDayAndPadsTheClock) {
    std::tm when{};
    when.tm_year = 99; // 1999
    when.tm_mon = 11;  // December
    when.tm_mday = 1;
    when.tm_hour = 0;
    when.tm_min = 0;
    when.tm_sec = 59;
    EXPECT_EQ(FormatItemWarning(ReadoutItem::CpuTemp, 70, when),
              "12/01/1999 00:00:59 CPU Temperature WARNING : 70 degrees \n");
    when.tm_hour = 23;
    EXPECT_EQ(FormatChassisWarning(when), "12/01/1999 23:00:59 CHASSIS INTRUSION WARNING\n");
}

TEST(FormatItemWarning, LongestLinesStillFitTheRecord) {
    // The record keeps 99 bytes; the extreme values of each kind must fit.
    const std::tm when = FixedTime();
    for (int32_t value : {INT32_MIN, INT32_MAX}) {
        for (int i = 0; i < kReadoutCount; ++i) {
            EXPECT_LT(FormatItemWarning(static_cast<ReadoutItem>(i), value, when).size(), 100u);
        }
    }
}

TEST_F(WarningLogFile, StoresLineEndsAsCrLfFollowedByAnEmptyLine) {
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"abc \n", "abc \r\n\r\n"},
        {"no line end", "no line end\r\n"},
        {"two\nlines\n", "two\r\nlines\r\n\r\n"},
        // Only line feeds are translated; a carriage return goes out as it is.
        {"cr\r\n", "cr\r\r\n\r\n"},
        {"", "\r\n"},
        // The record ends at the first NUL, as the line buffer does.
        {std::string("cut\0here\n", 9), "cut\r\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(path_);
        WarningLog log(path_, FixedTime);
        log.AppendLogLine(c.text);
        EXPECT_EQ(Bytes(), c.bytes) << "text of " << c.text.size() << " bytes";
    }
}

TEST_F(WarningLogFile, CutsTextAt99Bytes) {
    WarningLog log(path_, FixedTime);
    const std::string longText = std::string(98, 'x') + "yz\n";
    log.AppendLogLine(longText);
    // The 100th byte and the line feed after it are lost with the cut.
    EXPECT_EQ(Bytes(), std::string(98, 'x') + "y\r\n");

    std::filesystem::remove(path_);
    log.AppendLogLine(std::string(98, 'x') + "\n");
    EXPECT_EQ(Bytes(), std::string(98, 'x') + "\r\n\r\n");
}

TEST_F(WarningLogFile, AppendsToWhatEarlierRunsLeft) {
    Prefill("old\r\n\r\n");
    WarningLog log(path_, FixedTime);
    log.AppendLogLine(FormatChassisWarning(log.Now()));
    EXPECT_EQ(Bytes(), "old\r\n\r\n03/25/2024 09:05:02 CHASSIS INTRUSION WARNING\r\n\r\n");
    EXPECT_EQ(log.LogLineCount(), 1u);
}

TEST_F(WarningLogFile, RestartsTheFileOnTheLineAfter501) {
    Prefill("earlier run\r\n\r\n");
    WarningLog log(path_, FixedTime);
    log.SetLogLineCount(500);

    log.AppendLogLine("first\n");
    EXPECT_EQ(log.LogLineCount(), 501u);
    EXPECT_EQ(Bytes(), "earlier run\r\n\r\nfirst\r\n\r\n");

    log.AppendLogLine("second\n");
    EXPECT_EQ(log.LogLineCount(), 1u);
    EXPECT_EQ(Bytes(), "second\r\n\r\n");

    log.AppendLogLine("third\n");
    EXPECT_EQ(log.LogLineCount(), 2u);
    EXPECT_EQ(Bytes(), "second\r\n\r\nthird\r\n\r\n");
}

TEST_F(WarningLogFile, HoldsAtMost501RecordsOfOneRun) {
    WarningLog log(path_, FixedTime);
    const std::string record = "l\r\n\r\n";
    for (int i = 0; i < 501; ++i) {
        log.AppendLogLine("l\n");
    }
    EXPECT_EQ(Bytes().size(), 501 * record.size());
    log.AppendLogLine("restart\n");
    EXPECT_EQ(Bytes(), "restart\r\n\r\n");
    for (int i = 0; i < 500; ++i) {
        log.AppendLogLine("l\n");
    }
    EXPECT_EQ(log.LogLineCount(), 501u);
    EXPECT_EQ(Bytes().size(), std::string("restart\r\n\r\n").size() + 500 * record.size());
}

TEST_F(WarningLogFile, CountsLinesThatCouldNotBeWritten) {
    const std::string missing = dir_ + "/no such folder/log.dat";
    WarningLog log(missing, FixedTime);
    log.AppendLogLine("lost\n");
    EXPECT_EQ(log.LogLineCount(), 1u);
    EXPECT_FALSE(std::filesystem::exists(missing));

    // The restart rule applies to lost lines too.
    log.SetLogLineCount(501);
    log.AppendLogLine("lost\n");
    EXPECT_EQ(log.LogLineCount(), 1u);
}

TEST_F(WarningLogFile, CountsLinesWhenThePathIsAFolder) {
    std::filesystem::create_directory(path_);
    WarningLog log(path_, FixedTime);
    log.AppendLogLine("lost\n");
    log.AppendLogLine("lost\n");
    EXPECT_EQ(log.LogLineCount(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST(WarningLog, LocalNowIsARealDate) {
    const std::tm now = WarningLog::LocalNow();
    EXPECT_GE(now.tm_year, 124);
    EXPECT_GE(now.tm_mday, 1);
    EXPECT_LE(now.tm_mon, 11);
}

} // namespace
} // namespace sentinax
