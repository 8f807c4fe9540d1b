#include "profiles/ProfileDlg.h"

#include <string>
#include <vector>

#include "i18n/DefaultNames.h"
#include "store/SettingsStore.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/Painter.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/DListBox.h"
#include "ui/toolkit/controls/MPicture.h"

namespace {

constexpr int kListTextSize = 14;
// The background's corners keep their 10 pixels; the rest stretches over the list's area.
constexpr int kBackgroundShowMode = 3;
constexpr int kBackgroundMargin = 10;
// The popup's bottom edge stays this far above the button.
constexpr int kGapAboveButton = 5;
// Clipping against sibling and child windows: the toolkit draws every control itself and ignores
// both, but the popup is still created with them so GetStyle reports its whole style.
constexpr unsigned kStyleClipSiblings = 0x04000000u;
constexpr unsigned kStyleClipChildren = 0x02000000u;
constexpr unsigned kPopupStyle =
    kStylePopup | kStyleVisible | kStyleClipSiblings | kStyleClipChildren;

constexpr ControlRow kControls[] = {
    {u"MPicture", ProfileDlg::kBackground, u"img_area_content.png", 1},
    {u"DListBox", ProfileDlg::kList, u"img_list_bkg.png", 3, 0, 0, kListTextSize, kAlignCenter},
    {u"MButton", ProfileDlg::kImportButton, u"img_button.png", 4, 26},
    {u"MButton", ProfileDlg::kExportButton, u"img_button.png", 4, 27},
};

}  // namespace

ProfileDlg::ProfileDlg(SettingsStore& store, int selectedProfile, MWindow* notify)
    : store_(store), selectedProfile_(selectedProfile), notify_(notify) {
}

void ProfileDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    CreateFromRows(*this, nullptr, kControls);
    auto place = [this](int id, const Rect& r) {
        if (MControl* control = GetControl(id)) {
            control->SetRect(r);
        }
    };
    // The list lies on the background picture, which draws the frame around it.
    place(kBackground, {10, 10, w - 10, h - 45});
    place(kList, {10, 10, w - 10, h - 45});
    place(kImportButton, {10, h - 35, w / 2 - 5, h - 7});
    place(kExportButton, {w / 2 + 5, h - 35, w - 10, h - 7});
    if (auto* background = GetControlAs<MPicture>(kBackground)) {
        background->SetShowMode(kBackgroundShowMode, kBackgroundMargin);
    }
}

bool ProfileDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    DListBox* list = List();
    if (list == nullptr) {
        return true;
    }
    std::vector<ProfileRecord> profiles;
    store_.ListProfiles(profiles);
    for (const ProfileRecord& profile : profiles) {
        list->AddItem(ProfileCaption(profile.name), profile.profile);
    }
    list->SelectData(selectedProfile_);
    return true;
}

DListBox* ProfileDlg::List() const {
    return GetControlAs<DListBox>(kList);
}

std::intptr_t ProfileDlg::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kList) {
        if (code == kNotifyClick) {
            const int profile = List()->GetCurData();
            // The choice is made: nothing in the popup keeps the keyboard focus while the main
            // window switches.
            SetFocusControl(nullptr);
            Post(kActionSwitch, profile);
            DoOK();
        } else if (code == kNotifyEditEnded) {
            OnNameEdited();
        }
        return 0;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kImportButton) {
        FinishWith(kActionImport);
    } else if (id == kExportButton) {
        FinishWith(kActionExport);
    }
    return 0;
}

void ProfileDlg::OnNameEdited() {
    DListBox* list = List();
    const std::u16string name = list->GetEditedText();
    // The list keeps the old text for an empty name, and so does the store.
    if (name.empty()) {
        return;
    }
    const int profile = list->GetItemData(list->GetEditedItem());
    if (profile < 1) {
        return;
    }
    store_.RenameProfile(profile, name);
    renamedProfile_ = profile;
}

void ProfileDlg::Post(int action, int profile) {
    if (notify_ != nullptr) {
        notify_->PostMessage(mainwnd::kMessageProfile, action, profile);
    }
}

void ProfileDlg::FinishWith(int action) {
    const int profile = List()->GetCurData();
    if (renamedProfile_ != 0) {
        Post(kActionSwitch, profile);
    }
    Post(action, profile);
    DoOK();
}

void OpenProfileList(MDialog& owner, SettingsStore& store, int currentProfile,
                     const Rect& buttonRect) {
    Point topLeft{buttonRect.left, buttonRect.top - ProfileDlg::kHeight - kGapAboveButton};
    Point bottomRight{buttonRect.right, buttonRect.top - kGapAboveButton};
    owner.ClientToScreen(topLeft);
    owner.ClientToScreen(bottomRight);
    ProfileDlg dialog(store, currentProfile, &owner);
    if (!dialog.Create(&owner, ProfileDlg::kWindowTitle, kPopupStyle, 0,
                       {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y})) {
        return;
    }
    // Placed over the button, not centred: the popup belongs to it. Whatever ends the loop, the
    // choices have been posted already.
    dialog.ShowModal(true);
}
