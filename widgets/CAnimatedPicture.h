// A picture control that shows a still picture or an animated GIF. A GIF is
// split into frames by the block walk (GifBlockWalk.h); each frame, a small
// self-contained GIF, is decoded once at load by Qt's own image reader. A
// single-shot timer on the user-interface thread then composes one frame at a
// time into the control's surface by the rules of GifAnimation.h, so nothing
// is shared between threads. Painting only copies the surface.
//
// The clock runs only while the control is shown and its window can be seen:
// a window hidden to the tray, minimised or covered by other windows composes
// and paints nothing, and resumes at the frame it showed when it comes back.
#pragma once

#include "GifAnimation.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

namespace sentinax {

// One frame: its decoded picture (the frame's own rectangle, not the whole
// screen) and what the clock needs.
struct GifFrame {
    QImage Picture;
    GifFrameInfo Info;
};

class CAnimatedPicture : public QWidget, private GifCanvas {
public:
    explicit CAnimatedPicture(QWidget* parent = nullptr);
    ~CAnimatedPicture() override;

    // Loads the program's resource ":/<type>/<name>" (e.g. "129", "GIF").
    // False when it does not exist or cannot be loaded.
    bool LoadFromResource(const QString& name, const QString& type);
    // Loads a GIF (several frames: animated; one: still) or any picture Qt can
    // read. Resizes the control to the picture, keeping its position. False,
    // with the reason on stderr, when nothing can be shown.
    bool LoadFromMemory(const QByteArray& data);
    // Shows the loaded picture: starts the animation of a GIF with several
    // frames (from the frame it was stopped at), or draws the still picture.
    // False when nothing is loaded.
    bool Draw();
    // Stops the animation; the current frame stays on the surface and a later
    // Draw resumes there.
    void Stop();
    // Back to empty: no picture, no frames, no surface.
    void Unload();
    // Whether anybody can see the window (ExposureWatcher); true until told
    // otherwise. While not, the clock rests on the current frame.
    void SetExposed(bool exposed);

    bool IsGif() const { return isGif_; }
    bool IsPlaying() const { return playing_; }
    // Frames of an animation (empty for a still picture).
    const std::vector<GifFrame>& Frames() const { return frames_; }
    size_t CurrentFrame() const { return clock_.CurrentFrame(); }
    // What the control shows; null before a load.
    const QImage& Surface() const { return surface_; }
    QColor BackgroundColour() const { return background_; }
    // Milliseconds until the next frame while the clock runs; -1 otherwise.
    int RemainingMs() const { return frameTimer_.isActive() ? frameTimer_.remainingTime() : -1; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // GifCanvas: the clock draws into surface_.
    bool RenderFrame(size_t index) override;
    void FillBackground(int left, int top, int width, int height) override;
    void SaveArea(int left, int top, int width, int height) override;
    void RestoreArea() override;

    bool LoadGif(const QByteArray& data);
    bool LoadStill(const QByteArray& data, const QSize* screenSize);
    bool PrepareSurface(int width, int height);
    // Copies the part `area` (surface pixels) of an opaque picture of the
    // surface's format placed at `at`.
    void CopyRows(const QImage& picture, QPoint at, const QRect& area);
    void MeasureSteps();
    void ApplyPendingFill();
    // Starts or stops the frame timer to match "playing, shown and seen".
    void UpdateClock();
    void OnFrameTimer();

    QImage still_;
    std::vector<GifFrame> frames_;
    GifAnimation clock_;
    bool isGif_ = false;
    int width_ = 0;
    int height_ = 0;
    QColor background_{255, 255, 255};

    // What a frame changes when the surface shows, whole, the frame before it
    // (both cover the whole surface, opaque); measured at load.
    struct FrameStep {
        bool Known = false;
        int From = -1; // the frame before it
        QRect Changed; // empty: nothing
    };
    std::vector<FrameStep> steps_;
    int surfaceFrame_ = -1; // the frame the surface shows whole; -1: none
    std::optional<QRect> pendingFill_;

    QImage surface_;
    QImage savedArea_; // the area under a frame with disposal 3 while it shows
    QRect savedRect_;
    bool initialised_ = false;
    bool playing_ = false;
    bool begun_ = false; // the current frame has been composed since Draw
    bool onScreen_ = false;
    bool exposed_ = true;
    QTimer frameTimer_;
};

} // namespace sentinax
