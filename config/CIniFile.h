// Accessor of one private-profile (INI) file, with the reading rules of
// IniDocument. It keeps the path and opens nothing until first used.
//
// Reading: the file is read once, on the first call, and served from memory
// afterwards (plus this object's own writes); a missing file reads as empty,
// so every lookup gives its default.
//
// Writing: WriteString stores one value at once. To change several values
// with one rewrite of the file, queue them with SetString and call Commit; the
// file then ends up exactly as the same WriteString calls in the same order
// would leave it. A commit re-reads the file first, so changes made to it by
// others since it was read are kept. The file is replaced atomically (a
// temporary file beside it, flushed to disk, renamed over it, with the old
// file's permissions), so a crash leaves either the old or the new file. A
// write that cannot be done leaves the file as it was, prints the reason to
// stderr and returns false.
#pragma once

#include "IniDocument.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

class CIniFile {
public:
    explicit CIniFile(std::string path);

    const std::string& Path() const { return path_; }

    // The value (at most 2,047 characters), or def when the file, section or
    // key is missing. Names compare without regard to case.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view def) const;

    // Empties names and appends the section's key names in file order; true
    // when at least one was found.
    bool GetKeyNames(std::string_view section, std::vector<std::string>& names) const;

    // Writes one value now; creates a missing file, section or key. Also
    // commits anything queued by SetString.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Queues one value for Commit; GetString sees it at once. False (nothing
    // queued) for a name or value the format cannot hold, such as a line break.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the queued values with one rewrite of the file. True when there
    // was nothing to write. On failure the queue is kept, so a later Commit
    // can try again.
    bool Commit();

private:
    struct Edit {
        std::string section, key, value;
    };

    const IniDocument& Document() const;

    std::string path_;
    mutable std::optional<IniDocument> cache_;
    std::vector<Edit> pending_;
};

} // namespace sentinax
