#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/LightSlider.h"

namespace {

using WidgetsDpiTest = HeadlessTest;

constexpr int kListId = 116;
constexpr int kSliderId = 117;
constexpr int kLightId = 204;

Point Centre(const Rect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

// The DPI page's stage list and slider.
struct DpiFixture {
    TestDialog dialog;
    DPIControl* list = nullptr;
    DPISlider* slider = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            list = static_cast<DPIControl*>(d.AdoptControl(
                std::make_unique<DPIControl>(), u"DPIControl", kListId, {10, 10, 210, 250}));
            slider = static_cast<DPISlider*>(d.AdoptControl(
                std::make_unique<DPISlider>(), u"DPISlider", kSliderId, {10, 260, 390, 296}));
            const int stages[] = {800, 1600, 2400, 3200, 6400, 26000};
            for (int value : stages) {
                list->AddItem(value, 0x0000FF);
            }
        });
    }
    void Mouse(MouseAction action, Point point) {
        dialog.HandleMouse({action,
                            action == MouseAction::kMove ? MouseButton::kNone : MouseButton::kLeft,
                            point, 0});
    }
    // A double click as the backends deliver it: press, release, double click, release.
    void DoubleClick(Point point) {
        Mouse(MouseAction::kMove, point);
        Mouse(MouseAction::kDown, point);
        Mouse(MouseAction::kUp, point);
        Mouse(MouseAction::kDoubleClick, point);
        Mouse(MouseAction::kUp, point);
    }
};

TEST_F(WidgetsDpiTest, SevenValueSlotsSurviveClearListAndAddItemWritesThem) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    // The page loads the seven slots first, then rebuilds the rows from its store.
    for (int i = 0; i < DPIControl::kSlots; ++i) {
        f.list->SetDPIValue(i, 1000 + i);
        f.list->SetDPIColorValue(i, 0x010101u * (i + 1));
    }
    f.list->ClearList();
    EXPECT_EQ(f.list->GetCount(), 0);
    EXPECT_EQ(f.list->GetSelectItem(), -1);
    for (int i = 0; i < DPIControl::kSlots; ++i) {
        EXPECT_EQ(f.list->GetDPIValue(i), 1000 + i) << i;
        EXPECT_EQ(f.list->GetDPIColorValue(i), 0x010101u * (i + 1)) << i;
    }
    EXPECT_EQ(f.list->AddItem(400, 0x00FF00), 0);
    EXPECT_EQ(f.list->AddItem(800, 0xFF0000), 1);
    f.list->SetSelectItem(1);
    EXPECT_EQ(f.list->GetDPIValue(0), 400);
    EXPECT_EQ(f.list->GetDPIColorValue(1), 0xFF0000u);
    EXPECT_EQ(f.list->GetDPIValue(2), 1002);  // slots without a row keep their value
    EXPECT_EQ(f.list->GetSelectItem(), 1);

    // Outside the seven slots and rows: ignored, 0.
    f.list->SetDPIValue(7, 5);
    f.list->SetDPIValue(-1, 5);
    EXPECT_EQ(f.list->GetDPIValue(7), 0);
    EXPECT_EQ(f.list->GetDPIValue(-1), 0);
    EXPECT_EQ(f.list->GetDPIColorValue(9), 0u);
    f.list->SetSelectItem(5);  // no row 5
    EXPECT_EQ(f.list->GetSelectItem(), 1);
    for (int i = 2; i < DPIControl::kSlots; ++i) {
        EXPECT_EQ(f.list->AddItem(100 * i, 0), i);
    }
    EXPECT_EQ(f.list->AddItem(9999, 0), -1);
    EXPECT_EQ(f.list->GetCount(), DPIControl::kSlots);
}

TEST_F(WidgetsDpiTest, ColourSwatchClickSendsNineAndRowClickSelectsWithTwo) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    f.list->SetSelectItem(0);
    HeadlessBackend::ClickAt(f.dialog, Centre(f.list->GetValueRect(2)));
    EXPECT_EQ(f.list->GetSelectItem(), 2);
    HeadlessBackend::ClickAt(f.dialog, Centre(f.list->GetColorRect(4)));
    EXPECT_EQ(f.list->GetSelectItem(), 2);  // a swatch click selects nothing
    EXPECT_EQ(f.list->GetClickedColorIndex(), 4);
    // The number at the row's left is part of the row.
    const Rect row5 = f.list->GetItemRect(5);
    HeadlessBackend::ClickAt(f.dialog, {row5.left + 5, row5.top + row5.Height() / 2});
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 2, 0},
                                                        {kListId, kNotifySecondaryClick, 4, 0},
                                                        {kListId, kNotifyClick, 5, 0}}));

    // Pressed on a swatch and released on the row, or clicked below the rows: nothing.
    f.dialog.received.clear();
    f.Mouse(MouseAction::kDown, Centre(f.list->GetColorRect(1)));
    f.Mouse(MouseAction::kUp, Centre(f.list->GetValueRect(1)));
    f.list->ClearList();
    f.list->AddItem(400, 0);
    HeadlessBackend::ClickAt(f.dialog, {100, 200});
    EXPECT_TRUE(f.dialog.received.empty());
    EXPECT_EQ(f.list->GetSelectItem(), -1);
}

TEST_F(WidgetsDpiTest, DoubleClickOnTheValueEditsItInPlace) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    f.list->SetSelectItem(0);
    EXPECT_FALSE(f.list->IsTextEntry());
    f.DoubleClick(Centre(f.list->GetValueRect(3)));
    ASSERT_TRUE(f.list->IsTextEntry());
    EXPECT_EQ(f.list->GetEditItem(), 3);
    EXPECT_EQ(f.list->GetEntryText(), u"3200");
    EXPECT_EQ(f.list->GetTextEntryRect(), f.list->GetValueRect(3));
    const TextEntryInfo info = f.list->GetTextEntryInfo();
    EXPECT_TRUE(info.digitsOnly);
    EXPECT_EQ(info.maxLength, 5);
    // The first click selected the row; the edit took the focus.
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 3, 0},
                                                        {kListId, kNotifyFocus, 0, 0}}));

    f.dialog.received.clear();
    HeadlessBackend::TypeText(f.dialog, kListId, u"12a3456");
    EXPECT_FALSE(f.list->IsTextEntry());
    EXPECT_EQ(f.list->GetEditText(), u"12345");  // digits only, at most five
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 3, 0}}));
    // The row's value changes only when the page says so.
    EXPECT_EQ(f.list->GetDPIValue(3), 3200);
    f.list->SetEditText(u"12300");
    f.list->SetDPIValue(3, 12300);
    EXPECT_EQ(f.list->GetEditText(), u"12300");
    EXPECT_EQ(f.list->GetDPIValue(3), 12300);
}

TEST_F(WidgetsDpiTest, PressingElsewhereCommitsTheEditFirst) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    f.DoubleClick(Centre(f.list->GetValueRect(1)));
    ASSERT_TRUE(f.list->IsEditing());
    f.list->OnTextEntered(u"2000", false);
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, Centre(f.list->GetValueRect(4)));
    EXPECT_FALSE(f.list->IsEditing());
    EXPECT_EQ(f.list->GetEditText(), u"2000");
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyEditEnded, 1, 0},
                                                        {kListId, kNotifyClick, 4, 0}}));
    // ClearList ends an edit without a notification.
    f.DoubleClick(Centre(f.list->GetValueRect(2)));
    f.dialog.received.clear();
    f.list->ClearList();
    EXPECT_FALSE(f.list->IsTextEntry());
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsDpiTest, SliderValuesArePositionPlusStartOffset) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.slider->GetPositionCount(), DPISlider::kDefaultPositionCount);
    EXPECT_EQ(f.slider->GetStartOffset(), DPISlider::kDefaultStartOffset);
    f.slider->SetPositionCount(80);
    f.slider->SetStartOffset(1);
    struct Case {
        int progress;
        int position;
    };
    const Case cases[] = {{1, 0}, {40, 39}, {80, 79}, {500, 79}, {0, 0}, {-7, 0}};
    for (const Case c : cases) {
        f.slider->SetProgress(c.progress);
        EXPECT_EQ(f.slider->GetPosition(), c.position) << c.progress;
        EXPECT_EQ(f.slider->GetProgress(), c.position + 1) << c.progress;
    }
    // A smaller count keeps the position inside it.
    f.slider->SetProgress(80);
    f.slider->SetPositionCount(48);
    EXPECT_EQ(f.slider->GetPosition(), 47);
    f.slider->SetRangeText(u"4800");
    f.slider->SetStepText(u"100");
    EXPECT_EQ(f.slider->GetRangeText(), u"4800");
    EXPECT_EQ(f.slider->GetStepText(), u"100");
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsDpiTest, DraggingTheSliderSendsEightWhileMovingAndTwoOnRelease) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    f.slider->SetPositionCount(81);
    f.slider->SetProgress(1);  // position 0, at the left end
    const Rect r = f.slider->GetRect();
    const int y = r.top + 8;
    f.Mouse(MouseAction::kMove, {r.left, y});
    f.Mouse(MouseAction::kDown, {r.left, y});  // on the thumb: no change, no 8
    EXPECT_TRUE(f.slider->IsDragging());
    for (int x = r.left; x <= r.right + 40; x += 20) {
        f.Mouse(MouseAction::kMove, {x, y + 60});  // the pointer may leave the control
    }
    f.Mouse(MouseAction::kUp, {r.right + 40, y + 60});
    EXPECT_FALSE(f.slider->IsDragging());
    EXPECT_EQ(f.slider->GetPosition(), 80);
    ASSERT_GE(f.dialog.received.size(), 3u);
    for (std::size_t i = 0; i + 1 < f.dialog.received.size(); ++i) {
        EXPECT_EQ(f.dialog.received[i].code, kNotifyMoving) << i;
        EXPECT_EQ(f.dialog.received[i].id, kSliderId);
    }
    EXPECT_EQ(f.dialog.received.back(), (Received{kSliderId, kNotifyClick, 80, 0}));
    // Positions only grow during the drag, each reported once.
    for (std::size_t i = 1; i + 1 < f.dialog.received.size(); ++i) {
        EXPECT_GT(f.dialog.received[i].wParam, f.dialog.received[i - 1].wParam);
    }

    // A click on the bar jumps there: one 8 for the jump, then 2.
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, {r.left + 1, y});
    EXPECT_EQ(f.slider->GetPosition(), 0);
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kSliderId, kNotifyMoving, 0, 0},
                                                        {kSliderId, kNotifyClick, 0, 0}}));
}

TEST_F(WidgetsDpiTest, LightSliderKeepsItsFivePositionsAndReportsThem) {
    TestDialog dialog;
    LightSlider* slider = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        slider = static_cast<LightSlider*>(d.AdoptControl(
            std::make_unique<LightSlider>(), u"LightSlider", kLightId, {20, 20, 320, 50}));
    }));
    EXPECT_EQ(slider->GetRangeMin(), 0);
    EXPECT_EQ(slider->GetRangeMax(), 4);
    struct Case {
        int set;
        int got;
    };
    for (const Case c : {Case{2, 2}, Case{9, 4}, Case{-3, 0}, Case{4, 4}}) {
        slider->SetPosition(c.set);
        EXPECT_EQ(slider->GetPosition(), c.got) << c.set;
    }
    slider->SetPosition(2);
    dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {170, 35}, 0});  // the middle
    dialog.HandleMouse({MouseAction::kMove, MouseButton::kNone, {320, 35}, 0});
    dialog.HandleMouse({MouseAction::kMove, MouseButton::kNone, {330, 35}, 0});
    dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {330, 35}, 0});
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kLightId, kNotifyMoving, 4, 0},
                                                      {kLightId, kNotifyClick, 4, 0}}));
    // Another range: positions report their own values.
    slider->SetRange(1, 3);
    EXPECT_EQ(slider->GetPosition(), 3);
    dialog.received.clear();
    HeadlessBackend::ClickAt(dialog, {21, 35});
    EXPECT_EQ(dialog.received, (std::vector<Received>{{kLightId, kNotifyMoving, 1, 0},
                                                      {kLightId, kNotifyClick, 1, 0}}));
}

TEST_F(WidgetsDpiTest, PressAtTheValuesPointPicksThatValue) {
    DpiFixture f;
    ASSERT_TRUE(f.Open());
    f.slider->SetPositionCount(100);
    f.slider->SetStartOffset(50);
    for (int value : {50, 99, 149, 120}) {
        HeadlessBackend::ClickAt(f.dialog, f.slider->PointOfValue(value));
        EXPECT_EQ(f.slider->GetProgress(), value);
    }
    TestDialog dialog;
    LightSlider* light = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        light = static_cast<LightSlider*>(d.AdoptControl(
            std::make_unique<LightSlider>(), u"LightSlider", kLightId, {20, 20, 320, 50}));
    }));
    light->SetRange(1, 5);
    HeadlessBackend::ClickAt(dialog, light->PointOfValue(4));
    EXPECT_EQ(light->GetPosition(), 4);
    EXPECT_EQ(dialog.received.back(), (Received{kLightId, kNotifyClick, 4, 0}));
}

}  // namespace
