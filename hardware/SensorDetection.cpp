#include "SensorDetection.h"

#include "EcTransaction.h"

namespace sentinax {

namespace {

bool SelectorReportsSystemTemp(uint8_t selector) {
    switch (selector) {
    case 2:
    case 3:
    case 4:
    case 6:
    case 12:
    case 22:
        return true;
    default:
        return false;
    }
}

void TakeCpuTemperature(const BoardProfile& profile, SensorState& state) {
    const uint8_t t = state.Params[profile.CpuTempSlot];
    if (CpuTemperaturePresent(profile, t)) {
        state.LastShown.CpuTempRaw = t;
        state.CpuTempValid = true;
    }
}

DetectionResult DetectEmbeddedController(const HardwareLibrary& lib, const BoardProfile& profile,
                                         SensorState& state) {
    const uint8_t command[2] = {0x13, 0x14};
    uint8_t buffer[2] = {2, 0};
    if (!EcTransaction(lib, command, 2, false, buffer))
        return DetectionResult::ControllerSilent;
    state.HardwareReady = true;
    state.CpuTempValid = true;
    const int32_t rpm = (buffer[1] * 256 + buffer[0]) * 3;
    state.Raw[profile.CpuFanSlot] = rpm;
    if (rpm > 0)
        Presence(state.Present, PresenceItem::CpuFan) = 1;
    return DetectionResult::Ready;
}

} // namespace

// The test tells a sensor that is not there from a hot one: a missing diode or
// an unwired input reads as one of a few fixed bytes, or as nothing above the
// board's offset, whereas a CPU at 100 degrees or more is a reading that must
// be watched, not ignored.
bool CpuTemperaturePresent(const BoardProfile& profile, uint8_t byte) {
    switch (byte) {
    case 0x00:           // nothing connected
    case 0x7F:           // an open diode on many chips (+127)
    case 0x80:           // the same as a signed reading (-128)
    case kChipParamFill: // never written by the library
    case 0xFF:           // the bus reads all ones
        return false;
    default:
        break;
    }
    const int d = byte - profile.CpuTempOffset;
    return d > 0 && d < kMaxPlausibleCpuCelsius;
}

bool RetryCpuTemperature(const HardwareLibrary& lib, const BoardProfile& profile,
                         SensorState& state) {
    if (state.CpuTempValid)
        return true;
    // A block of its own: the tick's bytes stay as they were read.
    ChipParams probe;
    probe.fill(kChipParamFill);
    probe[0] = static_cast<uint8_t>(profile.ChipCommand & 0xFF);
    if (!lib.DetectLM75(probe.data(), profile.ChipSelector))
        return false;
    const uint8_t t = probe[profile.CpuTempSlot];
    if (!CpuTemperaturePresent(profile, t))
        return false;
    state.Params[profile.CpuTempSlot] = t;
    state.LastShown.CpuTempRaw = t;
    state.CpuTempValid = true;
    return true;
}

DetectionResult DetectSensorHardware(const HardwareLibrary& lib, const BoardProfile& profile,
                                     SensorState& state, const SleepFn& sleep) {
    if (profile.SensorSource == SensorSourceKind::EmbeddedController)
        return DetectEmbeddedController(lib, profile, state);

    if (!lib.DetectLM78()) {
        sleep(kDetectRetryWaitMs);
        if (!lib.DetectLM78()) {
            state.HardwareReady = false;
            return DetectionResult::ChipSilent;
        }
    }
    state.HardwareReady = true;

    state.Params.fill(kChipParamFill);
    state.Params[0] = static_cast<uint8_t>(profile.ChipCommand & 0xFF);
    if (lib.DetectLM75(state.Params.data(), profile.ChipSelector)) {
        TakeCpuTemperature(profile, state);
    } else {
        sleep(kDetectRetryWaitMs);
        state.Params[0] = static_cast<uint8_t>(profile.ChipCommand & 0xFF);
        if (lib.DetectLM75(state.Params.data(), profile.ChipSelector))
            TakeCpuTemperature(profile, state);
        else
            state.CpuTempValid = false;
    }

    lib.EnableSMSCHWMonitor();
    state.Raw[RawSlot::SystemTemp] = profile.ChipCommand;
    lib.ValueRAM(state.Raw.data());
    DerivePresence(profile, state);

    if (SelectorReportsSystemTemp(profile.ChipSelector) && state.Params[1] > 0) {
        Presence(state.Present, PresenceItem::SystemTemp) = 1;
        state.LastShown.SystemTemp = state.Params[1];
    }
    return DetectionResult::Ready;
}

void DerivePresence(const BoardProfile& p, SensorState& s) {
    const RawValues& raw = s.Raw;
    auto flag = [&](PresenceItem item) -> uint8_t& { return Presence(s.Present, item); };

    flag(PresenceItem::Vcore) = raw[RawSlot::Vcore] > 0;
    flag(PresenceItem::V33) = raw[p.V33Slot] > 0;
    if (p.NoRail33)
        flag(PresenceItem::V33) = 0;

    flag(PresenceItem::V5) = raw[RawSlot::V5] > 0;
    flag(PresenceItem::V12) = raw[p.V12Slot] > 0;
    if (p.NoRail12)
        flag(PresenceItem::V12) = 0;
    if (p.NoVoltages) {
        flag(PresenceItem::Vcore) = 0;
        flag(PresenceItem::V33) = 0;
        flag(PresenceItem::V5) = 0;
        flag(PresenceItem::V12) = 0;
    }
    if (p.NoRail5)
        flag(PresenceItem::V5) = 0;

    flag(PresenceItem::SystemTemp) = !p.SysTempNeverFlagged && raw[RawSlot::SystemTemp] > 0;
    if (p.NoSysTemp)
        flag(PresenceItem::SystemTemp) = 0;

    flag(PresenceItem::CpuFan) = raw[p.CpuFanSlot] > 0;
    flag(PresenceItem::SysFan) = !p.FanFlagsOff && raw[p.SysFanSlot] > 0;
    flag(PresenceItem::ThirdFan) = !p.FanFlagsOff && raw[p.PowerFanSlot] > 0;

    // The first readings are kept whatever the suppressions say.
    SensorReadings& first = s.LastShown;
    auto keep = [](int32_t value, int32_t& into) {
        if (value > 0)
            into = value;
    };
    keep(raw[RawSlot::Vcore], first.Vcore);
    keep(raw[p.V33Slot], first.V33);
    keep(raw[RawSlot::V5], first.V5);
    keep(raw[p.V12Slot], first.V12);
    keep(raw[RawSlot::SystemTemp], first.SystemTemp);
    keep(raw[p.CpuFanSlot], first.CpuFan);
    keep(raw[p.SysFanSlot], first.SysFan);
    keep(raw[p.PowerFanSlot], first.PowerFan);
}

std::string DriverFailureMessage(const std::string& versionText) {
    if (versionText.find("6.") != std::string::npos)
        return "Failed to load Hardware Monitor Driver!\nThis program must run as administrator.";
    return "Failed to load Hardware Monitor Driver !";
}

} // namespace sentinax
