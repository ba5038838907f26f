#include "CAnimatedPicture.h"

#include "PictureResources.h"
#include "PictureSize.h"

#include "hardware/Reporter.h"

#include <QApplication>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cstring>

namespace sentinax {

namespace {

// Every frame is decoded at the size of the logical screen before its own
// rectangle is cut out: the frames decoded at load may cover at most this many
// screen pixels in all (the shipped 96 x 96 picture uses 73,728).
constexpr int64_t kMaxDecodedPixels = 64 * 1024 * 1024;
// A still picture is shown at most this wide and high.
constexpr int kMaxStillSide = 4096;

void Report(const QString& what) {
    ReportMessage(MessagePriority::Warning, "animated picture: " + what.toStdString());
}

} // namespace

CAnimatedPicture::CAnimatedPicture(QWidget* parent) : QWidget(parent) {
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { OnFrameTimer(); });
}

CAnimatedPicture::~CAnimatedPicture() {
    Unload();
}

bool CAnimatedPicture::LoadFromResource(const QString& name, const QString& type) {
    EnsurePictureResources();
    const QString path = QStringLiteral(":/%1/%2").arg(type, name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Unload();
        Report(QStringLiteral("no resource %1").arg(path));
        return false;
    }
    return LoadFromMemory(file.readAll());
}

bool CAnimatedPicture::LoadFromMemory(const QByteArray& data) {
    Unload();
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    if (IsGifHeader(bytes, static_cast<size_t>(data.size())))
        return LoadGif(data);
    return LoadStill(data, nullptr);
}

bool CAnimatedPicture::LoadGif(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const size_t size = static_cast<size_t>(data.size());
    std::string error;
    const auto screen = ReadGifScreen(bytes, size, &error);
    if (!screen) {
        Report(QString::fromStdString(error));
        return false;
    }
    isGif_ = true;
    width_ = screen->Width;
    height_ = screen->Height;

    GifBlockWalk walk(bytes, size, *screen);
    const int blocks = walk.CountGraphicBlocks();
    if (blocks == 0) {
        Report(QStringLiteral("the GIF holds no frame that can be read"));
        return false;
    }
    if (blocks == 1) {
        const QSize screenSize(width_, height_);
        return LoadStill(data, &screenSize);
    }

    const QRect screenRect(0, 0, width_, height_);
    const int64_t screenPixels = static_cast<int64_t>(width_) * height_;
    int64_t decodedPixels = 0;
    std::vector<GifFrameInfo> infos;
    int skipped = 0;
    while (auto block = walk.TakeGraphicBlock()) {
        if (decodedPixels + screenPixels > kMaxDecodedPixels) {
            Report(QStringLiteral("only the first %1 frames are shown").arg(frames_.size()));
            break;
        }
        decodedPixels += screenPixels;
        const QImage decoded = QImage::fromData(
            QByteArray::fromRawData(reinterpret_cast<const char*>(block->Gif.data()),
                                    static_cast<qsizetype>(block->Gif.size())),
            "GIF");
        if (decoded.isNull()) {
            ++skipped;
            continue;
        }
        GifFrame frame;
        frame.Info = {block->Left,   block->Top,   block->Width,
                      block->Height, block->Delay, block->Disposal};
        // The reader returns the whole screen; only the frame's own rectangle
        // is drawn, so that the rest of the surface keeps what earlier frames
        // left there.
        const QRect own =
            QRect(block->Left, block->Top, block->Width, block->Height).intersected(screenRect);
        if (!own.isEmpty()) {
            QImage picture = decoded.copy(own);
            frame.Picture = picture.convertToFormat(picture.hasAlphaChannel()
                                                        ? QImage::Format_ARGB32_Premultiplied
                                                        : QImage::Format_RGB32);
        }
        infos.push_back(frame.Info);
        frames_.push_back(std::move(frame));
    }
    if (skipped > 0)
        Report(QStringLiteral("%1 frame(s) could not be decoded and are left out").arg(skipped));
    if (frames_.empty()) {
        Report(QStringLiteral("no frame of the GIF could be decoded"));
        return false;
    }
    clock_ = GifAnimation(std::move(infos), width_, height_);
    MeasureSteps();
    return PrepareSurface(width_, height_);
}

bool CAnimatedPicture::LoadStill(const QByteArray& data, const QSize* screenSize) {
    QImage picture = QImage::fromData(data);
    if (picture.isNull()) {
        Report(QStringLiteral("the picture cannot be decoded"));
        return false;
    }
    if (screenSize) {
        width_ = screenSize->width();
        height_ = screenSize->height();
    } else {
        width_ = ScreenPixels(PictureHimetric(picture.width(), picture.dotsPerMeterX()),
                              logicalDpiX(), kMaxStillSide);
        height_ = ScreenPixels(PictureHimetric(picture.height(), picture.dotsPerMeterY()),
                               logicalDpiY(), kMaxStillSide);
    }
    still_ = std::move(picture);
    return PrepareSurface(width_, height_);
}

bool CAnimatedPicture::PrepareSurface(int width, int height) {
    resize(width, height);
    surface_ = QImage(width, height, QImage::Format_RGB32);
    if (surface_.isNull()) {
        Report(QStringLiteral("no memory for a %1 x %2 surface").arg(width).arg(height));
        return false;
    }
    background_ = palette().color(QPalette::Button);
    surface_.fill(QApplication::palette("QMenu").color(QPalette::Window));
    setAttribute(Qt::WA_OpaquePaintEvent);
    initialised_ = true;
    return true;
}

bool CAnimatedPicture::Draw() {
    if (!initialised_)
        return false;
    if (isGif_ && frames_.size() > 1) {
        playing_ = true;
        UpdateClock();
        return true;
    }
    if (still_.isNull())
        return false;
    {
        QPainter painter(&surface_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, width_, height_), still_);
    }
    update();
    return true;
}

void CAnimatedPicture::Stop() {
    playing_ = false;
    begun_ = false;
    frameTimer_.stop();
}

void CAnimatedPicture::Unload() {
    Stop();
    still_ = QImage();
    frames_.clear();
    clock_ = GifAnimation();
    surface_ = QImage();
    savedArea_ = QImage();
    savedRect_ = QRect();
    steps_.clear();
    surfaceFrame_ = -1;
    pendingFill_.reset();
    isGif_ = false;
    initialised_ = false;
    background_ = QColor(255, 255, 255);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CAnimatedPicture::SetExposed(bool exposed) {
    exposed_ = exposed;
    UpdateClock();
}

void CAnimatedPicture::UpdateClock() {
    if (!playing_ || !onScreen_ || !exposed_) {
        frameTimer_.stop();
        return;
    }
    if (frameTimer_.isActive())
        return;
    // Back on screen after a pause, the surface still shows the current frame:
    // it gets its full time again. After Draw it is composed first.
    const uint32_t wait = begun_ ? clock_.CurrentWaitMs() : clock_.Begin(*this);
    ApplyPendingFill();
    begun_ = true;
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.start(static_cast<int>(wait));
}

// Later frames come on Qt's coarse timer: within 5% of their time (2 ms of a
// 50 ms frame), on the same 50 ms boundaries as the other coarse timers of the
// window (the hint line's scroll), so that their repaints share one pass and
// one flush to the display instead of waking the program twice.
void CAnimatedPicture::OnFrameTimer() {
    if (!playing_ || !onScreen_ || !exposed_)
        return;
    frameTimer_.setTimerType(Qt::CoarseTimer);
    const uint32_t wait = clock_.Advance(*this);
    ApplyPendingFill();
    frameTimer_.start(static_cast<int>(wait));
}

void CAnimatedPicture::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    onScreen_ = true;
    UpdateClock();
}

// Also delivered (spontaneously) when the window is minimised.
void CAnimatedPicture::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    onScreen_ = false;
    frameTimer_.stop();
}

void CAnimatedPicture::paintEvent(QPaintEvent* event) {
    if (surface_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), surface_, event->rect());
}

bool CAnimatedPicture::RenderFrame(size_t index) {
    if (index >= frames_.size() || frames_[index].Picture.isNull())
        return false;
    const GifFrame& frame = frames_[index];
    const QImage& picture = frame.Picture;
    const QPoint at(frame.Info.Left, frame.Info.Top);
    if (!picture.hasAlphaChannel() && picture.format() == surface_.format()) {
        const QRect area = QRect(at, picture.size()).intersected(surface_.rect());
        // A fill that this frame paints over entirely would never be seen.
        if (pendingFill_ && area.contains(*pendingFill_))
            pendingFill_.reset();
        ApplyPendingFill();
        QRect changed = area;
        if (surfaceFrame_ == static_cast<int>(index))
            changed = QRect(); // drawn again after a pause: nothing changes
        else if (steps_[index].Known && surfaceFrame_ == steps_[index].From)
            changed = steps_[index].Changed;
        CopyRows(picture, at, changed);
        surfaceFrame_ = area == surface_.rect() ? static_cast<int>(index) : -1;
        if (!changed.isEmpty())
            update(changed);
        return true;
    }
    ApplyPendingFill();
    {
        QPainter painter(&surface_);
        painter.drawImage(at, picture);
    }
    surfaceFrame_ = -1;
    update(QRect(at, picture.size()));
    return true;
}

// An opaque frame replaces the pixels under it without a painter (twenty times
// a second while shown).
void CAnimatedPicture::CopyRows(const QImage& picture, QPoint at, const QRect& area) {
    if (area.isEmpty())
        return;
    uchar* const surfaceBits = surface_.bits();
    const qsizetype surfaceStride = surface_.bytesPerLine();
    const uchar* const pictureBits = picture.constBits();
    const qsizetype pictureStride = picture.bytesPerLine();
    const size_t rowBytes = static_cast<size_t>(area.width()) * sizeof(QRgb);
    for (int y = area.top(); y <= area.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb*>(surfaceBits + y * surfaceStride) + area.left(),
                    reinterpret_cast<const QRgb*>(pictureBits + (y - at.y()) * pictureStride) +
                        (area.left() - at.x()),
                    rowBytes);
}

// From one frame to the next the shipped picture's fan changes a 72 x 72
// square of its 96 x 96 pixels: where two frames that each cover the whole
// surface follow each other, only what differs between them is copied,
// repainted and sent to the display.
void CAnimatedPicture::MeasureSteps() {
    steps_.assign(frames_.size(), FrameStep{});
    const QRect whole(0, 0, width_, height_);
    auto covers = [&](const GifFrame& f) {
        return !f.Picture.isNull() && !f.Picture.hasAlphaChannel() &&
               f.Picture.format() == QImage::Format_RGB32 &&
               QRect(QPoint(f.Info.Left, f.Info.Top), f.Picture.size()) == whole;
    };
    for (size_t k = 0; k < frames_.size(); ++k) {
        const size_t from = (k + frames_.size() - 1) % frames_.size();
        if (!covers(frames_[k]) || !covers(frames_[from]))
            continue;
        const QImage& a = frames_[from].Picture;
        const QImage& b = frames_[k].Picture;
        int left = width_, top = height_, right = -1, bottom = -1;
        for (int y = 0; y < height_; ++y) {
            const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < width_; ++x) {
                if (ra[x] != rb[x]) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        steps_[k] = {true, static_cast<int>(from),
                     right < 0 ? QRect() : QRect(left, top, right - left + 1, bottom - top + 1)};
    }
}

// A fill is held back until it is known whether the next frame paints over
// it (the whole surface is filled after the last frame, then the first is
// drawn over it).
void CAnimatedPicture::ApplyPendingFill() {
    if (!pendingFill_)
        return;
    const QRect area = *pendingFill_;
    pendingFill_.reset();
    {
        QPainter painter(&surface_);
        painter.fillRect(area, background_);
    }
    surfaceFrame_ = -1;
    update(area);
}

void CAnimatedPicture::FillBackground(int left, int top, int width, int height) {
    ApplyPendingFill();
    const QRect area = QRect(left, top, width, height).intersected(surface_.rect());
    if (!area.isEmpty())
        pendingFill_ = area;
}

void CAnimatedPicture::SaveArea(int left, int top, int width, int height) {
    ApplyPendingFill();
    savedRect_ = QRect(left, top, width, height).intersected(surface_.rect());
    savedArea_ = savedRect_.isEmpty() ? QImage() : surface_.copy(savedRect_);
}

void CAnimatedPicture::RestoreArea() {
    ApplyPendingFill();
    if (savedArea_.isNull())
        return;
    surfaceFrame_ = -1;
    {
        QPainter painter(&surface_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(savedRect_.topLeft(), savedArea_);
    }
    update(savedRect_);
    savedArea_ = QImage();
    savedRect_ = QRect();
}

} // namespace sentinax
