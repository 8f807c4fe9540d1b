#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/qt/QtBackend.h"

namespace {

// One QApplication for the whole test program, on the offscreen platform unless the developer
// chose another (QT_QPA_PLATFORM=xcb shows the windows), with the Qt backend installed the way
// the program's entry point installs it.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        QtBackend::PrepareApplication();
        app_ = std::make_unique<QApplication>(argc_, argv_);
        UiBackend::Install(std::make_unique<QtBackend>());
    }
    void TearDown() override {
        UiBackend::Install(nullptr);
        app_.reset();
    }

private:
    int argc_ = 1;
    char name_[16] = "qt_backend_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
