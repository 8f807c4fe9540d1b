#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Painter.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/BatteryCtrl.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CDeviceState.h"
#include "ui/toolkit/controls/CRoundArea.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/LightSlider.h"
#include "ui/toolkit/controls/MPalette.h"
#include "ui/toolkit/controls/MProgress2.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "ui/toolkit/controls/MTabLayout.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

namespace {

using WidgetsPaintTest = HeadlessTest;

// Keeps the texts and images drawn and checks that every Clip has its Restore. With
// `withImages`, every skin image loads; a strip measures 40 x 20, a tab icon strip 96 x 24.
class RecordingPainter : public Painter {
public:
    struct Text {
        std::u16string text;
        Argb color;
    };
    struct Image {
        std::u16string file;
        int frame;
    };

    explicit RecordingPainter(bool withImages) : withImages_(withImages) {}

    void FillRect(const Rect&, Argb) override {}
    void FillRoundRect(const Rect&, int, Argb) override {}
    void DrawRoundRect(const Rect&, int, Argb, int) override {}
    void FillEllipse(const Rect&, Argb) override {}
    void DrawEllipse(const Rect&, Argb, int) override {}
    void DrawLine(Point, Point, Argb, int) override {}
    void FillGradient(const Rect&, Argb, Argb, bool) override {}
    bool DrawImage(const std::u16string& file, int frame, int, const Rect&) override {
        if (withImages_) {
            images.push_back({file, frame});
        }
        return withImages_;
    }
    Size ImageSize(const std::u16string& file, int frames) override {
        if (!withImages_) {
            return {};
        }
        // Tab icons are strips of four 24 x 24 frames.
        const Size whole = file.starts_with(u"icon/tab_") ? Size{96, 24} : Size{40, 20};
        return {whole.cx / std::max(1, frames), whole.cy};
    }
    void DrawText(const Rect&, const std::u16string& text, const FontSpec&, Argb color,
                  unsigned) override {
        texts.push_back({text, color});
    }
    Size MeasureText(const std::u16string& text, const FontSpec& font) override {
        return {static_cast<int>(text.size()) * font.size / 2, font.size};
    }
    void Clip(const Rect&) override { ++depth; }
    void Restore() override {
        --depth;
        unbalanced = unbalanced || depth < 0;
    }

    // The colour of the first drawing of `text`; 0 when it was not drawn.
    Argb TextColor(const std::u16string& text) const {
        for (const Text& t : texts) {
            if (t.text == text) {
                return t.color;
            }
        }
        return 0;
    }
    bool HasImage(const std::u16string& file, int frame) const {
        for (const Image& image : images) {
            if (image.file == file && image.frame == frame) {
                return true;
            }
        }
        return false;
    }

    std::vector<Text> texts;
    std::vector<Image> images;
    int depth = 0;
    bool unbalanced = false;

private:
    bool withImages_;
};

// Every widget class in one window, in states the pages put them in.
struct Gallery {
    TestDialog dialog;
    DPIControl* dpi = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            auto* tabs = static_cast<MTabCtrl*>(
                d.AdoptControl(std::make_unique<MTabCtrl>(), u"MTabCtrl", 48, {0, 0, 100, 120}));
            tabs->SetImage(u"img_tabitem_bkg.png", 4);
            tabs->SetItemHeight(40, 40, 1);
            MControl* home = d.AdoptControl(std::make_unique<MTabLayout>(), u"MTabLayout", 49,
                                            {100, 0, 400, 300});
            tabs->AddItem(1, u"icon\\tab_home.png", u"Home", home);
            tabs->AddItem(2, u"", u"Buttons", nullptr);
            tabs->SetCurSel(0);

            auto* list = static_cast<CDeviceList*>(d.AdoptControl(
                std::make_unique<CDeviceList>(), u"CDeviceList", 57, {100, 0, 400, 300}, {}, home));
            list->AddDevice(u"Kestrel K1", 1, u"device/k1.png");
            list->SetDeviceState(1, 1, 1);
            list->SetDeviceVersion(1, 0x0102);
            list->SetDeviceBattery(1, 1, 15);
            list->SetDescription(u"Firmware");
            list->SetSelectIndex(0);

            auto* battery = static_cast<BatteryCtrl*>(d.AdoptControl(
                std::make_unique<BatteryCtrl>(), u"BatteryCtrl", 43, {300, 0, 395, 30}));
            battery->SetBatteryInfo(75, BatteryCtrl::kStateCharging);
            auto* state = static_cast<CDeviceState*>(d.AdoptControl(
                std::make_unique<CDeviceState>(), u"CDeviceState", 44, {0, 130, 100, 157}));
            state->SetImage(u"img_area.png", 4);
            state->SetTitle(u"Wired");
            state->SetConnected(true);

            dpi = static_cast<DPIControl*>(d.AdoptControl(std::make_unique<DPIControl>(),
                                                          u"DPIControl", 116, {0, 160, 150, 300}));
            dpi->AddItem(800, 0x0000FF);
            dpi->AddItem(1600, 0x00FF00);
            dpi->AddItem(2400, 0xFF0000);
            dpi->SetSelectItem(1);
            auto* slider = static_cast<DPISlider*>(d.AdoptControl(
                std::make_unique<DPISlider>(), u"DPISlider", 117, {150, 150, 400, 200}));
            slider->SetRangeText(u"4800");
            slider->SetStepText(u"100");
            slider->SetProgress(16);
            auto* light = static_cast<LightSlider*>(d.AdoptControl(
                std::make_unique<LightSlider>(), u"LightSlider", 204, {150, 200, 400, 230}));
            light->SetPosition(3);
            auto* palette = static_cast<MPalette*>(d.AdoptControl(
                std::make_unique<MPalette>(), u"MPalette", 226, {150, 230, 250, 300}));
            palette->SetColor(0xD027FB);
            auto* bar = static_cast<MProgress2*>(d.AdoptControl(
                std::make_unique<MProgress2>(), u"MProgress2", 33, {250, 230, 400, 245}));
            bar->SetRun(1, -1);
            bar->SetProgress(30);
            auto* preview = static_cast<CArea*>(
                d.AdoptControl(std::make_unique<CArea>(), u"CArea", 227, {250, 250, 290, 290}));
            preview->SetBorderColor(0xFFFFFF);
            d.AdoptControl(std::make_unique<CRoundArea>(), u"CRoundArea", 237,
                           {300, 250, 310, 260});

            auto* keys = static_cast<MouseKeyCtrl*>(d.AdoptControl(
                std::make_unique<MouseKeyCtrl>(), u"MouseKeyCtrl", 68, {0, 0, 200, 120}));
            keys->AddItem(u"Button 1", u"Left click", 0);
            keys->AddItem(u"Button 2", u"Right click", 1);
            keys->SetSelectItem(1);
            auto* mouse = static_cast<MouseCtrl*>(d.AdoptControl(
                std::make_unique<MouseCtrl>(), u"MouseCtrl", 108, {200, 0, 400, 150}));
            mouse->SetPicture(u"device\\k1_top.png");
            mouse->AddCallout(u"Left", 0, 0, {120, 60}, {10, 60});
            mouse->AddCallout(u"Right", 1, 1, {140, 60}, {195, 60});
            mouse->SetSelectItem(1);
        });
    }
};

TEST_F(WidgetsPaintTest, FlatLookDrawsEveryWidgetsTextsWithTheAccentOnSelections) {
    Gallery g;
    ASSERT_TRUE(g.Open());
    RecordingPainter painter(false);
    g.dialog.HandlePaint(painter);
    EXPECT_EQ(painter.depth, 0);
    EXPECT_FALSE(painter.unbalanced);
    const Argb accent = Manager::GetSelectionColor();
    const std::u16string texts[] = {u"Home",     u"Buttons",    u"Kestrel K1", u"Firmware: v1.02",
                                    u"15%",      u"75%",        u"Wired",      u"800",
                                    u"1600",     u"DPI",        u"4800",       u"100",
                                    u"Button 1", u"Left click", u"Left",       u"Right"};
    for (const std::u16string& text : texts) {
        EXPECT_NE(painter.TextColor(text), 0u) << std::string(text.begin(), text.end());
    }
    // Selections: the stage, the button row, the callout and the card name.
    EXPECT_EQ(painter.TextColor(u"1600"), accent);
    EXPECT_NE(painter.TextColor(u"800"), accent);
    EXPECT_EQ(painter.TextColor(u"Button 2"), accent);
    EXPECT_NE(painter.TextColor(u"Button 1"), accent);
    EXPECT_EQ(painter.TextColor(u"Right"), accent);
    EXPECT_EQ(painter.TextColor(u"Kestrel K1"), accent);

    // While a stage is edited the backend's text entry shows the text over the value: the
    // value is not drawn beneath it.
    g.dialog.HandleMouse({MouseAction::kDoubleClick,
                          MouseButton::kLeft,
                          {g.dpi->GetValueRect(0).left + 2, g.dpi->GetValueRect(0).top + 2},
                          0});
    g.dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {0, 0}, 0});
    ASSERT_TRUE(g.dpi->IsEditing());
    RecordingPainter editing(false);
    g.dialog.HandlePaint(editing);
    EXPECT_EQ(editing.TextColor(u"800"), 0u);
    EXPECT_NE(editing.TextColor(u"1600"), 0u);
}

TEST_F(WidgetsPaintTest, SkinImagesAreDrawnWithTheirStateFrames) {
    Gallery g;
    ASSERT_TRUE(g.Open());
    RecordingPainter painter(true);
    g.dialog.HandlePaint(painter);
    EXPECT_EQ(painter.depth, 0);
    EXPECT_FALSE(painter.unbalanced);
    struct Expected {
        const char16_t* file;
        int frame;
    };
    const Expected expected[] = {
        {u"img_tabitem_bkg.png", 2},         // the selected tab
        {u"img_tabitem_bkg.png", 0},         // the other tab
        {u"icon/tab_home.png", 2},           // its icon, selected; separators normalised
        {u"area_device.png", 2},             // the selected card
        {u"device/k1.png", 0},               // the model's picture
        {u"device_mode.png", 1},             // through the receiver
        {u"icon/icon_battery_bkg.png", 0},   // battery of the indicator and the card
        {u"icon/icon_batteryvalue.png", 0},  // normal for the indicator
        {u"icon/icon_batteryvalue.png", 1},  // low on the card
        {u"icon/icon_charge.png", 0},        // charging
        {u"img_area.png", 0},                // the connection caption
        {u"img_area2.png", 0},               // DPI slider track
        {u"img_dpi_bar.png", 0},             // its track
        {u"img_dpi_bar.png", 1},             // its fill
        {u"img_dpi_bar.png", 2},             // its knob
        {u"img_slider_bar.png", 0},          // the lighting slider
        {u"device/k1_top.png", 0},           // the mouse picture, separators normalised
    };
    for (const Expected& e : expected) {
        const std::u16string file = e.file;
        EXPECT_TRUE(painter.HasImage(file, e.frame))
            << std::string(file.begin(), file.end()) << " frame " << e.frame;
    }
}

}  // namespace
