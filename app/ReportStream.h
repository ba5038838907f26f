// An output stream whose lines go to a report function, one call per line
// (without its newline). The parts that report through a stream (the shared
// memory, the alarm sound) are handed one, so that their lines reach the
// platform's one reporter like every other message. A line still open when
// the stream goes is reported then.
#pragma once

#include <functional>
#include <ostream>
#include <streambuf>
#include <string>

namespace sentinax {

class ReportStream : public std::ostream {
public:
    using Report = std::function<void(const std::string&)>;
    explicit ReportStream(Report report);
    ~ReportStream() override;
    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

private:
    class LineBuffer : public std::streambuf {
    public:
        explicit LineBuffer(Report report) : report_(std::move(report)) {}
        // Reports the open line, if any.
        void Finish();

    protected:
        int_type overflow(int_type c) override;

    private:
        Report report_;
        std::string line_;
    };
    LineBuffer buffer_;
};

} // namespace sentinax
