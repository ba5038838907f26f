#include "InventoryDouble.h"

#include "sysinfo/InventoryExport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace sentinax {
namespace {

using testing::InventoryDouble;
using testing::Object;
using testing::Prop;

TEST(InventoryExport, TextIsWholeUtf8OneItemPerLine) {
    InventoryDouble source;
    const std::string longModel(150, 'm');
    source.Classes["Sx_DiskDrive"] = {
        Object("Sx_DiskDrive.DeviceID=\"\xE7\xA1\xAC\"",
               {Prop("Model", "string", WmiValue::String(longModel)),
                Prop("Serial", "string", WmiValue::Null()),
                Prop("Vendor", "string", WmiValue::String("Ger\xC3\xA4t\nzwei\xC3")),
                Prop("Bad", "string", WmiValue::String("x"), KeyQualifier::Failed),
                Prop("After", "string", WmiValue::String("dropped"))})};
    std::ostringstream out;
    ASSERT_TRUE(WriteInventoryText(source, out));
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("Audio\nBios\nCDROM\nCPU\nDesktop\nFloppy\nHardDisk\n", 0), 0u);
    EXPECT_NE(text.find("HardDisk\n"
                        "  Sx_DiskDrive.DeviceID=\"\xE7\xA1\xAC\"\n"
                        "    Model (string)   ==> \"" +
                        longModel +
                        "\"\n"
                        "    Vendor (string)   ==> \"Ger\xC3\xA4t zwei\xEF\xBF\xBD\"\n"
                        "Keyboard\n"),
              std::string::npos)
        << text;

    source.ConnectWorks = false;
    std::ostringstream none;
    EXPECT_FALSE(WriteInventoryText(source, none));
    EXPECT_FALSE(WriteInventoryJson(source, none));
    EXPECT_TRUE(none.str().empty());
}

} // namespace
} // namespace sentinax
