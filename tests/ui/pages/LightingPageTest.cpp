#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/Languages.h"
#include "device/worker/DeviceWorker.h"
#include "store/SQLiteDB.h"
#include "text/Format.h"
#include "ui/pages/LightingPage.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/LightSlider.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPalette.h"

namespace {

using Zones = std::array<bool, 6>;
constexpr Zones kAllZones = {true, true, true, true, true, true};

constexpr int kSend = DeviceWorker::kSendLighting;

// Indexes of the modes in the mode box when every zone is enabled (rows in zone order).
constexpr int kFlowIndex = 0;       // mode 1, config 3
constexpr int kBreathingIndex = 1;  // mode 2, config 2067
constexpr int kStaticIndex = 2;     // mode 3, config 17
constexpr int kOffIndex = 5;        // mode 0, config 0

// The seeded colours of every mode.
constexpr std::array<int, 7> kSeededColors = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                              0x00FFFF, 0xFF00FF, 0xFFFFFF};

std::array<int, 7> ColorsOf(const LightModeRecord& r) {
    return {r.color_value1, r.color_value2, r.color_value3, r.color_value4,
            r.color_value5, r.color_value6, r.color_value7};
}

}  // namespace

// The page built in a window with the main window's containers, laid out at scale 1.
class LightingPageTest : public ShellTest {
protected:
    LightingPageTest() {
        host.window.page = &page;
        page.Build();
        page.Layout(host.window.GetClientRect(), 1.0f);
    }

    // The model's zones given, the page refreshed as the worker asks, and the records cleared.
    void Open(const Zones& zones = kAllZones) {
        page.SetLightZones(zones);
        page.Refresh();
        host.ClearRecords();
    }

    template <typename T>
    T* Control(int id) {
        return host.window.GetControlAs<T>(id);
    }
    bool Shown(int id) { return host.window.GetControl(id)->IsShown(); }
    std::u16string Caption(int id) { return TitleOf(host.window, id); }

    void Click(int id) {
        HeadlessBackend::Click(host.window, id);
        Ui().RunPending();
    }
    void ChooseMode(int index) {
        Click(LightingPage::kModeSelector);
        ASSERT_TRUE(Ui().ChoosePopupItem(index));
        Ui().RunPending();
    }
    void Mouse(MouseAction action, Point point) {
        host.window.HandleMouse(
            {action, action == MouseAction::kMove ? MouseButton::kNone : MouseButton::kLeft, point,
             0});
    }
    // Typing into a field that keeps the focus.
    void Type(int id, const std::u16string& text) {
        HeadlessBackend::TypeText(host.window, id, text, false);
        Ui().RunPending();
    }

    LightModeRecord Stored(int mode) {
        LightModeRecord record;
        EXPECT_TRUE(host.store.GetLightMode(host.profile, mode, record)) << "mode " << mode;
        return record;
    }

    PageTestHost host;
    LightingPage page{host};
};

TEST_F(LightingPageTest, ModesOfferedFollowTheModelsZones) {
    struct Case {
        Zones zones;
        std::vector<int> modes;
        std::vector<int> texts;
    };
    const Case cases[] = {
        {{true, false, false, false, false, true}, {1, 0}, {280, 285}},
        {kAllZones, {1, 2, 3, 4, 5, 0}, {280, 281, 282, 283, 284, 285}},
        {{false, false, true, false, false, false}, {3}, {282}},
    };
    for (const Case& c : cases) {
        PageTestHost other;
        LightingPage fresh(other);
        other.window.page = &fresh;
        fresh.Build();
        fresh.SetLightZones(c.zones);
        fresh.Refresh();
        auto* combo = other.window.GetControlAs<MComboBox>(LightingPage::kModeSelector);
        ASSERT_EQ(combo->GetCount(), static_cast<int>(c.modes.size()));
        for (int i = 0; i < combo->GetCount(); ++i) {
            EXPECT_EQ(combo->GetItemData(i), c.modes[i]);
            EXPECT_EQ(combo->GetItemText(i), Text(c.texts[i]));
            EXPECT_FALSE(combo->GetItemText(i).empty());
        }
        // Seeding makes mode 1 active; a model without it has no active mode, and mode 0 is
        // what "none" reads as.
        const bool hasFlow = c.zones[0];
        EXPECT_EQ(combo->GetCurData(), hasFlow ? 1 : -1);
        EXPECT_EQ(other.session.state.CurrentLightMode(), hasFlow ? 1 : 0);
        EXPECT_EQ(other.store.GetActiveLightMode(other.profile), hasFlow ? 1 : 0);
        // A refresh only shows what the table holds; it sends nothing.
        EXPECT_TRUE(other.commands.empty());
        EXPECT_EQ(other.saveWaits, 0);
    }
}

TEST_F(LightingPageTest, SectionsShownAndBackgroundSizedByTheModesConfig) {
    struct Case {
        int index;
        int mode;
        bool brightness;
        bool speed;
        bool modeColors;
        bool colorArea;
        int backgroundBottom;
    };
    const Case cases[] = {
        {kBreathingIndex, 2, true, true, true, true, 80 + 658},
        {kStaticIndex, 3, true, false, false, true, 80 + 658},
        {kFlowIndex, 1, true, true, false, false, 80 + 430},
        {kOffIndex, 0, false, false, false, false, 80 + 170},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        host.ClearRecords();
        ChooseMode(c.index);
        EXPECT_EQ(host.session.state.CurrentLightMode(), c.mode);
        EXPECT_EQ(host.store.GetActiveLightMode(host.profile), c.mode);
        EXPECT_EQ(host.commands, std::vector<int>{kSend});
        EXPECT_EQ(host.saveWaits, 1);

        for (int id : {LightingPage::kBrightnessCaption, LightingPage::kBrightnessValue,
                       LightingPage::kBrightnessSlider}) {
            EXPECT_EQ(Shown(id), c.brightness) << id;
        }
        for (int id :
             {LightingPage::kSpeedCaption, LightingPage::kSpeedValue, LightingPage::kSpeedSlider}) {
            EXPECT_EQ(Shown(id), c.speed) << id;
        }
        EXPECT_EQ(Shown(LightingPage::kEffectBackground), c.brightness || c.speed);
        for (int id = LightingPage::kModeColorCaption; id <= 224; ++id) {
            EXPECT_EQ(Shown(id), c.modeColors) << id;
        }
        for (int id : {199, 208, 209, 216, 225, 226, 227, 228, 230, 231, 233}) {
            EXPECT_EQ(Shown(id), c.colorArea) << id;
        }
        // The mode section is there whatever the mode.
        for (int id : {194, 195, 196, 197, 201}) {
            EXPECT_TRUE(Shown(id)) << id;
        }
        EXPECT_EQ(Control<MControl>(LightingPage::kBackground)->GetRect(),
                  (Rect{230, 80, 730, c.backgroundBottom}));
    }
}

TEST_F(LightingPageTest, ModeShowsItsStoredSettings) {
    Open();
    LightModeRecord record = Stored(2);
    record.brightness = 1;
    record.speed = 3;
    record.color_value1 = 0x123456;
    record.color_value4 = 0x0A0B0C;
    ASSERT_TRUE(host.store.UpdateLightMode(2, record));
    ChooseMode(kBreathingIndex);

    EXPECT_EQ(Control<LightSlider>(LightingPage::kBrightnessSlider)->GetPosition(), 1);
    EXPECT_EQ(Caption(LightingPage::kBrightnessValue), Text(278) + u": 25%");
    EXPECT_EQ(Control<LightSlider>(LightingPage::kSpeedSlider)->GetPosition(), 3);
    EXPECT_EQ(Caption(LightingPage::kSpeedValue), Text(279) + u": 3");
    for (int i = 0; i < 7; ++i) {
        auto* button = Control<CColorButton>(LightingPage::kFirstModeColor + i);
        EXPECT_EQ(static_cast<int>(button->GetColor()), ColorsOf(record)[i]) << i;
        EXPECT_EQ(button->GetCheck(), i == 0) << i;
    }
    // The colour area starts from the mode's colour.
    EXPECT_EQ(Control<CArea>(LightingPage::kPreview)->GetColor(), 0x123456u);
    EXPECT_EQ(Caption(LightingPage::kRedField), u"86");
    EXPECT_EQ(Caption(LightingPage::kRedField + 1), u"52");
    EXPECT_EQ(Caption(LightingPage::kRedField + 2), u"18");
}

TEST_F(LightingPageTest, LayoutTruncatesEveryScaledLength) {
    struct Case {
        float scale;
        std::vector<std::pair<int, Rect>> rects;
        int fontSize;
        int fullBackgroundBottom;
    };
    const Case cases[] = {
        {1.0f,
         {{201, {684, 140, 700, 156}},
          {197, {260, 166, 700, 196}},
          {204, {260, 290, 690, 320}},
          {207, {260, 370, 690, 400}},
          {224, {510, 450, 536, 476}},
          {227, {450, 555, 500, 605}},
          {233, {450, 685, 510, 705}},
          {212, {654, 575, 680, 601}},
          {213, {540, 613, 566, 639}}},
         12,
         738},
        // 0.75 makes halves that truncate, and a reset button placed above the caption's
        // middle by a negative half.
        {0.75f,
         {{201, {570, 122, 586, 138}},
          {197, {252, 144, 582, 166}},
          {204, {252, 237, 575, 267}},
          {207, {252, 296, 575, 326}},
          {224, {440, 355, 459, 374}},
          {227, {395, 441, 432, 491}},
          {233, {395, 555, 440, 575}},
          {212, {546, 448, 566, 467}},
          {213, {462, 476, 482, 495}}},
         9,
         80 + 493},
    };
    Open();
    ChooseMode(kBreathingIndex);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        page.Layout(host.window.GetClientRect(), c.scale);
        for (const auto& [id, rect] : c.rects) {
            EXPECT_EQ(Control<MControl>(id)->GetRect(), rect) << id;
        }
        for (int id : {194, 203, 206, 217, 228, 230}) {
            EXPECT_EQ(Control<MControlFont>(id)->GetFont().size, c.fontSize) << id;
        }
        EXPECT_EQ(Control<MControl>(LightingPage::kBackground)->GetRect().bottom,
                  c.fullBackgroundBottom);
    }
    // A mode chosen after the layout keeps its scale.
    ChooseMode(kFlowIndex);
    EXPECT_EQ(Control<MControl>(LightingPage::kBackground)->GetRect(),
              (Rect{230, 80, 230 + 375, 80 + 322}));
}

TEST_F(LightingPageTest, SliderMovingShowsTheValueAndReleaseStoresItOnce) {
    struct Case {
        int slider;
        int caption;
        std::u16string whileMoving;   // at position 1
        std::u16string afterRelease;  // at position 3
        int LightModeRecord::*field;
    };
    const Case cases[] = {
        {LightingPage::kBrightnessSlider, LightingPage::kBrightnessValue, Text(278) + u": 25%",
         Text(278) + u": 75%", &LightModeRecord::brightness},
        // The speed caption is written with a full-width colon while the knob moves and keeps
        // it after the release.
        {LightingPage::kSpeedSlider, LightingPage::kSpeedValue, Text(279) + u"：1",
         Text(279) + u"：3", &LightModeRecord::speed},
    };
    Open();  // mode 1: brightness 4, speed 2
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        host.ClearRecords();
        auto* slider = Control<LightSlider>(c.slider);
        const int before = Stored(1).*c.field;
        Mouse(MouseAction::kMove, slider->PointOfValue(1));
        Mouse(MouseAction::kDown, slider->PointOfValue(1));
        EXPECT_EQ(Caption(c.caption), c.whileMoving);
        Mouse(MouseAction::kMove, slider->PointOfValue(3));
        EXPECT_EQ(Stored(1).*c.field, before);
        EXPECT_TRUE(host.commands.empty());
        EXPECT_EQ(host.saveWaits, 0);

        Mouse(MouseAction::kUp, slider->PointOfValue(3));
        EXPECT_EQ(Caption(c.caption), c.afterRelease);
        EXPECT_EQ(Stored(1).*c.field, 3);
        EXPECT_EQ(host.commands, std::vector<int>{kSend});
        EXPECT_EQ(host.saveWaits, 1);
    }
}

TEST_F(LightingPageTest, PresetColourGoesToTheCheckedModeColoursOrToTheFirstColour) {
    struct Case {
        int index;
        int mode;
        std::vector<int> toggled;  // mode-colour buttons clicked before the preset
        std::array<int, 7> stored;
    };
    constexpr int kPreset = 0xFF0C00;  // the third preset
    const Case cases[] = {
        // Button 1 unchecked, 2 and 5 checked: those two take the colour, and all seven
        // buttons' colours are stored (the first one's own colour included).
        {kBreathingIndex,
         2,
         {218, 219, 222},
         {0x0000FF, kPreset, 0xFF0000, 0xFFFF00, kPreset, 0xFF00FF, 0xFFFFFF}},
        // Without the seven colours only the first colour changes.
        {kStaticIndex,
         3,
         {},
         {kPreset, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Open();
        ChooseMode(c.index);
        for (int id : c.toggled) {
            Click(id);
        }
        host.ClearRecords();
        Click(LightingPage::kFirstPreset + 2);

        EXPECT_EQ(ColorsOf(Stored(c.mode)), c.stored);
        EXPECT_EQ(host.commands, std::vector<int>{kSend});
        EXPECT_EQ(host.saveWaits, 1);
        EXPECT_EQ(Control<CArea>(LightingPage::kPreview)->GetColor(),
                  static_cast<std::uint32_t>(kPreset));
        EXPECT_EQ(Caption(LightingPage::kRedField), u"0");
        EXPECT_EQ(Caption(LightingPage::kRedField + 1), u"12");
        EXPECT_EQ(Caption(LightingPage::kRedField + 2), u"255");
        if (c.mode == 2) {
            for (int i = 0; i < 7; ++i) {
                EXPECT_EQ(static_cast<int>(
                              Control<CColorButton>(LightingPage::kFirstModeColor + i)->GetColor()),
                          c.stored[i])
                    << i;
            }
        }
    }
    // Another mode's row is never touched.
    EXPECT_EQ(ColorsOf(Stored(1)), kSeededColors);
}

TEST_F(LightingPageTest, TypedComponentsAreClampedAndApplied) {
    struct Case {
        int field;
        std::u16string typed;
        std::u16string shown;
        int color;  // from red 255, green 0, blue 0 (the mode's first colour)
    };
    const Case cases[] = {
        {LightingPage::kRedField, u"300", u"255", 0x0000FF},
        {LightingPage::kRedField + 1, u"7", u"7", 0x0007FF},
        {LightingPage::kRedField + 2, u"999", u"255", 0xFF00FF},
        // Only digits reach the field.
        {LightingPage::kRedField + 1, u"1a2", u"12", 0x000CFF},
        // An emptied field counts as 0 and stays empty.
        {LightingPage::kRedField, u"", u"", 0x000000},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        LightModeRecord record = Stored(3);
        record.color_value1 = 0x0000FF;
        ASSERT_TRUE(host.store.UpdateLightMode(3, record));
        ChooseMode(kStaticIndex);
        host.ClearRecords();
        Type(c.field, c.typed);
        EXPECT_EQ(Caption(c.field), c.shown);
        EXPECT_EQ(Stored(3).color_value1, c.color);
        EXPECT_EQ(Control<CArea>(LightingPage::kPreview)->GetColor(),
                  static_cast<std::uint32_t>(c.color));
        EXPECT_EQ(host.commands, std::vector<int>{kSend});
    }
}

TEST_F(LightingPageTest, PalettePickShowsWhileDraggingAndStoresOnRelease) {
    Open();
    ChooseMode(kStaticIndex);
    Click(LightingPage::kFirstPreset);
    ASSERT_TRUE(Control<CColorButton>(LightingPage::kFirstPreset)->GetCheck());
    host.ClearRecords();

    auto* palette = Control<MPalette>(LightingPage::kPalette);
    const Rect field = palette->GetFieldRect();
    const Point point{field.left + field.Width() / 3, field.top + field.Height() / 4};
    Mouse(MouseAction::kMove, point);
    Mouse(MouseAction::kDown, point);
    const std::uint32_t picked = palette->GetColor();
    ASSERT_NE(picked, 0x0000FFu);
    EXPECT_FALSE(Control<CColorButton>(LightingPage::kFirstPreset)->GetCheck());
    EXPECT_EQ(Caption(LightingPage::kRedField), Format(u"%d", picked & 0xFF));
    EXPECT_EQ(Caption(LightingPage::kRedField + 1), Format(u"%d", (picked >> 8) & 0xFF));
    EXPECT_EQ(Caption(LightingPage::kRedField + 2), Format(u"%d", (picked >> 16) & 0xFF));
    EXPECT_EQ(Stored(3).color_value1, 0x0000FF);
    EXPECT_TRUE(host.commands.empty());

    Mouse(MouseAction::kUp, point);
    EXPECT_EQ(Stored(3).color_value1, static_cast<int>(picked));
    EXPECT_EQ(Control<CArea>(LightingPage::kPreview)->GetColor(), picked);
    EXPECT_EQ(host.commands, std::vector<int>{kSend});
    EXPECT_EQ(host.saveWaits, 1);
}

TEST_F(LightingPageTest, ResetAsksAndOnlyAnAgreementResetsTheMouse) {
    struct Case {
        int answer;
        std::vector<int> commands;
    };
    const Case cases[] = {
        {kResultCancel, {}},
        {kResultOk, {DeviceWorker::kResetLighting}},
        // A box that ended without either button agrees to nothing.
        {0, {}},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        host.ClearRecords();
        host.answer = c.answer;
        Click(LightingPage::kResetButton);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].titleText, 276);
        EXPECT_EQ(host.boxes[0].messageText, 275);
        EXPECT_EQ(host.boxes[0].type, CUIMessageBox::kTypeOkCancel);
        EXPECT_EQ(host.commands, c.commands);
        EXPECT_EQ(host.saveWaits, c.commands.empty() ? 0 : 1);
    }
}

TEST_F(LightingPageTest, NothingIsSentWithoutAStoredRow) {
    const std::function<void()> changes[] = {
        [this] {
            auto* slider = Control<LightSlider>(LightingPage::kBrightnessSlider);
            HeadlessBackend::ClickAt(host.window, slider->PointOfValue(1));
        },
        [this] { Click(LightingPage::kFirstPreset + 1); },
        [this] { Type(LightingPage::kRedField, u"12"); },
    };

    // A model without lighting zones: the page has no mode to change.
    Open(Zones{});
    EXPECT_EQ(Control<MComboBox>(LightingPage::kModeSelector)->GetCount(), 0);
    for (int id :
         {LightingPage::kBrightnessSlider, LightingPage::kSpeedSlider, LightingPage::kPalette}) {
        EXPECT_FALSE(Shown(id)) << id;
    }
    // Made reachable, its controls still send nothing.
    for (int id : {LightingPage::kBrightnessSlider, LightingPage::kFirstPreset + 1,
                   LightingPage::kRedField}) {
        host.window.GetControl(id)->SetVisible(true);
    }
    for (const auto& change : changes) {
        change();
    }
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.saveWaits, 0);

    // A row the table refuses to write (another connection holds the write lock) is neither
    // sent unchanged nor shown as saved.
    Open();
    ChooseMode(kBreathingIndex);
    host.ClearRecords();
    SQLiteDB blocker;
    ASSERT_TRUE(blocker.Open(host.DbPath().c_str(), SQLiteDB::kOpenExisting));
    ASSERT_EQ(blocker.Exec("BEGIN IMMEDIATE"), SQLITE_OK);
    for (const auto& change : changes) {
        change();
    }
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.saveWaits, 0);
    blocker.Exec("ROLLBACK");
    EXPECT_EQ(ColorsOf(Stored(2)), kSeededColors);
}

TEST_F(LightingPageTest, TextsFollowTheLanguage) {
    Open();
    SetCurrentLanguage(2052);
    page.ApplyTexts();
    auto* combo = Control<MComboBox>(LightingPage::kModeSelector);
    EXPECT_EQ(combo->GetItemText(0), Text(280));
    EXPECT_EQ(combo->GetCurText(), Text(280));
    EXPECT_EQ(Caption(LightingPage::kPageCaption), Text(265));
    EXPECT_EQ(Caption(LightingPage::kBrightnessValue), Text(278) + u": 100%");
    EXPECT_EQ(Caption(LightingPage::kSpeedValue), Text(279) + u": 2");
    EXPECT_NE(Text(280), u"Color Flow");
}
