#include "MonitorRoot.h"

#include "export/PrometheusFileSink.h"

namespace sentinax {

MonitorRoot::MonitorRoot(AppSettings& settings, int platformFamily,
                         const std::string& metricsFolder, SystemPlatform::Parts parts)
    : settings_(settings), platformFamily_(platformFamily), platform_(std::move(parts)),
      signals_(std::make_unique<SignalBridge>()),
      // Connected to the system bus now, so that a suspend is never missed.
      sleepWatcher_(std::make_unique<SleepWatcher>()) {
    if (!metricsFolder.empty())
        metrics_ = std::make_unique<PrometheusFileSink>(
            metricsFolder, [this](const std::string& message) { platform_.Report(message); });
}

MonitorRoot::~MonitorRoot() = default;

MainController& MonitorRoot::Build(MonitorView& view, AdjusterAccess& adjusters) {
    if (controller_)
        return *controller_;
    controller_ = std::make_unique<MainController>(settings_, platformFamily_, view, timers_,
                                                   adjusters, platform_);
    MainController& controller = *controller_;
    if (metrics_)
        controller.AddSink(metrics_.get());
    timers_.SetTick([&controller](int id) { controller.OnTimer(id); });
    QObject::connect(sleepWatcher_.get(), &SleepWatcher::suspendQuery, sleepWatcher_.get(),
                     [&controller] { controller.OnPowerBroadcast(PowerEvent::SuspendQuery); });
    QObject::connect(sleepWatcher_.get(), &SleepWatcher::automaticResume, sleepWatcher_.get(),
                     [&controller] { controller.OnPowerBroadcast(PowerEvent::ResumeAutomatic); });
    return controller;
}

} // namespace sentinax
