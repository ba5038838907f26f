#include "sysinfo/WmiField.h"
#include "sysinfo/RelativePath.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(ToFieldText, SingleByteRule) {
    const struct {
        const char* Why;
        std::string Utf8;
        std::string Field;
    } cases[] = {
        {"ASCII stays", "Samsung SSD 860", "Samsung SSD 860"},
        {"Latin-1 letters become their byte", "Ger\xC3\xA4t \xC3\xA9", "Ger\xE4t \xE9"},
        {"beyond Latin-1: one '?' per character", "\xE6\x98\xBE\xE5\x8D\xA1 GPU", "?? GPU"},
        {"emoji (four bytes) is one character", "a\xF0\x9F\x98\x80z", "a?z"},
        {"line ends and tabs become blanks", "a\r\nb\tc", "a  b c"},
        {"NUL inside text becomes a blank, the field does not end early", std::string("a\0b", 3),
         "a b"},
        {"C1 controls and DEL become blanks", "x\xC2\x85y\x7Fz", "x y z"},
        {"each byte of a broken sequence is a '?'", "a\xC3(b\xE2\x82", "a?(b??"},
        {"overlong form is broken", "\xC0\xAF\xE0\x80\xAF", "?????"},
        {"surrogate halves are broken", "\xED\xA0\x80", "???"},
        {"a lone continuation byte", "\x80", "?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToFieldText(c.Utf8), c.Field) << c.Why;
    }
    EXPECT_EQ(FieldTextToUtf8("Ger\xE4t"), "Ger\xC3\xA4t");
}

TEST(WmiField, ZeroFilledAndCutOneShortOfItsWidth) {
    RelativePathField path;
    path.Assign(std::string(250, 'p'));
    EXPECT_EQ(path.Text(), std::string(199, 'p'));
    EXPECT_EQ(path.Bytes().size(), 200u);
    EXPECT_EQ(path.Bytes()[199], '\0');

    // A shorter text afterwards leaves no trace of the longer one.
    path.Assign("Sx_BIOS.Tag=\"BIOS\"");
    EXPECT_EQ(path.Text(), "Sx_BIOS.Tag=\"BIOS\"");
    EXPECT_EQ(path.Bytes().find_first_not_of('\0', path.Text().size()), std::string_view::npos);

    // The cut counts field bytes: 120 two-byte letters fill 99 bytes, not 49.
    PropertyLineField line;
    std::string accents;
    for (int i = 0; i < 120; ++i)
        accents += "\xC3\xA9";
    line.Assign(accents);
    EXPECT_EQ(line.Text(), std::string(99, '\xE9'));
    EXPECT_EQ(line.Bytes().size(), 100u);
}

TEST(RelativePath, BuildAndParseRoundTrip) {
    const RelativePath path{"Sx_DiskDrive", {{"DeviceID", "we\"ird\\name"}, {"Index", ""}}};
    const std::string text = BuildRelativePath(path);
    EXPECT_EQ(text, R"(Sx_DiskDrive.DeviceID="we\"ird\\name",Index="")");
    const auto parsed = ParseRelativePath(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->ClassName, "Sx_DiskDrive");
    EXPECT_EQ(parsed->Key("DeviceID"), "we\"ird\\name");
    EXPECT_EQ(parsed->Key("Index"), "");
    EXPECT_FALSE(parsed->Key("Other"));
}

TEST(RelativePath, RejectsWhatTheBuilderNeverWrites) {
    for (const char* bad : {"", "Sx_BIOS", "Sx_BIOS.", ".Tag=\"x\"", "Sx_BIOS.Tag=x",
                            "Sx_BIOS.Tag=\"x", "Sx_BIOS.Tag=\"x\\", "Sx_BIOS.Tag=\"x\" ",
                            "Sx_BIOS.Tag=\"x\",", "Sx_BIOS=@", "Sx BIOS.Tag=\"x\""}) {
        EXPECT_FALSE(ParseRelativePath(bad)) << bad;
    }
}

} // namespace
} // namespace sentinax
