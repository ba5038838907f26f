#include "GifBlockWalk.h"

#include <cstring>

namespace sentinax {

namespace {

constexpr size_t kHeaderBytes = 6;
constexpr size_t kScreenEnd = 13; // header + logical screen descriptor
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kLabelApplication = 0xFF;
constexpr uint8_t kLabelComment = 0xFE;
constexpr uint8_t kLabelGraphicControl = 0xF9;
constexpr uint8_t kLabelPlainText = 0x01;

// Fixed parts before a sub-block chain.
constexpr size_t kApplicationHead = 14;
constexpr size_t kCommentHead = 2;
constexpr size_t kGraphicControlBytes = 8;
constexpr size_t kPlainTextHead = 15;
constexpr size_t kImageDescriptor = 10;

// Bytes of a colour table whose packed byte says it is present.
size_t ColourTableBytes(uint8_t packed) {
    return (packed & 0x80) != 0 ? 3u << ((packed & 0x07) + 1) : 0;
}

void SetError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

} // namespace

bool IsGifHeader(const uint8_t* data, size_t size) {
    if (size < kHeaderBytes)
        return false;
    return std::memcmp(data, "GIF87a", kHeaderBytes) == 0 ||
           std::memcmp(data, "GIF89a", kHeaderBytes) == 0;
}

std::optional<GifScreen> ReadGifScreen(const uint8_t* data, size_t size, std::string* error) {
    if (!IsGifHeader(data, size)) {
        SetError(error, "no GIF87a or GIF89a header");
        return std::nullopt;
    }
    if (size < kScreenEnd) {
        SetError(error, "the logical screen descriptor is cut off");
        return std::nullopt;
    }
    GifScreen screen;
    screen.Width = data[6] | data[7] << 8;
    screen.Height = data[8] | data[9] << 8;
    screen.GlobalTableBytes = ColourTableBytes(data[10]);
    if (screen.Width == 0 || screen.Height == 0) {
        SetError(error, "the logical screen is empty");
        return std::nullopt;
    }
    if (static_cast<int64_t>(screen.Width) * screen.Height > kMaxGifScreenPixels) {
        SetError(error, "the logical screen is too large");
        return std::nullopt;
    }
    if (size < screen.FirstBlock()) {
        SetError(error, "the global colour table is cut off");
        return std::nullopt;
    }
    return screen;
}

GifBlockWalk::GifBlockWalk(const uint8_t* data, size_t size, const GifScreen& screen)
    : data_(data), size_(size), screen_(screen), offset_(screen.FirstBlock()) {}

GifBlockKind GifBlockWalk::KindAt(size_t offset) const {
    if (offset >= size_)
        return GifBlockKind::Unknown;
    switch (At(offset)) {
    case kImage:
        return GifBlockKind::Image;
    case kTrailer:
        return GifBlockKind::Trailer;
    case kExtension:
        if (offset + 1 >= size_)
            return GifBlockKind::Unknown;
        switch (At(offset + 1)) {
        case kLabelApplication:
            return GifBlockKind::Application;
        case kLabelComment:
            return GifBlockKind::Comment;
        case kLabelGraphicControl:
            return GifBlockKind::GraphicControl;
        case kLabelPlainText:
            return GifBlockKind::PlainText;
        default:
            return GifBlockKind::Unknown;
        }
    default:
        return GifBlockKind::Unknown;
    }
}

// Every length byte is read only after checking that it lies inside the data,
// so a chain that runs off the end fails instead of reading past it.
std::optional<size_t> GifBlockWalk::ChainLength(size_t offset) const {
    size_t position = offset;
    while (position < size_) {
        const size_t length = At(position);
        if (length == 0)
            return position + 1 - offset;
        position += 1 + length;
    }
    return std::nullopt;
}

std::optional<size_t> GifBlockWalk::BlockLength(size_t offset) const {
    std::optional<size_t> length;
    const auto withChain = [&](size_t head) -> std::optional<size_t> {
        const auto chain = ChainLength(offset + head);
        if (!chain)
            return std::nullopt;
        return head + *chain;
    };
    switch (KindAt(offset)) {
    case GifBlockKind::Application:
        length = withChain(kApplicationHead);
        break;
    case GifBlockKind::Comment:
        length = withChain(kCommentHead);
        break;
    case GifBlockKind::GraphicControl:
        length = kGraphicControlBytes;
        break;
    case GifBlockKind::PlainText:
        length = withChain(kPlainTextHead);
        break;
    case GifBlockKind::Image: {
        if (offset + kImageDescriptor > size_)
            return std::nullopt;
        // Descriptor, local colour table, the LZW code size byte, the data.
        length = withChain(kImageDescriptor + ColourTableBytes(At(offset + 9)) + 1);
        break;
    }
    case GifBlockKind::Trailer:
        length = 1;
        break;
    case GifBlockKind::Unknown:
        return std::nullopt;
    }
    if (!length || *length > size_ - offset)
        return std::nullopt;
    return length;
}

bool GifBlockWalk::SkipBlock() {
    const auto length = BlockLength(offset_);
    if (!length)
        return false;
    offset_ += *length;
    return true;
}

bool GifBlockWalk::SkipPlainExtensions() {
    for (;;) {
        const GifBlockKind kind = KindAt(offset_);
        if (kind != GifBlockKind::Application && kind != GifBlockKind::Comment)
            return true;
        if (!SkipBlock())
            return false;
    }
}

bool GifBlockWalk::SkipGraphicBlock() {
    if (!SkipPlainExtensions())
        return false;
    GifBlockKind kind = KindAt(offset_);
    if (kind == GifBlockKind::GraphicControl) {
        if (!SkipBlock() || !SkipPlainExtensions())
            return false;
        kind = KindAt(offset_);
    }
    if (kind != GifBlockKind::Image && kind != GifBlockKind::PlainText)
        return false;
    return SkipBlock();
}

std::optional<GifFrameBlock> GifBlockWalk::TakeGraphicBlock() {
    if (!SkipPlainExtensions())
        return std::nullopt;
    const size_t start = offset_;
    GifFrameBlock frame;
    GifBlockKind kind = KindAt(offset_);
    if (kind == GifBlockKind::GraphicControl) {
        if (!BlockLength(offset_))
            return std::nullopt;
        frame.Disposal = (At(offset_ + 3) >> 2) & 0x07;
        frame.Delay = Word(offset_ + 4);
        if (!SkipBlock() || !SkipPlainExtensions())
            return std::nullopt;
        kind = KindAt(offset_);
    }
    if (kind != GifBlockKind::Image && kind != GifBlockKind::PlainText)
        return std::nullopt;
    const size_t blockStart = offset_;
    if (!SkipBlock())
        return std::nullopt;
    if (kind == GifBlockKind::Image) {
        frame.Left = Word(blockStart + 1);
        frame.Top = Word(blockStart + 3);
        frame.Width = Word(blockStart + 5);
        frame.Height = Word(blockStart + 7);
    }
    const size_t head = screen_.FirstBlock();
    const size_t bytes = offset_ - start;
    frame.Gif.reserve(head + bytes + 1);
    frame.Gif.insert(frame.Gif.end(), data_, data_ + head);
    frame.Gif.insert(frame.Gif.end(), data_ + start, data_ + offset_);
    frame.Gif.push_back(kTrailer);
    return frame;
}

int GifBlockWalk::CountGraphicBlocks() {
    const size_t saved = offset_;
    Rewind();
    int count = 0;
    while (SkipGraphicBlock())
        ++count;
    offset_ = saved;
    return count;
}

} // namespace sentinax
