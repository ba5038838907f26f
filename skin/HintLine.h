// What the hint line shows while nothing is pointed at or being set: the
// standing messages. The pointer's own hints and the limit being dragged show
// over them for the moment; the next pointer move brings the standing message
// back instead of clearing the line.
#pragma once

#include <array>
#include <string>

namespace sentinax {

// The hint field's text while the skin file's settings cannot be used.
inline constexpr const char* kUnreadableSettingsHint =
    "Skin file unreadable - shipped settings in use, nothing is saved";
// The hint field's text while the skin file does not exist yet.
inline constexpr const char* kMissingSkinHint =
    "No skin file - shipped settings in use, the file is made at exit";
// No tray to hide to: the window is minimised to the task bar instead.
inline constexpr const char* kNoTrayHint = "No tray - the minimised window waits in the task bar";
// The desktop does not tell other programs the titles of its windows.
inline constexpr const char* kNoTitleWatchHint = "No pause by window title in this session";

// Standing messages, most important first. The first two wait for the user to
// act (a click on the face, a limit moved); NoTray stays until a tray appears.
enum class StandingHint { SkinSettings, TitleWatch, NoTray };

class HintLine {
public:
    void Set(StandingHint kind, std::string text);
    void Clear(StandingHint kind);
    // The user clicked a face button or moved a limit: the messages that
    // waited for that go.
    void UserActed();
    // The text a pointer move shows: the control's own hint when it has one,
    // else the most important standing message, else nothing.
    std::string ForPointer(const std::string& pointerHint) const;

private:
    std::array<std::string, 3> standing_;
};

} // namespace sentinax
