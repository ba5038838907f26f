// The board table: for every profile trait an ordered list of rows, each a
// condition and the field values it gives. The first matching row of a list
// decides; a list with no matching row leaves its fields at their defaults.
//
// The table is data (boards.table, shipped with the program, and optionally the
// user's own table in $XDG_CONFIG_HOME/sentinax/). The format is described in
// docs/board-table.md. Parsing never stops at a bad row: the row is reported as
// "file:line: message" and skipped, every other row is kept.
#pragma once

#include "BoardProfile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sentinax {

// One settable field of BoardProfile, addressed by its name in the table.
// FanCaptions appear as FanCaption1..FanCaption3.
struct ProfileField {
    std::string Name;
    // False (profile untouched) when the text is not a valid value.
    std::function<bool(BoardProfile&, std::string_view)> Set;
    // The canonical text of the field's value; what Set accepts.
    std::function<std::string(const BoardProfile&)> Get;
};

// A whole number as the table writes it: decimal or 0x hexadecimal, with an
// optional sign; false for anything else.
bool ParseTableInteger(std::string_view text, long long& out);

// Every settable field, in the order of BoardProfile.
std::span<const ProfileField> ProfileFields();
// Null when no field has that name (case-sensitive).
const ProfileField* FindProfileField(std::string_view name);

// The trait lists in the order in which the profile is decided.
std::span<const std::string_view> TraitListNames();

enum class VersionTestKind { None, Contains, Lacks };

struct BoardCondition {
    // Board: the code is a substring of the product string, and the version test
    // holds. Profile: a field decided by an earlier list has the given value.
    enum class Kind { Board, Profile };
    Kind ConditionKind = Kind::Board;
    std::string Code;
    VersionTestKind VersionTest = VersionTestKind::None;
    std::string VersionText;
    const ProfileField* Field = nullptr; // Profile conditions only
    std::string Value;                   // canonical text, compared with Field->Get
};

struct BoardAssignment {
    const ProfileField* Field = nullptr;
    std::string Value; // validated when the row was read
};

struct BoardRow {
    BoardCondition Condition;
    std::vector<BoardAssignment> Assignments; // never empty
    std::string Source;                       // "file:line", for messages and the profile tool
};

// A list is named by its trait and, optionally, a chipset vendor id. For a given
// vendor, the list of that vendor is used when there is one, else the general
// list of the same name.
class BoardTable {
public:
    // Appends a row to a list (the parser's order is the table's order).
    void AddRow(std::string_view list, std::optional<uint32_t> vendor, BoardRow row);

    // Puts the rows of another table in front of this table's rows of the same
    // list, so that they are tried first (the user's table over the shipped one).
    void PrependRows(const BoardTable& first);

    // The rows to try for one trait and vendor; empty when there are none.
    const std::vector<BoardRow>& Rows(std::string_view list, uint32_t vendor) const;

    // The rows of exactly this list (no fallback to the general list).
    const std::vector<BoardRow>& ExactRows(std::string_view list,
                                           std::optional<uint32_t> vendor) const;

    size_t RowCount() const;

private:
    using Key = std::pair<std::string, int64_t>; // vendor -1: the general list
    std::map<Key, std::vector<BoardRow>, std::less<>> lists_;
};

// Reads a table from a stream. Malformed rows and headers are reported to
// errors as "fileName:line: message" and skipped. Returns the number of
// problems reported (0 for a clean table).
int ParseBoardTable(std::istream& in, const std::string& fileName, BoardTable& table,
                    std::ostream& errors);

// The largest table file read: the shipped table is some 20 KiB. A larger
// file (or /dev/zero behind a link) is refused rather than read without end.
inline constexpr std::size_t kMaxBoardTableBytes = 1024 * 1024;

// Reads a table file. Only a regular file of at most kMaxBoardTableBytes is
// read, opened without blocking (a FIFO under the name cannot stall the
// start-up). A file that cannot be used gives an empty table and a message
// naming it and saying why (every trait then keeps its default).
BoardTable LoadBoardTable(const std::string& path, std::ostream& errors);

// The shipped table's name, relative to the working directory.
inline constexpr const char* kShippedBoardTable = "boards.table";

// $XDG_CONFIG_HOME/sentinax/boards.table, or $HOME/.config/sentinax/boards.table
// when XDG_CONFIG_HOME is unset, empty or relative; empty when neither is usable.
std::string UserBoardTablePath();

// The shipped table with the user's rows tried first. A missing user table is
// normal and silent; a missing shipped table, and a user table that exists but
// cannot be used (not a regular file, too large, unreadable), are reported.
BoardTable LoadBoardTables(const std::string& shippedPath, const std::string& userPath,
                           std::ostream& errors);
BoardTable LoadBoardTables(std::ostream& errors);

} // namespace sentinax
