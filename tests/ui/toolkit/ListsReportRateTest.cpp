#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/ReporteCtrl.h"

namespace {

using ListsReportRateTest = HeadlessTest;

constexpr int kRateId = 125;
// Four segments of 75 or 76 pixels with gaps of 6.
constexpr Rect kRateRect{10, 10, 330, 40};

Point SegmentPoint(int index) {
    return {kRateRect.left + 40 + index * 81, kRateRect.top + 15};
}

ReporteCtrl* OpenWithRates(TestDialog& dialog) {
    ReporteCtrl* rate = nullptr;
    EXPECT_TRUE(dialog.Open([&](TestDialog& d) {
        rate = static_cast<ReporteCtrl*>(
            d.AdoptControl(std::make_unique<ReporteCtrl>(), u"ReporteCtrl", kRateId, kRateRect));
    }));
    rate->AddItem(u"125Hz", 8, 0x0108F1);
    rate->AddItem(u"250Hz", 4, 0xED6B00);
    rate->AddItem(u"500Hz", 2, 0x4DF600);
    rate->AddItem(u"1000Hz", 1, 0x20A3FF);
    return rate;
}

TEST_F(ListsReportRateTest, SelectCodeSelectsTheItemOrNothing) {
    TestDialog dialog;
    ReporteCtrl* rate = OpenWithRates(dialog);
    EXPECT_EQ(rate->GetCurSel(), -1);
    EXPECT_EQ(rate->GetCurCode(), -1);
    struct Case {
        int code;
        bool found;
        int sel;
    };
    // An absent code (a high rate the mouse does not offer) leaves nothing selected.
    for (const Case c : {Case{2, true, 2}, Case{64, false, -1}, Case{8, true, 0},
                         Case{0, false, -1}, Case{1, true, 3}}) {
        EXPECT_EQ(rate->SelectCode(c.code), c.found) << c.code;
        EXPECT_EQ(rate->GetCurSel(), c.sel) << c.code;
        EXPECT_EQ(rate->GetCurCode(), c.found ? c.code : -1) << c.code;
    }
    EXPECT_EQ(rate->GetItemText(1), u"250Hz");
    EXPECT_EQ(rate->GetItemCode(1), 4);
    EXPECT_EQ(rate->GetItemCode(4), -1);
    rate->ClearList();
    EXPECT_EQ(rate->GetCount(), 0);
    EXPECT_EQ(rate->GetCurCode(), -1);
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(ListsReportRateTest, ClickingASegmentSelectsItAndNotifies) {
    TestDialog dialog;
    ReporteCtrl* rate = OpenWithRates(dialog);
    rate->SelectCode(1);
    HeadlessBackend::ClickAt(dialog, SegmentPoint(1));
    EXPECT_EQ(rate->GetCurCode(), 4);
    HeadlessBackend::ClickAt(dialog, SegmentPoint(1));            // again: chosen again
    HeadlessBackend::ClickAt(dialog, {kRateRect.left + 77, 25});  // the gap after the first
    HeadlessBackend::ClickAt(dialog, SegmentPoint(0), MouseButton::kRight);
    EXPECT_EQ(rate->GetCurCode(), 4);
    HeadlessBackend::ClickAt(dialog, SegmentPoint(3));
    EXPECT_EQ(rate->GetCurSel(), 3);
    EXPECT_EQ(dialog.received, (std::vector<Received>(3, Received{kRateId, kNotifyClick, 0, 0})));
}

}  // namespace
