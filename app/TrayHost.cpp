#include "TrayHost.h"

namespace sentinax {

bool ActivationRestores(TrayHostKind host, TrayActivation how) {
    switch (host) {
    case TrayHostKind::StatusNotifier:
        return how == TrayActivation::Trigger || how == TrayActivation::DoubleClick;
    case TrayHostKind::XEmbed:
        return how == TrayActivation::DoubleClick;
    case TrayHostKind::None:
        break;
    }
    return false;
}

} // namespace sentinax
