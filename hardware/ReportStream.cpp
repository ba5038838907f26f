#include "ReportStream.h"

namespace sentinax {

// The stream gets its buffer once the buffer exists.
ReportStream::ReportStream(Report report) : std::ostream(nullptr), buffer_(std::move(report)) {
    rdbuf(&buffer_);
}

ReportStream::~ReportStream() {
    buffer_.Finish();
}

void ReportStream::LineBuffer::Finish() {
    if (line_.empty())
        return;
    const std::string line = std::move(line_);
    line_.clear();
    if (report_)
        report_(line);
}

ReportStream::LineBuffer::int_type ReportStream::LineBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    if (traits_type::to_char_type(c) == '\n') {
        const std::string line = std::move(line_);
        line_.clear();
        if (report_)
            report_(line);
    } else {
        line_ += traits_type::to_char_type(c);
    }
    return c;
}

} // namespace sentinax
