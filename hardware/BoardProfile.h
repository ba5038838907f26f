// The board-dependent configuration, decided once at start-up from the board
// table and constant afterwards. Defaults are those of a board no row names.
#pragma once

#include "HostMode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sentinax {

enum class SensorSourceKind { Library, EmbeddedController };
enum class CpuFanFilterKind { Average, WindowMinAverage };
enum class TempSourceRuleKind { Direct, SwapWithSystem, SecondByteAsCpu, FromRawSlots };

// How +5 V is formed (result into raw slot 3); products truncate toward zero.
enum class FiveVoltRuleKind {
    AsRead,                // slot 3 unchanged (default)
    CopySlot4,             // slot 4
    Slot4Times1_5,         // slot 4 * 1.5
    Slot5Times1_6,         // slot 5 * 1.6
    Slot5Times1_5,         // slot 5 * 1.5
    Slot6Times1_61,        // slot 6 * 1.61
    Slot3Times1_6,         // slot 3 * 1.6
    Slot3Times1_5,         // slot 3 * 1.5
    Slot1DoubledTimes1_61, // (slot 1 * 2) * 1.61
};

// How +12 V is formed in place at V12Slot: integer product first, then the
// floating factor, then truncation toward zero.
enum class TwelveVoltRuleKind {
    Times12Then20_63, // (v * 12) * 20/63; left as read when V12Slot is 4 (default)
    Times6_6,         // v * 6.6
    Times24Then0_3125,
    Times12Then0_3125,
    Times24Then20_63,
};

enum class FanEmulationKind { None, Jitter, BandedJitter };
// When the CPU and system fan warnings are frozen (not evaluated).
enum class FanWarnTempGateKind { None, Below48, Below41, Always };

// A limit forced at start-up: the adjuster is moved to Position and the limit
// set to Value (which need not be what the position gives by formula).
struct LimitOverride {
    int Position = 0;
    int32_t Value = 0;
    bool operator==(const LimitOverride&) const = default;
};

struct BoardProfile {
    bool NoPowerFan = false;
    bool AltRailScaling = false;
    std::string SkinFile = "Skins/Skin.ini";
    int CpuFanSlot = 8; // vendor 0x8086 boards default to 10, 9, 8
    int SysFanSlot = 9;
    int PowerFanSlot = 10;
    int CpuTempOffset = 0; // °C subtracted from the CPU temperature byte
    SensorSourceKind SensorSource = SensorSourceKind::Library;
    int V12Slot = 4;
    int V33Slot = 2;
    int SamplesPerInterval = 1;
    int CpuTempSlot = 0; // index into ChipParams
    bool CpuTempFloorCheck = false;
    uint8_t ChipSelector = 0;
    ::sentinax::HostMode HostMode = ::sentinax::HostMode::None;
    int TwelveVoltOffset = 0; // mV subtracted after the +12 V conversion
    int ChipCommand = 0;
    // Graph captions of the CPU, system and third fan; the third is empty on
    // boards without a third fan.
    std::array<std::string, 3> FanCaptions{"CPU FAN", "SYS FAN", "PS FAN"};

    // Presence suppressions applied after the first reading.
    bool NoRail33 = false;
    bool NoRail12 = false;
    bool NoVoltages = false;
    bool NoRail5 = false;
    bool NoSysTemp = false;
    bool SysTempNeverFlagged = false;
    bool FanFlagsOff = false;

    // Sampling and conversion switches.
    CpuFanFilterKind CpuFanFilter = CpuFanFilterKind::Average;
    int CpuTempCorrection = 0; // °C added after the offset on evaluation ticks
    TempSourceRuleKind TempSourceRule = TempSourceRuleKind::Direct;
    bool SystemTempFromChip = false;
    bool SysTempUsesCpuOffset = false;
    FiveVoltRuleKind FiveVoltRule = FiveVoltRuleKind::AsRead;
    TwelveVoltRuleKind TwelveVoltRule = TwelveVoltRuleKind::Times12Then20_63;
    FanEmulationKind FanEmulation = FanEmulationKind::None;
    FanWarnTempGateKind FanWarnTempGate = FanWarnTempGateKind::None;
    bool PowerFanShownNA = false;
    bool PowerFanUnmonitored = false;
    bool CpuFanUnmonitored = false;
    bool SysFanShownZero = false;
    bool AutoHide = false;
    bool ChassisSupported = false;
    bool FrostlineSupported = false;
    // The one board whose system fan the panel-display feed never switches on.
    bool PanoraSysFanExcluded = false;

    // Limit overrides and bases.
    std::optional<LimitOverride> CpuTempLimitOverride;
    std::optional<LimitOverride> CpuFanLimitOverride;
    int32_t SysFanUpperBase = 5000;
    bool VcoreLowerOverride = false;
};

} // namespace sentinax
