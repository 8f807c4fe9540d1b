#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <set>

#include "support/TempDir.h"
#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/controls/MButton.h"
#include "ui/toolkit/qt/QtImageCache.h"
#include "ui/toolkit/qt/QtPainter.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kGreen = 0xFF00FF00u;
constexpr QRgb kFrameColors[] = {0xFF0000FFu, 0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu};

// A strip of `frames` frames of w x h; frame i is filled with kFrameColors[i], and frame 0 has a
// red border `border` pixels wide around a green middle when `border` > 0.
std::u16string WriteStrip(const TempDir& dir, const char* name, int frames, int w, int h,
                          int border = 0) {
    QImage image(w * frames, h, QImage::Format_ARGB32);
    for (int f = 0; f < frames; ++f) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                QRgb color = kFrameColors[f];
                if (f == 0 && border > 0) {
                    const bool edge =
                        x < border || y < border || x >= w - border || y >= h - border;
                    color = edge ? kRed : kGreen;
                }
                image.setPixel(f * w + x, y, color);
            }
        }
    }
    const auto path = dir.File(name);
    EXPECT_TRUE(image.save(QString::fromUtf8(path.string()), "PNG"));
    return dir.File16(name);
}

// Smooth scaling may shift a channel by a step or two.
::testing::AssertionResult Near(QRgb actual, QRgb expected) {
    const int d = std::max(
        {std::abs(qRed(actual) - qRed(expected)), std::abs(qGreen(actual) - qGreen(expected)),
         std::abs(qBlue(actual) - qBlue(expected)), std::abs(qAlpha(actual) - qAlpha(expected))});
    if (d <= 3) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not 0x" << expected;
}

// A canvas to paint on, cleared to black.
struct Canvas {
    Canvas(int w, int h) : image(w, h, QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::black);
    }
    QImage image;
};

TEST(QtPainterTest, DrawsTheAskedFrameOfAStripClampedToTheStrip) {
    TempDir dir;
    const std::u16string strip = WriteStrip(dir, "strip.png", 4, 10, 10);
    const struct {
        int frame;
        QRgb color;
    } cases[] = {{0, kFrameColors[0]}, {1, kFrameColors[1]}, {2, kFrameColors[2]},
                 {3, kFrameColors[3]}, {7, kFrameColors[3]}, {-1, kFrameColors[0]}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        Canvas canvas(30, 30);
        {
            QPainter qpainter(&canvas.image);
            QtPainter painter(qpainter);
            EXPECT_TRUE(painter.DrawImage(strip, c.frame, 4, {10, 10, 20, 20}));
            EXPECT_EQ(painter.ImageSize(strip, 4), (Size{10, 10}));
        }
        EXPECT_EQ(canvas.image.pixel(10, 10), c.color);
        EXPECT_EQ(canvas.image.pixel(19, 19), c.color);
        EXPECT_EQ(canvas.image.pixel(9, 9), qRgb(0, 0, 0));
        EXPECT_EQ(canvas.image.pixel(20, 20), qRgb(0, 0, 0));
    }
}

TEST(QtPainterTest, AStretchedImageKeepsItsCornersAndEdges) {
    TempDir dir;
    // 20 x 20 frames: corners of min(6, 5, 5) = 5 pixels, a 2-pixel red border.
    const std::u16string strip = WriteStrip(dir, "framed.png", 4, 20, 20, 2);
    Canvas canvas(100, 60);
    {
        QPainter qpainter(&canvas.image);
        QtPainter painter(qpainter);
        EXPECT_TRUE(painter.DrawImage(strip, 0, 4, {10, 10, 90, 50}));
    }
    // The border stays 2 pixels wide on every side; stretched whole it would be 8 wide.
    EXPECT_TRUE(Near(canvas.image.pixel(11, 30), kRed));
    EXPECT_TRUE(Near(canvas.image.pixel(13, 30), kGreen));
    EXPECT_TRUE(Near(canvas.image.pixel(86, 30), kGreen));
    EXPECT_TRUE(Near(canvas.image.pixel(88, 30), kRed));
    EXPECT_TRUE(Near(canvas.image.pixel(50, 11), kRed));
    EXPECT_TRUE(Near(canvas.image.pixel(50, 13), kGreen));
    EXPECT_TRUE(Near(canvas.image.pixel(50, 48), kRed));
    EXPECT_TRUE(Near(canvas.image.pixel(50, 30), kGreen));
}

TEST(QtPainterTest, AMissingImageIsReportedAndDrawsNothing) {
    TempDir dir;
    const std::u16string missing = dir.File16("missing.png");
    const std::u16string notAnImage = dir.Write("text.png", "not a png");
    for (const std::u16string& file : {missing, notAnImage, std::u16string()}) {
        Canvas canvas(20, 20);
        {
            QPainter qpainter(&canvas.image);
            QtPainter painter(qpainter);
            EXPECT_FALSE(painter.DrawImage(file, 0, 1, {0, 0, 20, 20}));
            EXPECT_EQ(painter.ImageSize(file, 1), (Size{0, 0}));
        }
        EXPECT_EQ(canvas.image.pixel(10, 10), qRgb(0, 0, 0));
    }
}

TEST(QtPainterTest, SkinFileNamesResolveUnderTheSkinFolderUnlessAbsolute) {
    const std::filesystem::path skins = "/opt/kestrel/skins/default/";
    const struct {
        std::u16string file;
        std::filesystem::path path;
    } cases[] = {
        {u"button.png", "/opt/kestrel/skins/default/button.png"},
        {u"device/kestrel_k1.png", "/opt/kestrel/skins/default/device/kestrel_k1.png"},
        {u"device\\kestrel_k1.png", "/opt/kestrel/skins/default/device/kestrel_k1.png"},
        {u"/tmp/elsewhere/icon.png", "/tmp/elsewhere/icon.png"},
        {u"\u6f22\u5b57.png", "/opt/kestrel/skins/default/\xe6\xbc\xa2\xe5\xad\x97.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtImageCache::Resolve(c.file, skins), c.path) << c.path;
    }
}

TEST(QtPainterTest, WrappedTextWithAnEllipsisStaysInsideItsRectangle) {
    const FontSpec font{u"", 14, false};
    Canvas canvas(200, 120);
    int lineHeight = 0;
    {
        QPainter qpainter(&canvas.image);
        QtPainter painter(qpainter);
        lineHeight = painter.MeasureText(u"Xg", font).cy;
        ASSERT_GT(lineHeight, 0);
        // Two lines' room for text that needs many more.
        painter.DrawText({0, 0, 120, 2 * lineHeight},
                         u"one two three four five six seven eight nine ten eleven twelve", font,
                         kWhite, kAlignMultiLine | kAlignEllipsis);
    }
    bool inside = false;
    for (int y = 0; y < canvas.image.height(); ++y) {
        for (int x = 0; x < canvas.image.width(); ++x) {
            if (canvas.image.pixel(x, y) != qRgb(0, 0, 0)) {
                EXPECT_LT(y, 2 * lineHeight + 1) << x << "," << y;
                EXPECT_LT(x, 121) << x << "," << y;
                inside = true;
            }
        }
    }
    EXPECT_TRUE(inside);
}

TEST(QtPainterTest, ChineseTextFindsAFont) {
    Canvas canvas(120, 40);
    Size size;
    {
        QPainter qpainter(&canvas.image);
        QtPainter painter(qpainter);
        const FontSpec font{u"\u9ed1\u4f53", 16, false};
        size = painter.MeasureText(u"\u9f20\u6807\u8bbe\u7f6e", font);
        painter.DrawText({0, 0, 120, 40}, u"\u9f20\u6807\u8bbe\u7f6e", font, kWhite,
                         kAlignLeft | kAlignVCenter);
    }
    EXPECT_GT(size.cx, 32);
    EXPECT_GT(size.cy, 0);
    int lit = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            lit += canvas.image.pixel(x, y) != qRgb(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 50);
}

TEST(QtPainterTest, AScreenshotShowsTheBackgroundTheSkinAndTheFlatLook) {
    TempDir dir;
    const std::u16string skin = WriteStrip(dir, "button.png", 4, 20, 20, 2);
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open([&](QtTestDialog& d) {
        d.GetPaintManager().SetBackColor(0x203040, 0x808080);
        d.CreateControl(u"MButton", 1, {20, 20, 100, 60})->SetImage(skin, 4);
        d.CreateControl(u"MButton", 2, {120, 20, 200, 60}, u"OK");
        d.CreateControl(u"MText", 3, {20, 80, 280, 110}, u"Caption \u9f20\u6807");
    }));
    const auto file = dir.File("shot.png");
    ASSERT_TRUE(QtBackend::SaveScreenshot(dialog, file));
    QImage shot(QString::fromUtf8(file.string()));
    ASSERT_FALSE(shot.isNull());
    // The file has the screen's pixels: more than the window's size on a scaled screen.
    const qreal scale = WidgetOf(dialog)->devicePixelRatioF();
    EXPECT_EQ(shot.size(), (QSizeF(300, 200) * scale).toSize());
    auto at = [&](int x, int y) {
        return shot.pixel(static_cast<int>(x * scale), static_cast<int>(y * scale));
    };
    std::set<QRgb> colors;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            colors.insert(shot.pixel(x, y));
        }
    }
    EXPECT_GT(colors.size(), 10u);
    EXPECT_EQ(at(5, 150), 0xFF203040u);
    EXPECT_TRUE(Near(at(21, 40), kRed));
    EXPECT_TRUE(Near(at(24, 40), kGreen));
    EXPECT_TRUE(Near(at(60, 40), kGreen));
    // The button without an image: the flat look's fill beside its caption.
    EXPECT_EQ(at(124, 40), 0xFF2E3136u);

    EXPECT_FALSE(QtBackend::SaveScreenshot(dialog, dir.File("missing/shot.png")));
    QtTestDialog never;
    EXPECT_FALSE(QtBackend::SaveScreenshot(never, dir.File("never.png")));
}

}  // namespace
