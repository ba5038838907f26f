#include "CIniFile.h"

#include "SafeFolder.h"
#include "SafeWriter.h"

#include "hardware/RegularFile.h"
#include "hardware/Reporter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace sentinax {

namespace {

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::string& path, std::string& out, std::string& why) {
    const FileCheck check = ReadRegularFile(path, CIniFile::kMaxFileBytes, out);
    if (check.Status == FileStatus::Missing)
        return ReadResult::Missing;
    why = check.Why;
    return check.Ok() ? ReadResult::Ok : ReadResult::Failed;
}

} // namespace

CIniFile::CIniFile(std::string path) : CIniFile(std::move(path), ReportedLines()) {}

CIniFile::CIniFile(std::string path, std::ostream& messages)
    : path_(std::move(path)), messages_(&messages) {}

CIniFile CIniFile::InMemory(std::string path, std::string_view text, std::ostream& messages) {
    CIniFile file(std::move(path), messages);
    file.cache_.emplace(std::string(text));
    file.state_ = ReadState::Read;
    file.inMemory_ = true;
    return file;
}

const IniDocument& CIniFile::Document() const {
    if (!cache_) {
        RemoveStaleTemporaries(path_, *messages_);
        std::string bytes;
        switch (ReadWholeFile(path_, bytes, problem_)) {
        case ReadResult::Ok:
            state_ = ReadState::Read;
            break;
        case ReadResult::Missing:
            state_ = ReadState::Missing;
            break;
        case ReadResult::Failed:
            state_ = ReadState::Unreadable;
            *messages_ << "cannot read " << path_ << ": " << problem_ << '\n';
            break;
        }
        if (state_ != ReadState::Unreadable)
            problem_.clear();
        cache_.emplace(std::move(bytes));
    }
    return *cache_;
}

CIniFile::ReadState CIniFile::State() const {
    Document();
    return state_;
}

const std::string& CIniFile::Problem() const {
    Document();
    return problem_;
}

void CIniFile::ReportOverfull() const {
    for (const IniDocument::Overfull& section : cache_->OverfullSections()) {
        if (std::find(overfullReported_.begin(), overfullReported_.end(), section.Section) !=
            overfullReported_.end())
            continue;
        overfullReported_.push_back(section.Section);
        *messages_ << path_ << ": [" << section.Section << "] has " << section.Rows
                   << " rows; only the first " << IniDocument::kMaxRowsPerSection << " are read\n";
    }
}

std::string CIniFile::GetString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    std::string value = Document().GetString(section, key, def);
    ReportOverfull();
    return value;
}

bool CIniFile::GetKeyNames(std::string_view section, std::vector<std::string>& names) const {
    const bool any = Document().GetKeyNames(section, names);
    ReportOverfull();
    return any;
}

bool CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    const auto refuse = [&](const char* why) {
        *messages_ << "not written to " << path_ << ": [" << section << "] " << key << ' ' << why
                   << '\n';
        return false;
    };
    if (!IniDocument::CanHold(section, key, value))
        return refuse("holds a line break or a bad name");
    Document();
    if (!cache_->SetString(section, key, value))
        return refuse("is a new row in a section that already holds the most rows read");
    ReportOverfull();
    pending_.push_back({std::string(section), std::string(key), std::string(value)});
    return true;
}

bool CIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return SetString(section, key, value) && Commit();
}

bool CIniFile::Commit() {
    if (pending_.empty() && !missingSeed_)
        return true;
    if (inMemory_) {
        *messages_ << "not saved to " << path_
                   << ": the settings in use are the shipped ones, not this file's\n";
        return false;
    }
    std::string bytes, why;
    const ReadResult read = ReadWholeFile(path_, bytes, why);
    if (read == ReadResult::Failed) {
        // Never replace a file we could not read: its content would be lost.
        *messages_ << "cannot save settings to " << path_ << ": " << why << '\n';
        return false;
    }
    if (read == ReadResult::Missing && missingSeed_)
        bytes = *missingSeed_;
    IniDocument document(bytes);
    for (const Edit& edit : pending_)
        document.SetString(edit.section, edit.key, edit.value);
    std::string updated = document.Bytes();
    if (read == ReadResult::Missing || updated != bytes) {
        // A skin file kept elsewhere in the working folder through a link is
        // saved into the link's target; a link to anywhere else is refused.
        if (!ReplaceFile(path_, updated, why, Durability::Synced,
                         FinalLink::FollowIntoWorkingFolder)) {
            *messages_ << "cannot save settings to " << path_ << ": " << why << '\n';
            return false;
        }
    }
    cache_.emplace(std::move(updated));
    pending_.clear();
    missingSeed_.reset();
    return true;
}

void CIniFile::RemoveStaleTemporaries(const std::string& path, std::ostream& messages) {
    std::string dir, base, why;
    SplitPath(SaveTarget(path), dir, base);
    SafeFolder folder;
    if (!folder.Open(dir, why))
        return; // never written there either
    const int listFd = ::openat(folder.Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (listing == nullptr) {
        if (listFd >= 0)
            ::close(listFd);
        return;
    }
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const pid_t owner = TemporaryOwner(name, base);
        // kill(pid, 0) fails with ESRCH only when no process has that id; a
        // process of another user (EPERM) may still be writing its file.
        if (owner == 0 || owner == self || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        if (::fstatat(folder.Fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlinkat(folder.Fd(), name.c_str(), 0) == 0)
            messages << "removed " << dir << name << ", left by a save that was interrupted\n";
    }
    ::closedir(listing);
}

} // namespace sentinax
