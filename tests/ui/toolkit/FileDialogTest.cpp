#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/TestDialog.h"

namespace {

using FileDialogTest = HeadlessTest;

TEST_F(FileDialogTest, AnswersComeInTheOrderQueuedAndNoneIsACancel) {
    TestDialog owner;
    ASSERT_TRUE(owner.Open());
    FileDialogRequest request;
    request.save = true;
    request.title = u"Export";
    request.filterName = u"XML files";
    request.patterns = {u"*.xml"};
    request.initial = "/home/user/macros.xml";
    EXPECT_FALSE(Ui().LastFileRequest().has_value());
    Ui().QueueFileAnswer(std::filesystem::path("/tmp/a.xml"));
    Ui().QueueFileAnswer(std::nullopt);

    EXPECT_EQ(ShowFileDialog(&owner, request), std::filesystem::path("/tmp/a.xml"));
    ASSERT_TRUE(Ui().LastFileRequest().has_value());
    EXPECT_TRUE(Ui().LastFileRequest()->save);
    EXPECT_EQ(Ui().LastFileRequest()->patterns, request.patterns);
    EXPECT_EQ(Ui().LastFileRequest()->initial, request.initial);
    request.save = false;
    EXPECT_EQ(ShowFileDialog(nullptr, request), std::nullopt);
    EXPECT_FALSE(Ui().LastFileRequest()->save);
    EXPECT_EQ(ShowFileDialog(&owner, request), std::nullopt);  // nothing queued
}

}  // namespace
