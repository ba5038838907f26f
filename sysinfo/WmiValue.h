// One property value as the inventory delivers it: an automation type code and
// the matching payload. The codes are the ones FormatWmiValue understands; the
// constructors below map each CIM type onto the code it is delivered as
// (unsigned 16- and 32-bit integers as signed 32-bit, 64-bit integers and
// date-times as strings, 8-bit unsigned as a byte).
#pragma once

#include <cstdint>
#include <string>

namespace sentinax {

// Automation type codes (the array flag is combined with an element code).
enum WmiType : uint16_t {
    kWmiEmpty = 0,
    kWmiNull = 1,
    kWmiInt16 = 2,
    kWmiInt32 = 3,
    kWmiReal32 = 4,
    kWmiReal64 = 5,
    kWmiCurrency = 6,
    kWmiDate = 7,
    kWmiString = 8,
    kWmiObjectRef = 9,
    kWmiBoolean = 11,
    kWmiUnknownObject = 13,
    kWmiUint8 = 17,
    kWmiArray = 0x2000,
};

struct WmiValue {
    uint16_t Type = kWmiNull;
    // kWmiInt16, kWmiInt32, kWmiBoolean (non-zero: true), kWmiUint8.
    int32_t Integer = 0;
    // kWmiReal32 and kWmiReal64.
    double Real = 0.0;
    // kWmiString: UTF-8 text.
    std::string Text;

    static WmiValue Null() { return {}; }
    static WmiValue String(std::string text) { return {kWmiString, 0, 0.0, std::move(text)}; }
    static WmiValue Boolean(bool value) { return {kWmiBoolean, value ? 1 : 0, 0.0, {}}; }
    // "sint16" and "char16".
    static WmiValue Sint16(int16_t value) { return {kWmiInt16, value, 0.0, {}}; }
    static WmiValue Sint32(int32_t value) { return {kWmiInt32, value, 0.0, {}}; }
    // "uint16" and "uint32" travel as signed 32-bit: above 2^31 - 1 they read negative.
    static WmiValue Uint32(uint32_t value) {
        return {kWmiInt32, static_cast<int32_t>(value), 0.0, {}};
    }
    static WmiValue Uint8(uint8_t value) { return {kWmiUint8, value, 0.0, {}}; }
    // "uint64" and "sint64" travel as decimal strings.
    static WmiValue Uint64(uint64_t value) { return String(std::to_string(value)); }
    static WmiValue Real64(double value) { return {kWmiReal64, 0, value, {}}; }
    static WmiValue Real32(float value) { return {kWmiReal32, 0, value, {}}; }
    // "datetime": the CIM text yyyymmddHHMMSS.mmmmmmsUUU as a string.
    static WmiValue Datetime(std::string cimText) { return String(std::move(cimText)); }
};

// The CIM datetime text of a local time: yyyymmddHHMMSS.000000 then the sign and
// the offset from UTC in minutes over three digits ("20240325090502.000000+060").
std::string CimDatetime(int year, int month, int day, int hour, int minute, int second,
                        long utcOffsetSeconds);

} // namespace sentinax
