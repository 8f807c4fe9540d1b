#pragma once

#include <string>

#include "keys/KeyCapture.h"
#include "keys/KeyEvent.h"
#include "ui/toolkit/MDialog.h"

class MWindow;

// The small dialog the macro editor asks for a key with: while its key field has the focus,
// every key pressed or released on the keyboard (modifiers included) becomes the dialog's key
// and shows its name in the field. OK ends it with the key, the close button without.
class RecordEditDlg : public MDialog, private keys::KeyListener {
public:
    static constexpr int kTitle = 31;
    static constexpr int kCloseButton = 32;
    static constexpr int kLabel = 33;
    static constexpr int kKeyField = 34;
    static constexpr int kOkButton = 35;
    static constexpr int kWidth = 360;
    static constexpr int kHeight = 150;
    // The title the main window knows the key dialog by: it closes the dialog (as cancelled) when
    // the mouse goes away.
    static constexpr char16_t kWindowTitle[] = u"CustomKeyDlg";

    explicit RecordEditDlg(keys::KeyCapture& capture);
    // Leaves the key capture without a listener when the dialog still is it.
    ~RecordEditDlg() override;

    // The key captured last: its virtual-key code (0: none) and name. User-interface thread.
    int GetKeyCode() const { return keyCode_; }
    const std::u16string& GetKeyName() const { return keyName_; }

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    // MWindow override: the dialog's own keys go to the key capture.
    void OnKeyboardKey(const platform::LinuxKey& key) override;

private:
    // keys::KeyListener override
    void OnKeyEvent(const keys::KeyEvent& event) override;
    void StopListening();

    keys::KeyCapture& capture_;
    // User-interface thread only.
    int keyCode_ = 0;
    std::u16string keyName_;
};

// Runs the dialog modally over `owner` (centred on it). True, with the key's code, kind and name
// in `key`, when it was closed with OK holding a key; false for any other ending.
// User-interface thread.
bool AskMacroKey(MWindow* owner, keys::KeyCapture& capture, keys::KeyEvent& key);
