// The records of WMIinfo.txt. Each record opens the file, writes its bytes and
// closes it again, so the file is complete at every moment. Bytes on disk:
//
//   first heading    200-byte path field, CR LF, 3 NUL                    205 bytes
//   later heading    CR LF CR LF, 2 NUL, 200-byte path field, CR LF, 3 NUL 211 bytes
//   property         100-byte line field, CR LF, 1 NUL                    103 bytes
//
// The first heading creates or truncates the file; every other record appends
// (creating the file if it is missing). The file is written only through
// config/SafeWriter.h (AppendToFile): never through a symbolic link, only as
// the user's regular file, in a folder nobody else can change. A record that
// cannot be written is skipped and the cause said once (again only after a
// record got through in between); the tree is shown all the same.
#pragma once

#include "WmiField.h"

#include <iosfwd>
#include <string>

namespace sentinax {

class WmiRecordFile {
public:
    // path: relative to the current directory unless absolute. errors: where
    // a record that cannot be written is reported; null: the reporter.
    explicit WmiRecordFile(std::string path = "WMIinfo.txt", std::ostream* errors = nullptr);

    static std::string FirstHeadingRecord(const RelativePathField& path);
    static std::string LaterHeadingRecord(const RelativePathField& path);
    static std::string PropertyRecord(const PropertyLineField& line);

    // Each returns false when the record could not be written.
    bool WriteFirstHeading(const RelativePathField& path);
    bool WriteLaterHeading(const RelativePathField& path);
    bool WriteProperty(const PropertyLineField& line);

    const std::string& Path() const { return path_; }

private:
    bool Write(const std::string& bytes, bool truncate);

    std::string path_;
    std::ostream* errors_;
    bool failing_ = false;
};

} // namespace sentinax
