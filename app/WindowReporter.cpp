#include "WindowReporter.h"

#include <QMetaObject>
#include <QObject>

namespace sentinax {

WindowReporter::~WindowReporter() {
    Detach();
}

void WindowReporter::ShowOn(QObject* context, Show show) {
    Detach();
    const std::lock_guard<std::mutex> lock(mutex_);
    receiver_ = new QObject(context);
    show_ = std::move(show);
    if (unshown_)
        ScheduleLocked();
}

void WindowReporter::Detach() {
    const std::lock_guard<std::mutex> lock(mutex_);
    delete receiver_.data();
    receiver_ = nullptr;
    show_ = nullptr;
    scheduled_ = false;
}

void WindowReporter::Report(MessagePriority priority, const std::string& message) {
    next_.Report(priority, message);
    const std::lock_guard<std::mutex> lock(mutex_);
    newest_ = LineText(message);
    unshown_ = true;
    ScheduleLocked();
}

std::string WindowReporter::LineText(const std::string& message) {
    std::string text = message;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\t')
            c = ' ';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return text;
}

void WindowReporter::ScheduleLocked() {
    if (receiver_.isNull() || scheduled_)
        return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        receiver_.data(), [this] { ShowNewest(); }, Qt::QueuedConnection);
}

void WindowReporter::ShowNewest() {
    Show show;
    std::string text;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        scheduled_ = false;
        if (!unshown_ || !show_)
            return;
        unshown_ = false;
        text = newest_;
        show = show_;
    }
    show(text);
}

} // namespace sentinax
