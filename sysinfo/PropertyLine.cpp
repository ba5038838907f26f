#include "PropertyLine.h"

#include "FormatWmiValue.h"

namespace sentinax {

std::optional<std::string> BuildPropertyLine(const InventoryProperty& property) {
    if (property.Name.empty()) {
        return std::nullopt;
    }
    std::string line = property.Name + " (";
    if (!property.HasQualifiers) {
        line += ")";
    } else {
        if (!property.CimType) {
            return std::nullopt;
        }
        line += *property.CimType;
        switch (property.Key) {
        case KeyQualifier::True:
            line += ")*";
            break;
        case KeyQualifier::Absent:
            line += ")";
            break;
        case KeyQualifier::False:
        case KeyQualifier::Failed:
            return std::nullopt;
        }
    }
    if (!property.Value) {
        return std::nullopt;
    }
    line += "   ==> ";
    if (const auto text = FormatWmiValue(*property.Value)) {
        line += *text;
    }
    return line;
}

bool IsPropertyLineShown(std::string_view line) {
    return line.find("null") == std::string_view::npos;
}

} // namespace sentinax
