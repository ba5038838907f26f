// What the limit conversion needs from the window: moving an adjuster by its
// control name. The skinned dialog implements it; tests pass a recorder.
#pragma once

#include <string>

namespace sentinax {

class AdjusterAccess {
public:
    virtual ~AdjusterAccess() = default;
    // Moves the first adjuster with exactly this name; nothing when none has it.
    virtual void SetSliderPosition(const std::string& name, int position) = 0;
};

} // namespace sentinax
