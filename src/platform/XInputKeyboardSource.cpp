#include "platform/XInputKeyboardSource.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <future>
#include <utility>

#include "platform/WakeEvent.h"
#include "platform/XConnection.h"

namespace platform {

namespace {

// The data of one generic event, fetched by XGetEventData and freed at the end of the scope.
class GenericEventData {
public:
    GenericEventData(Display* display, XGenericEventCookie& cookie)
        : display_(display), cookie_(cookie), fetched_(XGetEventData(display, &cookie)) {}
    ~GenericEventData() {
        if (fetched_) {
            XFreeEventData(display_, &cookie_);
        }
    }
    GenericEventData(const GenericEventData&) = delete;
    GenericEventData& operator=(const GenericEventData&) = delete;

    bool Fetched() const { return fetched_; }

private:
    Display* display_;
    XGenericEventCookie& cookie_;
    bool fetched_;
};

// Whether the server of `display` has XInput2 2.0 or later; `opcode` is then the extension's
// major opcode, which its generic events carry. Asking for 2.2 matters: the server only sends raw
// events to clients of 2.1 and later while another client grabs the keyboard (a menu that is
// open, a game), and it answers with its own version when that is older. Asked once per
// connection: the server refuses a second, different version.
bool HasXInput2(Display* display, int& opcode) {
    int event = 0;
    int error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) {
        return false;
    }
    int major = 2;
    int minor = 2;
    // Fails on the client side, without an X error, when the server only has XInput 1.
    return XIQueryVersion(display, &major, &minor) == Success && major >= 2;
}

// Reads the raw key events of $DISPLAY on a connection of its own and hands them to `sink` until
// `wakeFd` becomes readable or the connection is lost. Reports through `started` whether everything
// was selected.
void ReadKeys(const KeyboardSource::Sink& sink, int wakeFd, std::promise<bool>& started) {
    XConnection connection;
    Display* const x = connection.Get();
    int xiOpcode = 0;
    int xkbOpcode = 0;
    int xkbEvent = 0;
    int xkbError = 0;
    int xkbMajor = XkbMajorVersion;
    int xkbMinor = XkbMinorVersion;
    if (x == nullptr || !HasXInput2(x, xiOpcode) ||
        !XkbQueryExtension(x, &xkbOpcode, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor)) {
        started.set_value(false);
        return;
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(x, DefaultRootWindow(x), &mask, 1);

    // Num Lock is followed as the locked modifiers of the core keyboard, read once here and then
    // from the state notifications, which come in order with the raw events. Asking the server at
    // each key (the modifier state or the "Num Lock" indicator) would give the state of the
    // moment the event is read rather than of the moment the key was pressed: a keypad key typed
    // just before Num Lock, both waiting in the queue, would get the new state. The modifier
    // rather than the indicator, because the modifier is what decides what a keypad key types;
    // the indicator only shows it, and a keymap may name it differently or lack it.
    XkbSelectEventDetails(x, XkbUseCoreKbd, XkbStateNotify, XkbModifierLockMask,
                          XkbModifierLockMask);
    // The real modifier the Num Lock key locks: Mod2 in every common keymap, but not by rule.
    const unsigned numLockMask = XkbKeysymToModifiers(x, XK_Num_Lock);
    XkbStateRec state{};
    // Its reply also proves that the server has taken the selections above, so a key pressed once
    // Listen returned is seen.
    if (XkbGetState(x, XkbUseCoreKbd, &state) != Success || connection.Lost()) {
        started.set_value(false);
        return;
    }
    unsigned lockedMods = state.locked_mods;
    started.set_value(true);

    // Hands everything Xlib has read or can read now to the sink; false once the connection is
    // lost.
    auto deliverPending = [&] {
        while (!connection.Lost() && XPending(x) > 0) {
            XEvent event;
            XNextEvent(x, &event);
            if (event.type == xkbEvent) {
                const auto& xkb = reinterpret_cast<const XkbEvent&>(event);
                if (xkb.any.xkb_type == XkbStateNotify) {
                    lockedMods = xkb.state.locked_mods;
                }
                continue;
            }
            XGenericEventCookie& cookie = event.xcookie;
            if (cookie.type != GenericEvent || cookie.extension != xiOpcode ||
                (cookie.evtype != XI_RawKeyPress && cookie.evtype != XI_RawKeyRelease)) {
                continue;
            }
            const GenericEventData data(x, cookie);
            if (!data.Fetched()) {
                continue;
            }
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            // X key codes are the Linux input codes plus 8; there are none below 8.
            if (raw->detail > 8) {
                sink(LinuxKey{raw->detail - 8, cookie.evtype == XI_RawKeyRelease,
                              (lockedMods & numLockMask) != 0});
            }
        }
        return !connection.Lost();
    };

    pollfd fds[2] = {{ConnectionNumber(x), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        // Xlib may already hold events it read along with a reply, which poll cannot see.
        if (!deliverPending()) {
            return;
        }
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // The server is gone; what it sent before is still worth delivering.
            deliverPending();
            return;
        }
    }
}

}  // namespace

XInputKeyboardSource::~XInputKeyboardSource() {
    StopListening();
}

bool XInputKeyboardSource::DisplayHasXInput2() {
    XConnection connection;
    int opcode = 0;
    return connection.Get() != nullptr && HasXInput2(connection.Get(), opcode);
}

bool XInputKeyboardSource::Listen(Sink sink) {
    StopListening();
    UniqueFd wake = MakeWakeEvent();
    if (!wake.IsValid()) {
        return false;
    }
    std::promise<bool> started;
    std::future<bool> result = started.get_future();
    const int wakeFd = wake.Get();
    // The promise belongs to the thread, so it is not destroyed under the thread's report.
    std::thread thread([sink = std::move(sink), wakeFd, started = std::move(started)]() mutable {
        ReadKeys(sink, wakeFd, started);
    });
    if (!result.get()) {
        thread.join();
        return false;
    }
    wake_ = std::move(wake);
    thread_ = std::move(thread);
    return true;
}

void XInputKeyboardSource::StopListening() {
    if (!thread_.joinable()) {
        return;
    }
    SignalWakeEvent(wake_);
    thread_.join();
    wake_.Close();
}

}  // namespace platform
