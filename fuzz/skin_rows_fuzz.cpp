// libFuzzer target for the skin row grammar: every row kind and the field
// splitter on rows of any length.
// Build: clang++ -std=c++20 -fsanitize=fuzzer,address,undefined -I. fuzz/skin_rows_fuzz.cpp
//        skin/SkinReader.cpp config/CIniFile.cpp config/IniDocument.cpp config/FieldText.cpp
//        -o skin_rows_fuzz
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
