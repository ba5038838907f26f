// libFuzzer target for the profile file reader and writer.
// Built with the others by SENTINAX_FUZZ=ON (fuzz/README.md).
#include "config/FieldText.h"
#include "config/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using sentinax::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc(bytes);
    // Reading must never change the text.
    if (doc.Bytes() != bytes)
        std::abort();

    std::vector<std::string> names;
    for (const char* section : {"Screen", "TRACKBARINFO", "BUTTONINFO", ""}) {
        doc.GetKeyNames(section, names);
        for (const std::string& name : names) {
            if (doc.GetString(section, name, "").size() > IniDocument::kMaxValueLength)
                std::abort();
        }
    }

    // A write reads back as written and leaves the text parseable.
    const std::string value = bytes.substr(0, bytes.find_first_of("\r\n")).substr(0, 100);
    for (const char* section : {"Screen", "TRACKBARINFO", "New"}) {
        if (!doc.SetString(section, "Key", value))
            continue;
        const std::string_view trimmed = sentinax::TrimBlanks(value);
        const bool quoted = !trimmed.empty() && (trimmed.front() == '"' || trimmed.front() == '\'');
        if (!quoted && doc.GetString(section, "key", "-") != trimmed)
            std::abort();
        IniDocument again(doc.Bytes());
        if (again.Bytes() != doc.Bytes())
            std::abort();
    }
    return 0;
}
