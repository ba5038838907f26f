# cmake -DOUTPUT=<cpp file> -DINPUTS=<skin files, ;-separated> -P EmbedShippedSkins.cmake
# Puts the shipped skin files into the program, so that a user's skin file
# that cannot be read can be replaced by the shipped one's settings and rows.
# Each file goes in as bytes, so no text in it can end a string literal.
set(content "// Generated from data/Skins; do not edit.\n#include \"ShippedSkins.h\"\n\n#include <array>\n\nnamespace sentinax {\n\nnamespace {\n")
set(entries "")
set(n 0)
foreach(input ${INPUTS})
  get_filename_component(name ${input} NAME)
  file(READ ${input} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND content "const unsigned char kSkin${n}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(reinterpret_cast<const char*>(kSkin${n}), sizeof kSkin${n} - 1)},\n")
  math(EXPR n "${n} + 1")
endforeach()
string(APPEND content "\nstruct Entry {\n    std::string_view Name;\n    std::string_view Text;\n};\n\nconst std::array<Entry, ${n}> kShipped{{\n${entries}}};\n\n} // namespace\n\n")
string(APPEND content "std::optional<std::string_view> ShippedSkinText(std::string_view fileName) {\n    for (const Entry& e : kShipped) {\n        if (e.Name == fileName)\n            return e.Text;\n    }\n    return std::nullopt;\n}\n\n} // namespace sentinax\n")
file(WRITE ${OUTPUT}.tmp "${content}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
