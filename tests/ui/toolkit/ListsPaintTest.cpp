#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Painter.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/DListBox.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MacroList.h"
#include "ui/toolkit/controls/ReporteCtrl.h"

namespace {

using ListsPaintTest = HeadlessTest;

// Keeps the texts, images and outlines drawn; skin images load only when `withImages`.
class RecordingPainter : public Painter {
public:
    struct Text {
        std::u16string text;
        Argb color;
        Rect rect;
    };
    struct Image {
        std::u16string file;
        int frame;
        Rect dest;
    };
    struct Outline {
        Rect rect;
        Argb color;
        int width;
    };

    explicit RecordingPainter(bool withImages = false) : withImages_(withImages) {}

    void FillRect(const Rect&, Argb) override { ++fills; }
    void FillRoundRect(const Rect&, int, Argb) override { ++fills; }
    void DrawRoundRect(const Rect& rect, int, Argb color, int width) override {
        outlines.push_back({rect, color, width});
    }
    void FillEllipse(const Rect&, Argb) override {}
    void DrawEllipse(const Rect&, Argb, int) override {}
    void DrawLine(Point, Point, Argb, int) override { ++lines; }
    void FillGradient(const Rect&, Argb, Argb, bool) override {}
    bool DrawImage(const std::u16string& file, int frame, int, const Rect& dest) override {
        if (!withImages_) {
            return false;
        }
        images.push_back({file, frame, dest});
        return true;
    }
    Size ImageSize(const std::u16string&, int) override { return {}; }
    void DrawText(const Rect& rect, const std::u16string& text, const FontSpec&, Argb color,
                  unsigned) override {
        texts.push_back({text, color, rect});
    }
    Size MeasureText(const std::u16string& text, const FontSpec& font) override {
        return {static_cast<int>(text.size()) * font.size / 2, font.size};
    }
    void Clip(const Rect&) override { ++depth; }
    void Restore() override { --depth; }

    const Text* FindText(const std::u16string& text) const {
        for (const Text& t : texts) {
            if (t.text == text) {
                return &t;
            }
        }
        return nullptr;
    }

    std::vector<Text> texts;
    std::vector<Image> images;
    std::vector<Outline> outlines;
    int fills = 0;
    int lines = 0;
    int depth = 0;

private:
    bool withImages_;
};

TEST_F(ListsPaintTest, EveryClassPaintsItsStateInTheFlatLook) {
    TestDialog dialog;
    MComboBox* combo = nullptr;
    MComboBox2* marked = nullptr;
    MEdit* hinted = nullptr;
    MEdit* filled = nullptr;
    MacroList* macros = nullptr;
    CRecordList* events = nullptr;
    DListBox* profiles = nullptr;
    ReporteCtrl* rates = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        combo = static_cast<MComboBox*>(
            d.AdoptControl(std::make_unique<MComboBox>(), u"MComboBox", 1, {5, 5, 155, 35}));
        marked = static_cast<MComboBox2*>(
            d.AdoptControl(std::make_unique<MComboBox2>(), u"MComboBox2", 2, {160, 5, 310, 35}));
        hinted = static_cast<MEdit*>(
            d.AdoptControl(std::make_unique<MEdit>(), u"MEdit", 3, {5, 40, 105, 60}));
        filled = static_cast<MEdit*>(
            d.AdoptControl(std::make_unique<MEdit>(), u"MEdit", 4, {110, 40, 210, 60}));
        macros = static_cast<MacroList*>(
            d.AdoptControl(std::make_unique<MacroList>(), u"MacroList", 5, {5, 70, 105, 138}));
        events = static_cast<CRecordList*>(d.AdoptControl(std::make_unique<CRecordList>(),
                                                          u"CRecordList", 6, {110, 70, 300, 200}));
        profiles = static_cast<DListBox*>(
            d.AdoptControl(std::make_unique<DListBox>(), u"DListBox", 7, {5, 210, 150, 290}));
        rates = static_cast<ReporteCtrl*>(d.AdoptControl(std::make_unique<ReporteCtrl>(),
                                                         u"ReporteCtrl", 8, {160, 210, 390, 240}));
    }));
    combo->AddItem(u"English", 1033);
    combo->AddItem(u"Deutsch", 1031);
    combo->SelectData(1031);
    marked->SetTitle(u"choose");
    marked->SetMark(true);
    hinted->SetHint(u"press a key");
    filled->SetHint(u"unused hint");
    filled->SetTitle(u"1600");
    for (int i = 1; i <= 4; ++i) {
        macros->AddString(u"Macro " + std::u16string(1, static_cast<char16_t>(u'0' + i)), i, -1);
    }
    macros->SetCurSel(3);  // scrolls: 60 pixels of rows show two
    events->AddString(u"\u2193  A", 2, 65, 1);
    events->AddString(u"10 ms", 1, 10, 2);
    profiles->AddItem(u"Profile 1", 1);
    profiles->SetAlignment(kAlignCenter);
    rates->AddItem(u"125Hz", 8, 0x0108F1);
    rates->AddItem(u"1000Hz", 1, 0x20A3FF);
    rates->SelectCode(1);

    RecordingPainter painter;
    dialog.HandlePaint(painter);
    EXPECT_EQ(painter.depth, 0);  // every clip restored

    // The selector shows its selected item, or its title with nothing selected.
    EXPECT_NE(painter.FindText(u"Deutsch"), nullptr);
    EXPECT_EQ(painter.FindText(u"English"), nullptr);
    EXPECT_NE(painter.FindText(u"choose"), nullptr);
    const bool markedBorder =
        std::any_of(painter.outlines.begin(), painter.outlines.end(), [](const auto& o) {
            return o.color == Manager::GetSelectionColor() && o.width == 2 && o.rect.left == 161;
        });
    EXPECT_TRUE(markedBorder);
    // The hint is grey and only shown while the field is empty.
    ASSERT_NE(painter.FindText(u"press a key"), nullptr);
    EXPECT_EQ(painter.FindText(u"press a key")->color, kGrey);
    EXPECT_NE(painter.FindText(u"1600"), nullptr);
    EXPECT_EQ(painter.FindText(u"unused hint"), nullptr);
    // Only the rows scrolled into view are drawn.
    EXPECT_EQ(painter.FindText(u"Macro 1"), nullptr);
    EXPECT_NE(painter.FindText(u"Macro 3"), nullptr);
    EXPECT_NE(painter.FindText(u"Macro 4"), nullptr);
    // Event rows carry their position and text.
    EXPECT_NE(painter.FindText(u"\u2193  A"), nullptr);
    EXPECT_NE(painter.FindText(u"2"), nullptr);
    EXPECT_NE(painter.FindText(u"Profile 1"), nullptr);
    ASSERT_NE(painter.FindText(u"1000Hz"), nullptr);
    EXPECT_NE(painter.FindText(u"125Hz"), nullptr);

    // A field with the focus leaves its text to the backend's entry, which lies over it; it
    // draws the text again once the focus has gone elsewhere.
    HeadlessBackend::Click(dialog, 4);
    RecordingPainter editing;
    dialog.HandlePaint(editing);
    EXPECT_EQ(editing.FindText(u"1600"), nullptr);
    dialog.EnterText(filled, u"800", true);
    EXPECT_EQ(dialog.GetFocusControl(), filled);
    dialog.SetFocusControl(nullptr);
    RecordingPainter ended;
    dialog.HandlePaint(ended);
    EXPECT_NE(ended.FindText(u"800"), nullptr);
}

TEST_F(ListsPaintTest, SkinImagesAreDrawnWithTheirStateFrames) {
    TestDialog dialog;
    MComboBox* combo = nullptr;
    ReporteCtrl* rates = nullptr;
    DListBox* profiles = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        combo = static_cast<MComboBox*>(
            d.AdoptControl(std::make_unique<MComboBox>(), u"MComboBox", 1, {5, 5, 155, 35}));
        rates = static_cast<ReporteCtrl*>(
            d.AdoptControl(std::make_unique<ReporteCtrl>(), u"ReporteCtrl", 2, {5, 50, 305, 80}));
        profiles = static_cast<DListBox*>(
            d.AdoptControl(std::make_unique<DListBox>(), u"DListBox", 3, {5, 100, 305, 200}));
    }));
    combo->SetImage(u"img_combobox.png", 4);
    rates->SetImage(u"img_rate.png", 4);
    profiles->SetImage(u"img_list_bkg.png", 1);
    rates->AddItem(u"125Hz", 8, 0x0108F1);
    rates->AddItem(u"250Hz", 4, 0xED6B00);
    rates->SelectCode(4);
    // The pointer over the selector.
    dialog.HandleMouse({MouseAction::kMove, MouseButton::kNone, {50, 20}, 0});

    RecordingPainter painter(true);
    dialog.HandlePaint(painter);
    std::vector<std::pair<std::u16string, int>> frames;
    for (const auto& image : painter.images) {
        frames.emplace_back(image.file, image.frame);
    }
    EXPECT_EQ(frames, (std::vector<std::pair<std::u16string, int>>{{u"img_combobox.png", 1},
                                                                   {u"img_rate.png", 0},
                                                                   {u"img_rate.png", 2},
                                                                   {u"img_list_bkg.png", 0}}));

    combo->SetEnabled(false);
    RecordingPainter disabled(true);
    dialog.HandlePaint(disabled);
    EXPECT_EQ(disabled.images.front().frame, 3);
}

}  // namespace
