#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/NumberEdit.h"

namespace {

using ListsEditTest = HeadlessTest;

constexpr int kEditId = 231;
constexpr int kOtherId = 232;

// Opens a dialog with two fields of class T.
template <typename T>
T* OpenWithEdits(TestDialog& dialog) {
    T* edit = nullptr;
    EXPECT_TRUE(dialog.Open([&](TestDialog& d) {
        edit = static_cast<T*>(
            d.AdoptControl(std::make_unique<T>(), u"MEdit", kEditId, {10, 10, 110, 30}));
        d.AdoptControl(std::make_unique<T>(), u"MEdit", kOtherId, {10, 40, 110, 60});
    }));
    return edit;
}

TEST_F(ListsEditTest, TypedTextIsLimitedToDigitsAndLength) {
    struct Case {
        bool digitsOnly;
        int maxLength;
        std::u16string typed;
        std::u16string expected;
    };
    const Case cases[] = {
        {true, 3, u"12a34", u"123"},
        {true, 0, u"-5 x7", u"57"},
        {false, 0, u"abc def", u"abc def"},
        {false, 2, u"h\u00e9llo", u"h\u00e9"},
        // A character outside the basic plane counts once and is never cut in half.
        {false, 2, u"\U0001F600\U0001F600x", u"\U0001F600\U0001F600"},
        {false, 1, u"\U0001F600x", u"\U0001F600"},
        {true, 3, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        TestDialog dialog;
        MEdit* edit = OpenWithEdits<MEdit>(dialog);
        edit->SetDigitsOnly(c.digitsOnly);
        edit->SetMaxLength(c.maxLength);
        const TextEntryInfo info = edit->GetTextEntryInfo();
        EXPECT_EQ(info.digitsOnly, c.digitsOnly);
        EXPECT_EQ(info.maxLength, c.maxLength);
        HeadlessBackend::TypeText(dialog, kEditId, c.typed);
        EXPECT_EQ(edit->GetTitle(), c.expected);
        EXPECT_EQ(edit->GetEntryText(), c.expected);
    }
}

TEST_F(ListsEditTest, FocusChangeAndEndArriveInOrderAndSetTitleSendsNothing) {
    TestDialog dialog;
    MEdit* edit = OpenWithEdits<MEdit>(dialog);
    edit->SetDigitsOnly(true);
    edit->SetTitle(u"255");
    EXPECT_TRUE(dialog.received.empty());

    HeadlessBackend::TypeText(dialog, kEditId, u"42");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyFocus, 0, 0},
                                                      {kEditId, kNotifyTextChanged, 0, 0},
                                                      {kEditId, kNotifyEditEnded, 0, 0}}));
    dialog.received.clear();

    // Typing that the limits turn back into the same text changes nothing: only the end.
    HeadlessBackend::TypeText(dialog, kEditId, u"4x2");
    EXPECT_EQ(edit->GetTitle(), u"42");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyEditEnded, 0, 0}}));
    dialog.received.clear();

    // Each change while typing is reported; the end once.
    HeadlessBackend::TypeText(dialog, kEditId, u"4", false);
    dialog.EnterText(edit, u"48", false);
    dialog.EnterText(edit, u"48", true);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyTextChanged, 0, 0},
                                                      {kEditId, kNotifyTextChanged, 0, 0},
                                                      {kEditId, kNotifyEditEnded, 0, 0}}));
    dialog.received.clear();

    // A handler that rewrites the text on a change causes no further notification.
    dialog.onMessage = [edit](TestDialog&, int id, int code) -> std::intptr_t {
        if (id == kEditId && code == kNotifyTextChanged && edit->GetInt() > 255) {
            edit->SetTitle(u"255");
        }
        return 0;
    };
    HeadlessBackend::TypeText(dialog, kEditId, u"999", false);
    EXPECT_EQ(edit->GetTitle(), u"255");
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyTextChanged, 0, 0}}));
}

TEST_F(ListsEditTest, ClickingAFieldGivesItTheFocus) {
    TestDialog dialog;
    OpenWithEdits<MEdit>(dialog);
    HeadlessBackend::Click(dialog, kEditId);
    HeadlessBackend::Click(dialog, kEditId);
    HeadlessBackend::Click(dialog, kOtherId);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyFocus, 0, 0},
                                                      {kOtherId, kNotifyFocus, 0, 0}}));
    EXPECT_EQ(dialog.GetFocusControl(), dialog.GetControl(kOtherId));
}

TEST_F(ListsEditTest, GetIntReadsTheLeadingDecimalNumber) {
    struct Case {
        std::u16string text;
        int value;
    };
    const Case cases[] = {
        {u"", 0},
        {u"123", 123},
        {u"007", 7},
        {u"  -7", -7},
        {u"+12", 12},
        {u"12ab", 12},
        {u"ab12", 0},
        {u"99999999999", INT_MAX},
        {u"-99999999999", INT_MIN},
        {u"2147483647", INT_MAX},
    };
    MEdit edit;
    for (const Case& c : cases) {
        edit.SetTitle(c.text);
        EXPECT_EQ(edit.GetInt(), c.value) << std::string(c.text.begin(), c.text.end());
    }
}

TEST_F(ListsEditTest, NumberEditReportsEveryChangeWith29AndTheEndWith2) {
    TestDialog dialog;
    NumberEdit* edit = OpenWithEdits<NumberEdit>(dialog);
    EXPECT_TRUE(edit->IsDigitsOnly());
    edit->SetTitle(u"4");
    HeadlessBackend::TypeText(dialog, kEditId, u"5", false);
    dialog.EnterText(edit, u"5a", false);  // filtered: no change
    dialog.EnterText(edit, u"52", false);
    dialog.EnterText(edit, u"52", true);
    EXPECT_EQ(edit->GetInt(), 52);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kEditId, kNotifyFocus, 0, 0},
                                                      {kEditId, kNotifyEditEnded, 0, 0},
                                                      {kEditId, kNotifyEditEnded, 0, 0},
                                                      {kEditId, kNotifyClick, 0, 0}}));
}

TEST_F(ListsEditTest, DisabledFieldsTakeNoText) {
    TestDialog dialog;
    MEdit* edit = OpenWithEdits<MEdit>(dialog);
    edit->SetTitle(u"10");
    edit->SetEnabled(false);
    HeadlessBackend::TypeText(dialog, kEditId, u"99");
    HeadlessBackend::Click(dialog, kEditId);
    EXPECT_EQ(edit->GetTitle(), u"10");
    EXPECT_TRUE(dialog.received.empty());
}

}  // namespace
