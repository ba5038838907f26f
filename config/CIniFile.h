// Accessor of one private-profile (INI) file, with the reading rules of
// IniDocument. It keeps the path and opens nothing until first used.
//
// Reading: the file is read once, on the first call, and served from memory
// afterwards (plus this object's own writes); a missing file reads as empty,
// so every lookup gives its default. Only a regular file of at most
// kMaxFileBytes is read (it is opened without blocking, so a FIFO or device
// under the name cannot stall the program); anything else reads as empty, is
// reported once, and State() tells it apart from a missing file. A section
// with more rows than IniDocument reads is reported once when first used.
//
// The first read also removes temporary files that an interrupted save of
// this file left beside it (see RemoveStaleTemporaries).
//
// Writing: WriteString stores one value at once. To change several values
// with one rewrite of the file, queue them with SetString and call Commit; the
// file then ends up exactly as the same WriteString calls in the same order
// would leave it. A commit re-reads the file first, so changes made to it by
// others since it was read are kept. The file is replaced atomically (a
// temporary file beside it, flushed to disk, renamed over it, with the old
// file's permissions), so a crash leaves either the old or the new file. A
// file that is a symbolic link is read through it, and saved into the link's
// target only when that lies in the working folder (config/SafeWriter.h). A
// write that cannot be done leaves the file as it was, reports the reason
// and returns false.
#pragma once

#include "IniDocument.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

class CIniFile {
public:
    // Larger files are not skin files; refusing them keeps a wrong path (a
    // log, a device) from filling the memory.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    // messages: where problems with the file are reported (one line each).
    explicit CIniFile(std::string path);
    CIniFile(std::string path, std::ostream& messages);

    const std::string& Path() const { return path_; }

    // A document held in memory under path's name (the shipped copy of a skin
    // file): reads as text, never touches the file; writes are refused.
    static CIniFile InMemory(std::string path, std::string_view text, std::ostream& messages);
    bool IsInMemory() const { return inMemory_; }

    // How the first read went (it is done by this call if not yet).
    enum class ReadState {
        Read,       // a regular file was read (it may still be empty)
        Missing,    // there is no file: everything reads as its default
        Unreadable, // not a regular file, over the cap, or an error: reads as empty
    };
    ReadState State() const;
    // Why the file could not be read ("is a directory", "is larger than
    // 16 MiB", ...); empty unless State() is Unreadable.
    const std::string& Problem() const;

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

    // A file that does not exist when Commit runs is created from text, with
    // the queued values applied to it, even when none are queued; a file that
    // exists by then is updated as usual and text is not used.
    void CreateMissingFrom(std::string text) { missingSeed_ = std::move(text); }

    // Temporary files of a save are named ".<file>.tmp<pid>-<n>" beside the
    // file (beside a link's target when a save follows the link). Removes those of
    // processes that no longer run, each reported as one line; files of a
    // running process, of other users, and anything not a regular file stay.
    static void RemoveStaleTemporaries(const std::string& path, std::ostream& messages);

private:
    struct Edit {
        std::string section, key, value;
    };

    const IniDocument& Document() const;
    void ReportOverfull() const;

    std::string path_;
    std::ostream* messages_;
    mutable std::optional<IniDocument> cache_;
    mutable ReadState state_ = ReadState::Read;
    mutable std::string problem_;
    mutable std::vector<std::string> overfullReported_; // sections already reported
    std::vector<Edit> pending_;
    std::optional<std::string> missingSeed_;
    bool inMemory_ = false;
};

} // namespace sentinax
