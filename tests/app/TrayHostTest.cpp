// What a touch on the tray icon does in each kind of tray.
#include "app/TrayHost.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

TEST(TrayHost, OnlyTheTraysOwnRestoreGestureBringsTheWindowBack) {
    struct Case {
        TrayHostKind host;
        TrayActivation how;
        bool restores;
        const char* why;
    };
    const Case cases[] = {
        {TrayHostKind::StatusNotifier, TrayActivation::Trigger, true,
         "a StatusNotifier host's one activation"},
        {TrayHostKind::StatusNotifier, TrayActivation::DoubleClick, true, "never sent, harmless"},
        {TrayHostKind::StatusNotifier, TrayActivation::Context, false, "the menu opens instead"},
        {TrayHostKind::StatusNotifier, TrayActivation::Middle, false, "secondary activation"},
        {TrayHostKind::XEmbed, TrayActivation::DoubleClick, true, "the XEmbed double-click"},
        {TrayHostKind::XEmbed, TrayActivation::Trigger, false,
         "a single click, also the first half of every double-click"},
        {TrayHostKind::XEmbed, TrayActivation::Context, false, "the menu"},
        {TrayHostKind::None, TrayActivation::Trigger, false, "no tray, no icon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ActivationRestores(c.host, c.how), c.restores) << c.why;
}

} // namespace
} // namespace sentinax
