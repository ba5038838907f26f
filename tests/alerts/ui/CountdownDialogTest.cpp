// Offscreen tests of the over-temperature and chassis countdown dialogs.
#include "alerts/ui/CChassisWarningDlg.h"
#include "alerts/ui/CSystemProtectionDlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace sentinax {
namespace {

// Result of an exec() cut short by the safety limit: a broken countdown
// fails the test instead of hanging it.
constexpr int kGaveUp = -1;
constexpr int kSafetyLimitMs = 20000;

// Runs dialog.exec(); during() runs once inside its event loop.
int ExecWith(QDialog& dialog, const std::function<void()>& during = {}) {
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, &dialog, [&dialog] { dialog.done(kGaveUp); });
    safety.start(kSafetyLimitMs);
    if (during) {
        QTimer::singleShot(0, &dialog, during);
    }
    return dialog.exec();
}

void SpinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void PressKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// Lets a test take countdown steps by hand.
struct Stepper {
    virtual ~Stepper() = default;
    virtual CountdownDialog& Dialog() = 0;
    virtual void Step() = 0;
};

template <typename D> struct SteppedDialog : D, Stepper {
    SteppedDialog() : D(nullptr, 60000) {}
    CountdownDialog& Dialog() override { return *this; }
    void Step() override { this->OnCountdownTick(); }
};

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<CountdownDialog>(QWidget* parent, int intervalMs)> make;
    std::function<std::unique_ptr<Stepper>()> makeStepped;
    int* ticks;
    const char* caption;
    const char* text;
    const char* okText;
    QSize size;
    QRect textRect, progressRect, okRect, cancelRect;
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<DialogCase> Cases() {
    return {
        {"SystemProtection",
         [](QWidget* p, int ms) { return std::make_unique<CSystemProtectionDlg>(p, ms); },
         [] { return std::make_unique<SteppedDialog<CSystemProtectionDlg>>(); },
         &CSystemProtectionDlg::CountdownTicks, "System Protection",
         "CPU temperature abnormal !\n  System will Shutdown .", "Accept Now", QSize(285, 71),
         QRect(41, 7, 198, 20), QRect(44, 35, 196, 9), QRect(43, 50, 62, 14),
         QRect(189, 50, 50, 14)},
        {"ChassisWarning",
         [](QWidget* p, int ms) { return std::make_unique<CChassisWarningDlg>(p, ms); },
         [] { return std::make_unique<SteppedDialog<CChassisWarningDlg>>(); },
         &CChassisWarningDlg::CountdownTicks, "Chassis Intrusion Warning",
         "Chassis Abnormal !!\nPlease reset it  , and check chassis status !", "Reset Now !",
         QSize(187, 78), QRect(13, 13, 158, 21), QRect(22, 42, 147, 6), QRect(34, 57, 50, 14),
         QRect(108, 57, 50, 14)},
    };
}

class CountdownDialogTest : public testing::TestWithParam<DialogCase> {};

TEST(DialogUnits, ConvertWithQuarterAndEighthOfTheBaseUnitsRoundedToNearest) {
    const QSize base(6, 13); // the classic 8 pt dialog font at 96 dpi
    EXPECT_EQ(MapDialogSize(QSize(285, 71), base), QSize(428, 115)); // 427.5 -> 428
    EXPECT_EQ(MapDialogRect(QRect(43, 50, 62, 14), base), QRect(65, 81, 93, 23));
    EXPECT_EQ(MapDialogRect(QRect(22, 42, 147, 6), base), QRect(33, 68, 221, 10));
    EXPECT_EQ(MapDialogRect(QRect(0, 0, 0, 0), base), QRect(0, 0, 0, 0));
    // Wider fonts scale the layout, they do not shift it.
    EXPECT_EQ(MapDialogRect(QRect(4, 8, 4, 8), QSize(7, 15)), QRect(7, 15, 7, 15));
}

TEST(DialogUnits, BaseUnitsComeFromTheFontAndGrowWithIt) {
    QFont small = CountdownDialogFont();
    QFont large = small;
    large.setPointSize(16);
    const QSize a = DialogBaseUnits(small);
    const QSize b = DialogBaseUnits(large);
    EXPECT_GT(a.width(), 0);
    EXPECT_GT(a.height(), a.width()); // letters are taller than they are wide
    EXPECT_GT(b.width(), a.width());
    EXPECT_GT(b.height(), a.height());
}

TEST_P(CountdownDialogTest, ShowsItsTextsWithOkAsDefaultAndNoCloseBox) {
    const DialogCase& c = GetParam();
    auto dialog = c.make(nullptr, CountdownDialog::kTickIntervalMs);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(dialog->TextLabel()->text(), QString::fromUtf8(c.text));
    EXPECT_TRUE(dialog->TextLabel()->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(dialog->OkButton()->text(), QString::fromUtf8(c.okText));
    EXPECT_EQ(dialog->CancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(dialog->OkButton()->isDefault());
    EXPECT_FALSE(dialog->CancelButton()->isDefault());
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(dialog->ProgressBar()->minimum(), 0);
    EXPECT_EQ(dialog->ProgressBar()->maximum(), 30);
    EXPECT_EQ(dialog->TickIntervalMs(), 1000);
}

TEST_P(CountdownDialogTest, LaysOutTheTemplateInPixels) {
    const DialogCase& c = GetParam();
    auto dialog = c.make(nullptr, CountdownDialog::kTickIntervalMs);
    const QSize base = dialog->BaseUnits();
    EXPECT_EQ(base, DialogBaseUnits(CountdownDialogFont()));
    EXPECT_EQ(dialog->size(), MapDialogSize(c.size, base));
    EXPECT_EQ(dialog->TextLabel()->geometry(), MapDialogRect(c.textRect, base));
    EXPECT_EQ(dialog->ProgressBar()->geometry(), MapDialogRect(c.progressRect, base));
    EXPECT_EQ(dialog->OkButton()->geometry(), MapDialogRect(c.okRect, base));
    EXPECT_EQ(dialog->CancelButton()->geometry(), MapDialogRect(c.cancelRect, base));

    const QRect client = dialog->rect();
    for (QWidget* w :
         {static_cast<QWidget*>(dialog->TextLabel()), static_cast<QWidget*>(dialog->ProgressBar()),
          static_cast<QWidget*>(dialog->OkButton()),
          static_cast<QWidget*>(dialog->CancelButton())}) {
        EXPECT_TRUE(client.contains(w->geometry())) << w->metaObject()->className();
    }
    EXPECT_LE(dialog->TextLabel()->geometry().bottom(), dialog->ProgressBar()->geometry().top());
    EXPECT_LT(dialog->ProgressBar()->geometry().bottom(), dialog->OkButton()->geometry().top());
    EXPECT_EQ(dialog->OkButton()->geometry().top(), dialog->CancelButton()->geometry().top());
    EXPECT_LT(dialog->OkButton()->geometry().right(), dialog->CancelButton()->geometry().left());
}

TEST_P(CountdownDialogTest, AcceptsByItselfOnTheThirtiethStep) {
    const DialogCase& c = GetParam();
    QWidget mainWindow;
    mainWindow.show();
    int mainWindowTicks = 0;
    QTimer mainTimer;
    QObject::connect(&mainTimer, &QTimer::timeout, [&] { ++mainWindowTicks; });
    mainTimer.start(1);

    auto dialog = c.make(&mainWindow, 5);
    *c.ticks = 17; // left from an earlier dialog
    EXPECT_EQ(ExecWith(*dialog), QDialog::Accepted);
    EXPECT_EQ(*c.ticks, 30);
    EXPECT_EQ(dialog->ProgressBar()->value(), 30);
    // The modal loop kept the main window's timer running.
    EXPECT_GT(mainWindowTicks, 0);

    // Closed means stopped: no step after the dialog is gone.
    SpinEventLoop(50);
    EXPECT_EQ(*c.ticks, 30);
}

TEST_P(CountdownDialogTest, StepsByHandAcceptOnlyOnTheThirtieth) {
    const DialogCase& c = GetParam();
    auto stepped = c.makeStepped();
    CountdownDialog& dialog = stepped->Dialog();
    dialog.open();
    for (int i = 0; i < 29; ++i) {
        stepped->Step();
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ProgressBar()->value(), 29);
    EXPECT_EQ(*c.ticks, 29);
    stepped->Step();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(*c.ticks, 30);
}

TEST_P(CountdownDialogTest, CancelAndEscapeReject_EnterAndOkAcceptAtOnce) {
    const DialogCase& c = GetParam();
    struct Action {
        const char* name;
        std::function<void(CountdownDialog&)> act;
        int expected;
    };
    const std::vector<Action> actions = {
        {"Cancel", [](CountdownDialog& d) { d.CancelButton()->click(); }, QDialog::Rejected},
        {"Escape", [](CountdownDialog& d) { PressKey(&d, Qt::Key_Escape); }, QDialog::Rejected},
        {"OK", [](CountdownDialog& d) { d.OkButton()->click(); }, QDialog::Accepted},
        {"Enter", [](CountdownDialog& d) { PressKey(&d, Qt::Key_Return); }, QDialog::Accepted},
    };
    for (const Action& a : actions) {
        auto dialog = c.make(nullptr, 60000);
        EXPECT_EQ(ExecWith(*dialog, [&] { a.act(*dialog); }), a.expected) << a.name;
        EXPECT_EQ(*c.ticks, 0) << a.name;
    }
}

TEST_P(CountdownDialogTest, EveryOpeningStartsFromZero) {
    const DialogCase& c = GetParam();
    auto dialog = c.make(nullptr, 2);
    // First opening: let a few steps pass, then cancel.
    int seenAtCancel = 0;
    EXPECT_EQ(ExecWith(*dialog,
                       [&] {
                           QTimer::singleShot(30, dialog.get(), [&] {
                               seenAtCancel = *c.ticks;
                               dialog->CancelButton()->click();
                           });
                       }),
              QDialog::Rejected);
    ASSERT_GT(seenAtCancel, 0);
    ASSERT_LT(seenAtCancel, 30);
    SpinEventLoop(30);
    EXPECT_EQ(*c.ticks, seenAtCancel); // stopped when it closed

    // Second opening of the same dialog, and a fresh one: both restart.
    int ticksAtOpen = -1;
    int barAtOpen = -1;
    auto probe = [&](CountdownDialog& d) {
        ticksAtOpen = *c.ticks;
        barAtOpen = d.ProgressBar()->value();
        d.CancelButton()->click();
    };
    dialog = c.make(nullptr, 60000);
    ExecWith(*dialog, [&] { probe(*dialog); });
    EXPECT_EQ(ticksAtOpen, 0);
    EXPECT_EQ(barAtOpen, 0);
}

TEST_P(CountdownDialogTest, ComesUpCentredOnTheScreenWhenTheMainWindowIsHidden) {
    const DialogCase& c = GetParam();
    QWidget mainWindow;
    mainWindow.setGeometry(5000, 5000, 300, 200); // far off: must not place the dialog
    mainWindow.show();
    mainWindow.hide(); // hidden to the tray
    auto dialog = c.make(&mainWindow, 60000);
    QWindow dummyWindow;
    bool visible = false;
    QRect frame;
    QWindow* linkedTo = &dummyWindow;
    ExecWith(*dialog, [&] {
        visible = dialog->isVisible();
        frame = dialog->geometry();
        linkedTo = dialog->windowHandle()->transientParent();
        dialog->reject();
    });
    EXPECT_TRUE(visible);
    EXPECT_EQ(linkedTo, nullptr); // not kept out of sight with its hidden owner
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
    // Centred, give or take a window frame.
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 8);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 40);

    // Back from the tray, the owner holds its dialog again.
    mainWindow.show();
    ExecWith(*dialog, [&] {
        linkedTo = dialog->windowHandle()->transientParent();
        dialog->reject();
    });
    EXPECT_EQ(linkedTo, mainWindow.windowHandle());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, CountdownDialogTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<DialogCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CountdownCounters, TheTwoDialogsCountSeparately) {
    CSystemProtectionDlg protection(nullptr, 1);
    ASSERT_EQ(ExecWith(protection), QDialog::Accepted);
    ASSERT_EQ(CSystemProtectionDlg::CountdownTicks, 30);

    CChassisWarningDlg chassis(nullptr, 60000);
    ExecWith(chassis, [&] { chassis.reject(); });
    EXPECT_EQ(CChassisWarningDlg::CountdownTicks, 0);
    EXPECT_EQ(CSystemProtectionDlg::CountdownTicks, 30);
}

} // namespace
} // namespace sentinax
