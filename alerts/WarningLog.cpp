#include "WarningLog.h"

#include "config/SafeWriter.h"
#include "hardware/Reporter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace sentinax {

namespace {

// Line formats in ReadoutItem order. Voltages take volts (double), the other
// items their integer value. The space before the line end is part of the
// record format that existing logs carry.
struct ItemFormat {
    const char* Format;
    bool Volts;
};

constexpr std::array<ItemFormat, kReadoutCount> kItemFormats{{
    {"%02d/%02d/%04d %02d:%02d:%02d CPU CORE VOLTAGE WARNING : %.2f v \n", true},
    {"%02d/%02d/%04d %02d:%02d:%02d CPU Temperature WARNING : %d degrees \n", false},
    {"%02d/%02d/%04d %02d:%02d:%02d Chassis Temperature WARNING : %d degrees \n", false},
    {"%02d/%02d/%04d %02d:%02d:%02d 3.3V WARNING : %.2f v \n", true},
    {"%02d/%02d/%04d %02d:%02d:%02d +5V WARNING : %.2f v \n", true},
    {"%02d/%02d/%04d %02d:%02d:%02d +12V WARNING : %.2f v \n", true},
    {"%02d/%02d/%04d %02d:%02d:%02d CPU FAN SPEED WARNING : %d rpm \n", false},
    {"%02d/%02d/%04d %02d:%02d:%02d SYS FAN SPEED WARNING : %d rpm \n", false},
    {"%02d/%02d/%04d %02d:%02d:%02d PS FAN SPEED WARNING : %d rpm \n", false},
}};

// printf into a string of exactly the needed size.
template <typename... Args> std::string Printf(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, args...);
    out.resize(static_cast<std::size_t>(length));
    return out;
}

} // namespace

WarningLog::WarningLog(std::string path, Clock clock, std::ostream* errors)
    : path_(std::move(path)), clock_(clock ? std::move(clock) : Clock(LocalNow)),
      errors_(errors ? errors : &ReportedLines()) {}

void WarningLog::AppendLogLine(const std::string& text) {
    // The record is what fits a zero-filled 100-byte buffer: at most 99 bytes,
    // ending at the first NUL.
    std::array<char, kLineBufferSize> buffer{};
    std::memcpy(buffer.data(), text.data(), std::min(text.size(), kLineBufferSize - 1));
    const std::size_t length = std::strlen(buffer.data());

    std::string record;
    record.reserve(2 * length + 2);
    for (std::size_t i = 0; i < length; ++i) {
        if (buffer[i] == '\n') {
            record += '\r';
        }
        record += buffer[i];
    }
    record += "\r\n"; // every record is followed by an empty line

    const bool restart = lineCount_ >= kRestartCount;
    if (restart) {
        lineCount_ = 0;
        KeepPreviousGeneration();
    }
    if (Write(record, restart)) {
        failing_ = false;
    }
    ++lineCount_;
}

void WarningLog::KeepPreviousGeneration() {
    std::string dir, base, why;
    SplitPath(PreviousPath(), dir, base);
    // Only the user's own regular log is moved; a link or the like never is.
    if (!RenameOwnFile(path_, base, why) && why != std::strerror(ENOENT) &&
        why.rfind("is ", 0) != 0) {
        *errors_ << "cannot keep the previous warning log as " << PreviousPath() << ": " << why
                 << "; " << path_ << " restarts empty\n";
    }
}

bool WarningLog::Write(const std::string& record, bool restart) {
    std::string why;
    if (!AppendToFile(path_, record, restart ? AppendMode::StartAfresh : AppendMode::Append, why)) {
        ReportProblem(why);
        return false;
    }
    return true;
}

void WarningLog::ReportProblem(const std::string& why) {
    if (!failing_) {
        *errors_ << "cannot write the warning log " << path_ << ": " << why
                 << "; warnings are still shown and sounded\n";
    }
    failing_ = true;
}

std::tm WarningLog::Now() const {
    return clock_();
}

std::tm WarningLog::LocalNow() {
    std::tm local{};
    const std::time_t now = std::time(nullptr);
    if (::localtime_r(&now, &local) == nullptr) {
        return std::tm{};
    }
    return local;
}

std::string FormatItemWarning(ReadoutItem item, int32_t value, const std::tm& when) {
    const int index = static_cast<int>(item);
    if (index < 0 || index >= kReadoutCount) {
        return {};
    }
    const ItemFormat& format = kItemFormats[static_cast<std::size_t>(index)];
    const int month = when.tm_mon + 1;
    const int year = when.tm_year + 1900;
    if (format.Volts) {
        return Printf(format.Format, month, when.tm_mday, year, when.tm_hour, when.tm_min,
                      when.tm_sec, static_cast<double>(value) * 0.001);
    }
    return Printf(format.Format, month, when.tm_mday, year, when.tm_hour, when.tm_min, when.tm_sec,
                  static_cast<int>(value));
}

std::string FormatChassisWarning(const std::tm& when) {
    return Printf("%02d/%02d/%04d %02d:%02d:%02d CHASSIS INTRUSION WARNING\n", when.tm_mon + 1,
                  when.tm_mday, when.tm_year + 1900, when.tm_hour, when.tm_min, when.tm_sec);
}

} // namespace sentinax
