// SPDX-License-Identifier: Apache-2.0
#include "platform/clickshield.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QInputEvent>
#include <QStyleHints>
#include <QWidget>

namespace platform::ClickShield {

namespace {

// Notes the time of every mouse event the application receives, in the events' own clock: the
// second click of a double-click is stamped by the same clock as the first.
class InputClock : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            last = static_cast<QInputEvent*>(event)->timestamp();
            seen = true;
            break;
        default:
            break;
        }
        return false;
    }
    quint64 last = 0;
    bool seen = false;
};

// Eats the presses on one control that come too soon.
class PressFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        return (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               tooSoon(static_cast<QInputEvent*>(event));
    }
};

InputClock* clock() {
    static InputClock* instance = [] {
        auto* created = new InputClock;
        created->setParent(QCoreApplication::instance()); // ends with the application
        QCoreApplication::instance()->installEventFilter(created);
        return created;
    }();
    return instance;
}

bool changed = false;
quint64 changedAfter = 0; // the last mouse input before the change
// Since a window appeared that no click opened. A press says nothing of what its user saw, so
// this time is the program's, taken as the press arrives.
QElapsedTimer appearedUnasked;

} // namespace

void windowChanged() {
    changed = clock()->seen;
    changedAfter = clock()->last;
    appearedUnasked.invalidate();
}

void windowAppearedUnasked() {
    appearedUnasked.start();
}

bool tooSoon(const QInputEvent* press) {
    clock();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (appearedUnasked.isValid() && appearedUnasked.elapsed() < interval)
        return true;
    if (!changed)
        return false;
    // A press stamped before the change's input is from another clock (or wrapped round).
    const qint64 since = qint64(press->timestamp()) - qint64(changedAfter);
    return since >= 0 && since < interval;
}

void protect(QWidget* control) {
    clock();
    control->installEventFilter(new PressFilter(control));
}

} // namespace platform::ClickShield
