// The Linux source over a machine made of files, and a smoke run on this machine.
#include "FakeSysTree.h"

#include "sysinfo/InventoryExport.h"
#include "sysinfo/InventoryFill.h"
#include "sysinfo/LinuxInventorySource.h"
#include "sysinfo/WmiCategory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace sentinax {
namespace {

using testing::FakeSysTree;
using testing::TempFolder;

InventoryHost FixedHost(const TempFolder& root) {
    InventoryHost host = InventoryHost::UnderRoot(root.Dir());
    host.Env = [](const std::string& name) -> std::optional<std::string> {
        if (name == "XDG_CURRENT_DESKTOP")
            return "XFCE";
        if (name == "DISPLAY")
            return ":0";
        return std::nullopt;
    };
    host.Uname = [] {
        return std::optional<UnameInfo>(
            UnameInfo{"Linux", "workstation", "6.1.0-18-amd64", "#1 SMP Debian", "x86_64"});
    };
    host.UserName = [] { return std::optional<std::string>("anna"); };
    host.Screen = [] { return std::optional<ScreenInfo>(ScreenInfo{2560, 1440, 24, 677, 381}); };
    host.LocalTime = [](std::time_t moment) -> std::optional<std::tm> {
        std::tm utc{};
        gmtime_r(&moment, &utc);
        return utc;
    };
    return host;
}

std::string Text(InventorySource& source) {
    std::ostringstream out;
    EXPECT_TRUE(WriteInventoryText(source, out));
    return out.str();
}

// The lines under one category of the text export.
std::string Block(const std::string& text, const std::string& label) {
    std::istringstream in(text);
    std::string line, block;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.rfind("  ", 0) != 0) {
            if (inside)
                break;
            inside = line == label;
        } else if (inside) {
            block += line + "\n";
        }
    }
    return block;
}

TEST(LinuxInventorySource, ReadsAFileMachine) {
    TempFolder root;
    FakeSysTree(root).AddStandardMachine();
    LinuxInventorySource source(FixedHost(root));
    const std::string text = Text(source);

    EXPECT_EQ(Block(text, "Audio"), R"T(  Sx_SoundDevice.DeviceID="card0"
    CardID (string)   ==> "PCH"
    DeviceID (string)*   ==> "card0"
    Manufacturer (string)   ==> "Intel Corporation"
    Name (string)   ==> "HDA Intel PCH"
    ProductName (string)   ==> "200 Series PCH HD Audio"
)T");
    EXPECT_EQ(Block(text, "Bios"), R"T(  Sx_BIOS.Tag="BIOS"
    Manufacturer (string)   ==> "American Megatrends Inc."
    ReleaseDate (datetime)   ==> "20240325000000.000000+000"
    SMBIOSBIOSVersion (string)   ==> "1.A0"
    Tag (string)*   ==> "BIOS"
)T");
    EXPECT_EQ(Block(text, "CDROM"), R"T(  Sx_CDROMDrive.DeviceID="sr0"
    DeviceID (string)*   ==> "sr0"
    Manufacturer (string)   ==> "HL-DT-ST"
    MediaLoaded (boolean)   ==> FALSE
    Model (string)   ==> "DVDRAM GH24NSD1"
    Name (string)   ==> "/dev/sr0"
)T");
    EXPECT_EQ(Block(text, "CPU"), R"T(  Sx_Processor.DeviceID="CPU0"
    AddressWidth (uint16)   ==> 64 (0x40)
    Architecture (string)   ==> "x86_64"
    CurrentClockSpeed (uint32)   ==> 3192 (0xC78)
    DeviceID (string)*   ==> "CPU0"
    Family (uint16)   ==> 6 (0x6)
    HypervisorPresent (boolean)   ==> FALSE
    L2CacheSize (uint32)   ==> 256 (0x100)
    L3CacheSize (uint32)   ==> 12288 (0x3000)
    Manufacturer (string)   ==> "GenuineIntel"
    MaxClockSpeed (uint32)   ==> 4600 (0x11F8)
    Microcode (string)   ==> "0xf4"
    Model (uint16)   ==> 158 (0x9E)
    Name (string)   ==> "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"
    NumberOfCores (uint32)   ==> 1 (0x1)
    NumberOfLogicalProcessors (uint32)   ==> 2 (0x2)
    Stepping (uint16)   ==> 10 (0xA)
    VirtualizationExtensions (boolean)   ==> TRUE
)T");
    EXPECT_EQ(Block(text, "Desktop"), R"T(  Sx_Desktop.Name="anna"
    BitsPerPixel (uint32)   ==> 24 (0x18)
    DesktopEnvironment (string)   ==> "XFCE"
    Display (string)   ==> ":0"
    Name (string)*   ==> "anna"
    PixelsPerInch (uint32)   ==> 96 (0x60)
    ScreenHeight (uint32)   ==> 1440 (0x5A0)
    ScreenWidth (uint32)   ==> 2560 (0xA00)
)T");
    EXPECT_EQ(Block(text, "Floppy"), "");
    EXPECT_EQ(Block(text, "HardDisk"), R"T(  Sx_DiskDrive.DeviceID="sda"
    BytesPerSector (uint32)   ==> 512 (0x200)
    DeviceID (string)*   ==> "sda"
    Driver (string)   ==> "sd"
    FirmwareRevision (string)   ==> "3B6Q"
    InterfaceType (string)   ==> "ata"
    MediaType (string)   ==> "Fixed hard disk media"
    Model (string)   ==> "Samsung SSD 860 EVO 500GB"
    Name (string)   ==> "/dev/sda"
    Partitions (uint32)   ==> 1 (0x1)
    Rotational (boolean)   ==> FALSE
    SerialNumber (string)   ==> "S1000"
    Size (uint64)   ==> "500107862016"
)T");
    EXPECT_EQ(Block(text, "Memory"), R"T(  Sx_PhysicalMemory.Tag="Physical Memory 0"
    BankLabel (string)   ==> "BANK 0"
    Capacity (uint64)   ==> "8589934592"
    ConfiguredClockSpeed (uint32)   ==> 3200 (0xC80)
    ConfiguredVoltage (uint32)   ==> 1200 (0x4B0)
    DataWidth (uint16)   ==> 64 (0x40)
    DeviceLocator (string)   ==> "DIMM_A1"
    FormFactor (string)   ==> "DIMM"
    Manufacturer (string)   ==> "Kingston"
    MemoryType (string)   ==> "DDR4"
    PartNumber (string)   ==> "KF432C16BB/8"
    SerialNumber (string)   ==> "0A1B2C3D"
    Speed (uint32)   ==> 3200 (0xC80)
    Tag (string)*   ==> "Physical Memory 0"
    TotalWidth (uint16)   ==> 72 (0x48)
)T");
    EXPECT_EQ(Block(text, "MotherBoard"), R"T(  Sx_BaseBoard.Tag="Base Board"
    ChassisType (string)   ==> "Desktop"
    Manufacturer (string)   ==> "Korvane"
    Product (string)   ==> "KX-5230"
    Tag (string)*   ==> "Base Board"
    Version (string)   ==> "1.0"
)T");
    EXPECT_EQ(Block(text, "NetworkAdapter"), R"T(  Sx_NetworkAdapter.DeviceID="eth0"
    AdapterType (string)   ==> "Ethernet 802.3"
    DeviceID (string)*   ==> "eth0"
    Driver (string)   ==> "e1000e"
    Duplex (string)   ==> "full"
    InterfaceIndex (uint32)   ==> 2 (0x2)
    MACAddress (string)   ==> "A8:A1:59:0F:3C:11"
    MTU (uint32)   ==> 1500 (0x5DC)
    Manufacturer (string)   ==> "Intel Corporation"
    NetConnectionStatus (string)   ==> "up"
    PNPDeviceID (string)   ==> "pci:v00008086d000015B8sv00001462sd00007B98bc02sc00i00"
    PhysicalAdapter (boolean)   ==> TRUE
    ProductName (string)   ==> "Ethernet Connection (2) I219-V"
    Speed (uint64)   ==> "1000000000"
)T");
    EXPECT_EQ(Block(text, "OS"), R"T(  Sx_OperatingSystem.Name="Debian GNU/Linux 12 (bookworm)"
    CSName (string)   ==> "workstation"
    Distribution (string)   ==> "debian"
    FreePhysicalMemory (uint64)   ==> "12000000"
    FreeSwapSpace (uint64)   ==> "2097148"
    KernelName (string)   ==> "Linux"
    KernelRelease (string)   ==> "6.1.0-18-amd64"
    KernelVersion (string)   ==> "#1 SMP Debian"
    LastBootUpTime (datetime)   ==> "20240325090502.000000+000"
    Name (string)*   ==> "Debian GNU/Linux 12 (bookworm)"
    NumberOfProcesses (uint32)   ==> 2 (0x2)
    OSArchitecture (string)   ==> "x86_64"
    TotalSwapSpaceSize (uint64)   ==> "2097148"
    TotalVisibleMemorySize (uint64)   ==> "16318480"
    Version (string)   ==> "12 (bookworm)"
)T");
    EXPECT_EQ(Block(text, "Video"), R"T(  Sx_VideoController.DeviceID="card0"
    AdapterCompatibility (string)   ==> "NVIDIA Corporation"
    ConnectedOutputs (string)   ==> "DP-2, HDMI-A-1"
    CurrentHorizontalResolution (uint32)   ==> 2560 (0xA00)
    CurrentVerticalResolution (uint32)   ==> 1440 (0x5A0)
    DeviceID (string)*   ==> "card0"
    Name (string)   ==> "GP106 [GeForce GTX 1060 6GB]"
)T");
}

TEST(LinuxInventorySource, InputDevicesByCapabilityOrByUdev) {
    TempFolder root;
    FakeSysTree(root).AddStandardMachine();
    LinuxInventorySource source(FixedHost(root));
    const std::string text = Text(source);
    EXPECT_EQ(Block(text, "Keyboard"), R"T(  Sx_Keyboard.DeviceID="input3"
    BusType (string)   ==> "PS/2"
    DeviceID (string)*   ==> "input3"
    Name (string)   ==> "AT Translated Set 2 keyboard"
    NumberOfFunctionKeys (uint16)   ==> 15 (0xF)
    Phys (string)   ==> "isa0060/serio0/input0"
    ProductID (string)   ==> "0001"
    VendorID (string)   ==> "0001"
)T");
    EXPECT_EQ(Block(text, "Mouse"), R"T(  Sx_PointingDevice.DeviceID="input5"
    BusType (string)   ==> "USB"
    DeviceID (string)*   ==> "input5"
    Name (string)   ==> "Logitech USB Optical Mouse"
    NumberOfButtons (uint8)   ==> 3 (0x3)
    PointingType (string)   ==> "Mouse"
  Sx_PointingDevice.DeviceID="input7"
    DeviceID (string)*   ==> "input7"
    Name (string)   ==> "SynPS/2 Synaptics TouchPad"
    NumberOfButtons (uint8)   ==> 0 (0x0)
    PointingType (string)   ==> "Touch Pad"
)T");
}

TEST(LinuxInventorySource, ADeviceGoneBeforeItIsReadHasNoObject) {
    TempFolder root;
    FakeSysTree tree(root);
    tree.AddStandardMachine();
    tree.AddInterface("eth1", 3, "a8:a1:59:0f:3c:12", 0);
    LinuxInventorySource source(FixedHost(root));
    ASSERT_TRUE(source.Connect(std::string(kWmiNamespace)));
    auto nics = source.EnumerateInstances("Sx_NetworkAdapter");
    ASSERT_TRUE(nics);
    std::filesystem::remove_all(root.Path("sys/class/net/eth1"));
    std::vector<std::string> paths;
    while (auto nic = nics->Next()) {
        paths.push_back(*nic->RelativePath);
    }
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_TRUE(source.GetObject(paths[0]));
    EXPECT_FALSE(source.GetObject(paths[1]));
    // Paths that name nothing of ours.
    for (const char* bad : {"Sx_NetworkAdapter.Name=\"eth0\"", "Win32_BIOS.Tag=\"BIOS\"",
                            "Sx_NetworkAdapter.DeviceID=\"../block/sda\"", "garbage"}) {
        EXPECT_FALSE(source.GetObject(bad)) << bad;
    }
}

TEST(LinuxInventorySource, StartsWhenAnythingCanBeReadAndOnlyThen) {
    TempFolder empty;
    LinuxInventorySource nothing(InventoryHost::UnderRoot(empty.Dir()));
    EXPECT_FALSE(nothing.Connect(std::string(kWmiNamespace)));

    TempFolder osOnly;
    osOnly.Write("etc/os-release", "NAME=Alpine\n");
    LinuxInventorySource some(InventoryHost::UnderRoot(osOnly.Dir()));
    EXPECT_FALSE(some.Connect("\\\\.\\root\\other"));
    ASSERT_TRUE(some.Connect(std::string(kWmiNamespace)));
    // Every category's enumeration works; most are simply empty.
    for (const WmiCategory& c : kWmiCategories) {
        EXPECT_TRUE(some.EnumerateInstances(std::string(c.ClassName))) << c.ClassName;
    }
    EXPECT_TRUE(some.GetObject("Sx_OperatingSystem.Name=\"Alpine\""));
}

TEST(LinuxInventorySource, ClassesFollowTheCategoryTable) {
    TempFolder root;
    FakeSysTree(root).AddStandardMachine();
    LinuxInventorySource source(FixedHost(root));
    ASSERT_TRUE(source.Connect(std::string(kWmiNamespace)));
    ASSERT_EQ(source.Classes().size(), kWmiCategories.size());
    for (std::size_t i = 0; i < kWmiCategories.size(); ++i) {
        EXPECT_EQ(source.Classes()[i]->Name(), kWmiCategories[i].ClassName);
    }
}

TEST(LinuxInventorySource, ThisMachine) {
    auto source = MakeSystemInventorySource();
    TempFolder folder;
    WmiFileState state;
    WmiRecordFile file(folder.Path("WMIinfo.txt"));
    struct CountingView : InventoryView {
        std::vector<std::string> Categories;
        int Instances = 0;
        void AddCategory(std::string_view t) override { Categories.emplace_back(t); }
        void AddInstance(std::string_view) override { ++Instances; }
        void AddProperty(std::string_view t) override { EXPECT_LE(t.size(), 99u); }
    } view;
    const auto result = InventoryFill(*source, state, file, view).Run();
    // Even a container has a processor and an operating system to show.
    ASSERT_TRUE(result.Connected);
    EXPECT_EQ(view.Categories.size(), 14u);
    EXPECT_GE(result.Instances, 2);
    EXPECT_GT(result.PropertyLines, 5);
    const std::size_t size = std::filesystem::file_size(folder.Path("WMIinfo.txt"));
    EXPECT_EQ(size, 205u + (result.Instances - 1) * 211u + result.PropertyLines * 103u);
}

} // namespace
} // namespace sentinax
