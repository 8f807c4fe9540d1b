#include "ui/toolkit/controls/MEdit.h"

#include <climits>
#include <cstdint>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr Argb kEditFill = 0xFF1E2024u;
constexpr Argb kEditBorder = 0xFF4A4E55u;
constexpr Argb kEditHoverBorder = 0xFF6A6D72u;
constexpr Argb kDisabledText = 0xFF6A6D72u;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

MEdit::MEdit() : MEdit(kNotifyTextChanged, kNotifyEditEnded) {
}

MEdit::MEdit(int changedCode, int endedCode) : changedCode_(changedCode), endedCode_(endedCode) {
    align_ = kAlignLeft | kAlignVCenter;
}

void MEdit::SetHint(const std::u16string& hint) {
    auto lock = Guard();
    hint_ = hint;
    Invalidate();
}

std::u16string MEdit::GetHint() const {
    auto lock = Guard();
    return hint_;
}

void MEdit::SetDigitsOnly(bool digitsOnly) {
    auto lock = Guard();
    digitsOnly_ = digitsOnly;
}

bool MEdit::IsDigitsOnly() const {
    auto lock = Guard();
    return digitsOnly_;
}

void MEdit::SetMaxLength(int length) {
    auto lock = Guard();
    maxLength_ = length > 0 ? length : 0;
}

int MEdit::GetMaxLength() const {
    auto lock = Guard();
    return maxLength_;
}

int MEdit::GetInt() const {
    auto lock = Guard();
    size_t i = 0;
    while (i < title_.size() && (title_[i] == u' ' || title_[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < title_.size() && (title_[i] == u'-' || title_[i] == u'+')) {
        negative = title_[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < title_.size() && title_[i] >= u'0' && title_[i] <= u'9'; ++i) {
        value = value * 10 + (title_[i] - u'0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) {
            value = static_cast<std::int64_t>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

TextEntryInfo MEdit::GetTextEntryInfo() const {
    auto lock = Guard();
    TextEntryInfo info;
    info.digitsOnly = digitsOnly_;
    info.maxLength = maxLength_;
    return info;
}

std::u16string MEdit::GetEntryText() const {
    auto lock = Guard();
    return title_;
}

std::u16string MEdit::Limit(const std::u16string& text) const {
    std::u16string limited;
    int characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (digitsOnly_ && (c < u'0' || c > u'9')) {
            continue;
        }
        if (maxLength_ > 0 && characters == maxLength_) {
            break;
        }
        // A character outside the basic plane is a pair of units; it is kept or cut whole.
        limited.push_back(c);
        if (IsHighSurrogate(c) && i + 1 < text.size()) {
            limited.push_back(text[++i]);
        }
        ++characters;
    }
    return limited;
}

void MEdit::OnTextEntered(const std::u16string& text, bool finished) {
    auto lock = Guard();
    const std::u16string limited = Limit(text);
    if (limited != title_) {
        title_ = limited;
        Invalidate();
        Notify(changedCode_);
    }
    if (finished) {
        Invalidate();
        Notify(endedCode_);
    }
}

void MEdit::Paint(Painter& painter, const ControlState& state) const {
    if (DrawSkin(painter, state, rect_)) {
        if (state.focused) {
            painter.DrawRoundRect(rect_, 3, Manager::GetSelectionColor(), 1);
        }
    } else {
        Argb border = kEditBorder;
        if (enabled_ && state.focused) {
            border = Manager::GetSelectionColor();
        } else if (enabled_ && state.hover) {
            border = kEditHoverBorder;
        }
        painter.FillRoundRect(rect_, 3, kEditFill);
        painter.DrawRoundRect(rect_, 3, border, 1);
    }
    if (state.focused) {
        // The backend's text entry lies over the field and shows the text while it has the
        // focus.
        return;
    }
    const Rect area = rect_.Inflate(-6, 0);
    const unsigned align = (align_ & (kAlignCenter | kAlignRight)) | kAlignVCenter | kAlignEllipsis;
    if (!title_.empty()) {
        painter.DrawText(area, title_, EffectiveFont(), enabled_ ? textColor_ : kDisabledText,
                         align);
    } else if (!hint_.empty()) {
        painter.DrawText(area, hint_, EffectiveFont(), enabled_ ? kGrey : kDisabledText, align);
    }
}
