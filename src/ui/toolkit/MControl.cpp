#include "ui/toolkit/MControl.h"

#include <algorithm>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/controls/SkinPath.h"

MControl::MControl() = default;
MControl::~MControl() = default;

void MControl::Attach(MDialog* dialog, int id, std::u16string className, const Rect& rect,
                      MControl* parent) {
    dialog_ = dialog;
    parent_ = parent;
    id_ = id;
    className_ = std::move(className);
    rect_ = rect;
}

std::unique_lock<std::recursive_mutex> MControl::Guard() const {
    return std::unique_lock<std::recursive_mutex>(dialog_ != nullptr ? dialog_->GetLock()
                                                                     : ownLock_);
}

void MControl::Invalidate() const {
    if (dialog_ != nullptr) {
        dialog_->Invalidate();
    }
}

void MControl::Notify(int code, std::intptr_t wParam, std::intptr_t lParam) const {
    if (dialog_ != nullptr) {
        dialog_->QueueNotify(id_, code, wParam, lParam);
    }
}

void MControl::AnimationMayStart() const {
    if (dialog_ != nullptr) {
        dialog_->AnimationMayStart();
    }
}

void MControl::SetVisible(bool visible) {
    auto lock = Guard();
    if (visible_ != visible) {
        visible_ = visible;
        Invalidate();
        // Controls animate only while shown, and this one may contain some.
        AnimationMayStart();
    }
}

bool MControl::IsVisible() const {
    auto lock = Guard();
    return visible_;
}

bool MControl::IsShown() const {
    auto lock = Guard();
    for (const MControl* c = this; c != nullptr; c = c->parent_) {
        if (!c->visible_) {
            return false;
        }
    }
    return true;
}

void MControl::SetEnabled(bool enabled) {
    auto lock = Guard();
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Invalidate();
    }
}

bool MControl::IsEnabled() const {
    auto lock = Guard();
    return enabled_;
}

void MControl::SetRect(const Rect& rect) {
    auto lock = Guard();
    if (!(rect_ == rect)) {
        rect_ = rect;
        Invalidate();
    }
}

Rect MControl::GetRect() const {
    auto lock = Guard();
    return rect_;
}

void MControl::SetTooltip(const std::u16string& tooltip) {
    auto lock = Guard();
    tooltip_ = tooltip;
}

std::u16string MControl::GetTooltip() const {
    auto lock = Guard();
    return tooltip_;
}

void MControl::SetImage(const std::u16string& file, int frames) {
    auto lock = Guard();
    image_ = NormaliseSkinPath(file);
    frames_ = std::max(1, frames);
    Invalidate();
}

std::u16string MControl::GetImage() const {
    auto lock = Guard();
    return image_;
}

int MControl::GetImageFrames() const {
    auto lock = Guard();
    return frames_;
}

void MControl::OnFocus() {
    if (dialog_ != nullptr) {
        dialog_->SetFocusControl(this);
    }
}

bool MControl::HasFocus() const {
    return dialog_ != nullptr && dialog_->GetFocusControl() == this;
}

void MControl::AddMTimer() {
    if (dialog_ != nullptr) {
        dialog_->JoinAnimation(this);
    }
}

void MControl::SetUserData(std::intptr_t data) {
    auto lock = Guard();
    userData_ = data;
}

std::intptr_t MControl::GetUserData() const {
    auto lock = Guard();
    return userData_;
}

bool MControl::HitTest(Point point) const {
    return rect_.Contains(point);
}

void MControl::OnMouse(const MouseEvent&) {
}

void MControl::Paint(Painter& painter, const ControlState& state) const {
    DrawSkin(painter, state, rect_);
}

int MControl::StateFrame(const ControlState& state, int frames) const {
    int frame = 0;
    if (!enabled_) {
        frame = 3;
    } else if (state.pressed) {
        frame = 2;
    } else if (state.hover) {
        frame = 1;
    }
    if (frame >= frames) {
        // Fewer frames: disabled falls back to normal, pressed to hover.
        frame = frame == 3 ? 0 : std::min(frame, frames - 1);
    }
    return frame;
}

bool MControl::DrawSkin(Painter& painter, const ControlState& state, const Rect& rect) const {
    if (image_.empty()) {
        return false;
    }
    return painter.DrawImage(image_, StateFrame(state, frames_), frames_, rect);
}

void MControl::DrawFlatButton(Painter& painter, const ControlState& state, const Rect& rect) const {
    Argb fill = 0xFF2E3136u;
    Argb border = 0xFF4A4E55u;
    if (!enabled_) {
        fill = 0xFF232528u;
        border = 0xFF33363Au;
    } else if (state.pressed) {
        fill = 0xFFB85A08u;
        border = Manager::GetSelectionColor();
    } else if (state.hover) {
        fill = 0xFF3A3E44u;
        border = Manager::GetSelectionColor();
    }
    painter.FillRoundRect(rect, 4, fill);
    painter.DrawRoundRect(rect, 4, border, 1);
}

// MControlFont

void MControlFont::SetTitle(const std::u16string& title) {
    auto lock = Guard();
    if (title_ != title) {
        title_ = title;
        Invalidate();
    }
}

std::u16string MControlFont::GetTitle() const {
    auto lock = Guard();
    return title_;
}

void MControlFont::SetFont(const std::u16string& family) {
    auto lock = Guard();
    font_.family = family;
    Invalidate();
}

void MControlFont::SetFontWidth(int size) {
    auto lock = Guard();
    font_.size = std::max(1, size);
    Invalidate();
}

void MControlFont::SetFontBold(bool bold) {
    auto lock = Guard();
    font_.bold = bold;
    Invalidate();
}

FontSpec MControlFont::GetFont() const {
    auto lock = Guard();
    return font_;
}

FontSpec MControlFont::EffectiveFont() const {
    FontSpec font = font_;
    if (font.family.empty()) {
        font.family = Manager::GetFontName();
    }
    return font;
}

void MControlFont::SetAlignment(unsigned align) {
    auto lock = Guard();
    align_ = align;
    Invalidate();
}

unsigned MControlFont::GetAlignment() const {
    auto lock = Guard();
    return align_;
}

void MControlFont::SetTextColor(Argb color) {
    auto lock = Guard();
    textColor_ = color;
    Invalidate();
}

Argb MControlFont::GetTextColor() const {
    auto lock = Guard();
    return textColor_;
}

void MControlFont::DrawTitle(Painter& painter, const Rect& rect, Argb color) const {
    if (!title_.empty()) {
        painter.DrawText(rect, title_, EffectiveFont(), enabled_ ? color : 0xFF6A6D72u, align_);
    }
}

void MControlFont::Paint(Painter& painter, const ControlState& state) const {
    DrawSkin(painter, state, rect_);
    DrawTitle(painter, rect_, textColor_);
}
