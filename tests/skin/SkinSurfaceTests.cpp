// The skinned surface on copies of the shipped skins: the shaped window and
// its face, faulty skins that still give a working window, clicks, adjuster
// reports, the hint field's marquee and dragging the window by its face.
#include "ScratchFolder.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinDialog.h"
#include "skin/CSkinSlider.h"
#include "skin/CSkinText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>

namespace sentinax {
namespace {

namespace fs = std::filesystem;

struct Surface : CSkinDialog {
    std::vector<std::string> messages, commands, pointer;
    std::vector<std::tuple<std::string, int, int>> slides;
    Surface() {
        SetReporter([this](const std::string& m) { messages.push_back(m); });
    }
    void OnButtonCommand(const std::string& name) override { commands.push_back(name); }
    void OnSliderChanged(const std::string& name, int code, int position) override {
        slides.emplace_back(name, code, position);
    }
    void OnPointerOver(const std::string& name, int, int) override { pointer.push_back(name); }
};

void Mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void Press(QWidget* w, QPoint pos) {
    Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
void MoveHeld(QWidget* w, QPoint pos) {
    Mouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
void Move(QWidget* w, QPoint pos) {
    Mouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}
void Release(QWidget* w, QPoint pos) {
    Mouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A folder with the shipped skin files and the pictures the build drew.
class SkinSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        fs::copy(fs::path(SX_RUN_DIR) / "Skins", dir, fs::copy_options::recursive);
        for (const char* ini : {"Skin.ini", "Skin4120.ini", "SkinBB.ini"})
            fs::copy_file(fs::path(SX_SHIPPED_SKINS) / ini, dir / ini,
                          fs::copy_options::overwrite_existing);
    }

    // The standard skin with one pattern of its text replaced.
    std::string Variant(const std::string& pattern, const std::string& replacement) {
        const std::string text =
            std::regex_replace(ReadText(dir / "Skin.ini"), std::regex(pattern), replacement);
        const fs::path path = dir / "Variant.ini";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    void Load(Surface& s, const std::string& path) {
        s.SetSkinPath(path);
        ASSERT_TRUE(s.OnInitDialog());
    }
    static CSkinSlider* Slider(Surface& s, const std::string& name) {
        for (CSkinSlider* slider : s.Sliders())
            if (slider->Name() == name)
                return slider;
        return nullptr;
    }

    test::ScratchFolder scratch{"sx-surface"};
    fs::path dir = scratch.Path();
};

TEST_F(SkinSurfaceTest, TheStandardSkinGivesAShapedFramelessFace) {
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    EXPECT_TRUE(s.messages.empty()) << s.messages.front();
    EXPECT_EQ(s.size(), QSize(560, 430));
    EXPECT_TRUE(s.windowFlags() & Qt::FramelessWindowHint);
    ASSERT_TRUE(s.WindowRegion().has_value());
    EXPECT_FALSE(s.WindowRegion()->contains(QPoint(0, 0)));
    EXPECT_TRUE(s.WindowRegion()->contains(QPoint(280, 215)));
    EXPECT_EQ(s.Buttons().size(), 7u);
    EXPECT_EQ(s.Texts().size(), 1u);
    EXPECT_EQ(s.Sliders().size(), 18u);
    // What is shown is the face, with the buttons in their normal look.
    const QImage shown = s.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QPoint p : {QPoint(100, 140), QPoint(30, 240), QPoint(30, 70), QPoint(537, 18)})
        EXPECT_EQ(shown.pixel(p), s.MainImage().pixel(p)) << p.x() << "," << p.y();
}

TEST_F(SkinSurfaceTest, ControlsReportByTheirRowNotTheirPlaceInTheList) {
    Surface s;
    Load(s, (dir / "Skin4120.ini").string());
    ASSERT_EQ(s.Sliders().size(), 16u) << "rows 9 and 10 are empty";
    s.OnSliderIndex(10, CSkinSlider::kThumbEnd, 7);
    s.OnButtonIndex(6);
    s.OnSliderIndex(8, CSkinSlider::kThumbEnd, 7); // an empty row: nobody
    ASSERT_EQ(s.slides.size(), 1u);
    EXPECT_EQ(std::get<0>(s.slides[0]), "VCORE_UPPER_LIMIT");
    EXPECT_EQ(s.commands, std::vector<std::string>{"BUTTON_EXIT"});
}

TEST_F(SkinSurfaceTest, FaultySkinsAreReportedOnceAndStillWork) {
    {
        QImage small(100, 80, QImage::Format_RGB32);
        small.fill(Qt::gray);
        small.save(QString::fromStdString((dir / "Small.jpg").string()));
        QImage smallMask(300, 200, QImage::Format_RGB32);
        smallMask.fill(Qt::black);
        smallMask.save(QString::fromStdString((dir / "SmallMask.png").string()));
        const std::string png = ReadText(dir / "Mask.png");
        std::ofstream(dir / "Broken.png", std::ios::binary) << png.substr(0, png.size() / 2);
        std::ofstream(dir / "Empty.jpg", std::ios::binary) << "";
    }
    struct Case {
        const char* why;
        std::string pattern, replacement, message;
        QSize size;
        bool shaped;
    } cases[] = {
        {"missing face", "Main=Main.jpg", "Main=Gone.jpg", "\"Gone.jpg\" does not exist",
         QSize(560, 430), false},
        {"undecodable face", "Main=Main.jpg", "Main=Empty.jpg", "\"Empty.jpg\" cannot be decoded",
         QSize(560, 430), false},
        {"truncated mask", "Mask=Mask.png", "Mask=Broken.png", "\"Broken.png\" cannot be decoded",
         QSize(560, 430), false},
        {"state picture of the wrong size", "Over=Over.jpg", "Over=Small.jpg",
         "pictures not of the window's size (560 x 430): \"Small.jpg\" (100 x 80)", QSize(560, 430),
         true},
        {"mask smaller than the controls", "Mask=Mask.png", "Mask=SmallMask.png",
         "controls not wholly inside the window's shape: BUTTON_MENU", QSize(300, 200), true},
        {"every adjuster names a missing thumb", "Normal\\.jpg", "NoThumb.jpg",
         "\"NoThumb.jpg\" does not exist", QSize(560, 430), true},
        {"text field without a font", "TEXT_HINT,DejaVu Sans", "TEXT_HINT,",
         "text field TEXT_HINT names no font", QSize(560, 430), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Surface s;
        Load(s, Variant(c.pattern, c.replacement));
        std::vector<std::string> related;
        for (const std::string& m : s.messages)
            if (m.find(c.message) != std::string::npos)
                related.push_back(m);
        EXPECT_EQ(related.size(), 1u);
        EXPECT_EQ(s.size(), c.size);
        EXPECT_EQ(s.WindowRegion().has_value(), c.shaped);
        // The window still works: every control exists and reports.
        ASSERT_EQ(s.Buttons().size(), 7u);
        EXPECT_EQ(s.Sliders().size(), 18u);
        QWidget* exit = s.Buttons().back();
        Press(exit, QPoint(5, 5));
        Release(exit, QPoint(5, 5));
        EXPECT_EQ(s.commands, std::vector<std::string>{"BUTTON_EXIT"});
        s.grab(); // paints without a face or thumb as well
    }
}

TEST_F(SkinSurfaceTest, AClickCountsOnlyWhenReleasedInside) {
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    CSkinButton* help = s.Buttons()[4];
    ASSERT_EQ(help->Name(), "BUTTON_HELP");
    Press(help, QPoint(10, 10));
    EXPECT_EQ(help->Face(), ButtonFace::Down);
    const QImage pressed = help->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pressed.pixel(11, 10), help->FaceImage(ButtonFace::Down).pixel(11, 10));
    Release(help, QPoint(10, 30)); // below the button
    EXPECT_TRUE(s.commands.empty());
    Press(help, QPoint(10, 10));
    Release(help, QPoint(21, 19));
    EXPECT_EQ(s.commands, std::vector<std::string>{"BUTTON_HELP"});
    EXPECT_EQ(help->Face(), ButtonFace::Normal);
    // The maker's plate has a static face: pressed, it still shows its normal look.
    CSkinButton* plate = s.Buttons()[0];
    Press(plate, QPoint(10, 10));
    EXPECT_EQ(plate->Face(), ButtonFace::Normal);
    Release(plate, QPoint(10, 10));
}

TEST_F(SkinSurfaceTest, AdjustersReportWhileDraggedAndOnRelease) {
    Surface s;
    // The shipped CPU limit sits past the adjuster's end; this drag starts mid-way.
    Load(s, Variant("H,102", "H,50"));
    CSkinSlider* upper = Slider(s, "CPU_TEMP_UPPER_LIMIT");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(upper->GetPos(), 50);
    // Grab the thumb, move it ten pixels right, let go.
    const SliderRect thumb = upper->ThumbRect();
    const QPoint grip((thumb.Left + thumb.Right) / 2, 7);
    Press(upper, grip);
    EXPECT_TRUE(upper->Dragging());
    MoveHeld(upper, grip + QPoint(10, 0));
    Release(upper, grip + QPoint(10, 0));
    using Report = std::tuple<std::string, int, int>;
    EXPECT_EQ(s.slides, (std::vector<Report>{{"CPU_TEMP_UPPER_LIMIT", 4, 75},
                                             {"CPU_TEMP_UPPER_LIMIT", 8, 75}}));
    EXPECT_EQ(s.GetSliderPosition("CPU_TEMP_UPPER_LIMIT"), 75);
    // Passing over it only names it as the control under the pointer.
    s.pointer.clear();
    Move(upper, QPoint(3, 3));
    EXPECT_EQ(s.pointer, std::vector<std::string>{"CPU_TEMP_UPPER_LIMIT"});
    // A press on the track pages toward the pointer; the thumb keeps its rest
    // look while the positions are reported.
    s.slides.clear();
    Press(upper, QPoint(52, 7));
    EXPECT_TRUE(upper->Pressed());
    EXPECT_FALSE(upper->Dragging());
    MoveHeld(upper, QPoint(53, 7));
    Release(upper, QPoint(53, 7));
    EXPECT_EQ(s.slides, (std::vector<Report>{{"CPU_TEMP_UPPER_LIMIT", 4, 95},
                                             {"CPU_TEMP_UPPER_LIMIT", 8, 95}}));
}

TEST_F(SkinSurfaceTest, TheHintFieldScrollsTextsThatDoNotFit) {
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    CSkinText* hint = s.Texts().front();
    EXPECT_TRUE(hint->Scrolling()) << "the welcome text is longer than the field";
    const int capacity = hint->Capacity();
    ASSERT_GT(capacity, 10);
    s.SetFieldText("TEXT_HINT", std::string(static_cast<size_t>(capacity), 'x'));
    EXPECT_FALSE(hint->Scrolling());
    s.SetFieldText("TEXT_HINT", std::string(static_cast<size_t>(capacity) + 1, 'x'));
    EXPECT_TRUE(hint->Scrolling());
    const QImage start = hint->grab().toImage();
    hint->Step();
    hint->Step();
    EXPECT_EQ(hint->Offset(), 2);
    s.SetFieldText("TEXT_HINT", "short");
    EXPECT_EQ(hint->Offset(), 0);
    EXPECT_NE(hint->grab().toImage(), start);
    s.SetFieldText("NO_SUCH_FIELD", "nothing happens");
    EXPECT_EQ(hint->Text(), "short");
}

// The marquee steps on its own while the window is shown and rests while it
// is hidden (to the tray).
TEST_F(SkinSurfaceTest, TheMarqueeRestsWhileTheWindowIsHidden) {
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    CSkinText* hint = s.Texts().front();
    ASSERT_TRUE(hint->Scrolling());
    s.show();
    QElapsedTimer clock;
    clock.start();
    while (hint->Offset() == 0 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_GT(hint->Offset(), 0) << "no step while shown";
    s.hide();
    const int rested = hint->Offset();
    clock.restart();
    while (clock.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(hint->Offset(), rested);
}

// A scroll step repaints the rows its text touches, and nothing outside them
// changes.
TEST_F(SkinSurfaceTest, AScrollStepRepaintsOnlyTheRowsOfItsText) {
    struct PaintLog : QObject {
        std::vector<QRect> rects;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                rects.push_back(static_cast<QPaintEvent*>(event)->rect());
            return false;
        }
    } log;
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    CSkinText* hint = s.Texts().front();
    ASSERT_TRUE(hint->Scrolling());
    s.show();
    QElapsedTimer clock;
    clock.start();
    while (!s.Exposure().Exposed() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    hint->SetExposed(false); // only the steps made here
    clock.restart();
    while (clock.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    const QImage before = hint->grab().toImage();
    hint->installEventFilter(&log);
    hint->Step();
    clock.restart();
    while (clock.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    ASSERT_EQ(log.rects.size(), 1u);
    const QRect rows = log.rects.front();
    EXPECT_EQ(rows.left(), 0);
    EXPECT_EQ(rows.width(), hint->width());
    EXPECT_LT(rows.height(), hint->height()) << "the rows above and below the text stay";
    hint->removeEventFilter(&log);
    const QImage after = hint->grab().toImage();
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(rows.contains(x, y)) << x << ", " << y << " changed outside";
            }
    EXPECT_GT(changed, 0) << "the text moved";
}

TEST_F(SkinSurfaceTest, ThePointerOverTheFaceIsReportedAndDragsTheWindow) {
    Surface s;
    Load(s, (dir / "Skin.ini").string());
    s.move(100, 100);
    s.show();
    const QPoint start = s.pos();
    Move(&s, QPoint(300, 300));
    EXPECT_EQ(s.pointer, std::vector<std::string>{""});
    // Offscreen there is no window manager to move it: it follows the pointer.
    Press(&s, QPoint(300, 300));
    MoveHeld(&s, QPoint(310, 305));
    Release(&s, QPoint(310, 305));
    EXPECT_EQ(s.pos(), start + QPoint(10, 5));
}

} // namespace
} // namespace sentinax

namespace sentinax {
namespace {

// The controls need no surface: they sit on any parent at their row's place
// and tell whoever listens by their row index, whatever their name.
TEST(SkinControls, TellTheirRowIndexThroughSignals) {
    QWidget parent;
    parent.resize(300, 200);
    std::vector<std::tuple<std::string, int, int>> told;
    auto record = [&told](const char* what, int index, int code = 0) {
        told.emplace_back(what, index, code);
    };

    ButtonInfo buttonRow{6, "BUTTON_X", {10, 20, 50, 40}, "tip", false};
    CSkinButton button(buttonRow, ButtonPictures{}, &parent);
    QObject::connect(&button, &CSkinButton::buttonClicked, [&](int i) { record("click", i); });
    QObject::connect(&button, &CSkinButton::pointerOver,
                     [&](int i, int x, int) { record("over", i, x); });
    EXPECT_EQ(button.geometry(), QRect(10, 20, 40, 20));
    Move(&button, QPoint(4, 5));
    Press(&button, QPoint(5, 5));
    Release(&button, QPoint(5, 40)); // below: no click
    Press(&button, QPoint(5, 5));
    Release(&button, QPoint(6, 6));

    SliderInfo sliderRow{11, "SOME_LIMIT", "", "", {0, 100, 120, 114}, true, 30};
    CSkinSlider slider(sliderRow, QImage(), QImage(), QImage(), &parent);
    QObject::connect(&slider, &CSkinSlider::sliderChanged, [&](int i, int code, int position) {
        record("slide", i, code);
        EXPECT_EQ(position, slider.GetPos());
    });
    QObject::connect(&slider, &CSkinSlider::pointerOver,
                     [&](int i, int x, int) { record("over", i, x); });
    Move(&slider, QPoint(7, 3));
    Press(&slider, QPoint(100, 7));
    MoveHeld(&slider, QPoint(101, 7));
    Release(&slider, QPoint(101, 7));

    TextInfo textRow;
    textRow.Index = 2;
    textRow.Name = "TEXT_X";
    textRow.Rect = {0, 150, 200, 170};
    CSkinText text(textRow, QImage(), &parent);
    QObject::connect(&text, &CSkinText::textClicked, [&](int i) { record("text", i); });
    Release(&text, QPoint(3, 3));

    using Told = std::tuple<std::string, int, int>;
    EXPECT_EQ(told, (std::vector<Told>{{"over", 6, 4},
                                       {"click", 6, 0},
                                       {"over", 11, 7},
                                       {"slide", 11, CSkinSlider::kThumbTrack},
                                       {"slide", 11, CSkinSlider::kThumbEnd},
                                       {"text", 2, 0}}));
}

} // namespace
} // namespace sentinax
