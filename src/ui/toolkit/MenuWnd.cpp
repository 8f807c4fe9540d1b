#include "ui/toolkit/MenuWnd.h"

#include "ui/toolkit/MDialog.h"

bool MenuWnd::Create(MWindow* owner, Point screenPoint, unsigned message, int width) {
    owner_ = owner;
    point_ = screenPoint;
    message_ = message;
    width_ = width > 0 ? width : 0;
    items_.clear();
    return owner != nullptr;
}

void MenuWnd::AddMenu(int id, const std::u16string& text) {
    items_.emplace_back(id, text);
}

bool MenuWnd::TrackPopup() {
    auto* dialog = dynamic_cast<MDialog*>(owner_);
    if (dialog == nullptr || dialog->GetSafeHwnd() == nullptr || items_.empty()) {
        return false;
    }
    std::vector<std::u16string> texts;
    std::vector<int> ids;
    for (const auto& [id, text] : items_) {
        ids.push_back(id);
        texts.push_back(text);
    }
    // The list opens below its anchor: an empty-height anchor at the point, in the owner's
    // client coordinates.
    const Rect window = dialog->GetWindowRect();
    const Point at{point_.x - window.left, point_.y - window.top};
    const Rect anchor{at.x, at.y, at.x + width_, at.y};
    const unsigned message = message_;
    std::vector<int> listIds = ids;
    dialog->OpenPopupList(
        anchor, std::move(texts), -1, width_,
        [dialog, message, ids = std::move(ids)](int index) {
            if (index >= 0 && index < static_cast<int>(ids.size())) {
                dialog->PostMessage(message, ids[index], 0);
            }
        },
        std::move(listIds));
    return true;
}
