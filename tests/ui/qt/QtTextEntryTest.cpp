#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr int kEdit = 20;
constexpr Rect kEditRect{10, 50, 150, 76};

// An edit control as simple as can be: it keeps what the text entry gives it.
class DigitsEdit : public MControlFont {
public:
    bool IsTextEntry() const override { return true; }
    TextEntryInfo GetTextEntryInfo() const override { return info; }
    bool AcceptsFocus() const override { return true; }
    void OnTextEntered(const std::u16string& text, bool finished) override {
        entered.emplace_back(text, finished);
        text_ = text;
    }
    std::u16string GetEntryText() const override { return text_; }
    void SetText(std::u16string text) {
        auto lock = Guard();
        text_ = std::move(text);
        Invalidate();
    }

    TextEntryInfo info{true, 4, false};
    std::vector<std::pair<std::u16string, bool>> entered;

private:
    std::u16string text_;
};

class QtTextEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog_.Open([this](QtTestDialog& d) {
            d.CreateControl(u"MButton", 1, {10, 10, 110, 40}, u"OK");
            edit_ = static_cast<DigitsEdit*>(
                d.AdoptControl(std::make_unique<DigitsEdit>(), u"DigitsEdit", kEdit, kEditRect));
        }));
        WidgetOf(dialog_)->SyncTextEntries();
        line_ = WidgetOf(dialog_)->TextEntryOf(edit_);
        ASSERT_NE(line_, nullptr);
    }

    void Type(Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(line_, &press);
    }

    QtTestDialog dialog_;
    DigitsEdit* edit_ = nullptr;
    QLineEdit* line_ = nullptr;
};

TEST_F(QtTextEntryTest, TypedDigitsReachTheControlUpToItsLimit) {
    EXPECT_EQ(line_->geometry(), QRect(10, 50, 140, 26));
    EXPECT_TRUE(line_->isVisible());
    const char typed[] = "1a2b345";
    for (const char c : std::string(typed)) {
        const auto key =
            static_cast<Qt::Key>(c >= 'a' ? Qt::Key_A + (c - 'a') : Qt::Key_0 + (c - '0'));
        Type(key, QString(QChar(c)));
    }
    Type(Qt::Key_Return, QStringLiteral("\r"));
    Settle();
    const std::vector<std::pair<std::u16string, bool>> expected = {
        {u"1", false}, {u"12", false}, {u"123", false}, {u"1234", false}, {u"1234", true}};
    EXPECT_EQ(edit_->entered, expected);
    EXPECT_EQ(edit_->GetEntryText(), u"1234");
}

TEST_F(QtTextEntryTest, GainingTheFocusFocusesTheControl) {
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(line_, &focusIn);
    Settle();
    EXPECT_EQ(dialog_.GetFocusControl(), edit_);
    EXPECT_EQ(dialog_.heard, (std::vector<Heard>{{kEdit, kNotifyFocus}}));
}

TEST_F(QtTextEntryTest, TheLineEditFollowsTheControl) {
    edit_->SetText(u"77");
    edit_->SetRect({20, 100, 120, 130});
    edit_->SetFontWidth(20);
    edit_->SetAlignment(kAlignRight | kAlignVCenter);
    edit_->info = {false, 0, true};
    WidgetOf(dialog_)->SyncTextEntries();
    EXPECT_EQ(line_->text(), QStringLiteral("77"));
    EXPECT_EQ(line_->geometry(), QRect(20, 100, 100, 30));
    EXPECT_EQ(line_->font().pixelSize(), 20);
    EXPECT_TRUE(line_->alignment().testFlag(Qt::AlignRight));
    EXPECT_EQ(line_->echoMode(), QLineEdit::Password);
    EXPECT_EQ(line_->validator(), nullptr);
    EXPECT_EQ(line_->maxLength(), 32767);

    edit_->SetEnabled(false);
    WidgetOf(dialog_)->SyncTextEntries();
    EXPECT_FALSE(line_->isEnabled());
    edit_->SetVisible(false);
    WidgetOf(dialog_)->SyncTextEntries();
    EXPECT_FALSE(line_->isVisible());
    // Nothing the model did counts as typing.
    Settle();
    EXPECT_TRUE(edit_->entered.empty());
}

TEST_F(QtTextEntryTest, ARepaintBringsTheModelsTextIntoTheLineEdit) {
    edit_->SetText(u"4321");
    Settle();
    EXPECT_EQ(line_->text(), QStringLiteral("4321"));
}

}  // namespace
