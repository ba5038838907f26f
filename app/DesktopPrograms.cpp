#include "DesktopPrograms.h"

#include "sysinfo/SysFiles.h"

#include "LaunchRules.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace sentinax {

namespace {

std::string SearchPath() {
    const char* path = std::getenv("PATH");
    return path ? path : "/usr/local/bin:/usr/bin:/bin";
}

// The desktop entry of the default web browser, as xdg-mime names it.
std::string DefaultBrowserEntry() {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/http")});
    if (!query.waitForFinished(2000)) {
        query.kill();
        query.waitForFinished(500);
        return {};
    }
    return query.readAllStandardOutput().trimmed().toStdString();
}

// A desktop entry: a regular file only (a FIFO or device under an entry's
// name is skipped), its first MiB.
std::optional<std::string> ReadSmallFile(const std::string& path) {
    return ReadFileText(path, 1 << 20);
}

} // namespace

bool StartDetached(const std::vector<std::string>& argv) {
    if (argv.empty())
        return false;
    const std::string program = FindOnPath(argv[0], SearchPath());
    if (program.empty())
        return false;
    // Everything the child needs is prepared before fork: after it only
    // async-signal-safe calls are made.
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 1 : 0);
        const int keep = pipeFds[1];
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != keep)
                ::close(fd);
        }
        ::close_range(1024, ~0U, 0);
        ::execv(program.c_str(), args.data());
        const char failed = 1;
        (void)!::write(keep, &failed, 1);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The write end closes on a successful exec (close-on-exec): no byte
    // means the program runs.
    char failed = 0;
    ssize_t n;
    while ((n = ::read(pipeFds[0], &failed, 1)) < 0 && errno == EINTR) {
    }
    ::close(pipeFds[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

void DesktopPrograms::StartCoolingTool() {
    StartDetached({kCoolingToolProgram});
}

void DesktopPrograms::StartCoolingHelper() {
    StartDetached({kCoolingHelperProgram});
}

void DesktopPrograms::RunSystemInfo() {
    for (const std::string& tool : SystemInfoCandidates()) {
        if (StartDetached({tool}))
            return;
    }
}

void DesktopPrograms::OpenWithBrowser(const std::string& address) {
    if (QDesktopServices::openUrl(QUrl(QString::fromStdString(address))))
        return;
    const std::string entry = DefaultBrowserEntry();
    if (entry.empty() || entry.find('/') != std::string::npos)
        return;
    for (const std::string& folder : ApplicationFolders(
             std::getenv("XDG_DATA_HOME"), std::getenv("XDG_DATA_DIRS"), std::getenv("HOME"))) {
        const auto text = ReadSmallFile(folder + "/" + entry);
        if (!text)
            continue;
        if (const auto exec = DesktopEntryExec(*text))
            StartDetached(BrowserCommand(*exec, address));
        return;
    }
}

} // namespace sentinax
