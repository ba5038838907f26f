#include "hardware/BoardTable.h"
#include "ScopedEnv.h"
#include "ScratchFolder.h"
#include "hardware/ProfileDecision.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

using namespace sentinax;

namespace {

BoardTable Parse(const std::string& text, std::string* errors = nullptr, int* problems = nullptr) {
    BoardTable table;
    std::istringstream in(text);
    std::ostringstream err;
    int n = ParseBoardTable(in, "t.table", table, err);
    if (errors)
        *errors = err.str();
    if (problems)
        *problems = n;
    return table;
}

const BoardTable& Shipped() {
    static const BoardTable table = [] {
        std::ostringstream err;
        BoardTable t = LoadBoardTable(SX_BOARD_TABLE_SOURCE, err);
        EXPECT_EQ(err.str(), "") << "the shipped table must read cleanly";
        return t;
    }();
    return table;
}

const std::vector<BoardRow>& Rows(const char* list, std::optional<uint32_t> vendor = std::nullopt) {
    return Shipped().ExactRows(list, vendor);
}

int CountRows(const std::vector<BoardRow>& rows, const std::string& field,
              const std::string& value) {
    int n = 0;
    for (const auto& r : rows)
        for (const auto& a : r.Assignments)
            if (a.Field->Name == field && a.Value == value)
                ++n;
    return n;
}

int CountVersioned(const std::vector<BoardRow>& rows) {
    int n = 0;
    for (const auto& r : rows)
        n += r.Condition.VersionTest != VersionTestKind::None;
    return n;
}

bool IsAltRailRow(const BoardRow& r) {
    return r.Condition.ConditionKind == BoardCondition::Kind::Profile &&
           r.Condition.Field->Name == "AltRailScaling" && r.Condition.Value == "yes";
}

std::set<std::string> Codes(const std::vector<BoardRow>& rows) {
    std::set<std::string> codes;
    for (const auto& r : rows)
        if (r.Condition.ConditionKind == BoardCondition::Kind::Board)
            codes.insert(r.Condition.Code);
    return codes;
}

std::string Describe(const BoardProfile& p) {
    std::string text;
    for (const auto& f : ProfileFields())
        text += f.Name + " = " + f.Get(p) + "\n";
    return text;
}

} // namespace

TEST(BoardTableParse, MalformedRowsAreReportedWithFileAndLineAndSkipped) {
    struct Case {
        const char* row;
        const char* message;
    } cases[] = {
        {"board 1234 NoPowerFan=yes", "without '=>'"},
        {"board 1234 =>", "without any FIELD=VALUE"},
        {"board => NoPowerFan=yes", "without a code"},
        {"board \"\" => NoPowerFan=yes", "empty board code"},
        {"board 1234 => NoPowerFan=maybe", "not a valid value of NoPowerFan"},
        {"board 1234 => Nonsense=1", "unknown field 'Nonsense'"},
        {"board 1234 => CpuFanSlot=30", "not a valid value of CpuFanSlot"},
        {"board 1234 => CpuTempSlot=8", "not a valid value of CpuTempSlot"},
        {"board 1234 => SamplesPerInterval=0", "not a valid value of SamplesPerInterval"},
        {"board 1234 => ChipSelector=12x", "not a valid value of ChipSelector"},
        {"board 1234 => HostMode=1", "not a valid value of HostMode"},
        {"board 1234 => CpuTempLimitOverride=101/95", "not a valid value"},
        {"board 1234 version has 2 => NoPowerFan=yes", "is not 'contains' or 'lacks'"},
        {"board 1234 version contains => NoPowerFan=yes", "expected 'version contains TEXT'"},
        {"board \"12 => NoPowerFan=yes", "unclosed"},
        {"model 1234 => NoPowerFan=yes", "a row starts with 'board CODE'"},
        {"when Bogus => NoPowerFan=yes", "unknown field 'Bogus'"},
        // A skin file stays inside the working folder.
        {"board 1234 => SkinFile=/etc/passwd", "not a valid value of SkinFile"},
        {"board 1234 => SkinFile=Skins/../../x.ini", "not a valid value of SkinFile"},
        {"board 1234 => SkinFile=..", "not a valid value of SkinFile"},
    };
    for (const auto& c : cases) {
        std::string text = "# comment\n[NoPowerFan]\nboard 1111 => NoPowerFan=yes\n" +
                           std::string(c.row) + "\nboard 2222 => NoPowerFan=yes\n";
        std::string errors;
        int problems = 0;
        BoardTable table = Parse(text, &errors, &problems);
        EXPECT_EQ(problems, 1) << c.row;
        EXPECT_NE(errors.find("t.table:4: "), std::string::npos) << c.row << "\n" << errors;
        EXPECT_NE(errors.find(c.message), std::string::npos) << c.row << "\n" << errors;
        EXPECT_EQ(Codes(table.ExactRows("NoPowerFan", std::nullopt)),
                  (std::set<std::string>{"1111", "2222"}))
            << c.row;
    }
}

TEST(BoardTableParse, BadHeadersDropTheirRowsOnly) {
    std::string errors;
    int problems = 0;
    BoardTable table =
        Parse("board 0001 => NoPowerFan=yes\n"
              "[NoSuchTrait]\nboard 0002 => NoPowerFan=yes\n"
              "[FanSlots vendor]\nboard 0003 => CpuFanSlot=9\n"
              "[NoPowerFan\n"
              "[NoPowerFan]\r\nboard 0004 => NoPowerFan=yes   # trailing comment\r\n",
              &errors, &problems);
    EXPECT_EQ(problems, 4) << errors;
    EXPECT_NE(errors.find("t.table:1: row before the first [list] header"), std::string::npos);
    EXPECT_NE(errors.find("t.table:2: unknown list 'NoSuchTrait'"), std::string::npos);
    EXPECT_NE(errors.find("t.table:4: "), std::string::npos);
    EXPECT_NE(errors.find("t.table:6: list header without a closing ']'"), std::string::npos);
    EXPECT_EQ(table.RowCount(), 1u);
    EXPECT_EQ(Codes(table.ExactRows("NoPowerFan", std::nullopt)), std::set<std::string>{"0004"});
}

// A garbage file has a problem on every row: the first ten are said, the
// rest counted in one closing line, and the good rows still count.
TEST(BoardTableParse, AGarbageTableSaysItsFirstProblemsAndCountsTheRest) {
    std::string garbage = "[NoPowerFan]\nboard 0004 => NoPowerFan=yes\n";
    for (int i = 0; i < 1968; ++i)
        garbage += "\x89PNG\x1a junk " + std::to_string(i) + "\n";
    std::string errors;
    int problems = 0;
    const BoardTable table = Parse(garbage, &errors, &problems);
    EXPECT_EQ(problems, 1968) << "every problem is counted";
    std::istringstream lines(errors);
    std::vector<std::string> said;
    for (std::string line; std::getline(lines, line);)
        said.push_back(line);
    ASSERT_EQ(said.size(), 11u) << errors;
    EXPECT_EQ(said[0].rfind("t.table:3: ", 0), 0u) << said[0];
    EXPECT_EQ(said[9].rfind("t.table:12: ", 0), 0u) << said[9];
    EXPECT_EQ(said[10], "... and 1,958 more problems in t.table");
    EXPECT_EQ(table.RowCount(), 1u);

    // A table with at most ten problems says them all and nothing more.
    Parse("[NoPowerFan]\njunk\n", &errors);
    EXPECT_EQ(errors.find("more problems"), std::string::npos) << errors;
}

TEST(BoardTableParse, QuotedTextsAndVendorLists) {
    BoardTable table = Parse("[FanCaptions]\n"
                             "board \"Mini #2\" => FanCaption3=\"NB FAN\" FanCaption1=\"\"\n"
                             "[FanSlots vendor 0x8086]\nboard 1 => CpuFanSlot=10\n"
                             "[FanSlots]\nboard 2 => CpuFanSlot=9\n");
    const auto& captions = table.ExactRows("FanCaptions", std::nullopt);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_EQ(captions[0].Condition.Code, "Mini #2");
    EXPECT_EQ(captions[0].Assignments[0].Value, "NB FAN");
    EXPECT_EQ(captions[0].Assignments[1].Value, "");
    EXPECT_EQ(Codes(table.Rows("FanSlots", 0x8086)), std::set<std::string>{"1"});
    EXPECT_EQ(Codes(table.Rows("FanSlots", 0x1022)), std::set<std::string>{"2"});
}

TEST(BoardTableLoad, MissingShippedTableIsReportedAndGivesDefaults) {
    std::ostringstream err;
    BoardTable table = LoadBoardTables("/nonexistent/boards.table", "", err);
    EXPECT_NE(err.str().find("/nonexistent/boards.table: cannot open the board table"),
              std::string::npos);
    EXPECT_EQ(table.RowCount(), 0u);
    BoardProfile p = DecideProfile(table, {{}, "4120", ""}, 0);
    EXPECT_EQ(Describe(p), Describe(BoardProfile{}));
}

TEST(BoardTableLoad, UserRowsAreTriedBeforeShippedRowsOfTheSameList) {
    const test::ScratchFolder scratch("sx-board");
    const std::filesystem::path& dir = scratch.Path();
    std::filesystem::create_directories(dir / "sentinax");
    {
        std::ofstream(dir / "sentinax" / "boards.table")
            << "[ChipSelector]\nboard 7001 => ChipSelector=9\n"
               "board 9999 => ChipSelector=bad\n"
               "[NoPowerFan]\nboard MyBoard => NoPowerFan=yes\n";
    }
    std::ostringstream err;
    BoardTable table;
    {
        const test::ScopedEnv config("XDG_CONFIG_HOME", dir.c_str());
        EXPECT_EQ(UserBoardTablePath(), (dir / "sentinax" / "boards.table").string());
        table = LoadBoardTables(SX_BOARD_TABLE_SOURCE, UserBoardTablePath(), err);
    }

    EXPECT_NE(err.str().find("boards.table:3: "), std::string::npos) << err.str();
    EXPECT_EQ(DecideProfile(table, {{}, "7001", ""}, 0).ChipSelector, 9); // shipped says 2
    BoardProfile mine = DecideProfile(table, {{}, "MyBoard", ""}, 0);
    EXPECT_TRUE(mine.NoPowerFan);
    EXPECT_EQ(mine.SkinFile, "Skins/Skin4120.ini"); // shipped rows of other lists still apply
    EXPECT_EQ(DecideProfile(table, {{}, "7003", ""}, 0).ChipSelector, 3);
}

TEST(BoardTableLoad, UserTablePathFallsBackToHome) {
    {
        const test::ScopedEnv config("XDG_CONFIG_HOME", "relative/dir"); // relative: ignored
        const test::ScopedEnv home("HOME", "/home/someone");
        EXPECT_EQ(UserBoardTablePath(), "/home/someone/.config/sentinax/boards.table");
    }
    const test::ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const test::ScopedEnv home("HOME", nullptr);
    EXPECT_EQ(UserBoardTablePath(), "");
}

TEST(ShippedBoardTable, RowCountsAndValueSets) {
    EXPECT_EQ(Rows("NoPowerFan").size(), 20u);
    EXPECT_EQ(Rows("AltRailScaling").size(), 39u);
    EXPECT_EQ(CountVersioned(Rows("AltRailScaling")), 5);

    // SkinBB: 3 codes, all two-fan boards; the compact skin is named after a two-fan board.
    const auto& skin = Rows("SkinFile");
    EXPECT_EQ(CountRows(skin, "SkinFile", "Skins/SkinBB.ini"), 3);
    auto twoFan = Codes(Rows("NoPowerFan"));
    for (const auto& code : Codes(skin))
        EXPECT_TRUE(twoFan.count(code)) << code;
    ASSERT_FALSE(skin.empty());
    const BoardRow& compact = skin.back();
    EXPECT_EQ(compact.Condition.Field->Name, "NoPowerFan");
    EXPECT_EQ(compact.Assignments[0].Value, "Skins/Skin4120.ini");
    EXPECT_TRUE(twoFan.count("4120"));

    for (auto vendor : {std::optional<uint32_t>(0x8086), std::optional<uint32_t>()}) {
        const auto& fans = Rows("FanSlots", vendor);
        EXPECT_EQ(std::count_if(fans.begin(), fans.end(), IsAltRailRow), 1);
    }
    const auto& intel = Rows("OffsetOrSource", 0x8086);
    EXPECT_EQ(CountRows(intel, "CpuTempOffset", "-10"), 2);
    EXPECT_EQ(CountRows(intel, "CpuTempOffset", "-4"), 1);
    EXPECT_EQ(CountRows(intel, "SensorSource", "EmbeddedController"), 2);
    EXPECT_TRUE(Codes(intel).count("filled"));
    EXPECT_TRUE(Rows("OffsetOrSource").empty()); // nothing for other vendors

    const auto& rails = Rows("Rails");
    EXPECT_EQ(std::count_if(rails.begin(), rails.end(), IsAltRailRow), 1);
    std::set<std::string> railSelectors;
    for (const auto& r : rails)
        for (const auto& a : r.Assignments)
            if (a.Field->Name == "ChipSelector")
                railSelectors.insert(a.Value);
    EXPECT_EQ(railSelectors, (std::set<std::string>{"5", "10", "28"}));

    const auto& samples = Rows("SamplesPerInterval");
    EXPECT_EQ(CountRows(samples, "SamplesPerInterval", "3"), 1);
    EXPECT_EQ(CountRows(samples, "SamplesPerInterval", "10"), 2);
    EXPECT_EQ(samples.back().Condition.VersionTest, VersionTestKind::Lacks);
    EXPECT_EQ(samples.back().Condition.VersionText, "2");
    EXPECT_EQ(CountRows(Rows("CpuTempSlot"), "CpuTempSlot", "1"), 3);
    EXPECT_EQ(Rows("CpuTempFloorCheck").size(), 1u);

    const auto& early = Rows("ChipSelectorEarly");
    ASSERT_EQ(early.size(), 1u);
    EXPECT_EQ(early[0].Condition.VersionTest, VersionTestKind::Contains);
    EXPECT_EQ(early[0].Condition.VersionText, "1.0");
    EXPECT_EQ(CountRows(early, "ChipSelector", "1"), 1);
    EXPECT_EQ(CountRows(early, "CpuTempOffset", "14"), 1);

    const auto& selectors = Rows("ChipSelector");
    EXPECT_EQ(selectors.size(), 31u);
    EXPECT_EQ(CountVersioned(selectors), 2);
    std::set<int> distinct;
    for (const auto& r : selectors)
        for (const auto& a : r.Assignments)
            if (a.Field->Name == "ChipSelector")
                distinct.insert(std::stoi(a.Value));
    EXPECT_EQ(distinct.size(), 22u);
    EXPECT_GE(*distinct.begin(), 2);
    EXPECT_LE(*distinct.rbegin(), 31);
    for (int needed : {2, 3, 4, 6, 12, 22}) // the selectors start-up detection knows
        EXPECT_TRUE(distinct.count(needed)) << needed;
    EXPECT_EQ(CountRows(selectors, "ChipSelector", "4"), 1);
    EXPECT_EQ(CountRows(selectors, "CpuTempOffset", "64"), 1);
    for (const auto& r : selectors) { // the offset 64 sits on the selector-4 row
        if (CountRows({r}, "CpuTempOffset", "64")) {
            EXPECT_EQ(CountRows({r}, "ChipSelector", "4"), 1);
        }
    }
    std::set<int> all = distinct;
    all.insert(1);
    for (auto s : railSelectors)
        all.insert(std::stoi(s));
    EXPECT_EQ(all.size(), 25u);

    EXPECT_EQ(CountRows(Rows("HostModeFrontPanel"), "HostMode", "2"), 3);
    const auto& display = Rows("HostModePanelDisplay");
    EXPECT_EQ(CountRows(display, "HostMode", "3"), 4);
    EXPECT_EQ(CountRows(display, "TwelveVoltOffset", "-600"), 1);
    EXPECT_EQ(CountRows(display, "ChipCommand", "114"), 1);

    EXPECT_EQ(CountRows(Rows("FanCaptions"), "FanCaption3", "NB FAN"), 2);
    EXPECT_EQ(CountRows(Rows("FanCaptions"), "FanCaption3", "FAN3"), 1);
    EXPECT_EQ(Rows("FrostlineSupported").size(), 11u);
    EXPECT_EQ(Rows("PanoraSysFanExcluded").size(), 1u);
    for (const auto& code : Codes(Rows("PanoraSysFanExcluded")))
        EXPECT_TRUE(Codes(display).count(code)) << "the excluded board has a panel display";
}

TEST(ShippedBoardTable, ValueSetsOfTheFurtherFields) {
    auto values = [](const char* list, const char* field) {
        std::set<std::string> v;
        for (const auto& r : Rows(list))
            for (const auto& a : r.Assignments)
                if (a.Field->Name == field)
                    v.insert(a.Value);
        return v;
    };
    using S = std::set<std::string>;
    EXPECT_EQ(values("CpuTempCorrection", "CpuTempCorrection"), (S{"-4", "-10", "3"}));
    EXPECT_EQ(values("TempSourceRule", "TempSourceRule"),
              (S{"SwapWithSystem", "SecondByteAsCpu", "FromRawSlots"}));
    EXPECT_EQ(values("FiveVoltRule", "FiveVoltRule").size(), 9u);
    EXPECT_EQ(values("TwelveVoltRule", "TwelveVoltRule"),
              (S{"Times6_6", "Times24Then0_3125", "Times12Then0_3125", "Times24Then20_63"}));
    EXPECT_EQ(values("FanEmulation", "FanEmulation"), (S{"Jitter", "BandedJitter"}));
    EXPECT_EQ(values("FanWarnTempGate", "FanWarnTempGate"), (S{"Below48", "Below41", "Always"}));
    EXPECT_EQ(values("CpuTempLimitOverride", "CpuTempLimitOverride"),
              (S{"90/95", "100/100", "80/90"}));
    EXPECT_EQ(values("CpuFanLimitOverride", "CpuFanLimitOverride"),
              (S{"14/700", "18/900", "6/300"}));
    EXPECT_EQ(values("SysFanUpperBase", "SysFanUpperBase"), S{"4000"});
    EXPECT_EQ(values("VcoreLowerOverride", "VcoreLowerOverride"), S{"yes"});

    // +5 V: the scaled-rail boards read slots 4 to 6 except four of them, plus two more boards.
    BoardTable t = Shipped();
    int altRailOnSlot3 = 0, otherOnSlots456 = 0;
    std::set<std::string> altRail = Codes(Rows("AltRailScaling"));
    std::set<std::string> seen;
    for (const auto& code : Codes(Rows("FiveVoltRule"))) {
        // Versions that satisfy the version conditions of the scaled-rail list.
        BoardProfile p = DecideProfile(t, {{}, "X" + code, "B 2.0"}, 0);
        bool slot456 = p.FiveVoltRule == FiveVoltRuleKind::CopySlot4 ||
                       p.FiveVoltRule == FiveVoltRuleKind::Slot4Times1_5 ||
                       p.FiveVoltRule == FiveVoltRuleKind::Slot5Times1_6 ||
                       p.FiveVoltRule == FiveVoltRuleKind::Slot5Times1_5 ||
                       p.FiveVoltRule == FiveVoltRuleKind::Slot6Times1_61;
        altRailOnSlot3 += p.AltRailScaling && !slot456;
        otherOnSlots456 += !p.AltRailScaling && slot456;
    }
    EXPECT_EQ(altRailOnSlot3, 4);
    EXPECT_EQ(otherOnSlots456, 2);
    for (const auto& code : altRail) {
        BoardProfile p = DecideProfile(t, {{}, code, "B 2.0"}, 0);
        EXPECT_EQ(p.TwelveVoltRule, TwelveVoltRuleKind::Times6_6) << code;
    }
}

TEST(ShippedBoardTable, TheDemoBoardMatchesNoRow) {
    EXPECT_EQ(Describe(DecideProfile(Shipped(), {{}, "KX-4100 Demo", ""}, 0)),
              Describe(BoardProfile{}));
}
