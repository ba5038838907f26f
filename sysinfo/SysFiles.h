// Reading the small files the inventory is built from (sysfs attributes,
// procfs, os-release, the udev database). Every file is opened without
// blocking and read only when it is a regular file, up to a size cap; a file
// that is missing, unreadable (root-only) or of another kind reads as absent.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentinax {

// Files read whole are cut at this size: far above any cpuinfo or DMI table.
inline constexpr std::size_t kMaxInventoryFile = 8u << 20;
// sysfs attributes are one page at most.
inline constexpr std::size_t kMaxAttribute = 64u << 10;

std::optional<std::string> ReadFileText(const std::string& path,
                                        std::size_t maxBytes = kMaxInventoryFile);

// An attribute's text with surrounding blanks and line ends trimmed; absent
// when the file is unreadable or holds only blanks.
std::optional<std::string> ReadAttribute(const std::string& path);

// The names in a directory (no "." and ".."), in natural order; empty when it
// cannot be read.
std::vector<std::string> ListDirectory(const std::string& path);
bool IsDirectory(const std::string& path);

// The last component of a symbolic link's target ("e1000e" for a driver link).
std::optional<std::string> LinkTargetName(const std::string& path);

// KEY=VALUE lines (uevent, os-release). Blanks around the key are trimmed; a
// value in double or single quotes loses them and its backslash escapes.
// Lines without '=' and lines starting with '#' are skipped.
std::map<std::string, std::string> ParseKeyValueLines(std::string_view text);

std::string_view Trim(std::string_view text);

// Natural order: digit runs compare as numbers,
// so "eth2" < "eth10" and "card1" < "card10"; other characters compare as bytes.
bool NaturalLess(std::string_view a, std::string_view b);

} // namespace sentinax
