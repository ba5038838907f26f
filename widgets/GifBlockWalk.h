// The GIF block walk: finds the frames of a GIF87a/GIF89a file by measuring its
// blocks, without decoding a single pixel, and cuts each frame out as a small
// self-contained GIF that an image reader can decode on its own.
//
// Layout walked (all numbers little-endian):
//
// | Block                     | Starts with | Length                                    |
// |---------------------------|-------------|-------------------------------------------|
// | header                    | "GIF87a" / "GIF89a" | 6                                 |
// | logical screen descriptor | (after it)  | 7: width, height, packed, bg index, aspect |
// | global colour table       | (optional)  | 3 x 2^(n+1), n = packed & 7, if packed & 0x80 |
// | application extension     | 0x21 0xFF   | 14 + sub-block chain                      |
// | comment extension         | 0x21 0xFE   | 2 + sub-block chain                       |
// | graphic control extension | 0x21 0xF9   | 8                                         |
// | plain text extension      | 0x21 0x01   | 15 + sub-block chain                      |
// | image                     | 0x2C        | 10 + local table + 1 + sub-block chain    |
// | trailer                   | 0x3B        | 1                                         |
//
// A sub-block chain is length-prefixed sub-blocks ended by a zero byte. Any
// other byte (or 0x21 with another label) cannot be measured and ends the walk,
// as does a block whose end would lie past the data. No read ever goes past
// the data, however the lengths lie.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sentinax {

// Delay of a frame without a graphic control extension.
inline constexpr uint32_t kGifNoDelay = 0xFFFFFFFFu;

// Largest logical screen accepted, in pixels (width x height): every frame is
// decoded at the screen's size, so a larger screen is refused rather than
// allocated.
inline constexpr int64_t kMaxGifScreenPixels = 4096 * 4096;

enum class GifBlockKind {
    Application,
    Comment,
    GraphicControl,
    PlainText,
    Image,
    Trailer,
    Unknown, // unrecognised byte, 0x21 with another label, or no byte left
};

// The header and logical screen of a GIF.
struct GifScreen {
    int Width = 0;               // pixels
    int Height = 0;              // pixels
    size_t GlobalTableBytes = 0; // 0 when there is no global colour table
    // Offset of the first block: 13 + GlobalTableBytes.
    size_t FirstBlock() const { return 13 + GlobalTableBytes; }
};

// One graphic block cut out as a self-contained GIF.
struct GifFrameBlock {
    // Header, screen descriptor and global colour table of the source, the
    // frame's bytes (control extension, extensions between, image or plain
    // text block), then the trailer 0x3B.
    std::vector<uint8_t> Gif;
    int Width = 0, Height = 0;    // from the image descriptor; 0 for plain text
    int Left = 0, Top = 0;        // from the image descriptor; 0 for plain text
    uint32_t Delay = kGifNoDelay; // hundredths of a second
    int Disposal = 0;             // 0 when there is no control extension
};

// True when the data begins with "GIF87a" or "GIF89a".
bool IsGifHeader(const uint8_t* data, size_t size);

// Reads the logical screen. Fails (with the reason in *error) when the header
// or the global colour table is cut off, or the screen is empty or larger than
// kMaxGifScreenPixels.
std::optional<GifScreen> ReadGifScreen(const uint8_t* data, size_t size,
                                       std::string* error = nullptr);

class GifBlockWalk {
public:
    // data must outlive the walk; the walk starts at the first block.
    GifBlockWalk(const uint8_t* data, size_t size, const GifScreen& screen);

    // Back to the first block.
    void Rewind() { offset_ = screen_.FirstBlock(); }
    size_t Offset() const { return offset_; }

    GifBlockKind KindAt(size_t offset) const;
    // The whole length of the block at offset, or nothing when it cannot be
    // measured or would end past the data.
    std::optional<size_t> BlockLength(size_t offset) const;

    // Passes over the next graphic block (an image or plain text, with its
    // control extension and the application or comment extensions before
    // it). False at the trailer, at an unmeasurable block, or at the end.
    bool SkipGraphicBlock();
    // Cuts the next graphic block out as a self-contained GIF; nothing when
    // SkipGraphicBlock would fail.
    std::optional<GifFrameBlock> TakeGraphicBlock();

    // Graphic blocks from the first block on (the position is restored).
    int CountGraphicBlocks();

private:
    std::optional<size_t> ChainLength(size_t offset) const;
    uint8_t At(size_t offset) const { return data_[offset]; }
    uint16_t Word(size_t offset) const {
        return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }
    // Skips application and comment extensions; false when one cannot be
    // measured.
    bool SkipPlainExtensions();
    bool SkipBlock();

    const uint8_t* data_;
    size_t size_;
    GifScreen screen_;
    size_t offset_;
};

} // namespace sentinax
