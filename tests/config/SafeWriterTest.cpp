// The one writer of the program's files: nothing planted under a name, a
// temporary name or a folder on the way is ever written through, only folders
// nobody else can change are written into, and the skin file's link leads only
// into the working folder.
#include "config/SafeWriter.h"
#include "TestFiles.h"
#include "config/CIniFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sentinax {
namespace {

namespace fs = std::filesystem;
using testing::InFolder;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A file that must come through untouched: bytes, mode, owner and time.
struct Precious {
    explicit Precious(std::string at) : path(std::move(at)) {
        WriteBytes(path, "precious\n");
        ::chmod(path.c_str(), 0600);
        ::stat(path.c_str(), &before);
    }
    void ExpectUntouched() const {
        struct stat now {};
        ASSERT_EQ(::stat(path.c_str(), &now), 0);
        EXPECT_EQ(ReadBytes(path), "precious\n");
        EXPECT_EQ(now.st_mode, before.st_mode);
        EXPECT_EQ(now.st_uid, before.st_uid);
        EXPECT_EQ(now.st_ino, before.st_ino);
        EXPECT_EQ(now.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
    std::string path;
    struct stat before {};
};

std::vector<std::string> Names(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every operation refuses a link under the file's own name and says so; the
// link and what it points to stay exactly as they were.
TEST(SafeWriter, ALinkUnderTheNameIsNeverWrittenThrough) {
    const struct {
        const char* what;
        std::function<bool(const std::string& path, std::string& why)> write;
    } operations[] = {
        {"replace", [](auto& p, auto& why) { return ReplaceFile(p, "new", why); }},
        {"replace, transient",
         [](auto& p, auto& why) { return ReplaceFile(p, "new", why, Durability::Transient); }},
        {"append",
         [](auto& p, auto& why) { return AppendToFile(p, "new", AppendMode::Append, why); }},
        {"start afresh",
         [](auto& p, auto& why) { return AppendToFile(p, "new", AppendMode::StartAfresh, why); }},
        {"create if absent",
         [](auto& p, auto& why) {
             return CreateFileIfAbsent(p, "new", why) != CreateResult::Exists;
         }},
        {"remove", [](auto& p, auto& why) { return RemoveOwnFile(p, why) != RemoveResult::Kept; }},
        {"rename", [](auto& p, auto& why) { return RenameOwnFile(p, "moved", why); }},
    };
    for (const auto& op : operations) {
        SCOPED_TRACE(op.what);
        TempDir dir;
        const Precious precious(dir.File("precious"));
        fs::create_symlink(precious.path, dir.File("file"));
        std::string why;
        EXPECT_FALSE(op.write(dir.File("file"), why));
        EXPECT_EQ(why.rfind("is a symbolic link", 0), 0u) << why;
        precious.ExpectUntouched();
        EXPECT_TRUE(fs::is_symlink(dir.File("file")));
        EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"file", "precious"}));
    }
}

// Links planted under the temporary names a writer would pick are passed by.
TEST(SafeWriter, LinksUnderTemporaryNamesArePassedBy) {
    TempDir dir;
    const Precious precious(dir.File("precious"));
    std::vector<std::string> planted;
    for (const char* base : {"file", "fresh"}) {
        for (int n = 0; n < 3; ++n) {
            const std::string name = "." + std::string(base) + ".tmp" + std::to_string(::getpid()) +
                                     "-" + std::to_string(n);
            fs::create_symlink(precious.path, dir.File(name));
            planted.push_back(name);
        }
    }
    WriteBytes(dir.File("file"), "old");
    std::string why;
    ASSERT_TRUE(ReplaceFile(dir.File("file"), "new", why)) << why;
    ASSERT_EQ(CreateFileIfAbsent(dir.File("fresh"), "made", why), CreateResult::Created) << why;
    EXPECT_EQ(ReadBytes(dir.File("file")), "new");
    EXPECT_EQ(ReadBytes(dir.File("fresh")), "made");
    precious.ExpectUntouched();
    for (const std::string& name : planted)
        EXPECT_TRUE(fs::is_symlink(dir.File(name))) << name;
    EXPECT_EQ(Names(dir.Path()).size(), planted.size() + 3) << "no temporary file of ours left";
}

// Which folders are written into, and which links on the way are followed.
TEST(SafeFolder, OnlyFoldersNobodyElseCanChangeAreWrittenInto) {
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        std::function<std::string(const TempDir&)> prepare; // the file's path
        const char* refusal;                                // empty: written
    } cases[] = {
        {"the user's folder", [](auto& d) { return d.File("own/file"); }, ""},
        {"open to everybody",
         [](auto& d) {
             ::chmod(d.File("own").c_str(), 0777);
             return d.File("own/file");
         },
         "can be changed by other users (owner "},
        {"open to the group",
         [](auto& d) {
             ::chmod(d.File("own").c_str(), 0775);
             return d.File("own/file");
         },
         "mode 0775"},
        {"sticky and open to everybody, as /tmp",
         [](auto& d) {
             ::chmod(d.File("own").c_str(), 01777);
             return d.File("own/file");
         },
         ""},
        {"through the user's own link",
         [](auto& d) {
             fs::create_symlink("own", d.File("mine"));
             return d.File("mine/file");
         },
         ""},
        {"through a link in a folder open to everybody",
         [](auto& d) {
             fs::create_directory(d.File("open"));
             ::chmod(d.File("open").c_str(), 0777);
             fs::create_symlink("../own", d.File("open/planted"));
             return d.File("open/planted/file");
         },
         "is a symbolic link in a folder other users can change"},
        {"a file where a folder should be",
         [](auto& d) {
             WriteBytes(d.File("plain"), "x");
             return d.File("plain/file");
         },
         "is a regular file, not a folder"},
        {"a folder that does not exist", [](auto& d) { return d.File("none/file"); },
         "No such file or directory"},
        {"another user's folder",
         [root](auto& d) {
             if (root)
                 (void)::chown(d.File("own").c_str(), 65534, 65534);
             return d.File("own/file");
         },
         root ? "can be changed by other users (owner 65534" : ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        fs::create_directory(dir.File("own"));
        ::chmod(dir.File("own").c_str(), 0700);
        const std::string path = c.prepare(dir);
        std::string why;
        const bool written = ReplaceFile(path, "new", why);
        if (*c.refusal == '\0') {
            EXPECT_TRUE(written) << why;
            EXPECT_EQ(ReadBytes(dir.File("own/file")), "new");
        } else {
            EXPECT_FALSE(written);
            EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
            EXPECT_FALSE(fs::exists(dir.File("own/file")));
        }
    }
}

// The skin file may be a link the user made to another file of the working
// folder; a link anywhere else is read but never saved through.
TEST(SafeWriter, TheSkinFilesLinkIsFollowedOnlyIntoTheWorkingFolder) {
    TempDir dir;
    fs::create_directories(dir.File("work/Skins"));
    fs::create_directories(dir.File("elsewhere"));
    const Precious outside(dir.File("elsewhere/Skin.ini"));
    WriteBytes(dir.File("work/Mine.ini"), "[S]\nk=1\n");
    const InFolder work(dir.File("work"));
    const struct {
        const char* what;
        std::string target;
        const char* refusal; // empty: saved into the target
    } cases[] = {
        {"a file beside it", "../Mine.ini", ""},
        {"the same file by its absolute path", dir.File("work/Mine.ini"), ""},
        {"a file outside the working folder", dir.File("elsewhere/Skin.ini"),
         "is a symbolic link to %, outside the working folder; it is not followed"},
        {"out through ..", "../../elsewhere/Skin.ini",
         "is a symbolic link to %, outside the working folder; it is not followed"},
        {"a link to a link", "Chain.ini", "is a symbolic link; it is not followed"},
    };
    fs::create_symlink("../Mine.ini", "Skins/Chain.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove("Skins/Skin.ini");
        fs::create_symlink(c.target, "Skins/Skin.ini");
        std::ostringstream messages;
        CIniFile ini("Skins/Skin.ini", messages);
        const std::string mine = ReadBytes("Mine.ini"); // "[S]\nk=VALUE\n"
        const bool away = c.target.find("elsewhere") != std::string::npos;
        EXPECT_EQ(ini.GetString("S", "k", "-"), away ? "-" : mine.substr(6, mine.size() - 7))
            << "the link is read in every case";
        const bool saved = ini.WriteString("S", "k", c.what);
        EXPECT_TRUE(fs::is_symlink("Skins/Skin.ini"));
        if (*c.refusal == '\0') {
            EXPECT_TRUE(saved) << messages.str();
            EXPECT_EQ(ReadBytes("Mine.ini"), "[S]\nk=" + std::string(c.what) + "\n");
        } else {
            EXPECT_FALSE(saved);
            std::string refusal = c.refusal;
            if (const auto at = refusal.find('%'); at != std::string::npos)
                refusal.replace(at, 1, c.target);
            EXPECT_EQ(messages.str(), "cannot save settings to Skins/Skin.ini: " + refusal + "\n");
        }
        outside.ExpectUntouched();
    }
    EXPECT_EQ(Names(dir.File("work/Skins")), (std::vector<std::string>{"Chain.ini", "Skin.ini"}));
}

TEST(SafeWriter, ARunWithoutAWritableWorkingFolderWritesNothingThere) {
    TempDir dir;
    const InFolder work(dir.Path());
    RefuseWorkingFolderWrites("nothing is written here");
    std::string why;
    EXPECT_FALSE(ReplaceFile("Skin.ini", "x", why));
    EXPECT_EQ(why, "nothing is written here");
    EXPECT_FALSE(AppendToFile("log.dat", "x", AppendMode::Append, why));
    EXPECT_TRUE(ReplaceFile(dir.File("metrics.prom"), "x", why)) << "an absolute path is no file "
                                                                    "of the working folder";
    RefuseWorkingFolderWrites("");
    EXPECT_TRUE(AppendToFile("log.dat", "x", AppendMode::Append, why)) << why;
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"log.dat", "metrics.prom"}));
}

// An appending writer adds only to the user's own regular file.
TEST(SafeWriter, AppendingNeedsTheUsersOwnRegularFile) {
    TempDir dir;
    std::string why;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(AppendToFile(dir.File("fifo"), "x", AppendMode::Append, why));
    EXPECT_EQ(why, "is a FIFO");
    if (::geteuid() == 0) {
        WriteBytes(dir.File("theirs"), "theirs\n");
        ASSERT_EQ(::chown(dir.File("theirs").c_str(), 65534, 65534), 0);
        EXPECT_FALSE(AppendToFile(dir.File("theirs"), "x", AppendMode::StartAfresh, why));
        EXPECT_EQ(why, "belongs to another user (65534)");
        EXPECT_EQ(ReadBytes(dir.File("theirs")), "theirs\n");
    }
    ASSERT_TRUE(AppendToFile(dir.File("mine"), "a", AppendMode::Append, why));
    ASSERT_TRUE(AppendToFile(dir.File("mine"), "b", AppendMode::Append, why));
    EXPECT_EQ(ReadBytes(dir.File("mine")), "ab");
    ASSERT_TRUE(AppendToFile(dir.File("mine"), "c", AppendMode::StartAfresh, why));
    EXPECT_EQ(ReadBytes(dir.File("mine")), "c");
}

} // namespace
} // namespace sentinax
