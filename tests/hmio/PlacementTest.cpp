// Placement and reading on fake sysfs trees (the plain scan; libsensors is
// exercised by the board trees under tests/hmio/boards/): which input feeds
// which value by which rule, what is not checked, what is said, and inputs
// and chips that go away and come back.
#include "HmioFixture.h"
#include "HwmonEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace hmio;
using hmio_test::HmioFixture;
namespace fs = std::filesystem;

std::string ShippedMap() {
    std::ifstream in(std::string(HMIO_DATA_DIR) + "/hwmon-channels.map");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class PlacementTest : public HmioFixture {
protected:
    std::string Root() const { return (dir_ / "root").string() + "/"; }
    // A chip folder with a device link that names its bus as the kernel does.
    std::string Chip(int number, const std::string& name, const std::string& bus,
                     const std::string& device) {
        const std::string folder = "root/sys/class/hwmon/hwmon" + std::to_string(number) + "/";
        Write(folder + "name", name + "\n");
        if (!bus.empty()) {
            const fs::path dev = dir_ / "root/sys/devices" / bus / device;
            fs::create_directories(dev);
            fs::create_directories(dir_ / "root/sys/bus" / bus);
            fs::create_symlink(dir_ / "root/sys/bus" / bus, dev / "subsystem");
            fs::create_symlink(dev, dir_ / folder / "device");
        }
        return folder;
    }
    void Board(const std::string& vendor, const std::string& name, const std::string& host) {
        Write("root/sys/class/dmi/id/board_vendor", vendor + "\n");
        Write("root/sys/class/dmi/id/board_name", name + "\n");
        Write("root/sys/bus/pci/devices/0000:00:00.0/vendor", host + "\n");
    }
    std::unique_ptr<HwmonEngine> Engine(const std::string& wiringText = "",
                                        std::string mapText = ShippedMap()) {
        HwmonOptions options;
        options.Root = Root();
        options.UseLibsensors = false;
        options.CheckIntervalNs = 0;
        ParseErrors errors;
        options.Map = ParseChannelMap(mapText, "map", errors);
        ParseBoardWiring(wiringText, "wiring", options.Wiring, errors);
        EXPECT_TRUE(errors.empty()) << errors.front();
        return std::make_unique<HwmonEngine>(std::move(options));
    }
    static std::vector<std::string> Notices(HwmonEngine& engine) {
        std::vector<std::string> all;
        for (std::string n = engine.NextNotice(); !n.empty(); n = engine.NextNotice())
            all.push_back(n);
        return all;
    }
    static bool Said(const std::vector<std::string>& notices, const std::string& part) {
        for (const std::string& n : notices) {
            if (n.find(part) != std::string::npos)
                return true;
        }
        return false;
    }
    static HmioStatus Status(HwmonEngine& engine) {
        HmioStatus status{};
        engine.GetStatus(status);
        return status;
    }

    // An NCT6798 whose +12 V pin carries the rail through x6.6 and a Ryzen
    // whose Tctl runs 20 degrees above Tdie.
    void RyzenNct() {
        Board("Example Vendor", "EX-1 AM4", "0x1022");
        const std::string k10 = Chip(0, "k10temp", "pci", "0000:00:18.3");
        Write(k10 + "temp1_input", "65000\n");
        Write(k10 + "temp1_label", "Tctl\n");
        Write(k10 + "temp2_input", "45000\n");
        Write(k10 + "temp2_label", "Tdie\n");
        const std::string nct = Chip(1, "nct6798", "platform", "nct6775.656");
        Write(nct + "in0_input", "1344\n");
        Write(nct + "in1_input", "1830\n");
        Write(nct + "in3_input", "3312\n");
        Write(nct + "in4_input", "1006\n");
        Write(nct + "temp1_input", "34000\n");
        Write(nct + "fan1_input", "900\n");
        Write(nct + "fan2_input", "1500\n");
    }
};

TEST_F(PlacementTest, ChipsAreNamedByTheirBusAsLibsensorsNamesThem) {
    struct Case {
        const char* name;
        const char* bus;
        const char* device;
        const char* expected;
    } cases[] = {
        {"nct6798", "platform", "nct6775.656", "nct6798-isa-0290"},
        {"it8686", "platform", "it87.2624", "it8686-isa-0a40"},
        {"k10temp", "pci", "0000:00:18.3", "k10temp-pci-00c3"},
        {"w83795g", "i2c", "0-002f", "w83795g-i2c-0-2f"},
        {"acpitz", "acpi", "LNXTHERM:00", "acpitz-acpi-0"},
        {"asus_wmi_sensors", "wmi", "466747A0-70EC-11DE-8A39-0800200C9A66",
         "asus_wmi_sensors-virtual-0"},
        {"asusec", "platform", "asus-ec-sensors", "asusec-isa-0000"},
        {"nvme", "", "", "nvme-virtual-0"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string folder = Chip(n++, c.name, c.bus, c.device);
        const auto chip = ScanHwmonFolder((dir_ / folder).string());
        ASSERT_TRUE(chip);
        EXPECT_EQ(chip->Name, c.expected);
    }
}

TEST_F(PlacementTest, WiringRowsBeatGenericDefaultsAndTdieBeatsTctl) {
    RyzenNct();
    auto engine = Engine("board \"example vendor\" \"EX-1*\"\n chip nct6798\n"
                         "  v12 in1 div 56/10\n  fan3 none\nend\n");
    std::array<uint8_t, 8> params{};
    EXPECT_TRUE(engine->ReadParams(params.data()));
    EXPECT_EQ(params[0], 45); // Tdie, not Tctl's 65
    std::array<int32_t, 30> raw{};
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[4], 12078); // the board's x6.6, not the generic x12
    EXPECT_EQ(raw[3], 5030);  // generic default *5
    EXPECT_EQ(raw[0], 1344);
    EXPECT_EQ(raw[8], 1500); // CPU fan in slot 8 on an AMD host
    EXPECT_EQ(Status(*engine).UncheckedSlots, 0u);

    const auto notices = Notices(*engine);
    ASSERT_FALSE(notices.empty());
    EXPECT_NE(notices[0].find("sensors: 8 values from k10temp-pci-00c3, nct6798-isa-0290 "
                              "(0 lm-sensors configuration, 1 wiring row, 7 generic default); "
                              "board wiring wiring:1"),
              std::string::npos)
        << notices[0];
    const std::string report = engine->Report();
    EXPECT_NE(report.find("-> +12 V x33/5, wiring row wiring:3"), std::string::npos) << report;
    EXPECT_NE(report.find("third fan           not monitored on this board"), std::string::npos)
        << report;
    EXPECT_NE(report.find("temp1  \"Tctl\""), std::string::npos) << report;
}

TEST_F(PlacementTest, GuessedRailThatDoesNotLookLikeItsRailIsUnchecked) {
    RyzenNct(); // no wiring row: +12 V through the generic x12 reads 21.96 V
    auto engine = Engine();
    std::array<int32_t, 30> raw{};
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[4], 21960);
    const HmioStatus status = Status(*engine);
    EXPECT_EQ(status.UncheckedSlots, 1u << 4); // the other rails look right
    const auto notices = Notices(*engine);
    EXPECT_TRUE(Said(notices, "+12 V reads 21.96 V through generic wiring (nct6798-isa-0290 "
                              "in1), which does not look like that rail"));
    EXPECT_TRUE(Said(notices, "`sentinax4 --sensors`"));
}

TEST_F(PlacementTest, WiringRowForAMissingInputIsSaidAndNotGuessed) {
    RyzenNct();
    auto engine = Engine("board \"Example Vendor\" \"EX-1 AM4\"\n chip nct6798\n  v5 in9 *5\n"
                         " chip it8686@0a40\n  sysfan fan2\nend\n");
    std::array<int32_t, 30> raw{};
    raw.fill(-7);
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[3], -7); // not the generic in4
    EXPECT_EQ(raw[9], -7); // not the generic fan1
    const auto notices = Notices(*engine);
    EXPECT_TRUE(Said(notices, "+5 V cannot be read: wiring:3: wired to nct6798 in9, which this "
                              "machine does not have"));
    EXPECT_TRUE(Said(notices, "system fan cannot be read: wiring:5: wired to it8686@0a40 fan2"));
}

TEST_F(PlacementTest, MainSuperIoIsReadNotTheSecondOne) {
    Board("Example Vendor", "EX-2", "0x8086");
    // The second chip sits at the lower address and sorts first by name.
    const std::string second = Chip(0, "it8712", "platform", "it87.656");
    Write(second + "in0_input", "2800\n");
    Write(second + "fan1_input", "0\n");
    const std::string main = Chip(1, "it8728", "platform", "it87.2624");
    Write(main + "in0_input", "1200\n");
    Write(main + "fan1_input", "1450\n");
    auto engine = Engine("", "secondary it8712\nit87* in0_input slot0\nit87* fan1_input cpufan\n");
    std::array<int32_t, 30> raw{};
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[0], 1200);
    EXPECT_EQ(raw[10], 1450); // the CPU fan where an Intel board's profile looks
    EXPECT_EQ(raw[8], 0);
}

TEST_F(PlacementTest, LabelledDriversAreReadByTheirLabels) {
    Board("ASUSTeK COMPUTER INC.", "ROG STRIX B450-F GAMING", "0x1022");
    const std::string wmi =
        Chip(0, "asus_wmi_sensors", "wmi", "466747A0-70EC-11DE-8A39-0800200C9A66");
    const char* inputs[][3] = {
        {"in0", "1344", "CPU Core Voltage"},   {"in1", "1088", "CPU SOC Voltage"},
        {"in5", "12028", "+12V Voltage"},      {"in6", "5040", "+5V Voltage"},
        {"fan1", "1190", "CPU Fan"},           {"fan2", "870", "Chassis Fan 1"},
        {"temp1", "45000", "CPU Temperature"}, {"temp3", "33000", "Motherboard Temperature"},
    };
    for (const auto& in : inputs) {
        Write(wmi + in[0] + "_input", std::string(in[1]) + "\n");
        Write(wmi + in[0] + "_label", std::string(in[2]) + "\n");
    }
    auto engine = Engine();
    std::array<uint8_t, 8> params{};
    engine->ReadParams(params.data());
    std::array<int32_t, 30> raw{};
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[0], 1344);
    EXPECT_EQ(raw[3], 5040);
    EXPECT_EQ(raw[4], 12028);
    EXPECT_EQ(raw[7], 33);
    EXPECT_EQ(raw[8], 1190);
    EXPECT_EQ(raw[9], 870);
    EXPECT_EQ(params[0], 45);
    EXPECT_EQ(Status(*engine).UncheckedSlots, 0u);
}

TEST_F(PlacementTest, CpuTemperatureChoiceAndItsCriticalLimit) {
    struct Case {
        const char* chip;
        const char* label; // of temp1
        const char* crit;  // temp1_crit, "" for none
        int cpu;
        int crit_c;
        bool acpiNotice;
    } cases[] = {
        {"coretemp", "Package id 0", "100000", 52, 100, false},
        {"coretemp", "Package id 0", "200000", 52, 0, false}, // absurd
        {"coretemp", "Package id 0", "0", 52, 0, false},
        {"k10temp", "Tctl", "", 52, 0, false},
        {"acpitz", "", "105000", 52, 105, true},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir_ / "root");
        Board("V", "N", "0x8086");
        const std::string folder = Chip(0, c.chip, "", "");
        Write(folder + "temp1_input", "52000\n");
        if (*c.label)
            Write(folder + "temp1_label", std::string(c.label) + "\n");
        if (*c.crit)
            Write(folder + "temp1_crit", std::string(c.crit) + "\n");
        auto engine = Engine();
        std::array<uint8_t, 8> params{};
        EXPECT_TRUE(engine->ReadParams(params.data())) << c.chip;
        EXPECT_EQ(params[0], c.cpu) << c.chip;
        EXPECT_EQ(Status(*engine).CpuTempCrit, c.crit_c) << c.chip << " " << c.crit;
        EXPECT_EQ(Said(Notices(*engine), "the CPU temperature is the ACPI thermal zone's"),
                  c.acpiNotice)
            << c.chip;
    }
}

TEST_F(PlacementTest, NoKnownChipIsSaid) {
    Board("V", "N", "0x1022");
    const std::string nvme = Chip(0, "nvme", "", "");
    Write(nvme + "temp1_input", "40000\n");
    auto engine = Engine();
    EXPECT_FALSE(engine->AnyPlaced());
    EXPECT_TRUE(Said(Notices(*engine), "no known sensor chip (found: nvme-virtual-0)"));
}

// A chip that goes away (its folder removed, as a driver unload does) has no
// reading, never its last value; made anew with other values, it is found
// again on the next read and read at once.
TEST_F(PlacementTest, ChipThatGoesAndComesBackIsFoundAgain) {
    RyzenNct();
    auto engine = Engine();
    std::array<uint8_t, 8> params{};
    std::array<int32_t, 30> raw{};
    ASSERT_TRUE(engine->ReadParams(params.data()));
    engine->ReadSlots(raw.data());
    Notices(*engine);
    const uint32_t generation = Status(*engine).Generation;

    fs::remove_all(dir_ / "root/sys/class/hwmon/hwmon0");
    params.fill(0xC9);
    EXPECT_FALSE(engine->ReadParams(params.data()));
    EXPECT_EQ(params[0], 0xC9);
    HmioStatus status = Status(*engine);
    EXPECT_EQ(status.LostParams, 1u);
    EXPECT_EQ(status.LostSlots, 0u);
    EXPECT_NE(status.Generation, generation);
    auto notices = Notices(*engine);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("no reading from CPU temperature (k10temp-pci-00c3 temp2)"),
              std::string::npos)
        << notices[0];
    // Still gone on the next reads: said once.
    engine->ReadParams(params.data());
    EXPECT_TRUE(Notices(*engine).empty());

    const std::string k10 = Chip(5, "k10temp", "", "");
    fs::remove(dir_ / k10 / "device");
    fs::create_symlink(dir_ / "root/sys/devices/pci/0000:00:18.3", dir_ / k10 / "device");
    Write(k10 + "temp2_input", "99000\n");
    Write(k10 + "temp2_label", "Tdie\n");
    EXPECT_TRUE(engine->ReadParams(params.data()));
    EXPECT_EQ(params[0], 99);
    EXPECT_EQ(Status(*engine).LostParams, 0u);
    notices = Notices(*engine);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "CPU temperature (k10temp-pci-00c3 temp2) read again");
}

// A folder removed and made anew at the same place (same hwmonN) is noticed
// too: a descriptor kept open on the old file would go on reading 45.
TEST_F(PlacementTest, FolderMadeAnewAtTheSamePlaceIsReadAnew) {
    RyzenNct();
    auto engine = Engine();
    std::array<uint8_t, 8> params{};
    ASSERT_TRUE(engine->ReadParams(params.data()));
    EXPECT_EQ(params[0], 45);
    fs::remove_all(dir_ / "root/sys/class/hwmon/hwmon0");
    const std::string k10 = Chip(0, "k10temp", "", "");
    fs::remove(dir_ / k10 / "device");
    fs::create_symlink(dir_ / "root/sys/devices/pci/0000:00:18.3", dir_ / k10 / "device");
    Write(k10 + "temp2_input", "99000\n");
    Write(k10 + "temp2_label", "Tdie\n");
    EXPECT_TRUE(engine->ReadParams(params.data()));
    EXPECT_EQ(params[0], 99);
}

// An input that reads an error or junk has no reading: its slot keeps what
// it had (never 0 rpm or 0 V) until it reads again.
TEST_F(PlacementTest, InputReadingJunkIsLostNotZero) {
    RyzenNct();
    auto engine = Engine();
    std::array<int32_t, 30> raw{};
    engine->ReadSlots(raw.data());
    ASSERT_EQ(raw[8], 1500);
    Notices(*engine);
    Write("root/sys/class/hwmon/hwmon1/fan2_input", "");
    raw[8] = 1234;
    const uint32_t written = engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[8], 1234);
    EXPECT_EQ(written & (1u << 8), 0u);
    EXPECT_EQ(Status(*engine).LostSlots, 1u << 8);
    EXPECT_TRUE(Said(Notices(*engine), "no reading from CPU fan (nct6798-isa-0290 fan2)"));
    Write("root/sys/class/hwmon/hwmon1/fan2_input", "1400\n");
    engine->ReadSlots(raw.data());
    EXPECT_EQ(raw[8], 1400);
    EXPECT_EQ(Status(*engine).LostSlots, 0u);
}

} // namespace

namespace {

using namespace hmio;

// The configuration's part, on chips as libsensors would list them: a label
// alone does not undo a board row's divider, a compute wins over it, and a
// configured label does not hide the driver's own label.
TEST(PlacementRules, ConfigurationLabelsAndComputesAgainstWiringRows) {
    auto input = [](const char* stem, InputKind kind, const char* label, const char* driver,
                    int64_t raw, int64_t computed) {
        SensorInput in;
        in.Stem = stem;
        in.Kind = kind;
        in.Label = label;
        in.DriverLabel = driver;
        in.ConfigLabel = std::string(label) != driver;
        in.Raw = raw;
        in.Computed = computed;
        in.ConfigCompute = raw != computed;
        return in;
    };
    SensorChip nct;
    nct.Name = "nct6779-isa-0290";
    nct.Prefix = "nct6779";
    nct.Address = 0x290;
    nct.Inputs = {input("in0", InputKind::Voltage, "Vcore", "in0", 624, 624),
                  input("in4", InputKind::Voltage, "+12V", "in4", 1830, 12078),
                  input("in5", InputKind::Voltage, "+5V", "in5", 1006, 1006)};
    SensorChip k10;
    k10.Name = "k10temp-pci-00c3";
    k10.Prefix = "k10temp";
    k10.Inputs = {input("temp1", InputKind::Temperature, "Tctl", "Tctl", 58500, 58500),
                  input("temp2", InputKind::Temperature, "CPU die", "Tdie", 38500, 38500)};
    const std::vector<SensorChip> chips = {k10, nct};
    ParseErrors errors;
    BoardWiring wiring;
    ParseBoardWiring("board \"ASRock\" \"X370 Taichi\"\n chip nct6779\n  vcore in0 *2\n"
                     "  v12 in4 div 56/10\n  v5 in12 div 20/10\nend\n",
                     "w", wiring, errors);
    const ChannelMap map = ParseChannelMap("k10temp \"Tdie\" param0\nk10temp \"Tctl\" param0\n"
                                           "* \"Vcore\" slot0\n* \"+12V\" slot4\n* \"+5V\" slot3\n",
                                           "map", errors);
    ASSERT_TRUE(errors.empty());
    PlacementInput in;
    in.Chips = &chips;
    in.BoardVendor = "ASRock";
    in.BoardName = "X370 Taichi";
    in.HostVendor = 0x1022;
    in.Wiring = &wiring;
    in.Map = &map;
    in.MapName = "map";
    in.ConfigFiles = "/etc/sensors3.conf";
    const Placement p = PlaceSensors(in);

    ASSERT_TRUE(p.Slots[0]); // the stock "Vcore" label: the board's x2 still applies
    EXPECT_EQ(p.Slots[0]->Rule, PlacementRule::WiringRow);
    EXPECT_EQ(p.Slots[0]->FirstValue, 1248);
    ASSERT_TRUE(p.Slots[4]); // configured compute: read as configured
    EXPECT_EQ(p.Slots[4]->Rule, PlacementRule::Configuration);
    EXPECT_TRUE(p.Slots[4]->ThroughLibsensors);
    EXPECT_EQ(p.Slots[4]->FirstValue, 12078);
    // The row names an input this machine lacks: the configured "+5V" label
    // without a compute does not stand in for it.
    EXPECT_FALSE(p.Slots[3]);
    ASSERT_TRUE(p.Params[0]); // Tdie found by the driver's label under "CPU die"
    EXPECT_EQ(p.Params[0]->Input, 1);
    EXPECT_EQ(p.Params[0]->FirstValue, 38);
}

} // namespace
