// Writes the readings of every evaluation to <folder>/sentinax.prom for
// node_exporter's textfile collector, replaced atomically (a temporary file in
// the same folder, then a rename), so the collector never reads half a file.
// The file is written only through config/SafeWriter.h: a link planted under
// its name, or a folder other users can change, is refused.
//
// A file that cannot be refreshed (a full disk, a folder gone read-only) would
// go on serving the last readings as if they were current, so the sink removes
// its last file when a write fails: a scraper then sees the readings missing,
// not frozen. The failure is reported once; writing resumes, and says so, when
// it works again.
#pragma once

#include "ReadingSnapshot.h"

#include <functional>
#include <string>

namespace sentinax {

// The file's mode: the monitor writes it, everyone may read it.
constexpr unsigned kPrometheusFileMode = 0644;

class PrometheusFileSink : public ReadingSink {
public:
    using Reporter = std::function<void(const std::string&)>;
    PrometheusFileSink(std::string folder, Reporter report);

    void Publish(const ReadingSnapshot& snapshot) override;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    Reporter report_;
    bool failing_ = false;
};

} // namespace sentinax
