#include "platform/XConnection.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace platform {

namespace {

// Xlib's handler of I/O errors is one for the whole process, and its default exits before the
// connection's own exit handler is reached. Ours lets the connections of XConnection return from
// it and passes every other connection to the handler that was there before.
std::mutex ownDisplaysLock;
std::vector<Display*> ownDisplays;       // guarded by ownDisplaysLock
XIOErrorHandler previousIoErrorHandler;  // set once, under std::call_once
std::once_flag ioErrorHandlerInstalled;

int OnIoError(Display* display) {
    {
        std::lock_guard<std::mutex> lock(ownDisplaysLock);
        if (std::find(ownDisplays.begin(), ownDisplays.end(), display) != ownDisplays.end()) {
            // Xlib goes on to the connection's exit handler, which marks it lost.
            return 0;
        }
    }
    return previousIoErrorHandler(display);
}

}  // namespace

XConnection::XConnection() {
    std::call_once(ioErrorHandlerInstalled,
                   [] { previousIoErrorHandler = XSetIOErrorHandler(OnIoError); });
    // XOpenDisplay(nullptr) reads $DISPLAY and fails without it.
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(ownDisplaysLock);
        ownDisplays.push_back(display_);
    }
    XSetIOErrorExitHandler(
        display_,
        [](Display*, void* connection) { static_cast<XConnection*>(connection)->lost_ = true; },
        this);
}

XConnection::~XConnection() {
    if (display_ == nullptr) {
        return;
    }
    // Closed first and only then forgotten: closing a broken connection may report the break
    // again.
    XCloseDisplay(display_);
    std::lock_guard<std::mutex> lock(ownDisplaysLock);
    ownDisplays.erase(std::find(ownDisplays.begin(), ownDisplays.end(), display_));
}

}  // namespace platform
