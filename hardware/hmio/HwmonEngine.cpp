#include "HwmonEngine.h"

#include "TextParse.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <set>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <time.h>
#include <unistd.h>

namespace hmio {

namespace {

// While something stays lost, the chips are looked for again on every check
// at first, then on every kRescanEvery-th.
constexpr int kEagerRescans = 8;
constexpr int kRescanEvery = 8;

int64_t MonotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::string WithoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string Chomp(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// One decimal number, as sysfs prints it. errno tells why there is none.
std::optional<int64_t> PreadNumber(int fd) {
    char buffer[32];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    if (n < 0)
        return std::nullopt;
    errno = EINVAL;
    if (n == 0 || n == static_cast<ssize_t>(sizeof buffer))
        return std::nullopt;
    const char* first = buffer;
    const char* last = buffer + n;
    while (last > first && (last[-1] == '\n' || last[-1] == ' ' || last[-1] == '\r'))
        --last;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

// The chip's device is gone (a driver unloaded): look for the chips again.
bool DeviceGone(int error) {
    return error == ENODEV || error == ENOENT || error == ENXIO;
}

int64_t LibsensorsUnits(double value, InputKind kind) {
    const double scaled = kind == InputKind::Fan ? value : value * 1000.0;
    if (!std::isfinite(scaled) || std::fabs(scaled) > 1e15)
        return 0;
    return std::llround(scaled);
}

} // namespace

HwmonEngine::HwmonEngine(HwmonOptions options) : options_(std::move(options)) {
    if (options_.Root.empty() || options_.Root.back() != '/')
        options_.Root += '/';
    for (const std::string& message : options_.EarlyNotices)
        notices_.push_back(message);
}

HwmonEngine::~HwmonEngine() {
    Close();
}

void HwmonEngine::Close() {
    for (Channel& channel : channels_)
        CloseChannel(channel);
    channels_.clear();
    chips_.clear();
    placement_ = {}; // nothing is placed until the chips are found again
    open_ = false;
}

void HwmonEngine::CloseChannel(Channel& channel) {
    if (channel.Fd >= 0)
        ::close(channel.Fd);
    channel.Fd = -1;
    channel.Handle = -1;
    channel.Number = -1;
}

std::vector<SensorChip> HwmonEngine::Scan() {
    std::vector<SensorChip> chips;
    if (options_.UseLibsensors) {
        if (!sensors_)
            sensors_ = std::make_unique<SensorsLibrary>(options_.Config);
        std::vector<std::string> messages;
        if (sensors_->Init(messages))
            chips = sensors_->Chips();
        for (std::string& message : messages)
            notices_.push_back(std::move(message));
    }
    // Folders libsensors does not list (a bus it does not know), or all of
    // them without it, are read directly.
    for (SensorChip& chip : ScanHwmonFolders(options_.Root + "sys/class/hwmon/")) {
        const bool listed = std::any_of(chips.begin(), chips.end(), [&](const SensorChip& c) {
            return WithoutSlash(c.Folder) == WithoutSlash(chip.Folder);
        });
        if (!listed)
            chips.push_back(std::move(chip));
    }
    SortChips(chips);
    return chips;
}

void HwmonEngine::ReadFirstValues(std::vector<SensorChip>& chips) {
    for (SensorChip& chip : chips) {
        for (SensorInput& input : chip.Inputs) {
            input.Raw = ReadIntegerFile(AttributePath(chip, input.Stem + "_input"));
            input.Computed.reset();
            if (sensors_ && chip.Handle >= 0 && input.Number >= 0) {
                if (const auto value = sensors_->Value(chip.Handle, input.Number))
                    input.Computed = LibsensorsUnits(*value, input.Kind);
            }
            // A zero reads the same with or without a compute: read directly.
            input.ConfigCompute = input.Raw && input.Computed && *input.Computed != *input.Raw;
        }
    }
}

void HwmonEngine::Open() {
    if (open_)
        return;
    open_ = true;
    chips_ = Scan();
    ReadFirstValues(chips_);
    Place();
}

void HwmonEngine::Place() {
    const std::string id = options_.Root + "sys/class/dmi/id/";
    PlacementInput input;
    input.Chips = &chips_;
    input.BoardVendor = Chomp(ReadWholeFile(id + "board_vendor", 256).value_or(""));
    input.BoardName = Chomp(ReadWholeFile(id + "board_name", 256).value_or(""));
    const auto vendor = ParseInteger(Chomp(
        ReadWholeFile(options_.Root + "sys/bus/pci/devices/0000:00:00.0/vendor", 64).value_or("")));
    input.HostVendor =
        vendor && *vendor > 0 && *vendor <= 0xFFFF ? static_cast<uint32_t>(*vendor) : 0;
    input.Wiring = &options_.Wiring;
    input.Map = &options_.Map;
    input.MapName = options_.MapName;
    if (sensors_) {
        for (const std::string& file : sensors_->ConfigFiles())
            input.ConfigFiles += (input.ConfigFiles.empty() ? "" : ", ") + file;
    }
    placement_ = PlaceSensors(input);
    hostVendor_ = input.HostVendor;

    auto add = [&](bool isParam, int index, const std::optional<Assignment>& a) {
        if (!a)
            return;
        Channel channel;
        channel.IsParam = isParam;
        channel.Index = index;
        channel.Placed = *a;
        const SensorChip& chip = chips_[a->Chip];
        channel.ChipName = chip.Name;
        channel.Stem = chip.Inputs[a->Input].Stem;
        channel.Kind = chip.Inputs[a->Input].Kind;
        channel.Folder = chip.Folder;
        if (!Resolve(channel, chips_)) {
            channel.Lost = true;
            channel.Why = "cannot be opened";
        }
        channels_.push_back(std::move(channel));
    };
    for (int i = 0; i < kParamCount; ++i)
        add(true, i, placement_.Params[i]);
    for (int i = 0; i < kSlotCount; ++i)
        add(false, i, placement_.Slots[i]);

    // The start-up summary first, then what needs the user's attention.
    int byRule[3] = {};
    std::set<std::string> used;
    for (const Channel& channel : channels_) {
        if (!channel.Placed.Item || (channel.IsParam && channel.Index == 1))
            continue; // the second temperature repeats the system temperature
        ++byRule[static_cast<int>(channel.Placed.Rule)];
        used.insert(channel.ChipName);
    }
    std::string summary =
        "sensors: " + std::to_string(byRule[0] + byRule[1] + byRule[2]) + " values";
    if (!used.empty()) {
        std::string names;
        for (const std::string& name : used)
            names += (names.empty() ? "" : ", ") + name;
        summary += " from " + names + " (" + std::to_string(byRule[0]) +
                   " lm-sensors configuration, " + std::to_string(byRule[1]) + " wiring row, " +
                   std::to_string(byRule[2]) + " generic default)";
    }
    summary += placement_.BoardSource.empty() ? "; no wiring rows for this board"
                                              : "; board wiring " + placement_.BoardSource;
    summary += "; `sentinax4 --sensors` explains each";
    notices_.push_back(summary);
    for (const std::string& notice : placement_.Notices)
        notices_.push_back(notice);
}

bool HwmonEngine::Resolve(Channel& channel, const std::vector<SensorChip>& chips) {
    CloseChannel(channel);
    const SensorChip* chip = nullptr;
    for (const SensorChip& candidate : chips) {
        if (candidate.Name != channel.ChipName || !candidate.Find(channel.Stem))
            continue;
        if (!chip || WithoutSlash(candidate.Folder) == WithoutSlash(channel.Folder))
            chip = &candidate;
    }
    if (!chip)
        return false;
    const SensorInput& input = *chip->Find(channel.Stem);
    channel.Folder = chip->Folder;
    channel.Entry = WithoutSlash(chip->Folder);
    struct statfs where {};
    channel.OnSysfs = ::statfs(chip->Folder.c_str(), &where) == 0 && where.f_type == SYSFS_MAGIC;
    struct stat info {};
    if (::lstat(WithoutSlash(chip->Folder).c_str(), &info) == 0) {
        channel.FolderInode = info.st_ino;
        channel.FolderChange =
            static_cast<int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
    }
    if (channel.Placed.ThroughLibsensors) {
        if (chip->Handle < 0 || input.Number < 0)
            return false;
        channel.Handle = chip->Handle;
        channel.Number = input.Number;
        return true;
    }
    channel.Fd =
        ::open(AttributePath(*chip, channel.Stem + "_input").c_str(), O_RDONLY | O_CLOEXEC);
    return channel.Fd >= 0;
}

std::optional<int64_t> HwmonEngine::ReadChannel(Channel& channel) {
    std::optional<int64_t> units;
    int error = 0;
    if (channel.Placed.ThroughLibsensors) {
        if (channel.Handle >= 0 && sensors_) {
            if (const auto value = sensors_->Value(channel.Handle, channel.Number))
                units = LibsensorsUnits(*value, channel.Kind);
        }
        error = units ? 0 : EIO;
    } else if (channel.Fd >= 0) {
        units = PreadNumber(channel.Fd);
        error = units ? 0 : errno;
    } else {
        error = ENOENT;
    }
    if (!units) {
        if (!channel.Lost)
            channel.Why = std::strerror(error);
        channel.Lost = true;
        if (DeviceGone(error)) {
            CloseChannel(channel); // the device is gone: find it again
            rescanWanted_ = true;
        }
        return std::nullopt;
    }
    channel.Lost = false;
    return channel.Placed.Factor.Apply(*units);
}

void HwmonEngine::CheckChips() {
    const int64_t now = MonotonicNs();
    if (lastCheckNs_ >= 0 && now - lastCheckNs_ < options_.CheckIntervalNs)
        return;
    lastCheckNs_ = now;
    // One look per chip folder (most channels share a few chips); on sysfs
    // itself a chip that goes away makes its descriptors read ENODEV, so only
    // other trees (tests, benchmarks) need the look.
    struct Look {
        const std::string* Folder = nullptr;
        bool There = false;
        ino_t Inode = 0;
        int64_t Change = 0;
    };
    Look looks[8];
    size_t lookCount = 0;
    for (Channel& channel : channels_) {
        if ((channel.Fd < 0 && channel.Handle < 0) || channel.OnSysfs)
            continue; // no source: waits for a rescan
        Look* look = nullptr;
        for (size_t i = 0; i < lookCount && !look; ++i) {
            if (*looks[i].Folder == channel.Folder)
                look = &looks[i];
        }
        Look fresh;
        if (!look) {
            fresh.Folder = &channel.Folder;
            struct stat info {};
            if (channel.Fd >= 0) {
                // An open input whose file was removed (its folder with it)
                // has no links left; no path is walked for this.
                fresh.There = ::fstat(channel.Fd, &info) == 0 && info.st_nlink > 0;
                fresh.Inode = channel.FolderInode;
                fresh.Change = channel.FolderChange;
            } else {
                fresh.There = ::lstat(channel.Entry.c_str(), &info) == 0;
                fresh.Inode = info.st_ino;
                fresh.Change = static_cast<int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 +
                               info.st_ctim.tv_nsec;
            }
            if (lookCount < std::size(looks))
                looks[lookCount++] = fresh;
            look = &fresh;
        }
        if (look->There && look->Inode == channel.FolderInode &&
            look->Change == channel.FolderChange)
            continue;
        // The folder is gone or was made anew: the open descriptor reads the
        // old device (or a deleted file), never the new one.
        CloseChannel(channel);
        if (!channel.Lost)
            channel.Why = look->There ? "its chip was registered anew" : "its chip is gone";
        channel.Lost = true;
        rescanWanted_ = true;
    }
    // Channels without a source wait for the chips to be found again: at once
    // at first, then less often while they stay away. An input that merely
    // reads an error keeps its descriptor and is read again each time.
    const bool waiting = std::any_of(channels_.begin(), channels_.end(), [](const Channel& c) {
        return c.Lost && c.Fd < 0 && c.Handle < 0;
    });
    failedReads_ = waiting ? failedReads_ + 1 : 0;
    if (waiting && (failedReads_ <= kEagerRescans || failedReads_ % kRescanEvery == 0))
        rescanWanted_ = true;
    if (rescanWanted_)
        Refind(false);
}

void HwmonEngine::Refind(bool force) {
    rescanWanted_ = false;
    chips_ = Scan();
    for (Channel& channel : channels_) {
        // libsensors' chips were made anew: every channel read through it too.
        const bool sourceless = channel.Fd < 0 && channel.Handle < 0;
        if (!force && !sourceless && !channel.Placed.ThroughLibsensors)
            continue;
        if (!Resolve(channel, chips_) && !channel.Lost) {
            channel.Lost = true;
            channel.Why = "its chip is gone";
        }
    }
    ++generation_;
}

void HwmonEngine::Rescan() {
    if (!open_) {
        Open();
        return;
    }
    const uint64_t wasLost = LostFlags();
    Refind(true);
    NoteChanges(wasLost);
}

uint64_t HwmonEngine::LostFlags() const {
    uint64_t lost = 0;
    for (size_t i = 0; i < channels_.size() && i < 64; ++i)
        lost |= channels_[i].Lost ? uint64_t(1) << i : 0;
    return lost;
}

bool HwmonEngine::AnyPlaced() {
    Open();
    return !channels_.empty();
}

bool HwmonEngine::ReadParams(uint8_t* params) {
    Open();
    const uint64_t wasLost = LostFlags();
    CheckChips();
    bool cpuRead = false;
    for (int pass = 0; pass < 2; ++pass) {
        for (Channel& channel : channels_) {
            if (!channel.IsParam || (pass == 1 && !channel.Lost))
                continue;
            const auto value = ReadChannel(channel);
            if (!value)
                continue; // no reading: the byte is left alone
            params[channel.Index] = static_cast<uint8_t>(std::clamp<int64_t>(*value, 0, 255));
            cpuRead = cpuRead || channel.Index == 0;
        }
        // A device that went away during the read: look once more at once.
        if (pass == 0 && rescanWanted_)
            Refind(false);
        else
            break;
    }
    NoteChanges(wasLost);
    return cpuRead;
}

uint32_t HwmonEngine::ReadSlots(int32_t* raw) {
    Open();
    const uint64_t wasLost = LostFlags();
    CheckChips();
    uint32_t written = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (Channel& channel : channels_) {
            if (channel.IsParam || (pass == 1 && !channel.Lost))
                continue;
            const auto value = ReadChannel(channel);
            if (!value)
                continue; // no reading: not 0, the slot is left alone
            raw[channel.Index] =
                static_cast<int32_t>(std::clamp<int64_t>(*value, INT32_MIN, INT32_MAX));
            written |= 1u << channel.Index;
        }
        if (pass == 0 && rescanWanted_)
            Refind(false);
        else
            break;
    }
    NoteChanges(wasLost);
    return written;
}

std::string HwmonEngine::ChannelTitle(const Channel& channel) const {
    std::string title = channel.Placed.Item ? std::string(WiringItemTitle(*channel.Placed.Item))
                        : channel.IsParam   ? "byte " + std::to_string(channel.Index)
                                            : "slot " + std::to_string(channel.Index);
    return title + " (" + channel.ChipName + " " + channel.Stem + ")";
}

void HwmonEngine::NoteChanges(uint64_t wasLost) {
    if (LostFlags() == wasLost)
        return; // the usual case: nothing changed
    std::vector<std::string> lost, back;
    std::string why;
    for (size_t i = 0; i < channels_.size() && i < 64; ++i) {
        const Channel& channel = channels_[i];
        if (channel.Lost == ((wasLost >> i) & 1))
            continue;
        std::vector<std::string>& list = channel.Lost ? lost : back;
        const std::string title = ChannelTitle(channel);
        if (std::find(list.begin(), list.end(), title) == list.end())
            list.push_back(title);
        if (channel.Lost && why.empty())
            why = channel.Why;
    }
    auto join = [](const std::vector<std::string>& titles) {
        std::string text;
        for (const std::string& t : titles)
            text += (text.empty() ? "" : ", ") + t;
        return text;
    };
    if (!lost.empty())
        notices_.push_back("no reading from " + join(lost) + ": " + why +
                           "; not shown or checked until it returns");
    if (!back.empty())
        notices_.push_back(join(back) + " read again");
    if (!lost.empty() || !back.empty())
        ++generation_;
}

void HwmonEngine::GetStatus(HmioStatus& status) {
    Open();
    status.Generation = generation_;
    for (const Channel& channel : channels_) {
        const uint32_t bit = 1u << channel.Index;
        if (channel.Placed.Unchecked)
            (channel.IsParam ? status.UncheckedParams : status.UncheckedSlots) |= bit;
        if (channel.Lost)
            (channel.IsParam ? status.LostParams : status.LostSlots) |= bit;
    }
    status.CpuTempCrit = placement_.CpuTempCrit;
}

std::string HwmonEngine::NextNotice() {
    Open();
    if (notices_.empty())
        return {};
    std::string notice = std::move(notices_.front());
    notices_.pop_front();
    return notice;
}

} // namespace hmio
