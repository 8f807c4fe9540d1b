#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CRoundArea.h"
#include "ui/toolkit/controls/MPalette.h"
#include "ui/toolkit/controls/MProgress.h"
#include "ui/toolkit/controls/MProgress2.h"

namespace {

using WidgetsPaletteTest = HeadlessTest;

constexpr int kPaletteId = 226;

struct PaletteFixture {
    TestDialog dialog;
    MPalette* palette = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            palette = static_cast<MPalette*>(d.AdoptControl(
                std::make_unique<MPalette>(), u"MPalette", kPaletteId, {30, 60, 200, 220}));
        });
    }
    void Mouse(MouseAction action, Point point) {
        dialog.HandleMouse({action,
                            action == MouseAction::kMove ? MouseButton::kNone : MouseButton::kLeft,
                            point, 0});
    }
};

TEST_F(WidgetsPaletteTest, SetColorIsTheColourReadBack) {
    PaletteFixture f;
    ASSERT_TRUE(f.Open());
    const std::uint32_t colours[] = {0x0000FF, 0xD027FB, 0x000000, 0xFFFFFF, 0x123456, 0x06FF00};
    for (std::uint32_t c : colours) {
        f.palette->SetColor(c);
        EXPECT_EQ(f.palette->GetColor(), c) << std::hex << c;
    }
    // Only the colour bytes count.
    f.palette->SetColor(0xAB00FF00u);
    EXPECT_EQ(f.palette->GetColor(), 0x00FF00u);
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsPaletteTest, PickingSendsTwentySevenWhileDraggingAndTwoOnRelease) {
    PaletteFixture f;
    ASSERT_TRUE(f.Open());
    f.palette->SetColor(0x0000FF);  // pure red: full brightness
    const Rect field = f.palette->GetFieldRect();
    // Top left of the field: hue 0, full saturation: red.
    f.Mouse(MouseAction::kMove, {field.left, field.top});
    f.Mouse(MouseAction::kDown, {field.left, field.top});
    EXPECT_EQ(f.palette->GetColor(), 0x0000FFu);
    // A third of the way across: hue 120, green.
    f.Mouse(MouseAction::kMove, {field.left + field.Width() / 3, field.top});
    EXPECT_EQ(f.palette->GetColor(), 0x00FF00u);
    // The bottom edge: no saturation, white; dragged beyond the control it stays at the edge.
    f.Mouse(MouseAction::kMove, {field.left + field.Width() / 3, field.bottom + 50});
    EXPECT_EQ(f.palette->GetColor(), 0xFFFFFFu);
    f.Mouse(MouseAction::kUp, {field.left + field.Width() / 3, field.bottom + 50});
    EXPECT_EQ(f.dialog.received,
              (std::vector<Received>{{kPaletteId, kNotifyColorPicked, 0x0000FF, 0},
                                     {kPaletteId, kNotifyColorPicked, 0x00FF00, 0},
                                     {kPaletteId, kNotifyColorPicked, 0xFFFFFF, 0},
                                     {kPaletteId, kNotifyClick, 0xFFFFFF, 0}}));
}

TEST_F(WidgetsPaletteTest, BrightnessStripDarkensAndAPressInTheFieldBrightensAgain) {
    PaletteFixture f;
    ASSERT_TRUE(f.Open());
    f.palette->SetColor(0x00FF00);
    const Rect strip = f.palette->GetStripRect();
    HeadlessBackend::ClickAt(f.dialog, {strip.left + 2, strip.bottom - 1});
    EXPECT_EQ(f.palette->GetColor(), 0x000000u);
    // The hue was kept: halfway down the strip is a darker green.
    HeadlessBackend::ClickAt(f.dialog, {strip.left + 2, strip.top + (strip.Height() - 1) / 2});
    const std::uint32_t dark = f.palette->GetColor();
    EXPECT_EQ(dark & 0xFF00FFu, 0u);
    EXPECT_NEAR(static_cast<int>((dark >> 8) & 0xFF), 128, 2);
    // Black, then a press in the field: full brightness, so the press picks a visible colour.
    f.palette->SetColor(0);
    const Rect field = f.palette->GetFieldRect();
    HeadlessBackend::ClickAt(f.dialog, {field.left, field.top});
    EXPECT_EQ(f.palette->GetColor(), 0x0000FFu);
}

TEST_F(WidgetsPaletteTest, ProgressKeepsItsValueAndRunsOnTheTick) {
    TestDialog dialog;
    MProgress* bar = nullptr;
    MProgress2* running = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        bar = static_cast<MProgress*>(
            d.AdoptControl(std::make_unique<MProgress>(), u"MProgress", 33, {10, 80, 280, 100}));
        running = static_cast<MProgress2*>(
            d.AdoptControl(std::make_unique<MProgress2>(), u"MProgress2", 34, {10, 130, 380, 150}));
        running->SetRange(0, 100);
        running->AddMTimer();
    }));
    EXPECT_EQ(bar->GetRangeMin(), 0);
    EXPECT_EQ(bar->GetRangeMax(), 100);
    bar->SetRange(0, 16000);
    bar->SetProgress(26000);  // above the maximum: kept as given
    EXPECT_EQ(bar->GetProgress(), 26000);

    // The save-wait start: running for good at position 0.
    dialog.SetMTimer(2);
    running->SetRun(1, -1);
    running->SetProgress(0);
    EXPECT_TRUE(running->IsRunning());
    EXPECT_EQ(running->GetRunPhase(), 0);
    Ui().AdvanceTime(2 * MProgress2::kTicksPerPass / 2);
    EXPECT_EQ(running->GetRunPhase(), 500);
    Ui().AdvanceTime(2 * MProgress2::kTicksPerPass * 3);
    EXPECT_TRUE(running->IsRunning());
    // A counted run stops by itself; run 0 stops at once.
    running->SetRun(1, 2);
    Ui().AdvanceTime(2 * MProgress2::kTicksPerPass * 2);
    EXPECT_FALSE(running->IsRunning());
    running->SetRun(1, -1);
    running->SetRun(0, -1);
    EXPECT_FALSE(running->IsRunning());
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(WidgetsPaletteTest, ACountedRunStopsTheTickWithItsLastPass) {
    TestDialog dialog;
    MProgress2* running = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        running = static_cast<MProgress2*>(
            d.AdoptControl(std::make_unique<MProgress2>(), u"MProgress2", 34, {10, 130, 380, 150}));
        running->AddMTimer();
    }));
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    dialog.SetMTimer(2);
    EXPECT_TRUE(peer->Timers().empty());
    running->SetRun(1, 1);
    EXPECT_EQ(peer->Timers(), (std::map<int, int>{{MWindow::kAnimationTimer, 2}}));
    Ui().AdvanceTime(2 * MProgress2::kTicksPerPass - 2);
    EXPECT_TRUE(running->IsRunning());
    EXPECT_FALSE(peer->Timers().empty());
    Ui().AdvanceTime(2);
    EXPECT_FALSE(running->IsRunning());
    EXPECT_TRUE(peer->Timers().empty());
}

TEST_F(WidgetsPaletteTest, AreasKeepTheirColours) {
    TestDialog dialog;
    CArea* area = nullptr;
    CRoundArea* marker = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        area = static_cast<CArea*>(
            d.AdoptControl(std::make_unique<CArea>(), u"CArea", 227, {10, 10, 60, 60}));
        marker = static_cast<CRoundArea*>(
            d.AdoptControl(std::make_unique<CRoundArea>(), u"CRoundArea", 237, {70, 10, 80, 20}));
    }));
    EXPECT_EQ(area->GetBorderColor(), CArea::kNoColor);
    area->SetColor(0xD027FB);
    area->SetBorderColor(0x000000);
    marker->SetColor(0x0C73E8);
    EXPECT_EQ(area->GetColor(), 0xD027FBu);
    EXPECT_EQ(area->GetBorderColor(), 0u);
    EXPECT_EQ(marker->GetColor(), 0x0C73E8u);
    EXPECT_EQ(marker->GetRadius(), -1);
    HeadlessBackend::Click(dialog, 227);
    EXPECT_TRUE(dialog.received.empty());
}

}  // namespace
