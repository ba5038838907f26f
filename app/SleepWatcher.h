// Tells the window when the system is about to sleep and when it woke up,
// from logind's PrepareForSleep signal on the system bus. Where there is no
// system bus or no logind, nothing is ever reported.
#pragma once

#include <QObject>

namespace sentinax {

class SleepWatcher : public QObject {
    Q_OBJECT
public:
    explicit SleepWatcher(QObject* parent = nullptr);
    bool Connected() const { return connected_; }

signals:
    void suspendQuery();
    void automaticResume();

private slots:
    void OnPrepareForSleep(bool start);

private:
    bool connected_ = false;
};

} // namespace sentinax
