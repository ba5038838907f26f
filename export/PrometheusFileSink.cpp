#include "PrometheusFileSink.h"

#include "PrometheusText.h"

#include "config/SafeWriter.h"

namespace sentinax {

PrometheusFileSink::PrometheusFileSink(std::string folder, Reporter report)
    : report_(std::move(report)) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    path_ = folder + "/" + kPrometheusFileName;
}

void PrometheusFileSink::Publish(const ReadingSnapshot& snapshot) {
    std::string why;
    // Rewritten on every evaluation and worthless after a crash: no disk flush.
    // Readable by node_exporter, which runs as a user of its own, whatever
    // the monitor's umask (a service's is 0077).
    if (ReplaceFile(path_, PrometheusText(snapshot), why, Durability::Transient, FinalLink::Refuse,
                    kPrometheusFileMode)) {
        if (failing_ && report_)
            report_(path_ + ": written again");
        failing_ = false;
        return;
    }
    if (failing_)
        return;
    failing_ = true;
    std::string message = path_ + ": cannot write the readings for Prometheus: " + why;
    std::string removeWhy;
    switch (RemoveOwnFile(path_, removeWhy)) {
    case RemoveResult::Removed:
        message +=
            "; the last file is removed, so that its readings are not taken for current ones";
        break;
    case RemoveResult::Kept:
        // Said only where a file of ours may still hold old readings: not for
        // a folder that cannot be opened, nor for a link or the like.
        if (removeWhy != why && removeWhy.rfind("is ", 0) != 0)
            message += "; the last file cannot be removed: " + removeWhy;
        break;
    case RemoveResult::Absent:
        break;
    }
    if (report_)
        report_(message);
}

} // namespace sentinax
