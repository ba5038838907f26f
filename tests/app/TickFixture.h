// What the whole-tick tests share: the controller on the double of the
// hardware library, with recorders for the window, the timers, the adjusters
// and the platform, and its warning log in a scratch folder that goes with
// the test.
#pragma once

#include "ControllerDoubles.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace sentinax::test {

class TickFixture : public ::testing::Test {
protected:
    void SetUp() override {
        hw().Reset();
        ASSERT_FALSE(dir.empty());
        settings.IntervalTime = 3;
        settings.Celsius = 1;
        settings.SoundWarning = 1;
    }
    void TearDown() override { controller.reset(); }
    static FakeHardware& hw() { return FakeHardware::Instance(); }

    // Every limit so far out that no reading breaks it (Wide), or the other
    // way round, so that every reading breaks its limits (Broken).
    enum class LimitsSet { Wide, Broken };

    // Builds the controller on the fake board of this product (handing it
    // sink, when given, before the start-up), runs its start-up and sets the
    // limits; the start-up tick is left to the test.
    void Open(const std::string& product, LimitsSet limits, ReadingSink* sink = nullptr) {
        hw().Dmi = FakeHardware::BoardDmi(product, "1.0");
        controller = std::make_unique<MainController>(settings, -1, view, timers, adjusters,
                                                      platform, CompanionPaths{}, dir + "/log.dat");
        if (sink)
            controller->AddSink(sink);
        ASSERT_TRUE(controller->OnInitDialog());
        const int32_t far = limits == LimitsSet::Wide ? 1000000 : -1000000;
        Thresholds& l = controller->Limits();
        for (int i = 0; i < kLimitCount; ++i)
            l[i] = (i % 2 == 0) ? far : -far;
    }
    void tick(int id = kSamplingTimer) { controller->OnTimer(id); }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            tick();
    }
    std::string text(ReadoutItem item) { return view.texts[static_cast<int>(item)]; }
    std::string log() const { return ReadFile(dir + "/log.dat"); }

    ScratchFolder scratch{"sx-tick"};
    std::string dir = scratch.Path().string();
    AppSettings settings;
    RecordingView view;
    RecordingTimers timers;
    FakePlatform platform;
    RecordingAdjusters adjusters;
    std::unique_ptr<MainController> controller;
};

} // namespace sentinax::test
