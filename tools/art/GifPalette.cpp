#include "GifPalette.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace sentinax::art {

namespace {

struct Entry {
    uint32_t Rgb = 0;
    int64_t Count = 0;
};

int Channel(uint32_t rgb, int channel) {
    return static_cast<int>(rgb >> (16 - 8 * channel) & 0xFF);
}

struct Box {
    std::vector<Entry> Entries;
    int64_t Population() const {
        int64_t n = 0;
        for (const Entry& e : Entries)
            n += e.Count;
        return n;
    }
    // The channel with the widest spread and that spread.
    std::pair<int, int> WidestChannel() const {
        int best = 0, bestRange = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (const Entry& e : Entries) {
                lo = std::min(lo, Channel(e.Rgb, c));
                hi = std::max(hi, Channel(e.Rgb, c));
            }
            if (hi - lo > bestRange) {
                bestRange = hi - lo;
                best = c;
            }
        }
        return {best, bestRange};
    }
    uint32_t Average() const {
        std::array<int64_t, 3> sum{};
        int64_t n = 0;
        for (const Entry& e : Entries) {
            for (int c = 0; c < 3; ++c)
                sum[c] += Channel(e.Rgb, c) * e.Count;
            n += e.Count;
        }
        uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c)
            rgb = rgb << 8 | static_cast<uint32_t>((sum[c] + n / 2) / std::max<int64_t>(n, 1));
        return rgb;
    }
};

} // namespace

std::vector<uint32_t> MedianCutPalette(const std::vector<QImage>& frames, int colours) {
    std::unordered_map<uint32_t, int64_t> histogram;
    for (const QImage& frame : frames) {
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
                ++histogram[line[x] & 0xFFFFFF];
        }
    }
    std::vector<Box> boxes(1);
    for (const auto& [rgb, count] : histogram)
        boxes[0].Entries.push_back({rgb, count});
    // Sorted once so that the palette does not depend on the hash order.
    std::sort(boxes[0].Entries.begin(), boxes[0].Entries.end(),
              [](const Entry& a, const Entry& b) { return a.Rgb < b.Rgb; });

    while (static_cast<int>(boxes.size()) < colours) {
        // Split the box whose widest channel spread, weighted by its pixels,
        // is largest; a box of one colour cannot be split.
        int chosen = -1;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].Entries.size() < 2)
                continue;
            const double score = static_cast<double>(boxes[i].WidestChannel().second) *
                                 static_cast<double>(boxes[i].Population());
            if (chosen < 0 || score > bestScore) {
                chosen = static_cast<int>(i);
                bestScore = score;
            }
        }
        if (chosen < 0)
            break;
        Box& box = boxes[static_cast<size_t>(chosen)];
        const int channel = box.WidestChannel().first;
        std::stable_sort(box.Entries.begin(), box.Entries.end(),
                         [channel](const Entry& a, const Entry& b) {
                             return Channel(a.Rgb, channel) < Channel(b.Rgb, channel);
                         });
        const int64_t half = box.Population() / 2;
        int64_t running = 0;
        size_t cut = 1;
        for (; cut < box.Entries.size() - 1; ++cut) {
            running += box.Entries[cut - 1].Count;
            if (running >= half)
                break;
        }
        Box upper;
        upper.Entries.assign(box.Entries.begin() + static_cast<long>(cut), box.Entries.end());
        box.Entries.resize(cut);
        boxes.push_back(std::move(upper));
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes)
        palette.push_back(box.Average());
    return palette;
}

std::vector<uint8_t> MapToPalette(const QImage& image, const std::vector<uint32_t>& palette) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unordered_map<uint32_t, uint8_t> nearest;
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const uint32_t colour = line[x] & 0xFFFFFF;
            auto found = nearest.find(colour);
            if (found == nearest.end()) {
                int best = 0;
                int64_t bestDistance = -1;
                for (size_t i = 0; i < palette.size(); ++i) {
                    int64_t distance = 0;
                    for (int c = 0; c < 3; ++c) {
                        const int d = Channel(colour, c) - Channel(palette[i], c);
                        distance += d * d;
                    }
                    if (bestDistance < 0 || distance < bestDistance) {
                        bestDistance = distance;
                        best = static_cast<int>(i);
                    }
                }
                found = nearest.emplace(colour, static_cast<uint8_t>(best)).first;
            }
            indices.push_back(found->second);
        }
    }
    return indices;
}

} // namespace sentinax::art
