#include "hardware/DmiReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace sentinax;

namespace {

using Bytes = std::vector<uint8_t>;

// A structure: type, formatted-area length, handle, the rest of the formatted
// area, then the strings and the set's extra zero.
Bytes Structure(uint8_t type, Bytes formattedTail, const std::vector<std::string>& strings) {
    Bytes s{type, static_cast<uint8_t>(4 + formattedTail.size()), 0x00, 0x00};
    s.insert(s.end(), formattedTail.begin(), formattedTail.end());
    if (strings.empty())
        s.push_back(0);
    for (const auto& text : strings) {
        s.insert(s.end(), text.begin(), text.end());
        s.push_back(0);
    }
    s.push_back(0);
    return s;
}

// Base board: manufacturer, product, version and serial string numbers.
Bytes BaseBoard(uint8_t m, uint8_t p, uint8_t v, uint8_t sn,
                const std::vector<std::string>& strings) {
    return Structure(2, {m, p, v, sn, 0, 0, 0, 0}, strings);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

BoardIdentity Walk(const Bytes& table) {
    BoardIdentity id;
    WalkStructureTable(table.data(), table.size(), id);
    return id;
}

// A BIOS structure with zero bytes in its formatted area (handle 0, zero flags).
const Bytes kBios = Structure(0, {1, 2, 0, 0, 0, 0}, {"Vendor", "1.0"});
const Bytes kSystem = Structure(1, {1, 2, 0, 0}, {"Maker", "Desktop"});
const Bytes kEnd = Structure(127, {}, {});

} // namespace

TEST(DmiWalk, FindsBaseBoardStrings) {
    struct Case {
        const char* name;
        Bytes table;
        const char* product;
        const char* version;
    };
    const Case cases[] = {
        {"after other structures",
         Join({kBios, kSystem, BaseBoard(1, 2, 3, 4, {"M", "P45-7011", "2.0", "SN"}), kEnd}),
         "P45-7011", "2.0"},
        {"no base board", Join({kBios, kSystem, kEnd}), "", ""},
        {"all strings unnumbered", Join({BaseBoard(0, 0, 0, 0, {}), kEnd}), "", ""},
        {"no manufacturer string", Join({BaseBoard(0, 1, 2, 0, {"4120 board", "1.1"})}),
         "4120 board", "1.1"},
        {"no version, with serial",
         Join({BaseBoard(1, 2, 0, 3, {"M", "5202", "SN1"}), kSystem, kEnd}), "5202", ""},
        {"version only", Join({BaseBoard(0, 0, 1, 0, {"B1"})}), "", "B1"},
        {"version number past the strings", Join({BaseBoard(1, 2, 5, 0, {"M", "6001"}), kEnd}),
         "6001", ""},
        {"empty table", {}, "", ""},
    };
    for (const auto& c : cases) {
        BoardIdentity id = Walk(c.table);
        EXPECT_EQ(id.BoardProduct, c.product) << c.name;
        EXPECT_EQ(id.BoardVersion, c.version) << c.name;
    }
}

TEST(DmiWalk, StopsAtTheFirstBaseBoardWithAVersion) {
    Bytes table =
        Join({BaseBoard(1, 2, 0, 0, {"M", "first"}), BaseBoard(1, 2, 3, 0, {"M", "second", "v2"}),
              BaseBoard(1, 2, 3, 0, {"M", "third", "v3"})});
    BoardIdentity id = Walk(table);
    EXPECT_EQ(id.BoardProduct, "second");
    EXPECT_EQ(id.BoardVersion, "v2");
}

TEST(DmiWalk, TableCutShortKeepsWhatWasCopiedAndReadsNothingBeyond) {
    // Product copied from a base board without a version; a second base board
    // is cut in the middle of its strings.
    Bytes full =
        Join({BaseBoard(1, 2, 0, 0, {"M", "first"}), BaseBoard(1, 2, 3, 0, {"M", "second", "v2"})});
    const size_t firstEnd = BaseBoard(1, 2, 0, 0, {"M", "first"}).size();
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        // An exactly sized heap copy, so a read past the end shows under ASan.
        auto* copy = new uint8_t[cut ? cut : 1];
        if (cut)
            std::memcpy(copy, full.data(), cut);
        BoardIdentity id;
        WalkStructureTable(copy, cut, id);
        delete[] copy;
        if (cut >= full.size() - 1) { // only the set's final zero missing
            EXPECT_EQ(id.BoardProduct, "second");
            EXPECT_EQ(id.BoardVersion, "v2");
        } else if (cut >= firstEnd - 1) {
            // The first product is in; "second" is copied only when whole.
            EXPECT_TRUE(id.BoardProduct == "first" || id.BoardProduct == "second") << cut;
            EXPECT_EQ(id.BoardVersion, "") << cut;
        } else if (cut < firstEnd - 3) {
            EXPECT_EQ(id.BoardProduct, "") << cut;
        }
    }
}

TEST(DmiWalk, VisitsAtMost224Structures) {
    Bytes table;
    for (int i = 0; i < kMaxDmiStructures - 1; ++i) {
        auto s = Structure(8, {0, 0}, {"port"});
        table.insert(table.end(), s.begin(), s.end());
    }
    Bytes withBoard = table;
    auto board = BaseBoard(1, 2, 3, 0, {"M", "7001", "1.0"});
    withBoard.insert(withBoard.end(), board.begin(), board.end());
    EXPECT_EQ(Walk(withBoard).BoardProduct, "7001"); // the 224th structure is read

    auto extra = Structure(8, {0, 0}, {"port"});
    table.insert(table.end(), extra.begin(), extra.end());
    table.insert(table.end(), board.begin(), board.end());
    EXPECT_EQ(Walk(table).BoardProduct, ""); // the 225th is not
}

TEST(DmiWalk, CorruptLengthsEndTheWalk) {
    // A formatted-area length below the header size or past the end of the table.
    for (uint8_t length : {0, 1, 3, 200}) {
        Bytes table = Join({kBios, Bytes{2, length, 0, 0, 1, 2, 0, 0, 'X', 0, 0}});
        BoardIdentity id = Walk(table);
        EXPECT_EQ(id.BoardProduct, "") << int(length);
    }
    // A short base board: the string numbers beyond its formatted area count as unnumbered.
    Bytes shortBoard{2, 5, 0, 0, 1, 'M', 0, 0};
    EXPECT_EQ(Walk(shortBoard).BoardProduct, "");
}

namespace {
Bytes gTable;
uint32_t FakeLength(uint8_t* entryPoint) {
    std::memcpy(entryPoint, "_DMI_", 5);
    return static_cast<uint32_t>(gTable.size());
}
void FakeData(uint8_t* buffer) {
    std::memcpy(buffer, gTable.data(), gTable.size());
}
} // namespace

TEST(ReadBoardIdentity, ReadsThroughTheLibrary) {
    HardwareLibrary lib;
    lib.GetDMILength = FakeLength;
    lib.GetDMIData = FakeData;
    gTable = Join({kSystem, BaseBoard(1, 2, 3, 0, {"Maker", "KX-8013", "1.0"})});
    BoardIdentity id = ReadBoardIdentity(lib, true);
    EXPECT_EQ(id.BoardProduct, "KX-8013");
    EXPECT_EQ(id.BoardVersion, "1.0");
    EXPECT_EQ(std::memcmp(id.EntryPoint.data(), "_DMI_", 5), 0);

    EXPECT_EQ(ReadBoardIdentity(lib, false).BoardProduct, ""); // nothing to ask for
    gTable.clear();
    EXPECT_EQ(ReadBoardIdentity(lib, true).BoardProduct, ""); // length 0: no DMI data
}

TEST(BoardMatches, IsACaseSensitiveSubstringTest) {
    struct Case {
        const char* product;
        const char* code;
        bool match;
    } cases[] = {
        {"KX-4120 Pro", "4120", true},
        {"4120", "4120", true},
        {"x41201", "4120", true},
        {"KX-412", "4120", false},
        {"Mini-filled", "filled", true},
        {"To be Filled", "filled", false},
        {"", "4120", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoardMatches(c.product, c.code), c.match) << c.product << " / " << c.code;
}
