// A face that nobody can see costs nothing: while the window is covered (what
// the X server would report, driven here through the watcher's seam) the
// picture's frames and the hint line's scroll rest, nothing is painted, and
// everything goes on from where it stood when the face can be seen again.
#include "skin/CSkinDialog.h"
#include "skin/CSkinText.h"
#include "skin/ExposureWatcher.h"
#include "widgets/CAnimatedPicture.h"
#include "widgets/CHistoryGraph.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace sentinax {
namespace {

const std::string kGrammar = std::string(SX_SKIN_FIXTURES) + "/grammar.ini";

void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

// Runs the event loop until done() holds; the deadline only guards a hang.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

struct CountedGraph : CHistoryGraph {
    int paints = 0;
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CHistoryGraph::paintEvent(event);
    }
};

// The skinned window with a hint too long for its field, the animated
// picture and a graph, as the monitor's face has them.
struct Face {
    CSkinDialog dialog;
    CSkinText* hint = nullptr;
    CAnimatedPicture* picture = nullptr;
    CountedGraph* graph = new CountedGraph;

    Face() {
        dialog.SetReporter([](const std::string&) {});
        dialog.SetSkinPath(kGrammar);
        dialog.OnInitDialog();
        dialog.setFixedSize(560, 430);
        hint = dialog.Texts().front();
        hint->SetText(QString(200, QLatin1Char('w')));
        picture = new CAnimatedPicture(&dialog);
        picture->move(443, 57);
        picture->LoadFromResource(QStringLiteral("129"), QStringLiteral("GIF"));
        dialog.FollowExposure(picture);
        picture->Draw();
        graph->Create(QRect(20, 200, 120, 80), &dialog);
        graph->SetRange(0, 100, 0);
    }
    bool Resting() const {
        return !dialog.updatesEnabled() && picture->RemainingMs() == -1 && !hint->StepsRunning();
    }
    bool Running() const {
        return dialog.updatesEnabled() && picture->RemainingMs() >= 0 && hint->StepsRunning();
    }
};

TEST(Exposure, ACoveredFaceRestsAndGoesOnWhereItStopped) {
    Face face;
    ASSERT_TRUE(face.hint->Scrolling());
    ASSERT_TRUE(face.picture->IsPlaying());
    face.dialog.show();
    ASSERT_TRUE(WaitFor([&] { return face.dialog.Exposure().Exposed(); }));
    EXPECT_TRUE(face.Running());
    ASSERT_TRUE(
        WaitFor([&] { return face.picture->CurrentFrame() == 2 && face.hint->Offset() > 0; }));

    face.dialog.Exposure().SetCovered(true);
    EXPECT_FALSE(face.dialog.Exposure().Exposed());
    EXPECT_TRUE(face.Resting());
    const size_t frame = face.picture->CurrentFrame();
    const int offset = face.hint->Offset();
    const QImage surface = face.picture->Surface();
    const int paints = face.graph->paints;
    for (double v : {10.0, 90.0, 40.0})
        face.graph->AppendPoint(v); // the ticks go on
    Pump(300);
    EXPECT_EQ(face.picture->CurrentFrame(), frame) << "no frame while covered";
    EXPECT_EQ(face.picture->Surface(), surface);
    EXPECT_EQ(face.hint->Offset(), offset) << "no scroll step while covered";
    EXPECT_EQ(face.graph->paints, paints) << "nothing is painted while covered";

    face.dialog.Exposure().SetCovered(false);
    EXPECT_TRUE(face.dialog.Exposure().Exposed());
    EXPECT_TRUE(face.Running());
    EXPECT_EQ(face.picture->CurrentFrame(), frame) << "the picture resumes at its frame";
    EXPECT_GT(face.picture->RemainingMs(), 0);
    EXPECT_LE(face.picture->RemainingMs(), 50) << "the frame keeps its own time";
    EXPECT_EQ(face.hint->Offset(), offset);
    ASSERT_TRUE(WaitFor([&] { return face.graph->paints > paints; }))
        << "what changed meanwhile is painted when the face is seen again";
    ASSERT_TRUE(WaitFor([&] { return face.picture->CurrentFrame() != frame; }));
    EXPECT_EQ(face.picture->CurrentFrame(), (frame + 1) % face.picture->Frames().size())
        << "no frame is skipped";
    ASSERT_TRUE(WaitFor([&] { return face.hint->Offset() != offset; }));
    EXPECT_EQ(face.hint->Offset(), offset + 1);
}

// Hidden, covered and shown again in any order: the face is seen only when it
// is shown, exposed and not covered, and says each change once.
TEST(Exposure, TheWindowIsSeenOnlyWhenShownExposedAndUncovered) {
    QWidget window;
    window.resize(200, 100);
    ExposureWatcher watcher(&window);
    std::vector<bool> told;
    QObject::connect(&watcher, &ExposureWatcher::exposedChanged,
                     [&](bool exposed) { told.push_back(exposed); });
    EXPECT_FALSE(watcher.Exposed()) << "never shown";
    watcher.SetCovered(false);
    EXPECT_TRUE(told.empty());

    window.show();
    ASSERT_TRUE(WaitFor([&] { return watcher.Exposed(); }));
    watcher.SetCovered(true);
    watcher.SetCovered(true);
    window.hide();
    watcher.SetCovered(false); // uncovered while hidden: still unseen
    EXPECT_FALSE(watcher.Exposed());
    window.show();
    ASSERT_TRUE(WaitFor([&] { return watcher.Exposed(); }));
    window.hide();
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

} // namespace
} // namespace sentinax
