// Loading the board table files: the shipped table and the user's own.
#include "BoardTable.h"

#include "LibraryLoader.h"
#include "RegularFile.h"
#include "hardware/XdgFolder.h"

#include <cstdlib>
#include <ostream>
#include <sstream>

namespace sentinax {

namespace {

// Reads one table file into table. A missing user table is normal; every
// other problem is reported with what it means for the profile.
void LoadInto(const std::string& path, BoardTable& table, std::ostream& errors, bool shipped) {
    std::string bytes;
    const FileCheck check = ReadRegularFile(path, kMaxBoardTableBytes, bytes);
    if (!check.Ok()) {
        if (check.Status != FileStatus::Missing || shipped)
            errors << path << ": cannot open the board table: " << check.Why
                   << (shipped ? "; every board trait keeps its default\n"
                               : "; its rows are not used\n");
        return;
    }
    std::istringstream in(std::move(bytes));
    ParseBoardTable(in, path, table, errors);
}

} // namespace

BoardTable LoadBoardTable(const std::string& path, std::ostream& errors) {
    BoardTable table;
    LoadInto(path, table, errors, true);
    return table;
}

std::string UserBoardTablePath() {
    const std::string config =
        XdgUserFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".config");
    return config.empty() ? std::string() : config + "/sentinax/boards.table";
}

BoardTable LoadBoardTables(const std::string& shippedPath, const std::string& userPath,
                           std::ostream& errors) {
    BoardTable table = LoadBoardTable(shippedPath, errors);
    if (!userPath.empty()) {
        BoardTable user;
        LoadInto(userPath, user, errors, false);
        table.PrependRows(user);
    }
    return table;
}

BoardTable LoadBoardTables(std::ostream& errors) {
    return LoadBoardTables(ShippedFile(kShippedBoardTable), UserBoardTablePath(), errors);
}

} // namespace sentinax
