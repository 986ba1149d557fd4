// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QTimer>

namespace platform {

// A window's timer: off at creation; switching it on starts a fresh interval, switching it on
// while it runs changes nothing. Precise, so a countdown does not wobble.
class Timer : public QTimer {
    Q_OBJECT
public:
    explicit Timer(int intervalMs, QObject* parent = nullptr)
        : QTimer(parent) {
        setInterval(intervalMs);
        setTimerType(Qt::PreciseTimer);
    }

    void setEnabled(bool on) {
        if (!on)
            stop();
        else if (!isActive())
            start();
    }
    bool isEnabled() const { return isActive(); }
};

} // namespace platform
