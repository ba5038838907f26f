#include "DeviceFacts.h"

#include "SysFiles.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace sentinax {

std::optional<std::string> Attr(const std::string& folder, const char* name) {
    return ReadAttribute(folder + "/" + name);
}

std::optional<std::string> DriverName(const std::string& sysPath) {
    if (auto name = LinkTargetName(sysPath + "/device/driver")) {
        return name;
    }
    return LinkTargetName(sysPath + "/driver");
}

std::optional<std::string> Modalias(const std::string& sysPath) {
    if (auto alias = Attr(sysPath, "device/modalias")) {
        return alias;
    }
    return Attr(sysPath, "modalias");
}

HardwareNames NamesFor(DeviceEnumerator& devices, const DeviceInfo& device) {
    HardwareNames names;
    const auto take = [&names](const PropertyMap& values) {
        const auto vendor = values.find("ID_VENDOR_FROM_DATABASE");
        const auto model = values.find("ID_MODEL_FROM_DATABASE");
        if (!names.Vendor && vendor != values.end() && !vendor->second.empty())
            names.Vendor = vendor->second;
        if (!names.Model && model != values.end() && !model->second.empty())
            names.Model = model->second;
    };
    take(device.Properties);
    if (names.Vendor && names.Model) {
        return names;
    }
    const std::string parent = device.SysPath + "/device";
    take(devices.PropertiesAt(parent));
    if (names.Vendor && names.Model) {
        return names;
    }
    if (const auto alias = Attr(parent, "modalias")) {
        take(devices.HardwareDatabase(*alias));
    }
    return names;
}

std::optional<uint64_t> ParseUnsigned(std::string_view text) {
    text = Trim(text);
    uint64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int64_t> ParseSigned(std::string_view text) {
    text = Trim(text);
    int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<uint64_t> ParseHex(std::string_view text) {
    text = Trim(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    uint64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void PutString(ValueMap& values, const char* name, const std::optional<std::string>& text) {
    if (text && !text->empty()) {
        values[name] = WmiValue::String(*text);
    }
}

void PutUint32(ValueMap& values, const char* name, std::optional<uint64_t> number) {
    if (number) {
        values[name] =
            WmiValue::Uint32(static_cast<uint32_t>(std::min<uint64_t>(*number, UINT32_MAX)));
    }
}

void PutUint64(ValueMap& values, const char* name, std::optional<uint64_t> number) {
    if (number) {
        values[name] = WmiValue::Uint64(*number);
    }
}

void PutBoolean(ValueMap& values, const char* name, std::optional<bool> flag) {
    if (flag) {
        values[name] = WmiValue::Boolean(*flag);
    }
}

std::optional<std::string> NonEmpty(std::string text) {
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

} // namespace sentinax
