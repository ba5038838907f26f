// Where messages go while the window's run lasts: every message goes on to
// the reporter installed before (standard error, with the journal's priority
// under systemd) and is also shown on the window's hint line, as the pointer's
// hints are: at once, over whatever the line shows, until the next pointer
// move brings the standing message (or the pointed control's hint) back. A
// message never replaces a standing message for good.
//
// The newest message wins. Messages come from any thread and in bursts; the
// line is set once per pass of the window's event loop, with the newest text,
// so a burst costs one repaint and the tick never waits for the window.
// Messages reported before the window is there (while the services are
// built) reach standard error at once; the last of them is shown when the
// window is. The line shows one line of text: the lines of a message are
// joined by spaces, and control characters are shown as '?'; a text wider than
// the field scrolls as every hint does.
#pragma once

#include "hardware/Reporter.h"

#include <QPointer>

#include <functional>
#include <mutex>
#include <string>

namespace sentinax {

class WindowReporter : public Reporter {
public:
    using Show = std::function<void(const std::string&)>;
    // next: where every message goes as well; must outlive this object.
    explicit WindowReporter(Reporter& next) : next_(next) {}
    ~WindowReporter() override;

    // From now on show puts the newest message on the line, run in context's
    // thread; the last message reported so far, if any, is shown the same way.
    // Detach before context goes (messages may come from other threads).
    void ShowOn(QObject* context, Show show);
    // The window goes: messages go on to next only, and a showing asked for
    // is dropped.
    void Detach();

    void Report(MessagePriority priority, const std::string& message) override;

    // The text the hint line shows for a message.
    static std::string LineText(const std::string& message);

private:
    // Asks for one showing, unless one is asked for already. mutex_ is held.
    void ScheduleLocked();
    void ShowNewest();

    Reporter& next_;
    std::mutex mutex_;
    // Made in context's thread as its child; showings are posted to it, so
    // that deleting it drops them.
    QPointer<QObject> receiver_;
    Show show_;
    std::string newest_;
    bool unshown_ = false; // newest_ was not shown yet
    bool scheduled_ = false;
};

} // namespace sentinax
