#include "WmiRecordFile.h"

#include "config/SafeWriter.h"
#include "hardware/Reporter.h"

namespace sentinax {

namespace {

using namespace std::string_literals;

const std::string kLineEndThreeNul = "\r\n\0\0\0"s;
const std::string kSeparator = "\r\n\r\n\0\0"s;
const std::string kLineEndOneNul = "\r\n\0"s;

} // namespace

WmiRecordFile::WmiRecordFile(std::string path, std::ostream* errors)
    : path_(std::move(path)), errors_(errors ? errors : &ReportedLines()) {}

std::string WmiRecordFile::FirstHeadingRecord(const RelativePathField& path) {
    return std::string(path.Bytes()) + kLineEndThreeNul;
}

std::string WmiRecordFile::LaterHeadingRecord(const RelativePathField& path) {
    return kSeparator + std::string(path.Bytes()) + kLineEndThreeNul;
}

std::string WmiRecordFile::PropertyRecord(const PropertyLineField& line) {
    return std::string(line.Bytes()) + kLineEndOneNul;
}

bool WmiRecordFile::WriteFirstHeading(const RelativePathField& path) {
    return Write(FirstHeadingRecord(path), true);
}

bool WmiRecordFile::WriteLaterHeading(const RelativePathField& path) {
    return Write(LaterHeadingRecord(path), false);
}

bool WmiRecordFile::WriteProperty(const PropertyLineField& line) {
    return Write(PropertyRecord(line), false);
}

bool WmiRecordFile::Write(const std::string& bytes, bool truncate) {
    std::string why;
    if (AppendToFile(path_, bytes, truncate ? AppendMode::StartAfresh : AppendMode::Append, why)) {
        failing_ = false;
        return true;
    }
    if (!failing_)
        *errors_ << "cannot write the inventory file " << path_ << ": " << why << '\n';
    failing_ = true;
    return false;
}

} // namespace sentinax
