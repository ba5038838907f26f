// The settable fields of a board profile, as the board table names them: one
// description per field (name, range, canonical text), so the table's parser
// and the profile tool stay generic.
#include "BoardTable.h"

#include <charconv>

namespace sentinax {

namespace {

constexpr int kRawValueSlots = 30; // RawValues entries a slot field may name
constexpr int kChipParamBytes = 8; // ChipParams bytes CpuTempSlot may name

template <typename T>
ProfileField IntField(std::string name, T BoardProfile::*member, long long low, long long high) {
    return {std::move(name),
            [member, low, high](BoardProfile& p, std::string_view text) {
                long long v = 0;
                if (!ParseTableInteger(text, v) || v < low || v > high)
                    return false;
                p.*member = static_cast<T>(v);
                return true;
            },
            [member](const BoardProfile& p) {
                return std::to_string(static_cast<long long>(p.*member));
            }};
}

// The host modes the program knows: none, front panel, panel display.
ProfileField HostModeField() {
    return {"HostMode",
            [](BoardProfile& p, std::string_view text) {
                long long v = 0;
                if (!ParseTableInteger(text, v) || (v != 0 && v != 2 && v != 3))
                    return false;
                p.HostMode = static_cast<HostMode>(v);
                return true;
            },
            [](const BoardProfile& p) { return std::to_string(static_cast<int>(p.HostMode)); }};
}

ProfileField BoolField(std::string name, bool BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text == "yes" || text == "1") {
                    p.*member = true;
                    return true;
                }
                if (text == "no" || text == "0") {
                    p.*member = false;
                    return true;
                }
                return false;
            },
            [member](const BoardProfile& p) { return std::string(p.*member ? "yes" : "no"); }};
}

template <typename E, size_t N>
ProfileField EnumField(std::string name, E BoardProfile::*member,
                       std::array<std::string_view, N> names) {
    return {std::move(name),
            [member, names](BoardProfile& p, std::string_view text) {
                for (size_t i = 0; i < N; ++i) {
                    if (names[i] == text) {
                        p.*member = static_cast<E>(i);
                        return true;
                    }
                }
                return false;
            },
            [member, names](const BoardProfile& p) {
                auto i = static_cast<size_t>(p.*member);
                return i < N ? std::string(names[i]) : std::to_string(i);
            }};
}

// A skin file is named relative to the working folder and stays inside it: an
// absolute path or a ".." step would let a table row point the monitor at
// any file, which it would then read and save settings into.
ProfileField SkinFileField(std::string name, std::string BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text.empty() || text.front() == '/')
                    return false;
                size_t start = 0;
                while (start <= text.size()) {
                    size_t end = text.find('/', start);
                    if (end == std::string_view::npos)
                        end = text.size();
                    if (text.substr(start, end - start) == "..")
                        return false;
                    start = end + 1;
                }
                p.*member = std::string(text);
                return true;
            },
            [member](const BoardProfile& p) { return p.*member; }};
}

ProfileField CaptionField(int index) {
    return {"FanCaption" + std::to_string(index + 1),
            [index](BoardProfile& p, std::string_view text) {
                p.FanCaptions[index] = std::string(text);
                return true;
            },
            [index](const BoardProfile& p) { return p.FanCaptions[index]; }};
}

// "none", or "position/value" with the adjuster position 0..100.
ProfileField LimitField(std::string name, std::optional<LimitOverride> BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text == "none") {
                    (p.*member).reset();
                    return true;
                }
                auto slash = text.find('/');
                long long position = 0, value = 0;
                if (slash == std::string_view::npos ||
                    !ParseTableInteger(text.substr(0, slash), position) ||
                    !ParseTableInteger(text.substr(slash + 1), value) || position < 0 ||
                    position > 100 || value < INT32_MIN || value > INT32_MAX)
                    return false;
                p.*member = LimitOverride{static_cast<int>(position), static_cast<int32_t>(value)};
                return true;
            },
            [member](const BoardProfile& p) {
                const auto& o = p.*member;
                return o ? std::to_string(o->Position) + "/" + std::to_string(o->Value)
                         : std::string("none");
            }};
}

std::vector<ProfileField> MakeFields() {
    using P = BoardProfile;
    const int lastSlot = kRawValueSlots - 1;
    std::vector<ProfileField> f;
    f.push_back(BoolField("NoPowerFan", &P::NoPowerFan));
    f.push_back(BoolField("AltRailScaling", &P::AltRailScaling));
    f.push_back(SkinFileField("SkinFile", &P::SkinFile));
    f.push_back(IntField("CpuFanSlot", &P::CpuFanSlot, 0, lastSlot));
    f.push_back(IntField("SysFanSlot", &P::SysFanSlot, 0, lastSlot));
    f.push_back(IntField("PowerFanSlot", &P::PowerFanSlot, 0, lastSlot));
    f.push_back(IntField("CpuTempOffset", &P::CpuTempOffset, -255, 255));
    f.push_back(EnumField("SensorSource", &P::SensorSource,
                          std::array<std::string_view, 2>{"Library", "EmbeddedController"}));
    f.push_back(IntField("V12Slot", &P::V12Slot, 0, lastSlot));
    f.push_back(IntField("V33Slot", &P::V33Slot, 0, lastSlot));
    // The sampling period divides by it, and the fan window has this many entries.
    f.push_back(IntField("SamplesPerInterval", &P::SamplesPerInterval, 1, 100));
    f.push_back(IntField("CpuTempSlot", &P::CpuTempSlot, 0, kChipParamBytes - 1));
    f.push_back(BoolField("CpuTempFloorCheck", &P::CpuTempFloorCheck));
    f.push_back(IntField("ChipSelector", &P::ChipSelector, 0, 255));
    f.push_back(HostModeField());
    f.push_back(IntField("TwelveVoltOffset", &P::TwelveVoltOffset, -20000, 20000));
    f.push_back(IntField("ChipCommand", &P::ChipCommand, 0, 255));
    for (int i = 0; i < 3; ++i)
        f.push_back(CaptionField(i));
    f.push_back(BoolField("NoRail33", &P::NoRail33));
    f.push_back(BoolField("NoRail12", &P::NoRail12));
    f.push_back(BoolField("NoVoltages", &P::NoVoltages));
    f.push_back(BoolField("NoRail5", &P::NoRail5));
    f.push_back(BoolField("NoSysTemp", &P::NoSysTemp));
    f.push_back(BoolField("SysTempNeverFlagged", &P::SysTempNeverFlagged));
    f.push_back(BoolField("FanFlagsOff", &P::FanFlagsOff));
    f.push_back(EnumField("CpuFanFilter", &P::CpuFanFilter,
                          std::array<std::string_view, 2>{"Average", "WindowMinAverage"}));
    f.push_back(IntField("CpuTempCorrection", &P::CpuTempCorrection, -100, 100));
    f.push_back(EnumField("TempSourceRule", &P::TempSourceRule,
                          std::array<std::string_view, 4>{"Direct", "SwapWithSystem",
                                                          "SecondByteAsCpu", "FromRawSlots"}));
    f.push_back(BoolField("SystemTempFromChip", &P::SystemTempFromChip));
    f.push_back(BoolField("SysTempUsesCpuOffset", &P::SysTempUsesCpuOffset));
    f.push_back(EnumField(
        "FiveVoltRule", &P::FiveVoltRule,
        std::array<std::string_view, 9>{"AsRead", "CopySlot4", "Slot4Times1_5", "Slot5Times1_6",
                                        "Slot5Times1_5", "Slot6Times1_61", "Slot3Times1_6",
                                        "Slot3Times1_5", "Slot1DoubledTimes1_61"}));
    f.push_back(EnumField("TwelveVoltRule", &P::TwelveVoltRule,
                          std::array<std::string_view, 5>{"Times12Then20_63", "Times6_6",
                                                          "Times24Then0_3125", "Times12Then0_3125",
                                                          "Times24Then20_63"}));
    f.push_back(EnumField("FanEmulation", &P::FanEmulation,
                          std::array<std::string_view, 3>{"None", "Jitter", "BandedJitter"}));
    f.push_back(EnumField("FanWarnTempGate", &P::FanWarnTempGate,
                          std::array<std::string_view, 4>{"None", "Below48", "Below41", "Always"}));
    f.push_back(BoolField("PowerFanShownNA", &P::PowerFanShownNA));
    f.push_back(BoolField("PowerFanUnmonitored", &P::PowerFanUnmonitored));
    f.push_back(BoolField("CpuFanUnmonitored", &P::CpuFanUnmonitored));
    f.push_back(BoolField("SysFanShownZero", &P::SysFanShownZero));
    f.push_back(BoolField("AutoHide", &P::AutoHide));
    f.push_back(BoolField("ChassisSupported", &P::ChassisSupported));
    f.push_back(BoolField("FrostlineSupported", &P::FrostlineSupported));
    f.push_back(BoolField("PanoraSysFanExcluded", &P::PanoraSysFanExcluded));
    f.push_back(LimitField("CpuTempLimitOverride", &P::CpuTempLimitOverride));
    f.push_back(LimitField("CpuFanLimitOverride", &P::CpuFanLimitOverride));
    f.push_back(IntField("SysFanUpperBase", &P::SysFanUpperBase, 0, 100000));
    f.push_back(BoolField("VcoreLowerOverride", &P::VcoreLowerOverride));
    return f;
}

} // namespace

bool ParseTableInteger(std::string_view text, long long& out) {
    if (text.empty())
        return false;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    out = negative ? -value : value;
    return true;
}

std::span<const ProfileField> ProfileFields() {
    static const std::vector<ProfileField> fields = MakeFields();
    return fields;
}

const ProfileField* FindProfileField(std::string_view name) {
    for (const auto& f : ProfileFields())
        if (f.Name == name)
            return &f;
    return nullptr;
}

} // namespace sentinax
