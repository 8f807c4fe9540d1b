#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MDialog.h"

class MWindow;

// The skinned message box through which the program shows its messages and asks its
// confirmations. Type 0 has one button (text 20), type 4 two (texts 23 and 25); any other type
// has none and can only be closed from outside.
class CUIMessageBox : public MDialog {
public:
    static constexpr int kTitleText = 31;
    static constexpr int kMessageText = 32;
    static constexpr int kOkButton = 33;
    static constexpr int kCancelButton = 34;
    static constexpr int kTypeOk = 0;
    static constexpr int kTypeOkCancel = 4;
    static constexpr char16_t kWindowTitle[] = u"MessageBox";

    void SetTitleText(std::u16string title) { titleText_ = std::move(title); }
    void SetMessageText(std::u16string message) { messageText_ = std::move(message); }
    void SetType(int type) { type_ = type; }

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    std::u16string titleText_;
    std::u16string messageText_;
    std::int32_t type_ = kTypeOk;
};

// Runs a message box modally over `owner` (may be null) and returns the loop's result:
// kResultCancel (2) when the box ended with its second button or was closed, kResultOk (1) for
// the first button, and kResultCancel as well when the box cannot be created. User-interface
// thread only.
int ShowMessageBox(MWindow* owner, const std::u16string& message, const std::u16string& title,
                   int type);
