#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/CHelpButton.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CImageButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CTextButton.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"

namespace {

using ButtonCheckTest = HeadlessTest;

// The check state of any of the button classes that have one; nothing for the others.
std::optional<bool> CheckOf(MControl* control) {
    if (auto* b = dynamic_cast<MButton2*>(control)) {
        return b->GetCheck();
    }
    if (auto* b = dynamic_cast<CheckableButton*>(control)) {
        return b->GetCheck();
    }
    if (auto* b = dynamic_cast<CColorButton*>(control)) {
        return b->GetCheck();
    }
    return std::nullopt;
}

struct ButtonKind {
    const char16_t* className;
    std::function<std::unique_ptr<MControl>()> make;
};

const std::vector<ButtonKind>& AllButtonKinds() {
    static const std::vector<ButtonKind> kinds = {
        {u"MButton2", [] { return std::make_unique<MButton2>(); }},
        {u"MButton3", [] { return std::make_unique<MButton3>(); }},
        {u"CImageButton", [] { return std::make_unique<CImageButton>(); }},
        {u"CTextButton", [] { return std::make_unique<CTextButton>(); }},
        {u"CIconButton", [] { return std::make_unique<CIconButton>(); }},
        {u"CHelpButton", [] { return std::make_unique<CHelpButton>(); }},
        {u"CCheckButton", [] { return std::make_unique<CCheckButton>(); }},
        {u"CRadioButton",
         [] {
             auto radio = std::make_unique<CRadioButton>();
             radio->SetGroup(u"G");
             return radio;
         }},
        {u"CColorButton",
         [] {
             auto swatch = std::make_unique<CColorButton>();
             swatch->SetGroup(CColorButton::kMultiCheckGroup);
             return swatch;
         }},
    };
    return kinds;
}

TEST_F(ButtonCheckTest, TogglesFlipTheirCheckBeforeTheDialogHearsOfTheClick) {
    struct Case {
        const char16_t* className;
        std::function<std::unique_ptr<MControl>()> make;
        std::vector<bool> seenByHandler;  // after the first and the second click
    };
    const Case cases[] = {
        {u"MButton2", [] { return std::make_unique<MButton2>(); }, {false, false}},
        {u"MButton2",
         [] {
             auto button = std::make_unique<MButton2>();
             button->SetToggle(true);
             return button;
         },
         {true, false}},
        {u"MButton3", [] { return std::make_unique<MButton3>(); }, {true, false}},
        {u"CCheckButton", [] { return std::make_unique<CCheckButton>(); }, {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.className,
                                 c.className + std::char_traits<char16_t>::length(c.className)));
        TestDialog dialog;
        MControl* button = nullptr;
        ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
            button = d.AdoptControl(c.make(), c.className, 94, {10, 10, 110, 40}, u"Ctrl");
        }));
        std::vector<bool> seen;
        dialog.onMessage = [&](TestDialog&, int, int) {
            seen.push_back(CheckOf(button).value());
            return 1;
        };
        HeadlessBackend::Click(dialog, 94);
        HeadlessBackend::Click(dialog, 94);
        EXPECT_EQ(seen, c.seenByHandler);
        EXPECT_EQ(dialog.received,
                  (std::vector<Received>{{94, kNotifyClick, 0, 0}, {94, kNotifyClick, 0, 0}}));
    }
}

TEST_F(ButtonCheckTest, SetCheckChangesTheStateWithoutNotifying) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        for (size_t i = 0; i < AllButtonKinds().size(); ++i) {
            const ButtonKind& kind = AllButtonKinds()[i];
            const int top = 10 + static_cast<int>(i) * 30;
            d.AdoptControl(kind.make(), kind.className, static_cast<int>(i) + 1,
                           {10, top, 110, top + 26});
        }
    }));
    for (MControl* control : dialog.GetControls()) {
        if (auto* b = dynamic_cast<MButton2*>(control)) {
            b->SetCheck(true);
        } else if (auto* b = dynamic_cast<CheckableButton*>(control)) {
            b->SetCheck(true);
        } else if (auto* b = dynamic_cast<CColorButton*>(control)) {
            b->SetCheck(true);
        } else {
            continue;
        }
        EXPECT_EQ(CheckOf(control), true);
    }
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ButtonCheckTest, SecondaryClickOnAToggleNeitherFlipsNorSendsAClick) {
    TestDialog dialog;
    MButton3* toggle = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        toggle = static_cast<MButton3*>(d.AdoptControl(std::make_unique<MButton3>(), u"MButton3",
                                                       95, {10, 10, 110, 40}, u"Win"));
    }));
    HeadlessBackend::Click(dialog, 95, MouseButton::kRight);
    EXPECT_FALSE(toggle->GetCheck());
    EXPECT_EQ(dialog.received, (std::vector<Received>{{95, kNotifySecondaryClick, 0, 0}}));
}

// Radio buttons 1-3 form group "A", 4-5 group "B", 6-7 have no group; 8 is group "A" inside a
// container; the second dialog's radio 1 is group "A" too.
TEST_F(ButtonCheckTest, RadioButtonsAreExclusiveWithinTheirGroupInTheirDialog) {
    TestDialog dialog;
    TestDialog other;
    std::vector<CRadioButton*> radios(9, nullptr);
    const auto addRadio = [&](TestDialog& d, int id, const std::u16string& group,
                              MControl* parent) {
        auto radio = std::make_unique<CRadioButton>();
        radio->SetGroup(group);
        const int top = 10 + id * 30;
        return static_cast<CRadioButton*>(d.AdoptControl(
            std::move(radio), u"CRadioButton", id, {10, top, 200, top + 26}, u"option", parent));
    };
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        for (int id = 1; id <= 7; ++id) {
            radios[id] = addRadio(d, id, id <= 3 ? u"A" : id <= 5 ? u"B" : u"", nullptr);
        }
        MControl* page = d.CreateArea(u"MText", 50, {0, 0, 400, 300});
        radios[8] = addRadio(d, 8, u"A", page);
    }));
    CRadioButton* foreign = nullptr;
    ASSERT_TRUE(other.Open([&](TestDialog& d) { foreign = addRadio(d, 1, u"A", nullptr); }));
    foreign->SetCheck(true);

    const auto checked = [&] {
        std::vector<int> ids;
        for (int id = 1; id <= 8; ++id) {
            if (radios[id]->GetCheck()) {
                ids.push_back(id);
            }
        }
        return ids;
    };
    struct Step {
        int id;
        bool click;  // else SetCheck(true)
        std::vector<int> checkedAfter;
    };
    const Step steps[] = {
        {2, true, {2}},       {4, false, {2, 4}},
        {1, true, {1, 4}},    {1, true, {1, 4}},  // clicking the checked one keeps it checked
        {3, false, {3, 4}},   {5, true, {3, 5}},
        {8, true, {5, 8}},                              // a container does not split the group
        {6, true, {5, 6, 8}}, {7, true, {5, 6, 7, 8}},  // radios without a group exclude nothing
    };
    int clicks = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.id);
        if (step.click) {
            HeadlessBackend::Click(dialog, step.id);
            ++clicks;
            ASSERT_EQ(dialog.received.size(), static_cast<size_t>(clicks));
            EXPECT_EQ(dialog.received.back(), (Received{step.id, kNotifyClick, 0, 0}));
        } else {
            radios[step.id]->SetCheck(true);
            EXPECT_EQ(dialog.received.size(), static_cast<size_t>(clicks));
        }
        EXPECT_EQ(checked(), step.checkedAfter);
    }
    EXPECT_TRUE(foreign->GetCheck());
    // Unchecking leaves the group without a checked radio; nothing else changes.
    radios[8]->SetCheck(false);
    EXPECT_EQ(checked(), (std::vector<int>{5, 6, 7}));
}

// Mode colours 218-220 (COLORVALUE), presets 209-211 (DEFAULTCOLOR), 230 without a group.
TEST_F(ButtonCheckTest, ColourButtonsCheckByTheirGroupsRule) {
    TestDialog dialog;
    std::map<int, CColorButton*> swatches;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        int x = 10;
        const auto add = [&](int id, const std::u16string& group, std::uint32_t color) {
            auto swatch = std::make_unique<CColorButton>();
            swatch->SetGroup(group);
            swatch->SetColor(color);
            swatches[id] = static_cast<CColorButton*>(
                d.AdoptControl(std::move(swatch), u"CColorButton", id, {x, 100, x + 26, 126}));
            x += 40;
        };
        add(218, u"COLORVALUE", 0x0000FF);
        add(219, u"COLORVALUE", 0xFF00F0);
        add(220, u"COLORVALUE", 0xFF0C00);
        add(209, u"DEFAULTCOLOR", 0x0000FF);
        add(210, u"DEFAULTCOLOR", 0xFF00F0);
        add(211, u"DEFAULTCOLOR", 0xFF0C00);
        add(230, u"", 0xFFFFFF);
    }));
    const auto checked = [&] {
        std::vector<int> ids;
        for (const auto& [id, swatch] : swatches) {
            if (swatch->GetCheck()) {
                ids.push_back(id);
            }
        }
        return ids;
    };
    struct Step {
        int id;
        enum { kClick, kCheck, kUncheck, kUncheckPresets } action;
        std::vector<int> checkedAfter;
    };
    const Step steps[] = {
        {218, Step::kCheck, {218}},
        {220, Step::kClick, {218, 220}},  // several mode colours at once
        {219, Step::kCheck, {218, 219, 220}},
        {218, Step::kClick, {219, 220}},  // a click flips a mode colour
        {209, Step::kClick, {209, 219, 220}},
        {210, Step::kClick, {210, 219, 220}},  // presets exclude each other
        {210, Step::kClick, {210, 219, 220}},  // and a click never unchecks one
        {211, Step::kCheck, {211, 219, 220}},
        {230, Step::kClick, {211, 219, 220}},  // without a group a click checks nothing
        {219, Step::kUncheckPresets, {219, 220}},
        {220, Step::kUncheck, {219}},
    };
    int clicks = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.id);
        CColorButton* swatch = swatches[step.id];
        switch (step.action) {
            case Step::kClick:
                HeadlessBackend::Click(dialog, step.id);
                ++clicks;
                ASSERT_EQ(dialog.received.size(), static_cast<size_t>(clicks));
                EXPECT_EQ(dialog.received.back(), (Received{step.id, kNotifyClick, 0, 0}));
                break;
            case Step::kCheck:
                swatch->SetCheck(true);
                break;
            case Step::kUncheck:
                swatch->SetCheck(false);
                break;
            case Step::kUncheckPresets:
                swatch->UncheckGroup(u"DEFAULTCOLOR");
                break;
        }
        EXPECT_EQ(checked(), step.checkedAfter);
    }
    EXPECT_EQ(dialog.received.size(), static_cast<size_t>(clicks));
}

TEST_F(ButtonCheckTest, ColourIsKeptAsAColorRef) {
    CColorButton swatch;
    EXPECT_EQ(swatch.GetColor(), 0u);
    swatch.SetColor(0x0048FF);
    EXPECT_EQ(swatch.GetColor(), 0x0048FFu);
    // A stray high byte is not part of a COLORREF's colour.
    swatch.SetColor(0xFF00DEFF);
    EXPECT_EQ(swatch.GetColor(), 0x0000DEFFu);
}

TEST_F(ButtonCheckTest, DisabledButtonsNeitherNotifyNorChangeTheirCheck) {
    for (const ButtonKind& kind : AllButtonKinds()) {
        SCOPED_TRACE(std::string(
            kind.className, kind.className + std::char_traits<char16_t>::length(kind.className)));
        TestDialog dialog;
        MControl* button = nullptr;
        ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
            button = d.AdoptControl(kind.make(), kind.className, 7, {10, 10, 110, 40}, u"caption");
        }));
        const std::optional<bool> before = CheckOf(button);
        button->SetEnabled(false);
        HeadlessBackend::Click(dialog, 7);
        // Disabled while held down (the worker may disable a control at any moment).
        button->SetEnabled(true);
        dialog.HandleMouse({MouseAction::kMove, MouseButton::kNone, {50, 20}, 0});
        dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {50, 20}, 0});
        button->SetEnabled(false);
        dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {50, 20}, 0});
        EXPECT_TRUE(dialog.received.empty());
        EXPECT_EQ(CheckOf(button), before);
        // Enabled again, it works.
        button->SetEnabled(true);
        HeadlessBackend::Click(dialog, 7);
        EXPECT_EQ(dialog.received, (std::vector<Received>{{7, kNotifyClick, 0, 0}}));
    }
}

TEST_F(ButtonCheckTest, ReleasedOutsideIsNoClick) {
    TestDialog dialog;
    CCheckButton* box = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        box = static_cast<CCheckButton*>(d.AdoptControl(
            std::make_unique<CCheckButton>(), u"CCheckButton", 281, {10, 10, 210, 40}, u"x"));
    }));
    dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {20, 20}, 0});
    dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {20, 200}, 0});
    EXPECT_FALSE(box->GetCheck());
    EXPECT_TRUE(dialog.received.empty());
}

}  // namespace
