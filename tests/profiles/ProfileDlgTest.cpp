#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "profiles/ProfileDlg.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/Painter.h"
#include "ui/toolkit/controls/DListBox.h"
#include "ui/toolkit/controls/MPicture.h"

namespace {

using Dlg = ProfileDlg;
// (action, profile) of one message 1705.
using Posted = std::pair<std::intptr_t, std::intptr_t>;

// The main window as far as the profile list sees it: it records the choices posted to it.
class RecordingWindow : public MDialog {
public:
    void InitUI(const Rect&) override {}
    std::intptr_t OnMessage(int, int, std::intptr_t, std::intptr_t) override { return 0; }
    std::intptr_t OnWindowMessage(unsigned message, std::intptr_t wParam,
                                  std::intptr_t lParam) override {
        if (message == mainwnd::kMessageProfile) {
            posted.emplace_back(wParam, lParam);
        }
        return MDialog::OnWindowMessage(message, wParam, lParam);
    }

    std::vector<Posted> posted;
};

DListBox& ListOf(Dlg& dialog) {
    return *dialog.GetControlAs<DListBox>(Dlg::kList);
}

// A click in the middle of a row, as the user would choose it.
void ClickRow(Dlg& dialog, int index) {
    const Rect row = ListOf(dialog).GetItemRect(index);
    HeadlessBackend::ClickAt(dialog, {row.left + row.Width() / 3, row.top + row.Height() / 2});
}

void Rename(Dlg& dialog, int index, const std::u16string& name) {
    ASSERT_TRUE(ListOf(dialog).EditItem(index));
    dialog.EnterText(&ListOf(dialog), name, true);
}

}  // namespace

class ProfileDlgTest : public ShellTest {
protected:
    // The host's store holds "Profile 1"; three more profiles make a list like a model's, one of
    // them named by the user.
    ProfileDlgTest() {
        EXPECT_TRUE(owner.Create(nullptr, u"MainWindow", kStylePopup, 0, {100, 50, 1400, 838}));
        ids.push_back(host.profile);
        for (const char16_t* name : {u"Profile 2", u"Work", u"配置 4"}) {
            ProfileRecord record;
            record.name = name;
            ids.push_back(host.store.AddProfile(record));
            EXPECT_GT(ids.back(), 0);
        }
    }

    // Opens the list over kButton with `current` selected and runs `inside` in it; returns once
    // it is closed and what it posted has arrived.
    void Open(int current, const std::function<void(Dlg&)>& inside) {
        Ui().SetModalHandler([&](MWindow& window) {
            auto* dialog = dynamic_cast<Dlg*>(&window);
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        OpenProfileList(owner, host.store, current, kButton);
        EXPECT_EQ(Ui().FindPeer(Dlg::kWindowTitle), nullptr);
        Ui().RunPending();
    }

    bool IsClosed() { return Ui().FindPeer(Dlg::kWindowTitle)->IsModalEnded(); }

    std::u16string StoredName(int profile) {
        std::u16string name;
        EXPECT_TRUE(host.store.GetProfileName(profile, name));
        return name;
    }

    // The profile button, in the owner's client coordinates.
    static constexpr Rect kButton{300, 700, 420, 730};

    PageTestHost host;
    RecordingWindow owner;
    std::vector<int> ids;
};

TEST_F(ProfileDlgTest, OpensAboveTheButtonWithDisplayNamesAndTheCurrentProfileSelected) {
    Open(ids[1], [&](Dlg& dialog) {
        EXPECT_EQ(dialog.GetTitle(), Dlg::kWindowTitle);
        EXPECT_EQ(dialog.GetParent(), &owner);
        EXPECT_EQ(dialog.GetStyle(), 0x96000000u);
        // As wide as the button, 205 high, its bottom 5 pixels above the button's top.
        EXPECT_EQ(dialog.GetWindowRect(), (Rect{400, 540, 520, 745}));

        EXPECT_EQ(dialog.GetControl(Dlg::kBackground)->GetRect(), (Rect{10, 10, 110, 160}));
        EXPECT_EQ(dialog.GetControl(Dlg::kList)->GetRect(), (Rect{10, 10, 110, 160}));
        EXPECT_EQ(dialog.GetControl(Dlg::kImportButton)->GetRect(), (Rect{10, 170, 55, 198}));
        EXPECT_EQ(dialog.GetControl(Dlg::kExportButton)->GetRect(), (Rect{65, 170, 110, 198}));
        auto* background = dialog.GetControlAs<MPicture>(Dlg::kBackground);
        ASSERT_NE(background, nullptr);
        EXPECT_EQ(background->GetImage(), u"img_area_content.png");
        EXPECT_EQ(background->GetShowMode(), 3);
        EXPECT_EQ(background->GetShowMargin(), 10);
        DListBox& list = ListOf(dialog);
        EXPECT_EQ(list.GetImage(), u"img_list_bkg.png");
        EXPECT_EQ(list.GetFont().size, 14);
        EXPECT_EQ(list.GetAlignment(), static_cast<unsigned>(kAlignCenter));
        EXPECT_EQ(TitleOf(dialog, Dlg::kImportButton), Text(26));
        EXPECT_EQ(TitleOf(dialog, Dlg::kExportButton), Text(27));
        EXPECT_EQ(dialog.GetControl(Dlg::kExportButton)->GetImage(), u"img_button.png");

        // Names the program made keep the blank after the stored word, so the language's word is
        // followed by two; a name the user typed is shown as it is.
        const std::u16string shown[] = {Text(61) + u"  1", Text(61) + u"  2", u"Work",
                                        Text(61) + u"  4"};
        ASSERT_EQ(list.GetCount(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(list.GetItemText(i), shown[i]);
            EXPECT_EQ(list.GetItemData(i), ids[i]);
        }
        EXPECT_EQ(list.GetCurSel(), 1);
        // Closed from outside (the main window closing its popups): cancelled.
        dialog.PostMessage(kMessageClose, 0, 0);
    });
    EXPECT_TRUE(owner.posted.empty());
}

TEST_F(ProfileDlgTest, ChoosingAProfilePostsASwitchAndCloses) {
    // The already selected profile is chosen too: the main window sends its settings again.
    for (int row : {2, 1}) {
        SCOPED_TRACE(row);
        owner.posted.clear();
        Open(ids[1], [&](Dlg& dialog) {
            ClickRow(dialog, row);
            EXPECT_TRUE(IsClosed());
        });
        EXPECT_EQ(owner.posted, (std::vector<Posted>{{Dlg::kActionSwitch, ids[row]}}));
    }
}

TEST_F(ProfileDlgTest, RenamingInPlaceStoresTheNameAndAnEmptyNameKeepsTheOldOne) {
    Open(ids[0], [&](Dlg& dialog) {
        DListBox& list = ListOf(dialog);
        Rename(dialog, 2, u"Office");
        EXPECT_EQ(StoredName(ids[2]), u"Office");
        EXPECT_EQ(list.GetItemText(2), u"Office");

        Rename(dialog, 1, u"");
        EXPECT_EQ(StoredName(ids[1]), u"Profile 2");
        EXPECT_EQ(list.GetItemText(1), Text(61) + u"  2");

        // Renaming keeps the list open and tells the main window nothing yet.
        EXPECT_FALSE(IsClosed());
        dialog.PostMessage(kMessageClose, 0, 0);
    });
    EXPECT_TRUE(owner.posted.empty());
    EXPECT_EQ(StoredName(ids[2]), u"Office");
}

TEST_F(ProfileDlgTest, ImportAndExportPostTheirActionAfterASwitchWhenANameChanged) {
    struct Case {
        const char* name;
        int button;
        int renamedRow;  // -1: no rename; an empty name counts as none
        std::u16string newName;
        std::vector<Posted> expected;
    };
    // The list opens with ids[1] selected, so the buttons act on it.
    const int p = ids[1];
    const Case cases[] = {
        {"import", Dlg::kImportButton, -1, u"", {{Dlg::kActionImport, p}}},
        {"export", Dlg::kExportButton, -1, u"", {{Dlg::kActionExport, p}}},
        {"export after renaming the current profile",
         Dlg::kExportButton,
         1,
         u"Mine",
         {{Dlg::kActionSwitch, p}, {Dlg::kActionExport, p}}},
        {"import after renaming another profile",
         Dlg::kImportButton,
         3,
         u"Other",
         {{Dlg::kActionSwitch, p}, {Dlg::kActionImport, p}}},
        {"export after an empty rename", Dlg::kExportButton, 1, u"", {{Dlg::kActionExport, p}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        owner.posted.clear();
        Open(p, [&](Dlg& dialog) {
            if (c.renamedRow >= 0) {
                Rename(dialog, c.renamedRow, c.newName);
            }
            HeadlessBackend::Click(dialog, c.button);
            EXPECT_TRUE(IsClosed());
        });
        EXPECT_EQ(owner.posted, c.expected);
    }
}
