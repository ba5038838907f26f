// The warning log: one record per warning, appended to a file that is opened
// and closed for every record, so a record is never split by another writer
// and nothing stays open between ticks. The file restarts after 501 records of
// this run, which bounds its size (at most 501 records from then on); before
// it restarts, the previous content is kept as "<path>.1" (one generation),
// so a long episode does not erase the history before it.
//
// The log is the user's record, so it is written only into a regular file of
// that name owned by the user, in a folder nobody else can change: a symbolic
// link, a FIFO, a directory or a device under the name is left alone
// (config/SafeWriter.h, AppendToFile). A log
// that cannot be written is reported once on the error stream (and again
// only after a record got through in between); the warnings themselves do
// not depend on the log and still reach the window and the alarm.
//
// Record bytes on disk: the text (at most 99 bytes) with every "\n" written as
// "\r\n", then one more "\r\n". Readers of existing logs expect these CR LF
// line ends, so they are written explicitly.
#pragma once

#include "hardware/SensorTypes.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <string>

namespace sentinax {

class WarningLog {
public:
    // Local time of the moment of writing; a replaceable seam for tests.
    using Clock = std::function<std::tm()>;

    // Records whose count reaches this restart the file on the next line.
    static constexpr uint32_t kRestartCount = 501;
    // Size of the zero-filled line buffer; the text keeps at most 99 bytes.
    static constexpr std::size_t kLineBufferSize = 100;

    // path: the file, relative to the current directory unless absolute.
    // errors: where a log that cannot be written is reported; null: the reporter.
    explicit WarningLog(std::string path = "log.dat", Clock clock = LocalNow,
                        std::ostream* errors = nullptr);

    // Writes one record. The count advances even when the file cannot be
    // written (the line is then lost, and reported), so the restart point
    // does not depend on whether the disk was writable.
    void AppendLogLine(const std::string& text);

    // Where the previous content goes when the log restarts.
    std::string PreviousPath() const { return path_ + ".1"; }
    // True while the last record could not be written.
    bool Failing() const { return failing_; }

    // Lines written (or attempted) since the start or the last restart.
    uint32_t LogLineCount() const { return lineCount_; }
    // Lets tests start just before the restart without writing 500 lines.
    void SetLogLineCount(uint32_t count) { lineCount_ = count; }

    const std::string& Path() const { return path_; }
    // The time the next record would carry.
    std::tm Now() const;
    // Local wall-clock time; all fields zero if the conversion fails.
    static std::tm LocalNow();

private:
    // Moves a regular log file aside before a restart. One that cannot be
    // moved stays in place and is emptied by the restart, as it always was.
    void KeepPreviousGeneration();
    bool Write(const std::string& record, bool restart);
    void ReportProblem(const std::string& why);

    std::string path_;
    Clock clock_;
    std::ostream* errors_;
    uint32_t lineCount_ = 0;
    bool failing_ = false;
};

// The warning line of one item. value is in the item's unit: mV (shown in
// volts with two decimals), whole °C, or rpm. when gives month/day/year first.
std::string FormatItemWarning(ReadoutItem item, int32_t value, const std::tm& when);

// The chassis intrusion line (no value).
std::string FormatChassisWarning(const std::tm& when);

} // namespace sentinax
