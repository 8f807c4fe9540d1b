#pragma once

struct _XDisplay;  // Xlib's Display

namespace platform {

// A connection of its own to the X display that $DISPLAY names, closed at the end. Xlib ends the
// whole program when any connection breaks; a break of this one only marks it lost, so the X
// server ending under a helper thread ends that thread's work, not the program. Every other
// connection keeps the handling it had (Qt's, or Xlib's own).
//
// Used by one thread at a time: Xlib reports the break on the thread whose call met it. Not
// copyable or movable: Xlib holds the object's address.
class XConnection {
public:
    // Opens $DISPLAY; Get() is null when that failed.
    XConnection();
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    _XDisplay* Get() const { return display_; }
    // True once a call on the connection found it broken; from then on Xlib calls on it return
    // at once without doing anything.
    bool Lost() const { return lost_; }

private:
    _XDisplay* display_ = nullptr;
    bool lost_ = false;  // set by Xlib on the thread that uses the connection
};

}  // namespace platform
