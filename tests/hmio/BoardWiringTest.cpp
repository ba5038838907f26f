// The board wiring file: what a block gives, which lines are refused with
// which file:line, how boards are matched, and what a scale multiplies.
#include "BoardWiring.h"

#include <gtest/gtest.h>

namespace {

using namespace hmio;

BoardWiring Parse(const std::string& text, ParseErrors& errors) {
    BoardWiring wiring;
    ParseBoardWiring(text, "w.table", wiring, errors);
    return wiring;
}

TEST(BoardWiring, BlockGivesChipsInputsAndScales) {
    ParseErrors errors;
    const BoardWiring wiring = Parse("# comment\n"
                                     "board \" ASUSTeK COMPUTER INC. \" \"PRIME X570-P*\"\n"
                                     "  chip nct6798          # main\n"
                                     "    vcore in0\n"
                                     "    v12   in1  *12\n"
                                     "    v5    in4  div 30/10\n"
                                     "    v33   in3  *168/100\n"
                                     "  chip it8792@0a60\n"
                                     "    fan3  fan2\n"
                                     "    sysfan none\n"
                                     "end\n",
                                     errors);
    ASSERT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(wiring.Boards.size(), 1u);
    const WiringBoard& b = wiring.Boards[0];
    EXPECT_EQ(b.Vendor, "ASUSTeK COMPUTER INC.");
    EXPECT_EQ(b.Line, 2);
    ASSERT_EQ(b.Chips.size(), 2u);
    EXPECT_FALSE(b.Chips[0].Address);
    EXPECT_EQ(b.Chips[1].Address, 0xa60);
    EXPECT_EQ(b.LineFor(WiringItem::V12)->Factor.Apply(1006), 12072);
    EXPECT_EQ(b.LineFor(WiringItem::V5)->Factor.Apply(1255), 5020);
    EXPECT_EQ(b.LineFor(WiringItem::V33)->Factor.Apply(2000), 3360);
    EXPECT_EQ(b.LineFor(WiringItem::Vcore)->Factor.Apply(1344), 1344);
    EXPECT_EQ(b.LineFor(WiringItem::Fan3)->Chip, 1);
    EXPECT_TRUE(b.LineFor(WiringItem::SysFan)->None);
    EXPECT_EQ(b.LineFor(WiringItem::CpuFan), nullptr);
}

TEST(BoardWiring, DividerWithDecimalsIsExact) {
    ParseErrors errors;
    const BoardWiring wiring =
        Parse("board \"V\" \"N\"\n chip x\n v5 in3 div 6.8/10\n v12 in4 div 56/10\nend\n", errors);
    ASSERT_TRUE(errors.empty());
    // 1 + 6.8/10 = 1.68 exactly: 2976 mV -> 4999 mV, not 4998 from a rounded double.
    EXPECT_EQ(wiring.Boards[0].LineFor(WiringItem::V5)->Factor.Apply(2976), 4999);
    EXPECT_EQ(wiring.Boards[0].LineFor(WiringItem::V12)->Factor.Apply(1830), 12078);
}

// Each bad line is reported with its own line and skipped; the block's other
// lines still count.
TEST(BoardWiring, BadLinesAreReportedAndSkipped) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"vdimm in5", "unknown item 'vdimm'"},
        {"v12 temp1", "input 'temp1' does not fit v12"},
        {"cputemp in2", "does not fit cputemp"},
        {"v12 in16", "does not fit v12"},
        {"cpufan fan8", "does not fit cpufan"},
        {"cpufan fan1 *2", "a scale is only for voltages"},
        {"systemp temp1 *2", "a scale is only for voltages"},
        {"v12 in1 x12", "bad scale"},
        {"v12 in1 *0", "bad scale"},
        {"v12 in1 *12/0", "bad scale"},
        {"v5 in3 div 30", "bad scale"},
        {"v5 in3 div 30/0", "bad scale"},
        {"v5 in3 div a/b", "bad scale"},
        {"chip", "expected: chip"},
        {"chip it8686@zz", "bad chip address"},
        {"v12 none extra", "nothing may follow 'none'"},
        {"vcore", "expected: vcore <input>"},
        {"vcore in0", "vcore given twice"},
    };
    for (const Case& c : cases) {
        ParseErrors errors;
        const std::string text = std::string("board \"V\" \"N\"\n  chip nct6798\n  vcore in0\n  ") +
                                 c.line + "\n  cpufan fan2\nend\n";
        const BoardWiring wiring = Parse(text, errors);
        ASSERT_EQ(errors.size(), 1u) << c.line;
        EXPECT_EQ(errors[0].rfind("w.table:4: ", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
        ASSERT_EQ(wiring.Boards.size(), 1u);
        EXPECT_NE(wiring.Boards[0].LineFor(WiringItem::CpuFan), nullptr) << c.line;
    }
}

TEST(BoardWiring, StructureErrorsNameTheirLines) {
    struct Case {
        const char* text;
        const char* first;
    } cases[] = {
        {"chip nct6798\n", "w.table:1: 'chip' outside a board block"},
        {"board \"V\" \"N\"\n vcore in0\nend\n", "w.table:2: item line before any chip line"},
        {"board \"V\" \"N\"\n chip a\n vcore in0\n", "w.table:1: board block has no end"},
        {"board \"V\" \"N\"\n chip a\nboard \"W\" \"M\"\nend\n",
         "w.table:1: board block has no end before line 3"},
        {"board \"V\"\n", "w.table:1: expected: board"},
        {"board \"V\" \"N\n", "w.table:1: unclosed quote"},
        {"end\n", "w.table:1: 'end' outside a board block"},
    };
    for (const Case& c : cases) {
        ParseErrors errors;
        Parse(c.text, errors);
        ASSERT_FALSE(errors.empty()) << c.text;
        EXPECT_EQ(errors[0].rfind(c.first, 0), 0u) << errors[0];
    }
}

TEST(BoardWiring, FirstMatchingBoardWinsIgnoringCaseAndBlanks) {
    ParseErrors errors;
    const BoardWiring wiring =
        Parse("board \"Gigabyte Technology Co., Ltd.\" \"B550 AORUS ELITE V2\"\n"
              " chip it8688\nend\n"
              "board \"Gigabyte Technology Co., Ltd.\" \"B550 AORUS ELITE*\"\n"
              " chip it8688\nend\n"
              "board \"Gigabyte Technology Co., Ltd.\" \"B550*\"\n"
              " chip it8688\nend\n",
              errors);
    ASSERT_TRUE(errors.empty());
    struct Case {
        const char* vendor;
        const char* name;
        int line; // 0: no board
    } cases[] = {
        {"Gigabyte Technology Co., Ltd.", "B550 AORUS ELITE V2", 1},
        {"  gigabyte technology co., ltd.\n", " b550 aorus elite v2 ", 1},
        {"Gigabyte Technology Co., Ltd.", "B550 AORUS ELITE AX V2", 4},
        {"Gigabyte Technology Co., Ltd.", "B550 AORUS ELITE", 4},
        {"Gigabyte Technology Co., Ltd.", "B550M DS3H", 7},
        {"Gigabyte Technology Co., Ltd.", "X570 AORUS ELITE", 0},
        {"Gigabyte", "B550 AORUS ELITE", 0},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        const WiringBoard* board = FindWiringBoard(wiring, c.vendor, c.name);
        EXPECT_EQ(board ? board->Line : 0, c.line) << c.name;
    }
}

TEST(BoardWiring, ChipLineMatchesNameAndAddress) {
    WiringChip any{"it8686", std::nullopt, 1};
    WiringChip at{"it8686", 0xa40, 1};
    EXPECT_TRUE(WiringChipMatches(any, "it8686", 0xa60));
    EXPECT_TRUE(WiringChipMatches(at, "it8686", 0xa40));
    EXPECT_FALSE(WiringChipMatches(at, "it8686", 0xa60));
    EXPECT_FALSE(WiringChipMatches(any, "it8688", 0xa40));
    EXPECT_FALSE(WiringChipMatches(any, "it868", 0xa40));
}

} // namespace
