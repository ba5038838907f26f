// Doubles of the window, its timers and the platform, shared by the tests of
// the main window's logic.
#pragma once

#include "EndedRunObjects.h"
#include "FakeHardware.h"

#include "alerts/AlarmSound.h"
#include "alerts/HmSharedBlock.h"
#include "alerts/SharedSensorMemory.h"
#include "alerts/WindowFinder.h"
#include "app/ExternalPrograms.h"
#include "app/MainController.h"

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace sentinax::test {

struct RecordingView : MonitorView {
    std::vector<std::string> calls;
    std::vector<std::string> messages;
    bool trayAvailable = true;
    int postedQuit = -1;

    void SetIcons() override { calls.push_back("SetIcons"); }
    void SetTitle(const std::string& t) override { calls.push_back("SetTitle " + t); }
    void LoadSkin(const std::string& p) override { calls.push_back("LoadSkin " + p); }
    void LayoutControls(const BoardProfile&) override { calls.push_back("LayoutControls"); }
    void CreateGraphs(const BoardProfile&, bool) override { calls.push_back("CreateGraphs"); }
    void StartAnimation() override { calls.push_back("StartAnimation"); }
    bool CreateTrayIcon() override {
        calls.push_back("CreateTrayIcon");
        return trayAvailable;
    }
    void DeleteTrayIcon() override { calls.push_back("DeleteTrayIcon"); }
    void HideWindow() override { calls.push_back("HideWindow"); }
    void ShowMessage(const std::string& text) override {
        calls.push_back("ShowMessage");
        messages.push_back(text);
    }
    void CloseWindow() override { calls.push_back("CloseWindow"); }
    void PostQuit(int code) override {
        calls.push_back("PostQuit");
        postedQuit = code;
    }
    void SetTrayTip(const std::string& text) override { trayTip = text; }
    void SetItemText(ReadoutItem item, const std::string& text) override {
        texts[static_cast<int>(item)] = text;
    }
    void SetItemColours(ReadoutItem item, uint32_t unlit, uint32_t lit) override {
        colours[static_cast<int>(item)] = {unlit, lit};
    }
    void AppendPoint(ReadoutItem item, double value) override {
        points[static_cast<int>(item)].push_back(value);
    }
    void ShowForWarning(bool) override { calls.push_back("ShowForWarning"); }
    bool RunOverTemperatureDialog() override {
        calls.push_back("RunOverTemperatureDialog");
        dialogEnded = false;
        if (onDialog)
            onDialog();
        return acceptDialogs && !dialogEnded;
    }
    // Called off from inside the dialog: it returns as cancelled.
    void EndOverTemperatureDialog() override {
        calls.push_back("EndOverTemperatureDialog");
        dialogEnded = true;
    }
    bool dialogEnded = false;
    bool RunChassisDialog() override {
        calls.push_back("RunChassisDialog");
        if (onDialog)
            onDialog();
        return acceptDialogs;
    }
    void SetFieldText(const std::string& name, const std::string& text) override {
        fields[name] = text;
    }
    std::map<std::string, std::string> fields;
    std::string trayTip;
    std::map<int, std::string> texts;
    std::map<int, std::pair<uint32_t, uint32_t>> colours;
    std::map<int, std::vector<double>> points;
    bool acceptDialogs = false;
    std::function<void()> onDialog;
    int Count(const std::string& name) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }
};

struct RecordingTimers : TickTimers {
    std::map<int, int> running; // id -> period
    std::vector<std::string> log;
    int SetTimer(int id, int ms) override {
        running[id] = ms;
        log.push_back("set " + std::to_string(id) + " " + std::to_string(ms));
        return id;
    }
    void KillTimer(int id) override {
        running.erase(id);
        log.push_back("kill " + std::to_string(id));
    }
};

struct FakeWindows : WindowFinder {
    std::set<std::string> titles;
    std::string limitation; // what this session cannot see
    bool WindowExists(const std::string& title) override { return titles.count(title) > 0; }
    std::string Limitation() override { return limitation; }
};

struct FakeSound : AlarmSound {
    std::vector<std::string> log;
    void StartLoop(const std::string& file) override { log.push_back("start " + file); }
    void Stop() override { log.push_back("stop"); }
};

struct RecordingPrograms : ExternalPrograms {
    std::vector<std::string> started;
    void StartCoolingTool() override { started.push_back("cooling tool"); }
    void StartCoolingHelper() override { started.push_back("cooling helper"); }
    void RunSystemInfo() override { started.push_back("system info"); }
    void OpenWithBrowser(const std::string& address) override {
        started.push_back("browser " + address);
    }
};

struct FakePlatform : Platform {
    FakePlatform() {
        RemoveObjectsOfEndedRuns("sx-test-hmshared");
        RemoveObjectsOfEndedRuns("sx-test-hmlock");
    }
    FakeWindows windows;
    FakeSound sound;
    // A private block so that tests never meet a running monitor's /HMShared.
    SharedSensorMemory shared{"/sx-test-hmshared-" + std::to_string(getpid()),
                              "/sx-test-hmlock-" + std::to_string(getpid())};
    int powerOffs = 0;
    WindowFinder& Windows() override { return windows; }
    AlarmSound& Sound() override { return sound; }
    SharedSensorMemory& SharedMemory() override { return shared; }
    void PowerOff() override { ++powerOffs; }
    RecordingPrograms programs;
    ExternalPrograms& Programs() override { return programs; }
    std::vector<std::string> reports;
    void Report(const std::string& message) override { reports.push_back(message); }
    std::string cpuInfo; // no CPU known: no rating from the table
    std::string CpuInfo() override { return cpuInfo; }
    // The block's lock object outlives a monitor by design; a test's own goes.
    ~FakePlatform() override {
        shared.Teardown();
        shm_unlink(("/sx-test-hmlock-" + std::to_string(getpid())).c_str());
    }
    // What the monitor last published in its block (zeros when nothing was).
    HmSharedBlock Published() const {
        HmSharedBlock b{};
        const std::string name = "/sx-test-hmshared-" + std::to_string(getpid());
        const int fd = shm_open(name.c_str(), O_RDONLY, 0);
        if (fd >= 0) {
            if (pread(fd, b.data(), b.size(), 0) != static_cast<ssize_t>(b.size()))
                b = HmSharedBlock{};
            close(fd);
        }
        return b;
    }
    bool libraryPresent = true;
    std::vector<int> sleeps;
    std::string version = "6.1.0-18-amd64";
    bool BindLibrary(HardwareLibrary& lib) override {
        if (!libraryPresent)
            return false;
        lib = FakeHardware::Instance().Table();
        return true;
    }
    void Sleep(int ms) override { sleeps.push_back(ms); }
    std::string VersionText() override { return version; }
    BoardTable table;
    BoardTable LoadBoardTable() override { return table; }
};

// The readings each evaluation hands to other programs.
struct LastSnapshot : ReadingSink {
    ReadingSnapshot last;
    int count = 0;
    void Publish(const ReadingSnapshot& snapshot) override {
        last = snapshot;
        ++count;
    }
};

struct RecordingAdjusters : AdjusterAccess {
    std::vector<std::pair<std::string, int>> moves;
    void SetSliderPosition(const std::string& name, int position) override {
        moves.emplace_back(name, position);
    }
};

} // namespace sentinax::test
