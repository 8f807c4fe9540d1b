#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/pages/MousePaletteDlg.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPalette.h"

namespace {

using Picker = MousePaletteDlg;

// What a user does inside the open picker; `act` gives the colour the picker should return.
struct Choice {
    const char* name;
    std::function<std::uint32_t(Picker&)> act;
};

void TypeComponents(Picker& picker, const std::u16string& red, const std::u16string& green,
                    const std::u16string& blue) {
    HeadlessBackend::TypeText(picker, Picker::kRedField, red);
    HeadlessBackend::TypeText(picker, Picker::kRedField + 1, green);
    HeadlessBackend::TypeText(picker, Picker::kRedField + 2, blue);
}

std::u16string FieldText(Picker& picker, int i) {
    return picker.GetControlAs<MEdit>(Picker::kRedField + i)->GetTitle();
}

}  // namespace

class MousePaletteDlgTest : public ShellTest {
protected:
    // The owner the picker opens over: a window of the main window's size away from the corner.
    MousePaletteDlgTest() { owner.window.MoveWindow({100, 50, 1400, 838}); }

    // Opens the picker with `start`, runs `inside` in it, and returns what PickColor gave.
    std::uint32_t Pick(std::uint32_t start, const std::function<void(Picker&)>& inside) {
        Ui().SetModalHandler([&](MWindow& window) {
            auto* picker = dynamic_cast<Picker*>(&window);
            ASSERT_NE(picker, nullptr);
            inside(*picker);
        });
        return PickColor(&owner.window, start);
    }

    PageTestHost owner;
};

TEST_F(MousePaletteDlgTest, OpensCentredOverItsOwnerShowingTheCallersColour) {
    const std::uint32_t result = Pick(0x563412, [&](Picker& picker) {
        EXPECT_EQ(picker.GetTitle(), u"PaletteDlg");
        const Rect rect = picker.GetWindowRect();
        EXPECT_EQ(rect, (Rect{100 + (1300 - 330) / 2, 50 + (788 - 320) / 2,
                              100 + (1300 - 330) / 2 + 330, 50 + (788 - 320) / 2 + 320}));
        EXPECT_EQ(picker.GetParent(), &owner.window);
        EXPECT_EQ(picker.GetControlAs<MPalette>(Picker::kPalette)->GetColor(), 0x563412u);
        EXPECT_EQ(picker.GetControlAs<CArea>(Picker::kPreview)->GetColor(), 0x563412u);
        EXPECT_EQ(FieldText(picker, 0), u"18");
        EXPECT_EQ(FieldText(picker, 1), u"52");
        EXPECT_EQ(FieldText(picker, 2), u"86");
        EXPECT_EQ(TitleOf(picker, Picker::kRedCaption), u"R:");
        EXPECT_EQ(TitleOf(picker, Picker::kRedCaption + 2), u"B:");
        EXPECT_EQ(picker.GetControl(Picker::kOkButton)->GetRect(), (Rect{210, 270, 310, 300}));
        EXPECT_EQ(picker.GetControl(Picker::kFirstPreset + 7)->GetRect(),
                  (Rect{275, 230, 301, 256}));
        EXPECT_EQ(picker.GetControlAs<CColorButton>(Picker::kFirstPreset + 1)->GetColor(),
                  0xFF0000u);
        HeadlessBackend::Click(picker, Picker::kOkButton);
    });
    // OK without a change gives the colour the picker opened with.
    EXPECT_EQ(result, 0x563412u);
    EXPECT_EQ(Ui().FindPeer(u"PaletteDlg"), nullptr);
}

TEST_F(MousePaletteDlgTest, ColourChosenIsGivenOnlyByOk) {
    const Choice choices[] = {
        {"preset",
         [](Picker& p) -> std::uint32_t {
             HeadlessBackend::Click(p, Picker::kFirstPreset + 3);
             EXPECT_EQ(p.GetControlAs<MPalette>(Picker::kPalette)->GetColor(), 0x00FFFFu);
             EXPECT_EQ(p.GetControlAs<CArea>(Picker::kPreview)->GetColor(), 0x00FFFFu);
             EXPECT_EQ(FieldText(p, 0), u"255");
             EXPECT_EQ(FieldText(p, 1), u"255");
             EXPECT_EQ(FieldText(p, 2), u"0");
             HeadlessBackend::Click(p, Picker::kOkButton);
             return 0x00FFFF;
         }},
        {"fields",
         [](Picker& p) -> std::uint32_t {
             TypeComponents(p, u"18", u"52", u"86");
             EXPECT_EQ(p.GetControlAs<MPalette>(Picker::kPalette)->GetColor(), 0x563412u);
             EXPECT_EQ(p.GetControlAs<CArea>(Picker::kPreview)->GetColor(), 0x563412u);
             HeadlessBackend::Click(p, Picker::kOkButton);
             return 0x563412;
         }},
        {"field above 255",
         [](Picker& p) -> std::uint32_t {
             TypeComponents(p, u"300", u"0", u"0");
             EXPECT_EQ(FieldText(p, 0), u"255");
             HeadlessBackend::Click(p, Picker::kOkButton);
             return 0x0000FF;
         }},
        {"palette",
         [](Picker& p) -> std::uint32_t {
             auto* palette = p.GetControlAs<MPalette>(Picker::kPalette);
             const Rect field = palette->GetFieldRect();
             HeadlessBackend::ClickAt(p, {field.left + field.Width() / 2, field.top + 10});
             const std::uint32_t picked = palette->GetColor();
             EXPECT_NE(picked, 0x808080u);
             EXPECT_EQ(p.GetControlAs<CArea>(Picker::kPreview)->GetColor(), picked);
             for (int i = 0; i < 3; ++i) {
                 EXPECT_EQ(p.GetControlAs<MEdit>(Picker::kRedField + i)->GetInt(),
                           static_cast<int>((picked >> (8 * i)) & 0xFF));
             }
             HeadlessBackend::Click(p, Picker::kOkButton);
             return picked;
         }},
        {"close button after a preset",
         [](Picker& p) -> std::uint32_t {
             HeadlessBackend::Click(p, Picker::kFirstPreset);
             HeadlessBackend::Click(p, Picker::kCloseButton);
             return 0;
         }},
        {"closed from outside after a preset",
         [](Picker& p) -> std::uint32_t {
             HeadlessBackend::Click(p, Picker::kFirstPreset);
             p.PostMessage(kMessageClose, 0, 0);
             return 0;
         }},
        // Black means "no colour": the caller keeps its own.
        {"black",
         [](Picker& p) -> std::uint32_t {
             TypeComponents(p, u"0", u"0", u"0");
             HeadlessBackend::Click(p, Picker::kOkButton);
             return 0;
         }},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        std::uint32_t expected = 1;
        const std::uint32_t result = Pick(0x808080, [&](Picker& p) { expected = c.act(p); });
        EXPECT_EQ(result, expected);
    }
}
