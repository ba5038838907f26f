// What the animated picture and the About box cost. The frame benchmarks run
// the real clock: each iteration waits in the event loop for the next frame
// to be composed and painted (50 ms apart), so the CPU column is the whole
// process's CPU per frame (timer wake-up, composing, painting) and the Time
// column is the frame period.
#include "CAboutCtrl.h"
#include "CAboutDialog.h"
#include "CAnimatedPicture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

using sentinax::CAnimatedPicture;

// Ends an event loop at the picture's next paint.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* watched) { watched->installEventFilter(this); }
    void WaitForPaint() {
        QEventLoop loop;
        loop_ = &loop;
        // Guards a stalled clock; a frame is due every 50 ms.
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        loop_ = nullptr;
    }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (loop_)
                loop_->quit();
        }
        return false;
    }

private:
    QEventLoop* loop_ = nullptr;
};

struct Face {
    QWidget window;
    CAnimatedPicture* picture = new CAnimatedPicture(&window);
    Face() {
        window.resize(560, 430);
        picture->move(443, 57);
        if (!picture->LoadFromResource(QStringLiteral("129"), QStringLiteral("GIF")))
            std::abort();
    }
};

// One frame of the shown window's animation, from timer to painted pixels.
void BM_ShownAnimationFrame(benchmark::State& state) {
    Face face;
    face.window.show();
    face.picture->Draw();
    PaintWatch watch(face.picture);
    watch.WaitForPaint(); // the first frame
    for (auto _ : state)
        watch.WaitForPaint();
    state.counters["paints"] = watch.paints;
}
BENCHMARK(BM_ShownAnimationFrame)->Iterations(100)->MeasureProcessCPUTime()->UseRealTime();

// 50 ms of a hidden window's animation: the clock is stopped, nothing runs.
void BM_HiddenAnimation50ms(benchmark::State& state) {
    Face face;
    face.picture->Draw();
    PaintWatch watch(face.picture);
    const size_t frame = face.picture->CurrentFrame();
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (watch.paints != 0 || face.picture->CurrentFrame() != frame)
        state.SkipWithError("a hidden picture was animated");
}
BENCHMARK(BM_HiddenAnimation50ms)->Iterations(40)->MeasureProcessCPUTime()->UseRealTime();

// The same 50 ms of event loop with no picture at all: the baseline that the
// hidden animation is compared with.
void BM_IdleLoop50ms(benchmark::State& state) {
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
BENCHMARK(BM_IdleLoop50ms)->Iterations(40)->MeasureProcessCPUTime()->UseRealTime();

// The two halves of a frame without the wait: drawing one frame over a
// surface as the clock does, and the paint that copies the surface out.
void BM_ComposeFrame(benchmark::State& state) {
    Face face;
    QImage surface = face.picture->Surface();
    size_t frame = 0;
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.drawImage(0, 0, face.picture->Frames()[frame].Picture);
        frame = (frame + 1) % face.picture->Frames().size();
    }
}
BENCHMARK(BM_ComposeFrame);

void BM_PaintPicture(benchmark::State& state) {
    Face face;
    face.window.show();
    face.picture->Draw();
    face.picture->Stop();
    for (auto _ : state) {
        face.picture->update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PaintPicture);

// Loading the shipped picture: the walk and the decoding of its eight frames.
void BM_LoadShippedPicture(benchmark::State& state) {
    CAnimatedPicture picture;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            picture.LoadFromResource(QStringLiteral("129"), QStringLiteral("GIF")));
}
BENCHMARK(BM_LoadShippedPicture);

// One 40 ms tick of the About box: compose picture and credits, paint.
void BM_AboutTick(benchmark::State& state) {
    sentinax::CAboutDialog dialog(nullptr, sentinax::HostMode::None);
    dialog.show();
    sentinax::CAboutCtrl& credits = dialog.Credits();
    for (auto _ : state) {
        credits.AnimationStep();
        credits.repaint();
    }
}
BENCHMARK(BM_AboutTick);

} // namespace
