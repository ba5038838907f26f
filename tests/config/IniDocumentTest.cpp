#include "config/IniDocument.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sentinax {
namespace {

const std::string kSkin = "; comment line\n"
                          "[Screen]\n"
                          "Main = Face.jpg \n"
                          "Quoted=\"a b\"\n"
                          "Single='c'\n"
                          "Half=\"d\n"
                          "OneQuote=\"\n"
                          "Empty=\n"
                          "Inline=v ; kept\n"
                          "dup=first\n"
                          "DUP=second\n"
                          ";Hidden=1\n"
                          "no equals here\n"
                          "=nameless\n"
                          "[ Spaced ]\n"
                          "k=spaced\n"
                          "[screen]\n"
                          "Late=never seen\n";

TEST(IniDocumentRead, FollowsThePrivateProfileRules) {
    const IniDocument doc(kSkin);
    const struct {
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    } cases[] = {
        {"Screen", "Main", "-", "Face.jpg"},
        {"SCREEN", "main", "-", "Face.jpg"}, // names without regard to case
        {" Screen ", " Main ", "-", "Face.jpg"},
        {"Screen", "Quoted", "-", "a b"}, // matching quotes removed
        {"Screen", "Single", "-", "c"},
        {"Screen", "Half", "-", "\"d"}, // unmatched quote kept
        {"Screen", "OneQuote", "-", "\""},
        {"Screen", "Empty", "-", ""}, // present but empty: not the default
        {"Screen", "Inline", "-", "v ; kept"},
        {"Screen", "dup", "-", "first"}, // the first of two keys wins
        {"Screen", ";Hidden", "-", "-"}, // comments are not keys
        {"Screen", "no equals here", "-", "-"},
        {"Screen", "Late", "-", "-"}, // a repeated section is not read
        {"Spaced", "k", "-", "spaced"},
        {"Screen", "Missing", "dflt  ", "dflt"}, // default loses trailing blanks
        {"Nowhere", "Main", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(doc.GetString(c.section, c.key, c.def), c.expected)
            << '[' << c.section << "] " << c.key;
}

TEST(IniDocumentRead, CutsLongValuesAndDefaultsAtTheBufferSize) {
    const std::string longValue(5000, 'v');
    const IniDocument doc("[s]\nk=" + longValue + "\nq=\"" + longValue + "\"\n");
    EXPECT_EQ(doc.GetString("s", "k", ""), std::string(2047, 'v'));
    EXPECT_EQ(doc.GetString("s", "q", ""), std::string(2047, 'v'));
    EXPECT_EQ(doc.GetString("s", "none", longValue), std::string(2047, 'v'));
}

TEST(IniDocumentRead, OddFilesGiveDefaults) {
    const std::string files[] = {
        "", "\n\n", "k=v\n", "[unclosed\nk=v\n", "\xEF\xBB\xBFk=v", std::string("[s\0]\nk=v", 9)};
    for (const std::string& text : files) {
        const IniDocument doc(text);
        EXPECT_EQ(doc.GetString("s", "k", "d"), "d") << text;
        std::vector<std::string> names{"stale"};
        EXPECT_FALSE(doc.GetKeyNames("s", names));
        EXPECT_TRUE(names.empty());
    }
    // A byte order mark does not hide the first section.
    EXPECT_EQ(IniDocument("\xEF\xBB\xBF[s]\r\nk=v\r\n").GetString("S", "K", ""), "v");
}

TEST(IniDocumentRead, KeyNamesInFileOrderWithDuplicates) {
    const IniDocument doc(kSkin);
    std::vector<std::string> names;
    ASSERT_TRUE(doc.GetKeyNames("screen", names));
    EXPECT_EQ(names, (std::vector<std::string>{"Main", "Quoted", "Single", "Half", "OneQuote",
                                               "Empty", "Inline", "dup", "DUP"}));
    EXPECT_FALSE(IniDocument("[a]\n[b]\nk=1\n").GetKeyNames("a", names));
}

TEST(IniDocumentWrite, ChangesOnlyWhatItMust) {
    const struct {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"replace in place, keeping the text before the value", "[S]\n  Key =  old  \nz=1\n", "s",
         "KEY", "new", "[S]\n  Key =  new\nz=1\n"},
        {"replace keeps CR LF of its line", "[S]\r\nk=1\r\n", "S", "k", "22", "[S]\r\nk=22\r\n"},
        {"replace the first of duplicates", "[S]\nk=1\nk=2\n", "S", "k", "3", "[S]\nk=3\nk=2\n"},
        {"replace on a last line without line end", "[S]\nk=1", "S", "k", "2", "[S]\nk=2"},
        {"new key after the last key, before blank and comment lines",
         "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "a", "k", "v",
         "[A]\nx=1\nk=v\n\n; about B\n[B]\ny=2\n"},
        {"new key in an empty section goes right after its header", "[A]\n\n[B]\n", "A", "k", "v",
         "[A]\nk=v\n\n[B]\n"},
        {"new key at the end of a file without final line end", "[A]\nx=1", "A", "k", "v",
         "[A]\nx=1\nk=v\n"},
        {"new key uses the file's CR LF", "[A]\r\nx=1\r\n", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
        {"new section at the end", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"new section after a line without line end", "[A]\r\nx=1", "B", "k", "v",
         "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"empty text", "", "Screen", "Celsius", "1", "[Screen]\nCelsius=1\n"},
        {"keys before any section stay outside", "k=0\n", "S", "k", "1", "k=0\n[S]\nk=1\n"},
        {"a later duplicate section is never written", "[S]\na=1\n[S]\nk=9\n", "S", "k", "2",
         "[S]\na=1\nk=2\n[S]\nk=9\n"},
        {"a comment that looks like the key is not replaced", "[S]\n;k=1\n", "S", "k", "2",
         "[S]\nk=2\n;k=1\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc(c.before);
        ASSERT_TRUE(doc.SetString(c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(doc.Bytes(), c.after) << c.name;
        EXPECT_EQ(doc.GetString(c.section, c.key, "-"), c.value) << c.name;
    }
}

TEST(IniDocumentWrite, RefusesWhatWouldReadBackAsSomethingElse) {
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } refused[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S\n[X]", "k", "v"}, {"", "k", "v"},
        {"S", "  ", "v"},         {"S", "a=b", "v"},  {"S", ";k", "v"},     {"S", "[k]", "v"},
    };
    for (const auto& c : refused) {
        IniDocument doc("[S]\nk=1\n");
        EXPECT_FALSE(doc.SetString(c.section, c.key, c.value)) << c.key << ' ' << c.value;
        EXPECT_EQ(doc.Bytes(), "[S]\nk=1\n");
    }
}

TEST(IniDocumentWrite, KeepsEveryUntouchedByte) {
    // Round trip of odd bytes: mixed line ends, blanks, a BOM, no final newline.
    const std::string text = "\xEF\xBB\xBF; c\r\n[S]\n\tk = 1 \r\n\r\n  junk\nx=2";
    IniDocument doc(text);
    EXPECT_EQ(doc.Bytes(), text);
    doc.SetString("S", "x", "3");
    EXPECT_EQ(doc.Bytes(), "\xEF\xBB\xBF; c\r\n[S]\n\tk = 1 \r\n\r\n  junk\nx=3");
}

} // namespace
} // namespace sentinax
