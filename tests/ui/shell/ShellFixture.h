#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Languages.h"
#include "i18n/TextLookup.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

// A fresh headless backend per test (the test's thread is the user-interface thread) and the
// English texts of the installed language files.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        auto backend = std::make_unique<HeadlessBackend>();
        ui_ = backend.get();
        UiBackend::Install(std::move(backend));
        SetCurrentLanguage(1033);
    }
    ~ShellTest() override {
        UiBackend::Install(std::make_unique<HeadlessBackend>());
        SetCurrentLanguage(kInitialLanguage);
    }

    HeadlessBackend& Ui() { return *ui_; }
    static std::u16string Text(int id) { return GetText(id, kTextSection); }

    // The caption of a control of `dialog`, empty when it has none.
    static std::u16string TitleOf(MDialog& dialog, int id);

private:
    HeadlessBackend* ui_;
};

#include "ui/toolkit/MControl.h"

inline std::u16string ShellTest::TitleOf(MDialog& dialog, int id) {
    auto* control = dynamic_cast<MControlFont*>(dialog.GetControl(id));
    return control != nullptr ? control->GetTitle() : std::u16string();
}
