#include "PrometheusFileSink.h"

#include "PrometheusText.h"

#include "config/AtomicFile.h"

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
    if (ReplaceFile(path_, PrometheusText(snapshot), why, Durability::Transient,
                    kPrometheusFileMode)) {
        if (failing_ && report_)
            report_(path_ + ": written again");
        failing_ = false;
        return;
    }
    if (!failing_ && report_)
        report_(path_ + ": cannot write the readings for Prometheus: " + why);
    failing_ = true;
}

} // namespace sentinax
