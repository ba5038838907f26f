#include "hardware/ProfileDecision.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

using namespace sentinax;

namespace {

const BoardTable& Shipped() {
    static const BoardTable table = [] {
        std::ostringstream err;
        return LoadBoardTable(SX_BOARD_TABLE_SOURCE, err);
    }();
    return table;
}

BoardProfile Decide(const std::string& product, const std::string& version = "",
                    uint32_t vendor = 0) {
    return DecideProfile(Shipped(), BoardIdentity{{}, product, version}, vendor);
}

std::array<int, 3> Fans(const BoardProfile& p) {
    return {p.CpuFanSlot, p.SysFanSlot, p.PowerFanSlot};
}

BoardTable Parse(const std::string& text) {
    BoardTable t;
    std::istringstream in(text);
    std::ostringstream err;
    ParseBoardTable(in, "t", t, err);
    EXPECT_EQ(err.str(), "");
    return t;
}

} // namespace

TEST(DecideProfile, FanSlotsByVendorAndAltRailScaling) {
    struct Case {
        const char* product;
        const char* version;
        uint32_t vendor;
        std::array<int, 3> fans;
        int v12, v33;
    } cases[] = {
        {"unknown", "", kIntelVendorId, {10, 9, 8}, 4, 2},
        {"unknown", "", 0x1022, {8, 9, 10}, 4, 2},
        {"", "", 0x1022, {8, 9, 10}, 4, 2},
        // A scaled-rail board no earlier row names: 9, 8, 10 and rails 1 and 3, any vendor.
        {"M-5230", "", kIntelVendorId, {9, 8, 10}, 1, 3},
        {"M-5230", "", 0x10DE, {9, 8, 10}, 1, 3},
        // Named before the scaled-rail row of the Intel fan list and of the rail list.
        {"M-5202", "", kIntelVendorId, {10, 8, 9}, 1, 3},
        {"M-5204", "", 0x1022, {9, 8, 10}, 5, 4},
        // The version condition of a scaled-rail row fails: plain defaults.
        {"M-5280", "1.0", 0x1022, {8, 9, 10}, 4, 2},
        {"M-5280", "2.0", 0x1022, {9, 8, 10}, 1, 3},
        {"M-6001", "", kIntelVendorId, {8, 9, 10}, 4, 2},
        {"M-6001", "", 0x1022, {8, 9, 10}, 4, 2}, // listed for Intel only
        {"M-6002", "", 0x1022, {10, 9, 8}, 4, 2},
    };
    for (const auto& c : cases) {
        BoardProfile p = Decide(c.product, c.version, c.vendor);
        EXPECT_EQ(Fans(p), c.fans) << c.product << " " << c.version << " " << std::hex << c.vendor;
        EXPECT_EQ(p.V12Slot, c.v12) << c.product;
        EXPECT_EQ(p.V33Slot, c.v33) << c.product;
    }
}

TEST(DecideProfile, SkinCaptionsAndHostModes) {
    struct Case {
        const char* product;
        const char* skin;
        std::array<const char*, 3> captions;
        HostMode hostMode;
    } cases[] = {
        {"KX-4100 Demo", "Skins/Skin.ini", {"CPU FAN", "SYS FAN", "PS FAN"}, HostMode::None},
        {"B-4160", "Skins/SkinBB.ini", {"CPU FAN", "SYS FAN", ""}, HostMode::None},
        {"C-4136", "Skins/Skin4120.ini", {"CPU FAN", "SYS FAN", ""}, HostMode::None},
        {"N-8101", "Skins/Skin.ini", {"CPU FAN", "SYS FAN", "NB FAN"}, HostMode::None},
        {"L-8105", "Skins/Skin.ini", {"FAN1", "FAN2", "FAN3"}, HostMode::None},
        {"4136 8101", "Skins/Skin4120.ini", {"CPU FAN", "SYS FAN", "NB FAN"}, HostMode::None},
        {"F-8003", "Skins/Skin.ini", {"CPU FAN", "SYS FAN", "PS FAN"}, HostMode::FrontPanel},
        // A product naming a front-panel and a panel-display board ends with 3.
        {"8003/8011", "Skins/Skin.ini", {"CPU FAN", "SYS FAN", "PS FAN"}, HostMode::PanelDisplay},
    };
    for (const auto& c : cases) {
        BoardProfile p = Decide(c.product);
        EXPECT_EQ(p.SkinFile, c.skin) << c.product;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(p.FanCaptions[i], c.captions[i]) << c.product << " caption " << i;
        EXPECT_EQ(p.HostMode, c.hostMode) << c.product;
    }
    EXPECT_EQ(Decide("P-8013").TwelveVoltOffset, -600);
    EXPECT_EQ(Decide("P-8015").ChipCommand, 114);
    EXPECT_TRUE(Decide("P-8017").PanoraSysFanExcluded);
}

TEST(DecideProfile, IntelOnlyOffsetsAndEmbeddedController) {
    struct Case {
        const char* product;
        uint32_t vendor;
        int offset;
        SensorSourceKind source;
        FanWarnTempGateKind gate;
    } cases[] = {
        {"T-6101", kIntelVendorId, -10, SensorSourceKind::Library, FanWarnTempGateKind::Always},
        {"T-6101", 0x1022, 0, SensorSourceKind::Library, FanWarnTempGateKind::None},
        {"T-6105", kIntelVendorId, -4, SensorSourceKind::Library, FanWarnTempGateKind::None},
        {"To be filled by O.E.M.", kIntelVendorId, 0, SensorSourceKind::EmbeddedController,
         FanWarnTempGateKind::Below48},
        {"To be filled by O.E.M.", 0x1022, 0, SensorSourceKind::Library, FanWarnTempGateKind::None},
        {"To be Filled", kIntelVendorId, 0, SensorSourceKind::Library, FanWarnTempGateKind::None},
        {"E-6107", kIntelVendorId, 0, SensorSourceKind::EmbeddedController,
         FanWarnTempGateKind::Below48},
        // The offset row comes first in the same list: no controller.
        {"6101 filled", kIntelVendorId, -10, SensorSourceKind::Library,
         FanWarnTempGateKind::Always},
    };
    for (const auto& c : cases) {
        BoardProfile p = Decide(c.product, "", c.vendor);
        EXPECT_EQ(p.CpuTempOffset, c.offset) << c.product;
        EXPECT_EQ(p.SensorSource, c.source) << c.product;
        EXPECT_EQ(p.FanWarnTempGate, c.gate) << c.product;
    }
}

TEST(DecideProfile, ChipSelectorStepsAndVersionConditions) {
    struct Case {
        const char* product;
        const char* version;
        int selector;
        int offset;
        int samples;
        bool systemTempFromChip;
    } cases[] = {
        {"S-6601", "1.0", 1, 14, 1, true},
        {"S-6601", "2.0", 0, 0, 1, false}, // version condition fails: defaults
        {"S-7005", "", 4, 64, 1, true},
        {"S-6305", "", 28, 0, 1, false},       // from the rail list
        {"6305 7001", "", 2, 0, 1, true},      // the main list replaces it
        {"6601 7009", "1.0", 7, 14, 1, false}, // replaces the early selector, keeps its offset
        {"S-6405", "1.0", 0, 0, 10, false},
        {"S-6405", "2.0", 0, 0, 1, false},
        {"S-6401", "", 0, 0, 3, false},
    };
    for (const auto& c : cases) {
        BoardProfile p = Decide(c.product, c.version);
        EXPECT_EQ(p.ChipSelector, c.selector) << c.product << " " << c.version;
        EXPECT_EQ(p.CpuTempOffset, c.offset) << c.product << " " << c.version;
        EXPECT_EQ(p.SamplesPerInterval, c.samples) << c.product << " " << c.version;
        EXPECT_EQ(p.SystemTempFromChip, c.systemTempFromChip) << c.product << " " << c.version;
    }
    EXPECT_EQ(Decide("S-6405", "1.0").CpuFanFilter, CpuFanFilterKind::WindowMinAverage);
    EXPECT_EQ(Decide("S-6401").CpuFanFilter, CpuFanFilterKind::Average);
}

TEST(DecideProfile, TwoCodesMixTraitsListByList) {
    // A two-fan board code and a scaled-rail board code in one product string.
    BoardProfile p = Decide("4122/5240");
    EXPECT_TRUE(p.NoPowerFan);
    EXPECT_TRUE(p.AltRailScaling);
    EXPECT_EQ(p.SkinFile, "Skins/Skin4120.ini");
    EXPECT_EQ(Fans(p), (std::array<int, 3>{9, 8, 10}));
    EXPECT_EQ(p.FiveVoltRule, FiveVoltRuleKind::CopySlot4);
    EXPECT_EQ(p.FanCaptions[2], "");

    // Within one list the earlier row wins, whatever the order in the string.
    BoardTable t =
        Parse("[ChipSelector]\nboard AAAA => ChipSelector=3\nboard BBBB => ChipSelector=7\n");
    EXPECT_EQ(DecideProfile(t, {{}, "BBBB AAAA", ""}, 0).ChipSelector, 3);
    EXPECT_EQ(DecideProfile(t, {{}, "bbbb", ""}, 0).ChipSelector, 0); // case-sensitive
}

TEST(DecideProfile, WhenConditionsSeeOnlyEarlierLists) {
    // FanSlots is decided after SkinFile: a SkinFile row cannot see the fan slots
    // of this board, only the defaults of its vendor.
    BoardTable t = Parse("[SkinFile]\nwhen CpuFanSlot=10 => SkinFile=intel.ini\n"
                         "[FanSlots]\nboard X => CpuFanSlot=10\n"
                         "[AutoHide]\nwhen CpuFanSlot=10 => AutoHide=yes\n");
    BoardProfile amd = DecideProfile(t, {{}, "X", ""}, 0x1022);
    EXPECT_EQ(amd.SkinFile, "Skins/Skin.ini");
    EXPECT_TRUE(amd.AutoHide);
    BoardProfile intel = DecideProfile(t, {{}, "Y", ""}, kIntelVendorId);
    EXPECT_EQ(intel.SkinFile, "intel.ini");
    EXPECT_TRUE(intel.AutoHide);
}

TEST(DecideProfile, FurtherFieldsAndLimitOverrides) {
    EXPECT_EQ(Decide("7021").CpuTempLimitOverride, (LimitOverride{90, 95}));
    EXPECT_EQ(Decide("7025").CpuTempLimitOverride, (LimitOverride{80, 90}));
    EXPECT_FALSE(Decide("7027").CpuTempLimitOverride.has_value());
    EXPECT_EQ(Decide("7053").CpuFanLimitOverride, (LimitOverride{18, 900}));
    EXPECT_EQ(Decide("4126").SysFanUpperBase, 4000);
    EXPECT_EQ(Decide("4130").SysFanUpperBase, 5000);
    EXPECT_TRUE(Decide("7031").VcoreLowerOverride);
    EXPECT_TRUE(Decide("7045").ChassisSupported);
    EXPECT_TRUE(Decide("9223").FrostlineSupported);
    EXPECT_FALSE(Decide("9227").FrostlineSupported);
    EXPECT_EQ(Decide("8901", "1.1").FanWarnTempGate, FanWarnTempGateKind::Below41);
    EXPECT_EQ(Decide("8901", "1.2").FanWarnTempGate, FanWarnTempGateKind::None);
    EXPECT_EQ(Decide("8717").TwelveVoltRule, TwelveVoltRuleKind::Times24Then0_3125);
    EXPECT_EQ(Decide("5212").FiveVoltRule, FiveVoltRuleKind::Slot3Times1_6);
}
