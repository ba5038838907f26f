// The fill walk against a scripted source: the tree it reports, the property
// line grammar and its early ends, and WMIinfo.txt byte for byte.
#include "InventoryDouble.h"
#include "TempFolder.h"

#include "sysinfo/InventoryFill.h"
#include "sysinfo/PropertyLine.h"
#include "sysinfo/WmiCategory.h"

#include <gtest/gtest.h>

#include <sstream>
#include <sys/stat.h>

namespace sentinax {
namespace {

using namespace std::string_literals;
using testing::InventoryDouble;
using testing::Object;
using testing::Prop;
using testing::TempFolder;

// The tree as lines: "C label", "I path", "P line".
struct RecordingView : InventoryView {
    std::vector<std::string> Items;
    void AddCategory(std::string_view t) override { Items.push_back("C " + std::string(t)); }
    void AddInstance(std::string_view t) override { Items.push_back("I " + std::string(t)); }
    void AddProperty(std::string_view t) override { Items.push_back("P " + std::string(t)); }
    std::vector<std::string> Under(const std::string& item) const {
        std::vector<std::string> out;
        bool in = false;
        for (const auto& i : Items) {
            if (i == item) {
                in = true;
                continue;
            }
            if (in && i[0] != 'P')
                break;
            if (in)
                out.push_back(i);
        }
        return out;
    }
};

// Stored bytes written out independently of the record writer.
std::string Field(const std::string& text, std::size_t width) {
    return text + std::string(width - text.size(), '\0');
}
std::string First(const std::string& path) {
    return Field(path, 200) + "\r\n\0\0\0"s;
}
std::string Later(const std::string& path) {
    return "\r\n\r\n\0\0"s + Field(path, 200) + "\r\n\0\0\0"s;
}
std::string Line(const std::string& line) {
    return Field(line, 100) + "\r\n\0"s;
}

const std::string kCard = "Sx_SoundDevice.DeviceID=\"card0\"";
const std::string kCard1 = "Sx_SoundDevice.DeviceID=\"card1\"";
const std::string kCpu = "Sx_Processor.DeviceID=\"CPU0\"";

InventoryDouble SmallMachine() {
    InventoryDouble source;
    source.Classes["Sx_SoundDevice"] = {
        Object(kCard, {Prop("DeviceID", "string", WmiValue::String("card0"), KeyQualifier::True),
                       Prop("Driver", "string", WmiValue::Null()),
                       Prop("Name", "string", WmiValue::String("HDA Intel PCH"))}),
        Object(kCard1, {Prop("DeviceID", "string", WmiValue::String("card1"), KeyQualifier::True)}),
    };
    source.Classes["Sx_Processor"] = {
        Object(kCpu, {Prop("MaxClockSpeed", "uint32", WmiValue::Uint32(4600)),
                      Prop("VirtualizationExtensions", "boolean", WmiValue::Boolean(true))}),
    };
    source.Broken.insert("Sx_FloppyDrive");
    return source;
}

struct Fill {
    TempFolder folder;
    WmiFileState state;
    RecordingView view;
    std::string FilePath() const { return folder.Path("WMIinfo.txt"); }
    InventoryFillResult Run(InventorySource& source, std::string path = {}) {
        WmiRecordFile file(path.empty() ? FilePath() : path);
        view = {};
        return InventoryFill(source, state, file, view).Run();
    }
    std::string Bytes() const { return folder.Read("WMIinfo.txt"); }
};

TEST(InventoryFill, TreeAndFileOfASmallMachine) {
    InventoryDouble source = SmallMachine();
    Fill fill;
    const auto result = fill.Run(source);

    EXPECT_EQ(source.ConnectedTo, std::vector<std::string>{"\\\\.\\root\\cimv2"});
    EXPECT_TRUE(result.Connected);
    EXPECT_EQ(result.Instances, 3);
    EXPECT_EQ(result.PropertyLines, 5);
    EXPECT_EQ(fill.state.wmiFileDone, 1);
    EXPECT_EQ(fill.state.firstHeadingPending, 0);

    std::vector<std::string> expected;
    for (const WmiCategory& c : kWmiCategories) {
        expected.push_back("C " + std::string(c.Label));
        if (c.Label == "Audio") {
            expected.push_back("I " + kCard);
            expected.push_back("P DeviceID (string)*   ==> \"card0\"");
            expected.push_back("P Name (string)   ==> \"HDA Intel PCH\"");
            expected.push_back("I " + kCard1);
            expected.push_back("P DeviceID (string)*   ==> \"card1\"");
        }
        if (c.Label == "CPU") {
            expected.push_back("I " + kCpu);
            expected.push_back("P MaxClockSpeed (uint32)   ==> 4600 (0x11F8)");
            expected.push_back("P VirtualizationExtensions (boolean)   ==> TRUE");
        }
    }
    EXPECT_EQ(fill.view.Items, expected);

    // Categories never reach the file; the null Driver line is neither shown nor written.
    const std::string bytes = First(kCard) + Line("DeviceID (string)*   ==> \"card0\"") +
                              Line("Name (string)   ==> \"HDA Intel PCH\"") + Later(kCard1) +
                              Line("DeviceID (string)*   ==> \"card1\"") + Later(kCpu) +
                              Line("MaxClockSpeed (uint32)   ==> 4600 (0x11F8)") +
                              Line("VirtualizationExtensions (boolean)   ==> TRUE");
    EXPECT_EQ(fill.Bytes(), bytes);
    EXPECT_EQ(fill.Bytes().size(), 205u + 2 * 211u + 5 * 103u);
}

TEST(InventoryFill, SecondOpeningRefillsTheTreeAndLeavesTheFile) {
    InventoryDouble source = SmallMachine();
    Fill fill;
    fill.Run(source);
    const std::string firstBytes = fill.Bytes();
    const auto firstTree = fill.view.Items;

    // The machine changed meanwhile: the tree shows it, the file does not.
    source.Classes["Sx_Processor"].clear();
    fill.Run(source);
    EXPECT_EQ(fill.Bytes(), firstBytes);
    EXPECT_NE(fill.view.Items, firstTree);
    EXPECT_EQ(fill.view.Under("I " + kCard).size(), 2u);
}

TEST(InventoryFill, FirstHeadingReplacesTheFileOfAnEarlierRun) {
    InventoryDouble source = SmallMachine();
    Fill fill;
    fill.folder.Write("WMIinfo.txt", std::string(5000, '#'));
    fill.Run(source);
    EXPECT_EQ(fill.Bytes().substr(0, 205), First(kCard));
    EXPECT_EQ(fill.Bytes().find('#'), std::string::npos);
}

TEST(InventoryFill, NoSourceMeansNoTreeNoFileAndTheRunIsDone) {
    InventoryDouble source = SmallMachine();
    source.ConnectWorks = false;
    Fill fill;
    const auto result = fill.Run(source);
    EXPECT_FALSE(result.Connected);
    EXPECT_TRUE(fill.view.Items.empty());
    EXPECT_EQ(fill.state.wmiFileDone, 1);
    EXPECT_FALSE(fill.folder.Exists("WMIinfo.txt"));

    // Even a later, working opening in the same run writes nothing.
    source.ConnectWorks = true;
    fill.Run(source);
    EXPECT_FALSE(fill.view.Items.empty());
    EXPECT_FALSE(fill.folder.Exists("WMIinfo.txt"));
}

TEST(InventoryFill, NoInstanceAtAllWritesNoFile) {
    InventoryDouble source;
    Fill fill;
    fill.folder.Write("WMIinfo.txt", "earlier run");
    fill.Run(source);
    EXPECT_EQ(fill.view.Items.size(), kWmiCategories.size());
    EXPECT_EQ(fill.Bytes(), "earlier run");
}

TEST(PropertyLine, GrammarAndEarlyEnds) {
    InventoryProperty noQualifiers = Prop("Caption", "string", WmiValue::String("x"));
    noQualifiers.HasQualifiers = false;
    noQualifiers.CimType.reset(); // not read at all without a qualifier set
    InventoryProperty noType = Prop("A", "string", WmiValue::String("x"));
    noType.CimType.reset();
    InventoryProperty noValue = Prop("A", "string", WmiValue::String("x"));
    noValue.Value.reset();

    const struct {
        const char* Why;
        InventoryProperty Property;
        std::optional<std::string> Line;
    } cases[] = {
        {"key property", Prop("Tag", "string", WmiValue::String("BIOS"), KeyQualifier::True),
         "Tag (string)*   ==> \"BIOS\""},
        {"plain property", Prop("Speed", "uint64", WmiValue::Uint64(1000000000)),
         "Speed (uint64)   ==> \"1000000000\""},
        {"no qualifier set: empty parentheses", noQualifiers, "Caption ()   ==> \"x\""},
        {"array: the arrow and one blank, nothing after",
         Prop("Caps", "uint16", WmiValue{kWmiArray | kWmiInt32, 0, 0.0, {}}),
         "Caps (uint16)   ==> "},
        {"date delivered as a string",
         Prop("ReleaseDate", "datetime", WmiValue::Datetime("20240325000000.000000+000")),
         "ReleaseDate (datetime)   ==> \"20240325000000.000000+000\""},
        {"currency", Prop("Price", "string", WmiValue{kWmiCurrency, 0, 0.0, {}}),
         "Price (string)   ==> <conversion error>"},
        {"name unreadable ends the walk", Prop("", "string", WmiValue::String("x")), std::nullopt},
        {"type unreadable ends the walk", noType, std::nullopt},
        {"key qualifier false ends the walk",
         Prop("A", "string", WmiValue::String("x"), KeyQualifier::False), std::nullopt},
        {"key qualifier read failure ends the walk",
         Prop("A", "string", WmiValue::String("x"), KeyQualifier::Failed), std::nullopt},
        {"value unreadable ends the walk", noValue, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildPropertyLine(c.Property), c.Line) << c.Why;
    }
    for (const char* hidden : {"Driver (string)   ==> <null>", "nullable (boolean)   ==> TRUE",
                               "Name (string)   ==> \"/dev/null\""}) {
        EXPECT_FALSE(IsPropertyLineShown(hidden)) << hidden;
    }
    EXPECT_TRUE(IsPropertyLineShown("Name (string)   ==> \"NULL modem\""));
}

TEST(InventoryFill, AnEarlyEndDropsTheRestOfThatInstanceOnly) {
    InventoryDouble source;
    source.Classes["Sx_BIOS"] = {
        Object("Sx_BIOS.Tag=\"A\"",
               {Prop("First", "string", WmiValue::String("1")),
                Prop("Bad", "string", WmiValue::String("2"), KeyQualifier::False),
                Prop("Dropped", "string", WmiValue::String("3"))}),
        Object("Sx_BIOS.Tag=\"B\"", {Prop("Second", "string", WmiValue::String("4"))}),
    };
    // The instance is enumerated but gone when it is read: no children.
    source.Classes["Sx_DiskDrive"] = {
        Object("Sx_DiskDrive.DeviceID=\"sdb\"", {Prop("Model", "string", WmiValue::String("x"))})};
    source.Gone.insert("Sx_DiskDrive.DeviceID=\"sdb\"");
    // A property list that cannot be read: no children either.
    source.Classes["Sx_Keyboard"] = {
        InventoryObject{"Sx_Keyboard.DeviceID=\"input3\"", std::nullopt}};
    Fill fill;
    fill.Run(source);
    EXPECT_EQ(fill.view.Under("I Sx_BIOS.Tag=\"A\""),
              std::vector<std::string>{"P First (string)   ==> \"1\""});
    EXPECT_EQ(fill.view.Under("I Sx_BIOS.Tag=\"B\""),
              std::vector<std::string>{"P Second (string)   ==> \"4\""});
    EXPECT_TRUE(fill.view.Under("I Sx_DiskDrive.DeviceID=\"sdb\"").empty());
    EXPECT_TRUE(fill.view.Under("I Sx_Keyboard.DeviceID=\"input3\"").empty());
    // The heading of every instance is written, children or not.
    EXPECT_EQ(fill.Bytes().size(), 205u + 3 * 211u + 2 * 103u);
}

TEST(InventoryFill, LongAndForeignTextFitsItsFieldAndTheObjectIsStillFound) {
    const std::string longPath = "Sx_DiskDrive.DeviceID=\"" + std::string(230, 'd') + "\"";
    const std::string foreignPath = "Sx_DiskDrive.DeviceID=\"\xE7\xA1\xAC\xE7\x9B\x98\"";
    InventoryDouble source;
    source.Classes["Sx_DiskDrive"] = {
        Object(longPath, {Prop("Model", "string", WmiValue::String(std::string(150, 'm')))}),
        Object(foreignPath, {Prop("Model", "string", WmiValue::String("Ger\xC3\xA4t"))}),
    };
    Fill fill;
    fill.Run(source);
    // The source is asked with the full paths, not with the cut or converted field text.
    EXPECT_EQ(source.ObjectRequests, (std::vector<std::string>{longPath, foreignPath}));

    const std::string cutLine = ("Model (string)   ==> \"" + std::string(150, 'm')).substr(0, 99);
    const std::string bytes = First(longPath.substr(0, 199)) + Line(cutLine) +
                              Later("Sx_DiskDrive.DeviceID=\"??\"") +
                              Line("Model (string)   ==> \"Ger\xE4t\"");
    EXPECT_EQ(fill.Bytes(), bytes);
    EXPECT_EQ(fill.view.Under("I " + longPath.substr(0, 199)),
              std::vector<std::string>{"P " + cutLine});
}

TEST(InventoryFill, AnUnreadablePathShowsTheClassName) {
    InventoryDouble source;
    source.Classes["Sx_Processor"] = {InventoryObject{std::nullopt, std::nullopt}};
    Fill fill;
    fill.Run(source);
    EXPECT_TRUE(fill.view.Under("I Sx_Processor").empty());
    EXPECT_TRUE(source.ObjectRequests.empty());
    EXPECT_EQ(fill.Bytes(), First("Sx_Processor"));
}

TEST(InventoryFill, AtMost1024InstancesPerCategory) {
    InventoryDouble source;
    auto& nics = source.Classes["Sx_NetworkAdapter"];
    for (int i = 0; i < 1030; ++i) {
        const std::string path = "Sx_NetworkAdapter.DeviceID=\"veth" + std::to_string(i) + "\"";
        nics.push_back(Object(path, {Prop("MTU", "uint32", WmiValue::Uint32(1500))}));
    }
    source.Classes["Sx_OperatingSystem"] = {Object("Sx_OperatingSystem.Name=\"Linux\"", {})};
    Fill fill;
    const auto result = fill.Run(source);
    EXPECT_EQ(result.Instances, 1025);
    EXPECT_EQ(result.InstancesDropped, 6);
    // Property lines are not limited: every listed instance keeps its line.
    EXPECT_EQ(result.PropertyLines, 1024);
    EXPECT_EQ(fill.Bytes().size(), 205u + 1024 * 211u + 1024 * 103u);
}

// Every target that cannot take a record is left as it was, and the cause is
// said once per episode: "cannot write the inventory file PATH: WHY".
TEST(WmiRecordFile, UnwritableOrForeignTargetsSkipTheRecordAndSaySo) {
    TempFolder folder;
    RelativePathField path;
    path.Assign("Sx_BIOS.Tag=\"BIOS\"");
    PropertyLineField line;
    line.Assign("Tag (string)*   ==> \"BIOS\"");
    folder.Write("victim", "keep");
    ASSERT_EQ(::mkfifo(folder.Path("fifo").c_str(), 0600), 0);
    folder.Folder("dir");
    folder.Link("WMIinfo.txt", folder.Path("victim"));
    const struct {
        const char* what;
        std::string file;
        std::string why;
    } cases[] = {
        {"a folder that does not exist", folder.Path("missing/WMIinfo.txt"),
         folder.Path("missing") + ": No such file or directory"},
        {"a link planted under the name", folder.Path("WMIinfo.txt"),
         "is a symbolic link"}, // not followed: its target stays as it was
        {"a FIFO without a reader", folder.Path("fifo"), "is a FIFO"}, // no stall
        {"a folder under the name", folder.Path("dir"), "is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ostringstream errors;
        WmiRecordFile file(c.file, &errors);
        EXPECT_FALSE(file.WriteFirstHeading(path));
        EXPECT_FALSE(file.WriteProperty(line));
        EXPECT_FALSE(file.WriteLaterHeading(path));
        EXPECT_EQ(errors.str(), "cannot write the inventory file " + c.file + ": " + c.why + "\n");
    }
    EXPECT_EQ(folder.Read("victim"), "keep");

    // Appending creates a missing file; a failure after a good record is said again.
    std::ostringstream errors;
    WmiRecordFile file(folder.Path("new.txt"), &errors);
    EXPECT_TRUE(file.WriteProperty(line));
    EXPECT_EQ(folder.Read("new.txt"), Line("Tag (string)*   ==> \"BIOS\""));
    std::filesystem::remove(folder.Path("new.txt"));
    folder.Folder("new.txt");
    EXPECT_FALSE(file.WriteProperty(line));
    EXPECT_FALSE(file.WriteProperty(line));
    EXPECT_EQ(errors.str(),
              "cannot write the inventory file " + folder.Path("new.txt") + ": is a directory\n");
}

} // namespace
} // namespace sentinax
