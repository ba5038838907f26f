// How much a message for the user matters, as syslog ranks it: the journal
// files each line of a service's output under the number in its "<n>" prefix.
#pragma once

namespace sentinax {

enum class MessagePriority {
    Critical = 2, // the machine is about to be powered off
    Error = 3,    // the protection cannot do what it should (no power-off possible)
    Warning = 4,  // a reading out of range, the case opened, a file that cannot be written
    Notice = 5,   // a normal but significant event: a countdown cancelled, a latch cleared
    Info = 6,     // what the monitor found and decided at start-up
};

} // namespace sentinax
