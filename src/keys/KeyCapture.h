#pragma once

namespace platform {
struct LinuxKey;
}

namespace keys {

struct KeyEvent;

// What the capture of keys is for; the main window routes each decoded key by it.
inline constexpr int kCaptureRecording = 1;     // a macro recording takes every key
inline constexpr int kCaptureCombination = 10;  // the key-combination field (modifiers ignored)
inline constexpr int kCaptureEditorKey = 12;    // the macro editor's key field

// Receives the decoded keys of a capture, on the user-interface thread.
class KeyListener {
public:
    virtual ~KeyListener() = default;
    virtual void OnKeyEvent(const KeyEvent& event) = 0;
};

// The main window's key capture, offered to the pages and their dialogs. User-interface thread.
class KeyCapture {
public:
    virtual ~KeyCapture() = default;

    // Discards any listener, sets the capture mode and listens to the keyboard for `listener`
    // (trying once more when the keyboard cannot be listened to; after that the listener simply
    // never hears a key).
    virtual void Listen(int mode, KeyListener* listener) = 0;
    // Discards the listener; the mode stays. Keys that arrive afterwards are ignored.
    virtual void StopListening() = 0;
    // The listener keys go to now; null when none.
    virtual KeyListener* CurrentListener() const = 0;
    virtual int CaptureMode() const = 0;
    // A key of one of the program's own windows (dialogs over the main window included): where
    // the desktop's keyboard cannot be listened to, these are the keys a capture hears.
    virtual void FeedWindowKey(const platform::LinuxKey&) {}
};

}  // namespace keys
