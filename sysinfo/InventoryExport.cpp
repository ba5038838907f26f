#include "InventoryExport.h"

#include "PropertyLine.h"
#include "WmiCategory.h"
#include "WmiField.h"

#include <charconv>
#include <cstdio>

namespace sentinax {

namespace {

// Calls visit(category index, instance path, object or nullptr) for every instance.
template <typename Visit> bool Walk(InventorySource& source, Visit visit) {
    if (!source.Connect(std::string(kWmiNamespace))) {
        return false;
    }
    for (std::size_t i = 0; i < kWmiCategories.size(); ++i) {
        visit(i, nullptr, nullptr);
        auto enumeration = source.EnumerateInstances(std::string(kWmiCategories[i].ClassName));
        while (enumeration) {
            auto instance = enumeration->Next();
            if (!instance) {
                break;
            }
            const std::string path =
                instance->RelativePath.value_or(std::string(kWmiCategories[i].ClassName));
            std::optional<InventoryObject> object;
            if (instance->RelativePath) {
                object = source.GetObject(*instance->RelativePath);
            }
            visit(i, &path, object ? &*object : nullptr);
        }
    }
    return true;
}

std::string JsonValue(const InventoryProperty& property) {
    if (!property.Value) {
        return "null";
    }
    const WmiValue& value = *property.Value;
    switch (value.Type) {
    case kWmiString:
        return JsonString(value.Text);
    case kWmiBoolean:
        return value.Integer != 0 ? "true" : "false";
    case kWmiInt16:
    case kWmiInt32:
        // uint16 and uint32 travel as signed 32-bit: show them unsigned again.
        if (property.CimType && property.CimType->rfind("uint", 0) == 0) {
            return std::to_string(static_cast<uint32_t>(value.Integer));
        }
        return std::to_string(value.Integer);
    case kWmiUint8:
        return std::to_string(static_cast<uint8_t>(value.Integer));
    case kWmiReal32:
    case kWmiReal64: {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.Real);
        return result.ec == std::errc{} ? std::string(buffer, result.ptr) : "null";
    }
    default:
        return "null";
    }
}

// Text for a terminal: control characters as blanks, broken UTF-8 as U+FFFD,
// so one item stays one line.
std::string Readable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto ch = DecodeUtf8(text, i);
        if (!ch) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            if (ch->CodePoint < 0x20 || ch->CodePoint == 0x7F) {
                out += ' ';
            } else {
                out.append(text.substr(i, ch->Length));
            }
            i += ch->Length;
        }
    }
    return out;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
            ++i;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const auto ch = DecodeUtf8(text, i)) {
            out.append(text.substr(i, ch->Length));
            i += ch->Length;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out + "\"";
}

bool WriteInventoryText(InventorySource& source, std::ostream& out) {
    return Walk(source, [&out](std::size_t category, const std::string* path,
                               const InventoryObject* object) {
        if (!path) {
            out << kWmiCategories[category].Label << '\n';
            return;
        }
        out << "  " << Readable(*path) << '\n';
        if (!object || !object->Properties) {
            return;
        }
        for (const InventoryProperty& property : *object->Properties) {
            const auto line = BuildPropertyLine(property);
            if (!line) {
                break;
            }
            if (IsPropertyLineShown(*line)) {
                out << "    " << Readable(*line) << '\n';
            }
        }
    });
}

bool WriteInventoryJson(InventorySource& source, std::ostream& out) {
    bool firstInstance = true;
    const bool ok = Walk(source, [&](std::size_t category, const std::string* path,
                                     const InventoryObject* object) {
        if (!path) {
            out << (category == 0 ? "{\"categories\":[\n" : "]},\n")
                << "{\"label\":" << JsonString(kWmiCategories[category].Label)
                << ",\"class\":" << JsonString(kWmiCategories[category].ClassName)
                << ",\"instances\":[";
            firstInstance = true;
            return;
        }
        out << (firstInstance ? "\n" : ",\n") << " {\"path\":" << JsonString(*path)
            << ",\"properties\":[";
        firstInstance = false;
        bool firstProperty = true;
        if (object && object->Properties) {
            for (const InventoryProperty& property : *object->Properties) {
                out << (firstProperty ? "\n" : ",\n") << "  {\"name\":" << JsonString(property.Name)
                    << ",\"type\":" << JsonString(property.CimType.value_or(""))
                    << ",\"key\":" << (property.Key == KeyQualifier::True ? "true" : "false")
                    << ",\"value\":" << JsonValue(property) << '}';
                firstProperty = false;
            }
        }
        out << "]}";
    });
    if (ok) {
        out << "]}\n]}\n";
    }
    return ok;
}

} // namespace sentinax
