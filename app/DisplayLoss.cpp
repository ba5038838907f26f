#include "DisplayLoss.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <mutex>
#include <utility>

namespace sentinax {

namespace {

std::function<void()> g_cleanUp;
QtMessageHandler g_previous = nullptr;
bool g_installed = false;
std::once_flag g_once;

void OnMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (g_cleanUp && DisplayLoss::IsLossNotice(message.toStdString())) {
        // Once. Under Wayland the notice may come from Qt's event thread and
        // the main thread at about the same time, each about to end the
        // process: the second waits here until the clean-up is done.
        std::call_once(g_once, [] {
            if (auto cleanUp = g_cleanUp)
                cleanUp();
        });
    }
    if (g_previous)
        g_previous(type, context, message);
    else
        qt_message_output(type, context, message);
}

} // namespace

bool DisplayLoss::IsLossNotice(std::string_view message) {
    // What the xcb and Wayland platform plugins say before they end the process.
    static constexpr std::array<std::string_view, 3> kNotices = {
        "The X11 connection broke",
        "The Wayland connection broke",
        "The Wayland connection experienced a fatal error",
    };
    for (std::string_view notice : kNotices) {
        if (message.find(notice) != std::string_view::npos)
            return true;
    }
    return false;
}

void DisplayLoss::Install(std::function<void()> cleanUp) {
    g_cleanUp = std::move(cleanUp);
    if (!g_installed) {
        g_previous = qInstallMessageHandler(OnMessage);
        g_installed = true;
    }
}

void DisplayLoss::Uninstall() {
    g_cleanUp = nullptr;
    if (g_installed) {
        qInstallMessageHandler(g_previous);
        g_previous = nullptr;
        g_installed = false;
    }
}

} // namespace sentinax
