// libFuzzer target: any bytes as the start of a sound file, through the check
// every file passes before the sound player may see it.
#include "alerts/WaveFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    sentinax::WaveFormat format;
    const std::string why = sentinax::CheckWaveHeader(bytes, &format);
    // Accepted means a format the player can use and some sound data.
    if (why.empty() && (format.Channels == 0 || format.SampleRate == 0 || format.DataBytes == 0))
        std::abort();
    if (!why.empty() && why.size() > 60)
        std::abort(); // reasons are short texts for a message
    return 0;
}
