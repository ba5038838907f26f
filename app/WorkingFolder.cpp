#include "WorkingFolder.h"

#include "hardware/XdgFolder.h"

#include "config/SafeFolder.h"
#include "config/SafeWriter.h"
#include "hardware/RegularFile.h"

#include <filesystem>
#include <system_error>

namespace sentinax {

namespace fs = std::filesystem;

namespace {

// Far above any skin picture or alarm sound; a bound on what is copied.
constexpr std::size_t kMaxSeededFile = 64u << 20;

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// Copies one file when the target name is free.
void CopyIfMissing(const fs::path& from, const fs::path& to, std::vector<std::string>& problems) {
    std::error_code ec;
    const fs::file_type there = fs::symlink_status(to, ec).type();
    if (there == fs::file_type::regular)
        return; // the user's own: never replaced
    std::string why;
    if (there == fs::file_type::not_found) {
        std::string bytes;
        const FileCheck check = ReadRegularFile(from.string(), kMaxSeededFile, bytes);
        if (!check.Ok()) {
            problems.push_back(from.string() + ": cannot copy it: " + check.Why);
            return;
        }
        switch (CreateFileIfAbsent(to.string(), bytes, why)) {
        case CreateResult::Created:
            return;
        case CreateResult::Failed:
            problems.push_back(to.string() + ": cannot copy " + from.string() + ": " + why);
            return;
        case CreateResult::Exists:
            break; // made meanwhile: said below when it is not a file
        }
    } else {
        struct stat st {};
        if (::lstat(to.c_str(), &st) == 0)
            why = "is " + DescribeFileType(st.st_mode);
    }
    if (!why.empty())
        problems.push_back(to.string() + ": " + why +
                           "; the installed copy is not put in its place");
}

} // namespace

std::string UserDataFolder(const char* dataHome, const char* home) {
    const std::string data = XdgUserFolder(dataHome, home, ".local/share");
    return data.empty() ? std::string() : data + "/sentinax";
}

std::vector<std::string> SeedUserFolder(const std::string& folder,
                                        const std::string& installedData) {
    std::vector<std::string> problems;
    if (installedData.empty())
        return problems;
    const fs::path source(installedData);
    std::string why;
    SafeFolder skins;
    // 0700: the user's settings and log live here (the folders of the XDG
    // base directory rules are made so too).
    if (!skins.Open(folder + "/Skins", why, 0700)) {
        problems.push_back(folder + "/Skins: cannot be used: " + why);
        return problems;
    }
    std::error_code ec;
    for (fs::directory_iterator it(source / "Skins", ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            CopyIfMissing(it->path(), fs::path(folder) / "Skins" / it->path().filename(), problems);
    }
    if (ec)
        problems.push_back((source / "Skins").string() + ": cannot list it: " + ec.message());
    if (fs::is_regular_file(source / "SOUND.wav", ec))
        CopyIfMissing(source / "SOUND.wav", fs::path(folder) / "SOUND.wav", problems);
    return problems;
}

WorkingFolderChoice ChooseWorkingFolder(const std::string& currentFolder, const char* dataHome,
                                        const char* home, const std::string& installedData) {
    WorkingFolderChoice choice;
    if (!currentFolder.empty() && IsFolder(fs::path(currentFolder) / "Skins")) {
        choice.Folder = currentFolder;
        choice.Reason = "it holds Skins/";
        return choice;
    }
    const std::string user = UserDataFolder(dataHome, home);
    std::string why;
    SafeFolder folder;
    if (!user.empty() && folder.Open(user, why, 0700)) {
        for (std::string& problem : SeedUserFolder(user, installedData))
            choice.Problems.push_back(std::move(problem));
        choice.Folder = user;
        choice.Reason = "the folder it was started in has no Skins/";
        return choice;
    }
    const std::string cause =
        user.empty() ? "there is no per-user folder (neither XDG_DATA_HOME nor HOME is an "
                       "absolute path)"
                     : "the per-user folder " + user + " cannot be used: " + why;
    choice.Writable = false;
    if (!installedData.empty() && IsFolder(fs::path(installedData) / "Skins")) {
        choice.Folder = installedData;
        choice.Reason = cause + "; the installed skins are read from here, and the settings, "
                                "log.dat and WMIinfo.txt are not written in this run";
    } else {
        choice.Folder = "/";
        choice.Reason = cause + "; no skins are found, the built-in settings are used, and the "
                                "settings, log.dat and WMIinfo.txt are not written in this run";
    }
    return choice;
}

} // namespace sentinax
