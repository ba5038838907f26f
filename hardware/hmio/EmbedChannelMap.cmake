# cmake -DINPUT=<map file> -DOUTPUT=<cpp file> -P EmbedChannelMap.cmake
# Puts the shipped channel map into the library, so that the built-in default
# and data/hwmon-channels.map are always the same text.
file(READ ${INPUT} text)
set(content "// Generated from ${INPUT}; do not edit.\n#include \"ChannelMap.h\"\n\nnamespace hmio {\nstd::string_view BuiltinChannelMapText() {\n    return R\"hmiomap(${text})hmiomap\";\n}\n} // namespace hmio\n")
file(WRITE ${OUTPUT}.tmp "${content}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
