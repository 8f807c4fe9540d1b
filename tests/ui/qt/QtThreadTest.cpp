#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/controls/MText.h"

namespace {

void OneCaption(QtTestDialog& d) {
    d.CreateControl(u"MText", 1, {10, 10, 200, 40}, u"caption");
}

TEST(QtThreadTest, InvalidatesFromAnotherThreadBecomeOneRepaint) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(OneCaption));
    Settle();
    dialog.paints.store(0);
    std::thread worker([&] {
        for (int i = 0; i < 1000; ++i) {
            dialog.Invalidate();
        }
    });
    worker.join();
    Settle();
    EXPECT_EQ(dialog.paints.load(), 1);
}

TEST(QtThreadTest, AWorkerChangingControlsWhileTheWindowPaintsIsSafe) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(OneCaption));
    auto* caption = dialog.GetControlAs<MText>(1);
    ASSERT_NE(caption, nullptr);
    dialog.paints.store(0);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            caption->SetTitle(i % 2 == 0 ? u"even" : u"odd");
            dialog.Invalidate();
        }
        done.store(true);
    });
    while (!done.load()) {
        QCoreApplication::processEvents();
    }
    worker.join();
    Settle();
    EXPECT_GE(dialog.paints.load(), 1);
    EXPECT_EQ(caption->GetTitle(), u"odd");
}

TEST(QtThreadTest, WorkPostedFromAnotherThreadRunsOnTheUserInterfaceThread) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(OneCaption));
    UiBackend& backend = UiBackend::Current();
    EXPECT_TRUE(backend.IsUiThread());
    std::atomic<bool> workerIsUi{true};
    std::thread::id ranOn;
    std::thread worker([&] {
        workerIsUi.store(backend.IsUiThread());
        backend.Post([&] { ranOn = std::this_thread::get_id(); });
        // Handed over to the user-interface thread.
        dialog.ShowWindow(false);
    });
    worker.join();
    EXPECT_FALSE(workerIsUi.load());
    EXPECT_TRUE(dialog.IsWindowVisible());
    Settle();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_FALSE(WidgetOf(dialog)->isVisible());
}

TEST(QtThreadTest, PostedTasksRunInOrderAlsoInsideANestedLoop) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(OneCaption));
    UiBackend& backend = UiBackend::Current();
    std::vector<int> order;
    int result = -1;
    // The first task runs a modal loop; the tasks behind it run inside that loop, and the last
    // one ends it.
    backend.Post([&] {
        order.push_back(0);
        result = dialog.ShowModal();
        order.push_back(-1);
    });
    std::thread worker([&] {
        for (int i = 1; i <= 100; ++i) {
            backend.Post([&order, i] { order.push_back(i); });
        }
        backend.Post([&] { dialog.EndModal(5); });
    });
    worker.join();
    Settle();
    ASSERT_EQ(order.size(), 102u);
    for (int i = 0; i <= 100; ++i) {
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    }
    EXPECT_EQ(order.back(), -1);
    EXPECT_EQ(result, 5);
}

}  // namespace
