// Reading the settings out of the skin file and writing back the changed ones.
#pragma once

#include "AppSettings.h"
#include "CIniFile.h"

#include <string>
#include <string_view>

namespace sentinax {

// Reads Screen/IntervalTime, Screen/Celsius and Screen/SoundWarning (missing:
// 0), and the position (ninth field) of every non-empty TRACKBARINFO row with
// key 1..18 among rows 1..k, k being the number of keys the section holds.
// Positions of rows that are absent or empty keep their old value.
void LoadSettings(const CIniFile& ini, AppSettings& settings);

// Writes what changed during the run, in this order, with one rewrite of the
// file at skinPath: the built-in row of every changed adjuster followed by its
// position (TRACKBARINFO, key index + 1); SCREEN/IntervalTime and
// SCREEN/SoundWarning when the Settings dialog was confirmed; SCREEN/Celsius
// when the unit was toggled. Anything else in the file stays byte for byte.
// On success the change flags are cleared, so a second call writes nothing;
// on failure (read-only file, full disk) the file stays intact, the reason goes
// to the reporter, the flags stay set and false is returned.
// With SaveRefused set nothing is written: the reason is reported when
// something changed, and false is returned. With MissingFileText set, a file
// that still does not exist is created from that text with the changes in it
// (whether or not anything changed), and the text is forgotten once written.
bool SaveSettings(const std::string& skinPath, AppSettings& settings);

// Queues into ini (CIniFile::SetString) the values SaveSettings writes, in its
// order; true when anything changed. The save commits them; the fuzz target
// applies them to a file held in memory.
bool QueueChangedSettings(CIniFile& ini, const AppSettings& settings);
// The row written for a changed adjuster (item 0..17): its built-in row and
// its position.
std::string ChangedAdjusterRow(const AppSettings& settings, std::size_t item);

// Why the settings in this skin file cannot be used, so that the shipped
// ones must be: the file is missing or cannot be read, or it holds neither an
// IntervalTime, Celsius or SoundWarning key nor an adjuster row (an empty,
// binary or UTF-16 file). Empty when they can be used.
std::string UnusableSettingsReason(const CIniFile& ini);

// An interval outside 1 s .. 1 hour is no interval a user set: it is held at
// the nearest end. Returns the message saying so, quoting storedText (the
// value as the file holds it: "abc", not the 0 it reads as), or empty when it
// was sane.
constexpr int kMinIntervalSeconds = 1;
constexpr int kMaxIntervalSetting = 3600;
std::string ClampInterval(AppSettings& settings, std::string_view storedText);

} // namespace sentinax
