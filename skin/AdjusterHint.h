// The texts the main window writes into its hint field: the limit an adjuster
// is being set to, and the pointer hints of named controls.
#pragma once

#include <string>

namespace sentinax {

// The text field that receives the hints.
inline constexpr const char* kHintField = "TEXT_HINT";

// The hint of adjuster index (a LimitItem, 0..17) at position: the limit in
// words, for example "CPU fan min threshold : 1500 rpm". Temperatures follow
// the unit shown (celsius: 'C, otherwise 'F), truncated toward zero; volts are
// printed with two decimals, rounded, and may therefore read one hundredth
// above the truncated millivolt limit actually used. sysFanUpperBase: the
// board's base of the system fan's upper limit. An index outside 0..17 gives
// an empty text. Numbers never follow the user's locale.
std::string AdjusterHint(int index, int position, bool celsius, int sysFanUpperBase);

// The hint shown while the pointer is over a control (an empty name: the face
// itself). Only a control named NONE has one ("none"); everything else clears
// the hint.
std::string PointerHint(const std::string& controlName);

} // namespace sentinax
