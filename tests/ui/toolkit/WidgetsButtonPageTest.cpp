#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/ImageSizeProvider.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

namespace {

using WidgetsButtonPageTest = HeadlessTest;

constexpr int kKeyListId = 68;
constexpr int kPictureId = 108;
constexpr Rect kListRect{10, 10, 200, 290};

// A point inside row `index` of the button list (rows of the default height from the top).
Point RowPoint(int index) {
    return {kListRect.left + 60, kListRect.top + MouseKeyCtrl::kDefaultRowHeight * index + 24};
}

struct ListFixture {
    TestDialog dialog;
    MouseKeyCtrl* list = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            list = static_cast<MouseKeyCtrl*>(d.AdoptControl(
                std::make_unique<MouseKeyCtrl>(), u"MouseKeyCtrl", kKeyListId, kListRect));
            // The placeholder buttons: key codes 0, 2, 1, 3, 4, 7.
            const int keys[] = {0, 2, 1, 3, 4, 7};
            for (int i = 0; i < 6; ++i) {
                list->AddItem(u"Button " + std::u16string(1, u'1' + i), u"Default", keys[i]);
            }
        });
    }
};

TEST_F(WidgetsButtonPageTest, ButtonListSelectsByKeyCodeAndReportsClicks) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.list->GetCount(), 6);
    EXPECT_EQ(f.list->GetCurSel(), -1);
    EXPECT_TRUE(f.list->SetSelectItem(1));  // key code 1 is the third item
    EXPECT_EQ(f.list->GetCurSel(), 2);
    EXPECT_EQ(f.list->GetSelectKey(), 1);
    EXPECT_FALSE(f.list->SetSelectItem(5));
    EXPECT_EQ(f.list->GetCurSel(), 2);

    HeadlessBackend::ClickAt(f.dialog, RowPoint(5));
    EXPECT_EQ(f.list->GetCurSel(), 5);
    EXPECT_EQ(f.list->GetItemKeyValue(5), 7);
    EXPECT_EQ(f.list->GetItemKeyName(5), u"Button 6");
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kKeyListId, kNotifyClick, 0, 0}}));

    // Below the last row: nothing is selected and nothing is sent.
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, RowPoint(6));
    EXPECT_EQ(f.list->GetCurSel(), 5);
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsButtonPageTest, ButtonListTextsByKeyCodeAndIndex) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    f.list->SetItemKeyDesc(2, u"Middle click");
    f.list->SetItemKeyDesc(9, u"nobody");
    f.list->SetItemText(0, u"Left button");
    f.list->SetItemText(6, u"nobody");
    EXPECT_EQ(f.list->GetItemKeyDesc(1), u"Middle click");
    EXPECT_EQ(f.list->GetItemKeyDesc(2), u"Default");
    EXPECT_EQ(f.list->GetItemKeyName(0), u"Left button");
    EXPECT_EQ(f.list->FindItem(7), 5);
    EXPECT_EQ(f.list->FindItem(5), -1);
    EXPECT_EQ(f.list->GetItemKeyValue(6), -1);
    EXPECT_EQ(f.list->GetItemKeyName(-1), u"");

    f.list->SetSelectItem(3);
    f.list->ClearList();
    EXPECT_EQ(f.list->GetCount(), 0);
    EXPECT_EQ(f.list->GetCurSel(), -1);
    EXPECT_EQ(f.list->GetSelectKey(), -1);
}

// The callouts of the K1 descriptor: "a#b#c" gives the points (a, c) and (b, c).
struct PictureFixture {
    TestDialog dialog;
    MouseCtrl* picture = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            picture = static_cast<MouseCtrl*>(d.AdoptControl(
                std::make_unique<MouseCtrl>(), u"MouseCtrl", kPictureId, {0, 0, 400, 300}));
            picture->SetPicture(u"device\\kestrel_k1_top.png");
            struct Key {
                const char16_t* name;
                int key;
                int direction;
                int a;
                int b;
                int c;
            };
            const Key keys[] = {{u"Left", 0, 0, 170, 30, 80},
                                {u"Right", 1, 1, 230, 370, 80},
                                {u"Wheel", 2, 1, 200, 370, 50},
                                {u"Back", 3, 0, 135, 30, 210},
                                {u"Forward", 4, 0, 135, 30, 170}};
            for (const Key& k : keys) {
                picture->AddCallout(k.name, k.key, k.direction, {k.a, k.c}, {k.b, k.c});
            }
        });
    }
};

TEST_F(WidgetsButtonPageTest, PictureCalloutClicksSelectAndReportTheKeyCode) {
    PictureFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.picture->GetSelectKey(), -1);
    struct Case {
        Point point;
        int key;
    };
    // On a label (above its line at the outer end), on a line, at an anchor on the mouse.
    const Case cases[] = {{{60, 70}, 0},   {{300, 40}, 2}, {{300, 80}, 1},
                          {{135, 210}, 3}, {{80, 165}, 4}, {{300, 75}, 1}};
    for (const Case& c : cases) {
        f.dialog.received.clear();
        HeadlessBackend::ClickAt(f.dialog, c.point);
        EXPECT_EQ(f.picture->GetSelectKey(), c.key) << c.point.x << "," << c.point.y;
        EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kPictureId, kNotifyClick, c.key, 0}}))
            << c.point.x << "," << c.point.y;
    }
    // Away from every callout: nothing.
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, {380, 280});
    HeadlessBackend::ClickAt(f.dialog, {250, 130});
    EXPECT_TRUE(f.dialog.received.empty());
    EXPECT_EQ(f.picture->GetSelectKey(), 1);
}

TEST_F(WidgetsButtonPageTest, PictureSelectsByKeyCodeAndRenamesLabels) {
    PictureFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_TRUE(f.picture->SetSelectItem(0));
    EXPECT_EQ(f.picture->GetSelectKey(), 0);
    EXPECT_FALSE(f.picture->SetSelectItem(8));
    EXPECT_EQ(f.picture->GetSelectKey(), 0);
    f.picture->SetItemText(3, u"Side back");
    EXPECT_EQ(f.picture->GetItemText(3), u"Side back");
    EXPECT_EQ(f.picture->GetItemKeyValue(3), 3);
    EXPECT_EQ(f.picture->GetItemKeyValue(5), -1);
    EXPECT_EQ(f.picture->GetCount(), 5);
    f.picture->ClearCallouts();
    EXPECT_EQ(f.picture->GetCount(), 0);
    EXPECT_EQ(f.picture->GetSelectKey(), -1);
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsButtonPageTest, PictureSizeComesFromTheBackend) {
    PictureFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.picture->GetPicture(), u"device/kestrel_k1_top.png");
    EXPECT_EQ(f.picture->GetPictureWidth(), 0);  // no backend measures images here
    struct ProviderGuard {
        ~ProviderGuard() { SetImageSizeProvider(nullptr); }
    } guard;
    SetImageSizeProvider([](const std::u16string& file, int) -> Size {
        return file == u"device/kestrel_k1_top.png" ? Size{400, 380} : Size{};
    });
    EXPECT_EQ(f.picture->GetPictureWidth(), 400);
    EXPECT_EQ(f.picture->GetPictureHeight(), 380);
    f.picture->SetPicture(u"device\\missing.png");
    EXPECT_EQ(f.picture->GetPictureWidth(), 0);
}

}  // namespace
