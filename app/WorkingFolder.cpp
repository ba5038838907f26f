#include "WorkingFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace sentinax {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

// Copies one file when the target does not exist yet.
void CopyIfMissing(const fs::path& from, const fs::path& to, std::vector<std::string>& problems) {
    std::error_code ec;
    if (fs::symlink_status(to, ec).type() != fs::file_type::not_found)
        return; // the user's own (or anything else there): never replaced
    const fs::path temp =
        to.parent_path() / ("." + to.filename().string() + ".seed" + std::to_string(::getpid()));
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        // The name is taken only if it is still free: a file the user made
        // meanwhile stays.
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0 &&
            errno != EEXIST)
            ec.assign(errno, std::generic_category());
    }
    std::error_code ignored;
    fs::remove(temp, ignored);
    if (ec)
        problems.push_back(to.string() + ": cannot copy " + from.string() + ": " + ec.message());
}

} // namespace

std::string UserDataFolder(const char* dataHome, const char* home) {
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/sentinax";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/sentinax";
    return {};
}

std::vector<std::string> SeedUserFolder(const std::string& folder,
                                        const std::string& installedData) {
    std::vector<std::string> problems;
    if (installedData.empty())
        return problems;
    const fs::path source(installedData);
    std::error_code ec;
    fs::create_directories(fs::path(folder) / "Skins", ec);
    if (ec) {
        problems.push_back(folder + "/Skins: cannot create it: " + ec.message());
        return problems;
    }
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
    choice.Folder = currentFolder;
    if (IsFolder(fs::path(currentFolder) / "Skins")) {
        choice.Reason = "it holds Skins/";
        return choice;
    }
    const std::string user = UserDataFolder(dataHome, home);
    if (user.empty()) {
        choice.Reason =
            "no per-user data folder (neither XDG_DATA_HOME nor HOME is an absolute path)";
        return choice;
    }
    std::error_code ec;
    fs::create_directories(user, ec);
    if (ec || !IsFolder(user)) {
        choice.Problems.push_back(
            user + ": cannot create it: " + (ec ? ec.message() : std::string("not a folder")));
        choice.Reason = "the per-user folder cannot be made";
        return choice;
    }
    for (std::string& problem : SeedUserFolder(user, installedData))
        choice.Problems.push_back(std::move(problem));
    choice.Folder = user;
    choice.Reason = "the folder it was started in has no Skins/";
    return choice;
}

} // namespace sentinax
