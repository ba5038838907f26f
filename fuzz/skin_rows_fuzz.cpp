// libFuzzer target for the skin row grammar: every row kind and the field
// splitter on rows of any length.
// Built with the others by SENTINAX_FUZZ=ON (fuzz/README.md).
#include "config/FieldText.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string row(reinterpret_cast<const char*>(data), size);

    (void)sentinax::ParseButtonRow(row, 0);
    (void)sentinax::ParseTextRow(row, 1);
    const sentinax::SliderInfo slider = sentinax::ParseSliderRow(row, 2);
    if (slider.Name.size() > row.size())
        std::abort();

    // The rest only ever shrinks, and once no comma is left it stays put.
    std::string rest = row;
    for (int i = 0; i < 64; ++i) {
        const std::size_t before = rest.size();
        const std::string field = sentinax::NextField(rest);
        if (rest.size() > before || field.size() > before)
            std::abort();
        if (rest.find(',') == std::string::npos && field != rest && before == rest.size())
            std::abort();
    }
    (void)sentinax::ParseDecimal(row);
    return 0;
}
