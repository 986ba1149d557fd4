// SPDX-License-Identifier: Apache-2.0
#include "platform/scale.h"

#include "platform/form.h"
#include "platform/layout.h"
#include "platform/twips.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace platform {

namespace {

double factor = 1.0;

// Below this the game could not be read anyway; a broken screen size must not make it vanish.
constexpr double SmallestScale = 0.25;

#if QT_CONFIG(xcb)
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, false, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a window's property; none where it is not set.
std::vector<uint32_t> property(xcb_connection_t* x, xcb_window_t window, xcb_atom_t name,
                               xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x, xcb_get_property(x, false, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + reply->value_len};
}

// The frame the window manager would put around a window of the main window's kind, in device
// pixels: none without a window manager; nothing known when it does not answer in time.
std::optional<QMargins> frameOnX11(xcb_connection_t* x, QScreen* screen) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // A running window manager names a window of its own on the root window, and that window
    // names itself; a name left behind by one that has ended does not.
    const xcb_atom_t check = atom(x, "_NET_SUPPORTING_WM_CHECK");
    const std::vector<uint32_t> manager = property(x, root, check, XCB_ATOM_WINDOW);
    if (manager.size() != 1 || property(x, manager[0], check, XCB_ATOM_WINDOW) != manager)
        return QMargins();
    // A window manager that does not list the request would never answer it: waiting for it
    // would only delay the start.
    const xcb_atom_t requestType = atom(x, "_NET_REQUEST_FRAME_EXTENTS");
    const std::vector<uint32_t> supported =
        property(x, root, atom(x, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    if (std::find(supported.begin(), supported.end(), requestType) == supported.end())
        return std::nullopt;

    QWindow probe(screen);
    const auto window = xcb_window_t(probe.winId());
    // The window is never mapped: the window manager is asked for the frame it would draw.
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = requestType;
    xcb_send_event(x, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(x);
    const xcb_atom_t extents = atom(x, "_NET_FRAME_EXTENTS");
    const QDeadlineTimer deadline(500);
    do {
        const std::vector<uint32_t> frame = property(x, window, extents, XCB_ATOM_CARDINAL);
        if (frame.size() == 4) // left, right, top, bottom
            return QMargins(int(frame[0]), int(frame[2]), int(frame[1]), int(frame[3]));
        // A window manager answers within a millisecond or so; each look is one round trip.
        QThread::usleep(250);
    } while (!deadline.hasExpired());
    return std::nullopt;
}
#endif

} // namespace

double scale() {
    return factor;
}

void setScale(double value) {
    factor = value;
}

double fittingScale(QSize pageTwips, QSize area) {
    const double across = double(area.width()) * TwipsPerPixel / pageTwips.width();
    const double down = double(area.height()) * TwipsPerPixel / pageTwips.height();
    return std::max(std::min(across, down), SmallestScale);
}

QMargins windowFrame(const QScreen& screen) {
    QScreen* on = const_cast<QScreen*>(&screen);
#if QT_CONFIG(xcb)
    // The offscreen platform answers as an X11 application too, without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && x11 && x11->connection()) {
        // A window manager that does not say gets room for a frame larger than the usual ones.
        const QMargins frame = frameOnX11(x11->connection(), on).value_or(QMargins(8, 48, 8, 8));
        const double ratio = screen.devicePixelRatio();
        const auto points = [ratio](int pixels) { return int(std::ceil(pixels / ratio)); };
        return {points(frame.left()), points(frame.top()), points(frame.right()),
                points(frame.bottom())};
    }
#endif
    // Other platforms know the frame of a window of the main window's kind once they have made
    // one; it is never shown.
    QWindow probe(on);
    probe.create();
    return probe.frameMargins();
}

QRect fitToScreen(QSize pageTwips, QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QRect contents = screen->availableGeometry().marginsRemoved(windowFrame(*screen));
    setScale(fittingScale(pageTwips, contents.size()));
    return contents;
}

namespace {

// Watches the main window: its native window appears when it is first shown, and that window
// says when it moves to another screen.
class ScreenFollower : public QObject {
public:
    ScreenFollower(QWidget* window, QSize pageTwips)
        : QObject(window)
        , window_(window)
        , pageTwips_(pageTwips) {
        window->installEventFilter(this);
        watch();
    }

    QPointer<QWidget> window_;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)
            watch();
        return false;
    }

private:
    void watch() {
        QWindow* handle = window_->windowHandle();
        if (!handle || handle == watched_)
            return;
        watched_ = handle;
        connect(handle, &QWindow::screenChanged, this, &ScreenFollower::moved);
    }

    void moved(QScreen* screen) {
        const double before = scale();
        fitToScreen(pageTwips_, screen);
        if (scale() == before)
            return;
        for (QWidget* window : QApplication::topLevelWidgets())
            layOutAgain(window);
        // A secondary window open meanwhile goes where the game now is.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* form = qobject_cast<Form*>(window); form && form->isVisible())
                form->placeOnGameScreen();
        }
    }

    QPointer<QWindow> watched_;
    QSize pageTwips_;
};

QPointer<ScreenFollower> follower;

} // namespace

void followScreen(QWidget* mainWindow, QSize pageTwips) {
    delete follower;
    follower = new ScreenFollower(mainWindow, pageTwips);
}

QScreen* gameScreen() {
    if (follower && follower->window_)
        return follower->window_->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace platform
