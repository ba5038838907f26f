// The reporter's double: installed as the process's reporter for its own life
// (the one before comes back when it goes), it keeps every message it hears,
// in order, with its priority.
#pragma once

#include "hardware/Reporter.h"

#include <mutex>
#include <string>
#include <vector>

namespace sentinax {

class RecordingReporter : public Reporter {
public:
    struct Message {
        MessagePriority Priority;
        std::string Text;
    };

    void Report(MessagePriority priority, const std::string& message) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({priority, message});
    }
    std::vector<Message> Messages() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return messages_;
    }
    // The texts, each followed by a line end.
    std::string Text() const {
        std::string all;
        for (const Message& m : Messages())
            all += m.Text + "\n";
        return all;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Message> messages_;
    ScopedReporter installed_{*this}; // last: installed once the rest exists
};

} // namespace sentinax
