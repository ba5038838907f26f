// A simulator scenario: what the simulated board answers on each entry point.
// The file format is described in docs/hmio-scenarios.md.
#pragma once

#include "Sequence.h"
#include "TextParse.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hmio {

struct EcResponse {
    Sequence<std::vector<uint8_t>> Replies; // one reply (a byte list) per command
};

struct Scenario {
    // Board identity for the synthesized SMBIOS table. Empty text: no string.
    std::string Manufacturer;
    std::string Product;
    std::string Version;
    bool HasBoard = false; // any of the three was given
    // "dmi <path>": raw structure table file (relative to the scenario's folder);
    // "dmi none": no DMI data at all.
    std::optional<std::string> DmiTableFile;
    bool NoDmi = false;

    uint32_t Vendor = 0;
    Sequence<int64_t> Load{{1}};
    Sequence<int64_t> Lm78{{1}};
    Sequence<int64_t> Lm75{{1}};
    std::array<Sequence<int64_t>, 30> Slots; // empty: slot left alone
    std::array<Sequence<int64_t>, 8> Params; // empty: byte left alone
    Sequence<int64_t> Chassis;               // intrusion switch events, 1 = opened
    bool ChassisClearWorks = true;
    // The CPU temperature sensor's critical limit the status reports, whole
    // degrees Celsius; 0: none. Any number, so that bad ones can be played.
    int32_t CpuTempCrit = 0;

    // Embedded controller, keyed by (command << 8) | argument.
    std::map<uint16_t, EcResponse> Ec;
    bool EcNoOutput = false;    // the output-full bit never rises
    int EcInputBusyPolls = 0;   // input-full stays set this many status reads per byte
    int EcOutputDelayPolls = 0; // status reads before a reply shows output-full
};

// Parses scenario text; fileName names it in messages and gives the folder for
// relative paths. Malformed lines are reported ("file:line: ...") and ignored.
Scenario ParseScenario(std::string_view text, const std::string& fileName, ParseErrors& errors);

} // namespace hmio
