#include <gtest/gtest.h>

#include <thread>

#include "ui/shell/SaveWaitDlg.h"
#include "ui/shell/ShellFixture.h"

namespace {

using SaveWaitTest = ShellTest;

bool PopupShown(HeadlessBackend& ui) {
    HeadlessPeer* peer = ui.FindPeer(SaveWaitDlg::kWindowTitle);
    return peer != nullptr && peer->IsShown();
}

TEST_F(SaveWaitTest, NothingWhenTheModelAsksForNoSaveTips) {
    SaveWaitPopup popup;
    EXPECT_EQ(popup.ShowSaveWait(nullptr, false), 0);
    EXPECT_EQ(popup.Get(), nullptr);
    EXPECT_TRUE(Ui().Peers().empty());
}

TEST_F(SaveWaitTest, HiddenTwoSecondsAfterTheLatestCall) {
    SaveWaitPopup popup;
    popup.ShowSaveWait(nullptr, true);
    ASSERT_NE(popup.Get(), nullptr);
    EXPECT_TRUE(PopupShown(Ui()));
    EXPECT_EQ(TitleOf(*popup.Get(), SaveWaitDlg::kCaption), Text(630));
    Ui().AdvanceTime(1500);
    popup.ShowSaveWait(nullptr, true);  // a second change 1.5 s later
    Ui().AdvanceTime(1999);
    EXPECT_TRUE(PopupShown(Ui()));
    EXPECT_EQ(popup.Get()->IsDone(), 0);
    Ui().AdvanceTime(1);
    EXPECT_FALSE(PopupShown(Ui()));
    EXPECT_EQ(popup.Get()->IsDone(), 1);
    // Kept, not destroyed: the next change shows the same window again.
    SaveWaitDlg* first = popup.Get();
    popup.ShowSaveWait(nullptr, true);
    EXPECT_EQ(popup.Get(), first);
    EXPECT_TRUE(PopupShown(Ui()));
    EXPECT_EQ(popup.Get()->IsDone(), 0);
    popup.Close();
    EXPECT_TRUE(Ui().Peers().empty());
}

TEST_F(SaveWaitTest, CallFromTheWorkerIsCarriedOutOnTheUiThread) {
    SaveWaitPopup popup;
    std::thread worker([&] { popup.ShowSaveWait(nullptr, true); });
    worker.join();
    EXPECT_EQ(popup.Get(), nullptr);
    Ui().RunPending();
    ASSERT_NE(popup.Get(), nullptr);
    EXPECT_TRUE(PopupShown(Ui()));
    Ui().AdvanceTime(2000);
    EXPECT_FALSE(PopupShown(Ui()));
}

}  // namespace
