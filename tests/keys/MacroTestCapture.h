#pragma once

#include <string>
#include <vector>

#include "keys/KeyCapture.h"
#include "keys/KeyEvent.h"
#include "platform/KeyboardSource.h"

// The main window's key capture as the macro tests need it: it remembers who listens in which
// mode, and Press / Release hand a keyboard key to the listener, as the decoded raw input would.
class MacroTestCapture : public keys::KeyCapture {
public:
    void Listen(int mode, keys::KeyListener* listener) override {
        mode_ = mode;
        listener_ = listener;
    }
    void StopListening() override { listener_ = nullptr; }
    keys::KeyListener* CurrentListener() const override { return listener_; }
    int CaptureMode() const override { return mode_; }
    void FeedWindowKey(const platform::LinuxKey& key) override { fed.push_back(key.code); }

    void Send(const keys::KeyEvent& event) {
        if (listener_ != nullptr) {
            listener_->OnKeyEvent(event);
        }
    }
    void Press(int vk, const std::u16string& name) { Send({keys::kKeyboardEvent, 0, vk, name}); }
    void Release(int vk, const std::u16string& name) { Send({keys::kKeyboardEvent, 1, vk, name}); }

    // The Linux key codes of the windows' own keys handed over, in order.
    std::vector<int> fed;

private:
    int mode_ = 0;
    keys::KeyListener* listener_ = nullptr;
};
