#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "ui/toolkit/ControlFactory.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/MButton.h"
#include "ui/toolkit/controls/MText.h"

namespace {

using DialogModelTest = HeadlessTest;

TEST_F(DialogModelTest, ClicksReachOnMessageByIdAndCode) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([](TestDialog& d) {
        d.CreateControl(u"MButton", 33, {10, 10, 110, 40}, u"OK", 1, 1);
        d.CreateControl(u"MButton", 34, {120, 10, 220, 40}, u"Cancel", 1, 1);
        d.CreateControl(u"MText", 35, {10, 50, 220, 80}, u"caption", 1, 1);
    }));
    HeadlessBackend::Click(dialog, 34);
    HeadlessBackend::Click(dialog, 33, MouseButton::kRight);
    HeadlessBackend::Click(dialog, 35);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{34, kNotifyClick, 0, 0},
                                                      {33, kNotifySecondaryClick, 0, 0},
                                                      {35, kNotifyClick, 0, 0}}));
}

TEST_F(DialogModelTest, HiddenDisabledAndReleasedOutsideSendNothing) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([](TestDialog& d) {
        d.CreateControl(u"MButton", 1, {10, 10, 110, 40});
        d.CreateControl(u"MButton", 2, {120, 10, 220, 40});
        d.CreateControl(u"MButton", 3, {230, 10, 330, 40});
    }));
    dialog.GetControl(1)->SetVisible(false);
    dialog.GetControl(2)->SetEnabled(false);
    HeadlessBackend::Click(dialog, 1);
    HeadlessBackend::Click(dialog, 2);
    // Pressed on button 3, released outside it: no click.
    dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {250, 20}, 0});
    dialog.HandleMouse({MouseAction::kUp, MouseButton::kLeft, {250, 200}, 0});
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(DialogModelTest, ControlsInAHiddenContainerAreHiddenToo) {
    TestDialog dialog;
    MControl* page = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        page = d.CreateArea(u"MText", 50, {0, 0, 400, 300});
        d.CreateChild(page, u"MButton", 7, {10, 10, 110, 40});
        // The same id in another container.
        d.CreateControl(u"MText", 7, {10, 200, 110, 240});
    }));
    EXPECT_TRUE(dialog.GetControl(7, page)->IsShown());
    EXPECT_EQ(dialog.GetControl(7), dialog.GetControl(7, page));
    EXPECT_NE(dialog.GetControl(7, nullptr), dialog.GetControl(7, page));
    page->SetVisible(false);
    EXPECT_FALSE(dialog.GetControl(7, page)->IsShown());
    EXPECT_TRUE(dialog.GetControl(7, page)->IsVisible());
    HeadlessBackend::Click(dialog, 7);
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(DialogModelTest, PressOnTheBackgroundLetsTheWindowBeDragged) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([](TestDialog& d) {
        d.CreateArea(u"MText", 1, {0, 0, 400, 300});
        d.CreateControl(u"MButton", 2, {10, 10, 110, 40});
    }));
    EXPECT_TRUE(dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {300, 200}, 0}));
    EXPECT_FALSE(dialog.HandleMouse({MouseAction::kDown, MouseButton::kLeft, {20, 20}, 0}));
}

TEST_F(DialogModelTest, UnknownClassesCreateNothingAndEveryKnownClassCreates) {
    // Every class the program's windows create by name.
    const std::vector<std::u16string_view> pageClasses = {
        u"MText",        u"MPicture",     u"MButton",     u"MButton2",     u"MButton3",
        u"CImageButton", u"CTextButton",  u"CIconButton", u"CHelpButton",  u"CCheckButton",
        u"CRadioButton", u"CColorButton", u"MComboBox",   u"MComboBox2",   u"MEdit",
        u"NumberEdit",   u"MTabCtrl",     u"MTabLayout",  u"MProgress",    u"MProgress2",
        u"CArea",        u"CRoundArea",   u"CDeviceList", u"CDeviceState", u"BatteryCtrl",
        u"DPIControl",   u"DPISlider",    u"LightSlider", u"MPalette",     u"MouseCtrl",
        u"MouseKeyCtrl", u"MacroList",    u"CRecordList", u"ReporteCtrl",  u"DListBox"};
    EXPECT_EQ(ControlClassNames(), pageClasses);
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ(dialog.CreateControl(u"NoSuchControl", 1, {0, 0, 10, 10}), nullptr);
    for (std::u16string_view name : ControlClassNames()) {
        MControl* control = dialog.CreateControl(std::u16string(name), 2, {0, 0, 10, 10});
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClassName(), name);
    }
}

TEST_F(DialogModelTest, ModalLoopEndsWithTheAnswerAndDestroysTheWindow) {
    struct Case {
        int button;
        int expected;
    };
    for (const Case c : {Case{33, kResultOk}, Case{34, kResultCancel}}) {
        TestDialog dialog;
        dialog.onMessage = [](TestDialog& d, int id, int code) -> std::intptr_t {
            if (code == kNotifyClick && id == 33) {
                d.DoOK();
            } else if (code == kNotifyClick && id == 34) {
                d.DoCancel();
            }
            return 0;
        };
        ASSERT_TRUE(dialog.Open([](TestDialog& d) {
            d.CreateControl(u"MButton", 33, {10, 10, 110, 40});
            d.CreateControl(u"MButton", 34, {120, 10, 220, 40});
        }));
        bool wasVisible = false;
        Ui().SetModalHandler([&](MWindow& window) {
            wasVisible = window.IsWindowVisible();
            HeadlessBackend::Click(static_cast<MDialog&>(window), c.button);
        });
        EXPECT_EQ(dialog.ShowModal(true), c.expected);
        EXPECT_TRUE(wasVisible);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    }
}

TEST_F(DialogModelTest, UnansweredModalLoopEndsWithZeroAndUncreatedWindowWithMinusOne) {
    TestDialog dialog;
    EXPECT_EQ(dialog.ShowModal(true), -1);
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ(dialog.ShowModal(true), 0);
}

TEST_F(DialogModelTest, TimersFireInOrderOfTimeAndRestartWhenSetAgain) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    dialog.SetTimer(200, 2000);
    dialog.SetTimer(100, 700);
    Ui().AdvanceTime(1500);
    EXPECT_EQ(dialog.timers, (std::vector<int>{100, 100}));
    dialog.SetTimer(200, 2000);  // restarted at 1500: due at 3500, not 2000
    Ui().AdvanceTime(1000);
    EXPECT_EQ(dialog.timers, (std::vector<int>{100, 100, 100}));  // 100 at 2100 only
    dialog.KillTimer(100);
    Ui().AdvanceTime(1000);
    EXPECT_EQ(dialog.timers.back(), 200);
    EXPECT_EQ(Ui().Now(), 3500);
}

TEST_F(DialogModelTest, PostedMessagesArriveOnTheUiThreadAndNotAfterTheWindowIsGone) {
    struct Listener : TestDialog {
        std::intptr_t OnWindowMessage(unsigned message, std::intptr_t w, std::intptr_t l) override {
            messages.push_back({static_cast<int>(message), 0, w, l});
            return 0;
        }
        std::vector<Received> messages;
    };
    auto dialog = std::make_unique<Listener>();
    ASSERT_TRUE(dialog->Open());
    std::thread worker([&] { dialog->PostMessage(1692, 1, 1); });
    worker.join();
    EXPECT_TRUE(dialog->messages.empty());
    Ui().RunPending();
    EXPECT_EQ(dialog->messages, (std::vector<Received>{{1692, 0, 1, 1}}));
    dialog->PostMessage(2022);
    dialog.reset();
    Ui().RunPending();  // must not touch the destroyed window
}

TEST_F(DialogModelTest, ShowFromAnotherThreadIsHandedToTheUiThread) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    std::thread worker([&] {
        dialog.ShowWindow(true);
        dialog.SetTimer(100, 2000);
    });
    worker.join();
    EXPECT_FALSE(dialog.IsWindowVisible());
    Ui().RunPending();
    EXPECT_TRUE(dialog.IsWindowVisible());
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(peer->Timers(), (std::map<int, int>{{100, 2000}}));
}

TEST_F(DialogModelTest, WorkerChangesControlsWhileTheUiThreadReadsThem) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([](TestDialog& d) {
        d.CreateControl(u"MText", 44, {10, 10, 200, 40}, u"start");
        d.CreateControl(u"MButton", 45, {10, 50, 200, 80}, u"Profile 1");
    }));
    auto* caption = dialog.GetControlAs<MText>(44);
    auto* button = dialog.GetControlAs<MButton>(45);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            caption->SetTitle(i % 2 == 0 ? u"Connected" : u"Disconnected");
            button->SetVisible(i % 3 != 0);
            button->SetRect({10, 50 + i % 7, 200, 80 + i % 7});
        }
        done = true;
    });
    int reads = 0;
    while (!done || reads < 100) {
        const std::u16string title = caption->GetTitle();
        EXPECT_TRUE(title == u"start" || title == u"Connected" || title == u"Disconnected");
        HeadlessBackend::Click(dialog, 45);
        ++reads;
    }
    worker.join();
    for (const Received& r : dialog.received) {
        EXPECT_EQ(r.id, 45);
    }
    EXPECT_GT(Ui().FindPeer(u"TestDialog")->InvalidateCount(), 0);
}

TEST_F(DialogModelTest, PopupListChoiceRunsWithTheLockAndDeliversAfterwards) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([](TestDialog& d) { d.CreateControl(u"MButton", 9, {0, 0, 50, 20}); }));
    int chosen = -1;
    dialog.OpenPopupList({0, 20, 50, 40}, {u"a", u"b"}, 0, 0, [&](int index) {
        chosen = index;
        dialog.QueueNotify(9, kNotifyMenu, index, 0);
    });
    ASSERT_TRUE(Ui().OpenPopup().has_value());
    EXPECT_EQ(Ui().OpenPopup()->anchor, (Rect{100, 120, 150, 140}));
    EXPECT_FALSE(Ui().ChoosePopupItem(2));
    EXPECT_TRUE(Ui().ChoosePopupItem(1));
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(dialog.received, (std::vector<Received>{{9, kNotifyMenu, 1, 0}}));
}

}  // namespace

TEST_F(DialogModelTest, WindowsListsTheCreatedWindowsUntilTheyAreDestroyed) {
    auto open = [](MWindow& window, const char16_t* title) {
        return window.Create(nullptr, title, kStylePopup, 0, {0, 0, 100, 100});
    };
    MWindow never;  // not created: not listed
    MWindow first;
    MWindow second;
    auto third = std::make_unique<MWindow>();
    ASSERT_TRUE(open(second, u"second"));
    ASSERT_TRUE(open(first, u"first"));
    ASSERT_TRUE(open(*third, u"third"));
    EXPECT_EQ(MWindow::Windows(), (std::vector<MWindow*>{&second, &first, third.get()}));
    EXPECT_EQ(MWindow::FindWindow(u"first"), &first);
    EXPECT_EQ(MWindow::FindWindow(u"none"), nullptr);

    first.DestroyWindow();
    third.reset();  // by its destructor
    EXPECT_EQ(MWindow::Windows(), (std::vector<MWindow*>{&second}));
    EXPECT_EQ(MWindow::FindWindow(u"first"), nullptr);
    // Created again: listed as the newest.
    ASSERT_TRUE(open(first, u"first"));
    EXPECT_EQ(MWindow::Windows(), (std::vector<MWindow*>{&second, &first}));

    // A window destroyed inside its modal loop stays listed until the loop has ended.
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    std::vector<MWindow*> duringLoop;
    Ui().SetModalHandler([&](MWindow& window) {
        window.DestroyWindow();
        duringLoop = MWindow::Windows();
    });
    dialog.ShowModal();
    EXPECT_EQ(duringLoop, (std::vector<MWindow*>{&second, &first, &dialog}));
    EXPECT_EQ(MWindow::Windows(), (std::vector<MWindow*>{&second, &first}));
}

TEST_F(DialogModelTest, MinimizeAndBringToFrontAreHandedToTheUiThread) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    std::thread worker([&] { dialog.Minimize(); });
    worker.join();
    EXPECT_FALSE(dialog.IsMinimized());
    Ui().RunPending();
    EXPECT_TRUE(dialog.IsMinimized());
    EXPECT_TRUE(dialog.IsWindowVisible());

    dialog.BringToFront();
    EXPECT_FALSE(dialog.IsMinimized());
    EXPECT_EQ(peer->RaiseCount(), 1);
    // A hidden window comes back too.
    dialog.ShowWindow(false);
    dialog.BringToFront();
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(peer->RaiseCount(), 2);
    dialog.DestroyWindow();
    EXPECT_FALSE(dialog.IsMinimized());
}

TEST_F(DialogModelTest, AModalHandlerServesTheLoopUntilTheWindowEndsIt) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open());
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    EXPECT_TRUE(peer->IsModalEnded());  // no loop runs
    std::vector<int> ran;
    Ui().SetModalHandler([&](MWindow& window) {
        UiBackend::Current().Post([&] { ran.push_back(1); });
        UiBackend::Current().Post([&] { window.EndModal(7); });
        UiBackend::Current().Post([&] { ran.push_back(3); });
        while (!peer->IsModalEnded() && Ui().RunOnePending()) {
        }
        ran.push_back(2);
    });
    EXPECT_EQ(dialog.ShowModal(), 7);
    // The handler stopped serving once the loop ended; what is left belongs to the loops outside.
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(Ui().RunOnePending());
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(Ui().RunOnePending());
}
