// A library with only some entry points, for the binding's missing-export path.
#include <cstdint>

extern "C" {
__attribute__((visibility("default"))) uint32_t GetVid(void) {
    return 0x8086;
}
__attribute__((visibility("default"))) uint8_t DetectLM78(void) {
    return 7;
}
}
