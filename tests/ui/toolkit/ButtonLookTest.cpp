#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Painter.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/ButtonLook.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/CHelpButton.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CImageButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CTextButton.h"
#include "ui/toolkit/controls/ImageSizeProvider.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/SkinPath.h"

namespace {

using ButtonLookTest = HeadlessTest;

// What was drawn. Images in `images` load (with that frame size); others are missing.
class RecordingPainter : public Painter {
public:
    struct Call {
        std::string op;
        Rect rect;
        Argb color = 0;
        std::u16string text;  // the image file of DrawImage
        int frame = 0;
        int frames = 0;
    };

    std::map<std::u16string, Size> images;
    std::vector<Call> calls;

    void Record(std::string op, Rect rect, Argb color, std::u16string text = {}, int frame = 0,
                int frames = 0) {
        calls.push_back({std::move(op), rect, color, std::move(text), frame, frames});
    }

    std::vector<Call> Of(const std::string& op) const {
        std::vector<Call> found;
        for (const Call& call : calls) {
            if (call.op == op) {
                found.push_back(call);
            }
        }
        return found;
    }
    bool UsedColor(Argb color) const {
        for (const Call& call : calls) {
            if (call.color == color) {
                return true;
            }
        }
        return false;
    }

    void FillRect(const Rect& rect, Argb color) override { Record("FillRect", rect, color); }
    void FillRoundRect(const Rect& rect, int, Argb color) override {
        Record("FillRoundRect", rect, color);
    }
    void DrawRoundRect(const Rect& rect, int, Argb color, int) override {
        Record("DrawRoundRect", rect, color);
    }
    void FillEllipse(const Rect& rect, Argb color) override { Record("FillEllipse", rect, color); }
    void DrawEllipse(const Rect& rect, Argb color, int) override {
        Record("DrawEllipse", rect, color);
    }
    void DrawLine(Point from, Point to, Argb color, int) override {
        Record("DrawLine", {from.x, from.y, to.x, to.y}, color);
    }
    void FillGradient(const Rect& rect, Argb from, Argb, bool) override {
        Record("FillGradient", rect, from);
    }
    bool DrawImage(const std::u16string& file, int frame, int frames, const Rect& dest) override {
        Record("DrawImage", dest, 0, file, frame, frames);
        return images.contains(file);
    }
    Size ImageSize(const std::u16string& file, int) override {
        const auto it = images.find(file);
        return it == images.end() ? Size{} : it->second;
    }
    void DrawText(const Rect& rect, const std::u16string& text, const FontSpec&, Argb color,
                  unsigned) override {
        Record("DrawText", rect, color, text);
    }
    Size MeasureText(const std::u16string& text, const FontSpec& font) override {
        return {static_cast<int>(text.size()) * 7, font.size};
    }
    void Clip(const Rect&) override {}
    void Restore() override {}
};

// Paints the dialog with the pointer resting on `hover` (none when outside every control) and
// keeps what its controls drew.
RecordingPainter PaintDialog(TestDialog& dialog, Point hover = {-1, -1},
                             std::map<std::u16string, Size> images = {}) {
    dialog.HandleMouse({MouseAction::kMove, MouseButton::kNone, hover, 0});
    RecordingPainter painter;
    painter.images = std::move(images);
    dialog.HandlePaint(painter);
    // The window's own background is not what the tests look at.
    const Rect client = dialog.GetClientRect();
    std::erase_if(painter.calls, [&](const auto& call) { return call.rect == client; });
    return painter;
}

bool Within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TEST(SkinPathTest, NormalisesSeparators) {
    struct Case {
        std::u16string in;
        std::u16string out;
    };
    const Case cases[] = {
        {u"icon\\icon_rec.png", u"icon/icon_rec.png"},
        {u"icon//icon_windows.png", u"icon/icon_windows.png"},
        {u"device\\\\\\m1.png", u"device/m1.png"},
        {u"a\\/b", u"a/b"},
        {u"img_button.png", u"img_button.png"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormaliseSkinPath(c.in), c.out);
    }
}

TEST(ButtonLookGlyphTest, MissingImagesAreReplacedByTheGlyphTheirNamesSuggest) {
    struct Case {
        std::u16string file;
        Glyph glyph;
    };
    const Case images[] = {
        {u"sysbtn_close.png", Glyph::kClose},
        {u"sysbtn_min.png", Glyph::kMinimise},
        {u"sysbtn_setting.png", Glyph::kSetting},
        {u"btn_reset.png", Glyph::kReset},
        {u"img_return.png", Glyph::kReturn},
        {u"img_btn_pre.png", Glyph::kPrevious},
        {u"img_btn_next.png", Glyph::kNext},
        {u"img_recorditem_up.png", Glyph::kUp},
        {u"img_recorditem_down.png", Glyph::kDown},
        {u"Skin\\SYSBTN_CLOSE.PNG", Glyph::kClose},
        // Only the file name counts, not its folders.
        {u"setting\\img_button.png", Glyph::kNone},
        {u"img_button.png", Glyph::kNone},
        {u"", Glyph::kNone},
    };
    for (const Case& c : images) {
        EXPECT_EQ(GlyphForImage(c.file), c.glyph) << std::string(c.file.begin(), c.file.end());
    }
    const Case icons[] = {
        {u"icon\\icon_rec.png", Glyph::kRecord},
        {u"icon\\icon_stop_rec.png", Glyph::kStop},
        {u"icon\\icon_arrow_up.png", Glyph::kUp},
        {u"icon\\tab_home.png", Glyph::kNone},
    };
    for (const Case& c : icons) {
        EXPECT_EQ(GlyphForIcon(c.file), c.glyph) << std::string(c.file.begin(), c.file.end());
    }
}

TEST_F(ButtonLookTest, IconSwapsAtRunTimeAndIsDrawnLeftOfTheCaption) {
    TestDialog dialog;
    CIconButton* record = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        record = static_cast<CIconButton*>(d.AdoptControl(
            std::make_unique<CIconButton>(), u"CIconButton", 172, {10, 10, 170, 40}, u"Record"));
        record->SetImage(u"img_button.png", 4);
        record->SetIcon(u"icon\\icon_rec.png");
    }));
    const std::map<std::u16string, Size> skin = {{u"img_button.png", {40, 26}},
                                                 {u"icon/icon_rec.png", {16, 16}},
                                                 {u"icon/icon_stop_rec.png", {16, 16}}};
    const auto iconDrawn = [&](const RecordingPainter& painter) {
        for (const auto& call : painter.Of("DrawImage")) {
            if (call.text != u"img_button.png") {
                return call;
            }
        }
        return RecordingPainter::Call{};
    };

    RecordingPainter idle = PaintDialog(dialog, {-1, -1}, skin);
    const RecordingPainter::Call icon = iconDrawn(idle);
    EXPECT_EQ(icon.text, u"icon/icon_rec.png");
    EXPECT_EQ(icon.rect.Width(), 16);
    const auto texts = idle.Of("DrawText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Record");
    EXPECT_LE(icon.rect.right, texts[0].rect.left);
    EXPECT_TRUE(Within(icon.rect, record->GetRect()));

    // The worker swaps icon and caption while recording; the window is asked to repaint.
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    const int repaints = peer->InvalidateCount();
    record->SetIcon(u"icon\\icon_stop_rec.png");
    record->SetTitle(u"Stop");
    EXPECT_GT(peer->InvalidateCount(), repaints);
    EXPECT_EQ(record->GetIcon(), u"icon\\icon_stop_rec.png");
    EXPECT_EQ(iconDrawn(PaintDialog(dialog, {-1, -1}, skin)).text, u"icon/icon_stop_rec.png");

    // Without the icon image a glyph stands in: a square for "stop".
    RecordingPainter flat = PaintDialog(dialog);
    EXPECT_EQ(flat.Of("FillRoundRect").size(), 2u);  // the button face and the square
}

TEST_F(ButtonLookTest, HelpTextIsTheTooltip) {
    TestDialog dialog;
    CHelpButton* help = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        help = static_cast<CHelpButton*>(
            d.AdoptControl(std::make_unique<CHelpButton>(), u"CHelpButton", 133, {10, 10, 30, 30}));
        auto close = std::make_unique<CImageButton>();
        close->SetImage(u"sysbtn_close.png", 4);
        d.AdoptControl(std::move(close), u"CImageButton", 38, {350, 10, 380, 40});
    }));
    EXPECT_EQ(help->GetImage(), u"img_help.png");
    help->SetTooltip(u"plain");
    EXPECT_EQ(dialog.TooltipAt({20, 20}), u"plain");
    const std::u16string text = u"first\nsecond\nthird\nfourth\n\nfifth\nsixth\n\nseventh\neighth";
    help->SetHelpText(text);
    EXPECT_EQ(help->GetHelpText(), text);
    EXPECT_EQ(dialog.TooltipAt({20, 20}), text);
    dialog.GetControl(38)->SetTooltip(u"Close");
    EXPECT_EQ(dialog.TooltipAt({360, 20}), u"Close");
}

TEST_F(ButtonLookTest, ShowModesAreKept) {
    MPicture picture;
    EXPECT_EQ(picture.GetShowMode(), 0);
    struct Case {
        int mode;
        int margin;
        Rect middle;
        Rect keptMiddle;
        int keptMargin;
    };
    const Case cases[] = {
        {4, 10, {10, 50, 260, 10}, {10, 50, 260, 10}, 10},
        {3, 10, {}, {}, 10},
        // The middle part belongs to mode 4 only.
        {3, 10, {1, 2, 3, 4}, {}, 10},
        {3, -5, {}, {}, 0},
    };
    for (const Case& c : cases) {
        picture.SetShowMode(c.mode, c.margin, c.middle);
        EXPECT_EQ(picture.GetShowMode(), c.mode);
        EXPECT_EQ(picture.GetShowMargin(), c.keptMargin);
        EXPECT_EQ(picture.GetShowMiddle(), c.keptMiddle);
    }
    picture.SetShowMode(4, 10, {10, 50, 260, 10});
    picture.SetShowMode(3, 10);
    EXPECT_EQ(picture.GetShowMiddle(), Rect{});
}

// Sizes of one frame of the few images this provider knows.
Size FakeImageSizes(const std::u16string& file, int frames) {
    if (file == u"logo.png") {
        return {260 / frames, 40};
    }
    if (file == u"icon/icon_windows.png") {
        return {24, 24};
    }
    return {};
}

class ProviderScope {
public:
    explicit ProviderScope(ImageSizeFn provider) { SetImageSizeProvider(provider); }
    ~ProviderScope() { SetImageSizeProvider(nullptr); }
};

TEST_F(ButtonLookTest, PictureSizeComesFromTheInstalledProvider) {
    MPicture picture;
    picture.SetImage(u"logo.png", 1);
    EXPECT_EQ(picture.GetPictureWidth(), 0);  // no provider yet
    ProviderScope scope(FakeImageSizes);
    EXPECT_EQ(picture.GetPictureWidth(), 260);
    EXPECT_EQ(picture.GetPictureHeight(), 40);
    picture.SetImage(u"logo.png", 2);
    EXPECT_EQ(picture.GetPictureWidth(), 130);
    picture.SetImage(u"icon//icon_windows.png", 1);
    EXPECT_EQ(picture.GetPictureWidth(), 24);
    picture.SetImage(u"missing.png", 1);
    EXPECT_EQ(picture.GetPictureHeight(), 0);
    picture.SetImage(u"", 1);
    EXPECT_EQ(picture.GetPictureWidth(), 0);
}

TEST_F(ButtonLookTest, PictureWithoutARectangleTakesItsImageSize) {
    ProviderScope scope(FakeImageSizes);
    TestDialog dialog;
    MControl* own = nullptr;
    MControl* given = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        own = d.AdoptControl(std::make_unique<MPicture>(), u"MPicture", 31, {10, 10, 10, 10});
        own->SetImage(u"logo.png", 1);
        given = d.AdoptControl(std::make_unique<MPicture>(), u"MPicture", 32, {0, 0, 100, 20});
        given->SetImage(u"logo.png", 1);
    }));
    EXPECT_EQ(own->GetRect(), (Rect{10, 10, 270, 50}));
    EXPECT_EQ(given->GetRect(), (Rect{0, 0, 100, 20}));
}

TEST_F(ButtonLookTest, MissingAreaBackgroundsOfSliceModesBecomeFlatPanels) {
    TestDialog dialog;
    MPicture* sliced = nullptr;
    MPicture* plain = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        sliced = static_cast<MPicture*>(
            d.AdoptControl(std::make_unique<MPicture>(), u"MPicture", 30, {10, 10, 200, 200}));
        sliced->SetImage(u"img_area_content.png", 1);
        sliced->SetShowMode(3, 10);
        plain = static_cast<MPicture*>(
            d.AdoptControl(std::make_unique<MPicture>(), u"MPicture", 31, {210, 10, 300, 100}));
        plain->SetImage(u"icon//icon_windows.png", 1);
    }));
    RecordingPainter missing = PaintDialog(dialog);
    const auto panels = missing.Of("FillRoundRect");
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0].rect, sliced->GetRect());
    bool normalised = false;
    for (const auto& call : missing.Of("DrawImage")) {
        normalised = normalised || call.text == u"icon/icon_windows.png";
    }
    EXPECT_TRUE(normalised);
    RecordingPainter present = PaintDialog(dialog, {-1, -1}, {{u"img_area_content.png", {40, 40}}});
    EXPECT_TRUE(present.Of("FillRoundRect").empty());
}

// The frame an 8-frame check box draws: unchecked normal, hover, pressed, disabled, then the
// same checked.
TEST_F(ButtonLookTest, CheckMarksUseTheCheckedHalfOfTheirStrip) {
    struct Case {
        bool checked;
        bool enabled;
        bool hover;
        int frame;
    };
    const Case cases[] = {
        {false, true, false, 0}, {false, true, true, 1}, {false, false, false, 3},
        {true, true, false, 4},  {true, true, true, 5},  {true, false, true, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        TestDialog dialog;
        CCheckButton* box = nullptr;
        MButton2* button = nullptr;
        ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
            box = static_cast<CCheckButton*>(d.AdoptControl(
                std::make_unique<CCheckButton>(), u"CCheckButton", 281, {10, 10, 210, 40}, u"a"));
            button = static_cast<MButton2*>(d.AdoptControl(
                std::make_unique<MButton2>(), u"MButton2", 89, {10, 50, 210, 80}, u"b"));
            button->SetImage(u"img_button8.png", 8);
        }));
        box->SetCheck(c.checked);
        box->SetEnabled(c.enabled);
        button->SetCheck(c.checked);
        button->SetEnabled(c.enabled);
        for (const Point hover : {Point{20, 20}, Point{20, 60}}) {
            RecordingPainter painter =
                PaintDialog(dialog, c.hover ? hover : Point{-1, -1},
                            {{u"btn_checkbox.png", {16, 16}}, {u"img_button8.png", {50, 30}}});
            const auto images = painter.Of("DrawImage");
            ASSERT_EQ(images.size(), 2u);
            const auto& mark = images[0];
            EXPECT_EQ(mark.text, u"btn_checkbox.png");
            EXPECT_EQ(mark.frames, 8);
            EXPECT_EQ(mark.rect, (Rect{10, 17, 26, 33}));  // own size, centred at the left
            EXPECT_EQ(images[1].text, u"img_button8.png");
            if (hover.y == 20) {
                EXPECT_EQ(mark.frame, c.frame);
            } else {
                EXPECT_EQ(images[1].frame, c.frame);
            }
            // The caption starts right of the mark.
            const auto texts = painter.Of("DrawText");
            ASSERT_EQ(texts.size(), 2u);
            EXPECT_GT(texts[0].rect.left, mark.rect.right);
        }
    }
}

TEST_F(ButtonLookTest, CheckedButtonsShowTheAccent) {
    const Argb accent = Manager::GetSelectionColor();
    TestDialog dialog;
    std::vector<MControl*> controls;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        auto four = std::make_unique<MButton3>();
        four->SetImage(u"img_button2.png", 4);  // no checked frames: the accent marks the check
        controls.push_back(d.AdoptControl(std::move(four), u"MButton3", 94, {10, 10, 90, 40}));
        controls.push_back(
            d.AdoptControl(std::make_unique<MButton2>(), u"MButton2", 89, {10, 50, 90, 80}));
        controls.push_back(d.AdoptControl(std::make_unique<CCheckButton>(), u"CCheckButton", 1,
                                          {10, 90, 200, 120}));
        controls.push_back(d.AdoptControl(std::make_unique<CRadioButton>(), u"CRadioButton", 2,
                                          {10, 130, 200, 160}));
        controls.push_back(d.AdoptControl(std::make_unique<CColorButton>(), u"CColorButton", 218,
                                          {10, 170, 36, 196}));
    }));
    const std::map<std::u16string, Size> skin = {{u"img_button2.png", {40, 30}}};
    for (MControl* control : controls) {
        // Only this control is shown, so what is drawn is its own.
        for (MControl* other : controls) {
            other->SetVisible(other == control);
        }
        SCOPED_TRACE(control->GetId());
        EXPECT_FALSE(PaintDialog(dialog, {-1, -1}, skin).UsedColor(accent));
        if (auto* b = dynamic_cast<MButton2*>(control)) {
            b->SetCheck(true);
        } else if (auto* b = dynamic_cast<CheckableButton*>(control)) {
            b->SetCheck(true);
        } else if (auto* b = dynamic_cast<CColorButton*>(control)) {
            b->SetCheck(true);
        }
        RecordingPainter checked = PaintDialog(dialog, {-1, -1}, skin);
        EXPECT_TRUE(checked.UsedColor(accent));
        for (const auto& call : checked.calls) {
            if (call.op != "DrawLine" && call.op != "DrawText") {
                EXPECT_TRUE(Within(call.rect, control->GetRect())) << call.op;
            }
        }
    }
}

TEST_F(ButtonLookTest, ColourSwatchShowsItsColour) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        auto swatch = std::make_unique<CColorButton>();
        swatch->SetColor(0x0048FF);  // COLORREF: red FF, green 48, blue 00
        d.AdoptControl(std::move(swatch), u"CColorButton", 209, {10, 10, 36, 36});
    }));
    EXPECT_TRUE(PaintDialog(dialog).UsedColor(0xFFFF4800u));
}

TEST_F(ButtonLookTest, ImageButtonsWithoutImagesDrawGlyphsOrAPlainFace) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        const auto add = [&](int id, const std::u16string& image, Rect rect) {
            auto button = std::make_unique<CImageButton>();
            button->SetImage(image, 4);
            d.AdoptControl(std::move(button), u"CImageButton", id, rect);
        };
        add(38, u"sysbtn_close.png", {350, 10, 380, 40});
        add(60, u"img_btn_pre.png", {10, 100, 50, 140});
        add(99, u"img_unknown.png", {100, 100, 180, 140});
    }));
    const auto drawnIn = [](const RecordingPainter& painter, const std::string& op, Rect rect) {
        int count = 0;
        for (const auto& call : painter.Of(op)) {
            count += Within(call.rect, rect) ? 1 : 0;
        }
        return count;
    };
    RecordingPainter painter = PaintDialog(dialog);
    EXPECT_EQ(drawnIn(painter, "DrawLine", {350, 10, 380, 40}), 2);         // a cross
    EXPECT_EQ(drawnIn(painter, "FillRoundRect", {350, 10, 380, 40}), 0);    // no face at rest
    EXPECT_EQ(drawnIn(painter, "DrawLine", {10, 100, 50, 140}), 2);         // a chevron
    EXPECT_EQ(drawnIn(painter, "FillRoundRect", {100, 100, 180, 140}), 1);  // a plain face
    EXPECT_EQ(drawnIn(painter, "DrawLine", {100, 100, 180, 140}), 0);
    // The close button lights up under the pointer.
    RecordingPainter hovered = PaintDialog(dialog, {360, 20});
    EXPECT_EQ(drawnIn(hovered, "FillRoundRect", {350, 10, 380, 40}), 1);
    // With its image, the image only, in the hover frame.
    RecordingPainter skinned = PaintDialog(dialog, {360, 20}, {{u"sysbtn_close.png", {30, 30}}});
    EXPECT_EQ(drawnIn(skinned, "DrawLine", {350, 10, 380, 40}), 0);
    for (const auto& call : skinned.Of("DrawImage")) {
        if (call.text == u"sysbtn_close.png") {
            EXPECT_EQ(call.frame, 1);
        }
    }
}

TEST_F(ButtonLookTest, TextButtonIsUnderlinedInTheAccentUnderThePointer) {
    const Argb accent = Manager::GetSelectionColor();
    TestDialog dialog;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        d.AdoptControl(std::make_unique<CTextButton>(), u"CTextButton", 37, {10, 10, 210, 40},
                       u"website");
    }));
    RecordingPainter rest = PaintDialog(dialog);
    ASSERT_EQ(rest.Of("DrawText").size(), 1u);
    EXPECT_EQ(rest.Of("DrawText")[0].color, kWhite);
    EXPECT_TRUE(rest.Of("DrawLine").empty());
    RecordingPainter hovered = PaintDialog(dialog, {100, 20});
    ASSERT_EQ(hovered.Of("DrawText").size(), 1u);
    EXPECT_EQ(hovered.Of("DrawText")[0].color, accent);
    const auto lines = hovered.Of("DrawLine");
    ASSERT_EQ(lines.size(), 1u);
    // Under the centred text: 7 characters of 7 pixels.
    EXPECT_EQ(lines[0].rect, (Rect{85, 32, 134, 32}));
    EXPECT_EQ(lines[0].color, accent);
}

}  // namespace
