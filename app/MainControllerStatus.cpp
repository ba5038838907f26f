// The monitor's side of the hardware library's read status and messages.
#include "MainController.h"

#include "hardware/LibraryStatus.h"
#include "skin/AdjusterHint.h"

namespace sentinax {

// After a read: items whose source is lost have no reading (their slots are
// cleared, so the shared block never shows a stale value as live); items read
// through guessed wiring are shown but not checked.
void MainController::ApplyLibraryStatus() {
    if (profile_.SensorSource != SensorSourceKind::Library) {
        sensors_.Lost = 0;
        sensors_.Unchecked = 0;
        return;
    }
    const HmioStatus status = ReadHmioStatus(library_);
    const ItemStatus items = ItemsOfStatus(profile_, status);
    sensors_.Lost = items.Lost;
    sensors_.Unchecked = items.Unchecked;
    for (int slot = 0; slot < kRawValueCount; ++slot) {
        if (status.LostSlots & (1u << slot))
            sensors_.Raw[slot] = 0;
    }
    for (int byte = 0; byte < kChipParamCount; ++byte) {
        if (status.LostParams & (1u << byte))
            sensors_.Params[byte] = 0;
    }
}

void MainController::RelayLibraryNotices() {
    if (!libraryBound_)
        return;
    for (std::string notice = NextHmioNotice(library_); !notice.empty();
         notice = NextHmioNotice(library_)) {
        platform_.Report(notice);
        view_.SetFieldText(kHintField, notice);
    }
}

} // namespace sentinax
