// One suppression test of the monitoring tick: are any of the eight titles on
// screen? Measured against a private Xvfb holding 30 titled windows, once as
// bare top-level windows and once the way a reparenting window manager leaves
// them (a frame per client, WM_STATE on the client, _NET_CLIENT_LIST on the
// root). None of the windows carries a listed title, so every lookup reads
// every title. With $DISPLAY set, the same test on that display as well.
#include "alerts/Suppression.h"
#include "alerts/X11WindowFinder.h"

#include "XTestDisplay.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace sentinax;
using sentinax::testing::TitleClient;
using sentinax::testing::XvfbServer;

namespace {

constexpr int kWindows = 30;

struct Desktop {
    XvfbServer server;
    std::unique_ptr<TitleClient> client;
};

std::unique_ptr<Desktop> MakeDesktop(bool framed) {
    auto desktop = std::make_unique<Desktop>();
    if (!XvfbServer::Installed() || !desktop->server.Start()) {
        return nullptr;
    }
    desktop->client = std::make_unique<TitleClient>(desktop->server.Display());
    TitleClient& c = *desktop->client;
    std::vector<xcb_window_t> clients;
    for (int i = 0; i < kWindows; ++i) {
        const std::string title = "Document " + std::to_string(i) + " - Editor";
        xcb_window_t w = 0;
        if (framed) {
            const auto frame = c.Window(i % 5 != 0); // a few iconified ones
            w = c.Window(true, c.Window(true, frame));
            c.MarkManaged(w);
            clients.push_back(w);
        } else {
            w = c.Window(i % 5 != 0);
        }
        if (i % 2 == 0) {
            c.NetWmName(w, title);
        }
        c.WmName(w, title);
    }
    if (framed) {
        c.ClientList(clients);
    }
    c.Sync();
    return desktop;
}

void RunLookups(benchmark::State& state, WindowFinder& finder) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(MonitoringSuppressed(finder));
    }
}

void BM_SuppressionTest(benchmark::State& state) {
    auto desktop = MakeDesktop(state.range(0) != 0);
    if (!desktop) {
        state.SkipWithError("Xvfb is not installed or did not start");
        return;
    }
    X11WindowFinder finder(desktop->server.Display());
    RunLookups(state, finder);
}
BENCHMARK(BM_SuppressionTest)->ArgName("framed")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_SuppressionTestOnDisplay(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    X11WindowFinder finder(display);
    RunLookups(state, finder);
}
BENCHMARK(BM_SuppressionTestOnDisplay)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
