// An output stream whose lines go to a report function, one call per line
// (without its newline). ReportedLines() (Reporter.h) is one whose lines go
// to the process's reporter: the default of the parts that report through a
// stream. A line still open when the stream goes is reported then.
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
