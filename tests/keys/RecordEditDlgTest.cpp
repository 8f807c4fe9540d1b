#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "keys/MacroTestCapture.h"
#include "keys/RecordEditDlg.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/controls/MEdit.h"

namespace {

using Dlg = RecordEditDlg;

// What a user does inside the open dialog.
struct Answer {
    const char* name;
    std::function<void(Dlg&, MacroTestCapture&)> act;
    bool result;
    keys::KeyEvent key;  // when `result`
};

void Focus(Dlg& dialog) {
    dialog.GetControl(Dlg::kKeyField)->OnFocus();
    dialog.DeliverNotifications();
}

void LeaveField(Dlg& dialog) {
    auto* field = dialog.GetControlAs<MEdit>(Dlg::kKeyField);
    dialog.EnterText(field, field->GetTitle(), true);
}

}  // namespace

class RecordEditDlgTest : public ShellTest {
protected:
    RecordEditDlgTest() { owner.window.MoveWindow({100, 50, 1400, 838}); }

    // Opens the dialog, runs `inside` in it, and returns what AskMacroKey gave.
    bool Ask(const std::function<void(Dlg&)>& inside, keys::KeyEvent& key) {
        Ui().SetModalHandler([&](MWindow& window) {
            auto* dialog = dynamic_cast<Dlg*>(&window);
            ASSERT_NE(dialog, nullptr);
            inside(*dialog);
        });
        return AskMacroKey(&owner.window, capture, key);
    }

    MacroTestCapture capture;
    PageTestHost owner;
};

TEST_F(RecordEditDlgTest, OpensCentredWithItsControls) {
    keys::KeyEvent key;
    Ask(
        [&](Dlg& dialog) {
            EXPECT_EQ(dialog.GetTitle(), RecordEditDlg::kWindowTitle);
            EXPECT_EQ(dialog.GetWindowRect(),
                      (Rect{100 + (1300 - 360) / 2, 50 + (788 - 150) / 2,
                            100 + (1300 - 360) / 2 + 360, 50 + (788 - 150) / 2 + 150}));
            EXPECT_EQ(TitleOf(dialog, Dlg::kTitle), u"");
            EXPECT_EQ(TitleOf(dialog, Dlg::kLabel), u"按键");
            EXPECT_EQ(TitleOf(dialog, Dlg::kOkButton), Text(22));
            EXPECT_EQ(dialog.GetControl(Dlg::kCloseButton)->GetTooltip(), Text(5));
            EXPECT_EQ(dialog.GetControl(Dlg::kCloseButton)->GetImage(), u"sysbtn_close.png");
            EXPECT_EQ(dialog.GetControl(Dlg::kKeyField)->GetImage(), u"img_edit.png");
            // Nothing listens before the field has the focus.
            EXPECT_EQ(capture.CurrentListener(), nullptr);
            HeadlessBackend::Click(dialog, Dlg::kCloseButton);
        },
        key);
    EXPECT_EQ(Ui().FindPeer(RecordEditDlg::kWindowTitle), nullptr);
}

TEST_F(RecordEditDlgTest, KeyCapturedWhileTheFieldHasTheFocusIsGivenByOk) {
    auto press = [](int vk, const std::u16string& name) {
        return [vk, name](Dlg&, MacroTestCapture& c) { c.Press(vk, name); };
    };
    const Answer answers[] = {
        {"a key, then OK",
         [&](Dlg& d, MacroTestCapture& c) {
             Focus(d);
             EXPECT_EQ(c.CaptureMode(), keys::kCaptureEditorKey);
             press(65, u"A")(d, c);
             EXPECT_EQ(d.GetControlAs<MEdit>(Dlg::kKeyField)->GetTitle(), u"A");
             HeadlessBackend::Click(d, Dlg::kOkButton);
         },
         true,
         {keys::kKeyboardEvent, 0, 65, u"A"}},
        {"a modifier's release replaces the key",
         [&](Dlg& d, MacroTestCapture& c) {
             Focus(d);
             press(65, u"A")(d, c);
             c.Release(163, u"RCtrl");
             HeadlessBackend::Click(d, Dlg::kOkButton);
         },
         true,
         {keys::kKeyboardEvent, 0, 163, u"RCtrl"}},
        {"the key field left: later keys are not taken",
         [&](Dlg& d, MacroTestCapture& c) {
             Focus(d);
             press(65, u"A")(d, c);
             LeaveField(d);
             EXPECT_EQ(c.CurrentListener(), nullptr);
             press(66, u"B")(d, c);
             HeadlessBackend::Click(d, Dlg::kOkButton);
         },
         true,
         {keys::kKeyboardEvent, 0, 65, u"A"}},
        {"OK without a key",
         [](Dlg& d, MacroTestCapture&) { HeadlessBackend::Click(d, Dlg::kOkButton); },
         false,
         {}},
        {"no focus, no key",
         [&](Dlg& d, MacroTestCapture& c) {
             press(65, u"A")(d, c);
             HeadlessBackend::Click(d, Dlg::kOkButton);
         },
         false,
         {}},
        {"close button after a key",
         [&](Dlg& d, MacroTestCapture& c) {
             Focus(d);
             press(65, u"A")(d, c);
             HeadlessBackend::Click(d, Dlg::kCloseButton);
         },
         false,
         {}},
        {"closed from outside after a key",
         [&](Dlg& d, MacroTestCapture& c) {
             Focus(d);
             press(65, u"A")(d, c);
             d.PostMessage(kMessageClose, 0, 0);
         },
         false,
         {}},
    };
    for (const Answer& a : answers) {
        SCOPED_TRACE(a.name);
        keys::KeyEvent key;
        const bool result = Ask([&](Dlg& d) { a.act(d, capture); }, key);
        EXPECT_EQ(result, a.result);
        if (a.result) {
            EXPECT_EQ(key, a.key);
        }
        // However it ended, the capture no longer reaches the dialog.
        EXPECT_EQ(capture.CurrentListener(), nullptr);
    }
}

// Where the desktop's keyboard cannot be listened to, the keys typed into the dialog are what the
// capture hears: the dialog hands them over.
TEST_F(RecordEditDlgTest, KeysOfTheDialogsOwnWindowGoToTheKeyCapture) {
    keys::KeyEvent key;
    Ask(
        [&](Dlg& dialog) {
            Focus(dialog);
            dialog.HandleKeyboardKey({30, false, true});
            dialog.HandleKeyboardKey({30, true, true});
            HeadlessBackend::Click(dialog, Dlg::kCloseButton);
        },
        key);
    EXPECT_EQ(capture.fed, (std::vector<int>{30, 30}));
}
