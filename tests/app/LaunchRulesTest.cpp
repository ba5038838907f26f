// Finding programs and building the browser's command line without a shell.
#include "app/LaunchRules.h"
#include "ScratchFolder.h"
#include "hardware/XdgFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace sentinax {
namespace {

using Words = std::vector<std::string>;

TEST(LaunchRules, BrowserCommandIsCutAtTheUrlPlaceholder) {
    const std::string url = "https://korvane.example/x?a=1&b=2";
    struct Case {
        const char* exec;
        Words expected;
    };
    const Case cases[] = {
        {"firefox-esr %u", {"firefox-esr", url}},
        {"/usr/bin/chromium --new-window \"%U\" --trailing",
         {"/usr/bin/chromium", "--new-window", url}},
        // A quoted placeholder wins over an earlier bare one, which is dropped.
        {"browser %f --open \"%u\"", {"browser", "--open", url}},
        {"epiphany", {"epiphany", url}}, // no placeholder: the target is appended
        {"\"/opt/My Browser/run\" --icon %i %u", {"/opt/My Browser/run", "--icon", url}},
        {"sh -c \"echo \\\"$HOME\\\"\" %u", {"sh", "-c", "echo \"$HOME\"", url}},
        {"wget 100%% %u", {"wget", "100%", url}},
        {"broken \"quote %u", {}},
        {"", {}},
        {"%u", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BrowserCommand(c.exec, url), c.expected) << c.exec;
}

TEST(LaunchRules, DesktopEntryExecComesFromItsOwnGroup) {
    EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\r\nName=B\r\nExec[de]=x\r\nExec = b %u\r\n"),
              "b %u");
    EXPECT_EQ(DesktopEntryExec("[Desktop Action new]\nExec=wrong\n[Desktop Entry]\nExec=right\n"),
              "right");
    EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nName=no exec\n"), std::nullopt);
    EXPECT_EQ(DesktopEntryExec(""), std::nullopt);
}

TEST(LaunchRules, ProgramsAreFoundOnTheSearchPathOnlyWhenExecutable) {
    const test::ScratchFolder scratch("sx-launch");
    const std::filesystem::path& dir = scratch.Path();
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b/frostline"); // a folder of that name
    std::ofstream(dir / "a/frostline") << "#!/bin/sh\n";      // not executable
    std::ofstream(dir / "c") << "#!/bin/sh\n";
    std::filesystem::create_directories(dir / "d");
    std::ofstream(dir / "d/frostline") << "#!/bin/sh\n";
    ::chmod((dir / "d/frostline").c_str(), 0755);
    const std::string path =
        (dir / "a").string() + ":" + (dir / "b").string() + "::" + (dir / "d").string();
    EXPECT_EQ(FindOnPath("frostline", path), (dir / "d/frostline").string());
    EXPECT_EQ(FindOnPath("haltix", path), "");
    EXPECT_EQ(FindOnPath((dir / "d/frostline").string(), ""), (dir / "d/frostline").string());
    EXPECT_EQ(FindOnPath((dir / "a/frostline").string(), path), "");
    EXPECT_EQ(FindOnPath("", path), "");
}

TEST(LaunchRules, ApplicationFoldersFollowTheBaseDirectories) {
    EXPECT_EQ(ApplicationFolders(nullptr, nullptr, "/home/u"),
              (Words{"/home/u/.local/share/applications", "/usr/local/share/applications",
                     "/usr/share/applications"}));
    // A relative XDG_DATA_HOME is ignored; relative data dirs are skipped.
    EXPECT_EQ(ApplicationFolders("rel", "/opt/share:rel:", "/home/u"),
              (Words{"/home/u/.local/share/applications", "/opt/share/applications"}));
    EXPECT_EQ(
        ApplicationFolders("/x", "", nullptr),
        (Words{"/x/applications", "/usr/local/share/applications", "/usr/share/applications"}));
}

} // namespace
// The one per-user folder rule of every reader (board table, autostart entry,
// working folder, lock cache, application folders): a relative or empty value
// is never used.
TEST(XdgUserFolder, OnlyAbsoluteValuesCount) {
    struct Case {
        const char* xdg;
        const char* home;
        std::string folder;
    } cases[] = {
        {"/x", "/home/u", "/x"},
        {"rel", "/home/u", "/home/u/.config"},
        {"", "/home/u", "/home/u/.config"},
        {nullptr, "home/u", ""},
        {nullptr, "", ""},
        {"rel", nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XdgUserFolder(c.xdg, c.home, ".config"), c.folder)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    // A relative HOME no longer gives a per-user application folder.
    EXPECT_EQ(ApplicationFolders(nullptr, "/opt/share", "home/u"),
              (Words{"/opt/share/applications"}));
}

} // namespace sentinax
