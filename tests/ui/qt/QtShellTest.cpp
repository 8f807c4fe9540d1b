#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "QtTestDialog.h"
#include "app/Languages.h"
#include "support/TempDir.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/toolkit/WindowStyles.h"

namespace {

TEST(QtShellTest, MessageBoxRunInANestedLoopReturnsTheClickedButton) {
    SetCurrentLanguage(1033);
    struct Case {
        int type;
        QPoint click;  // in the box's client area (430 x 230)
        int result;
    };
    const Case cases[] = {
        {CUIMessageBox::kTypeOkCancel, {285, 198}, kResultCancel},
        {CUIMessageBox::kTypeOkCancel, {145, 198}, kResultOk},
        {CUIMessageBox::kTypeOk, {215, 198}, kResultOk},
    };
    for (const Case& c : cases) {
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            ClickAt(box, c.click);
            clicked = true;
        });
        EXPECT_EQ(ShowMessageBox(nullptr, u"Delete the macro?", u"Macro", c.type), c.result);
        EXPECT_TRUE(clicked);
    }
}

// The number of different colours in a PNG file; 0 when it cannot be read.
std::size_t DistinctColours(const std::filesystem::path& file) {
    QImage image;
    if (!image.load(QString::fromStdString(file.string()))) {
        return 0;
    }
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours.size();
}

TEST(QtShellTest, GalleryAndSmallDialogsRenderToPicturesThatAreNotBlank) {
    TempDir dir;
    for (const char* language : {"1033", "2052"}) {
        const std::filesystem::path shot = dir.Path() / (std::string(language) + ".png");
        const std::string command = std::string(KESTREL_RUNTIME_DIR) + "/kestrel-gallery --lang " +
                                    language + " --screenshot '" + shot.string() + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_GT(DistinctColours(shot), 500u) << language;
    }
    for (const char* window : {"messagebox", "messagebox2", "savewait", "about"}) {
        const std::filesystem::path shot = dir.Path() / (std::string(window) + ".png");
        const std::string command = std::string(KESTREL_RUNTIME_DIR) +
                                    "/kestrel-gallery --window " + window + " --screenshot '" +
                                    shot.string() + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_GT(DistinctColours(shot), 20u) << window;
    }
    const std::string bad = std::string(KESTREL_RUNTIME_DIR) + "/kestrel-gallery --screenshot '" +
                            (dir.Path() / "no/such.png").string() + "' 2>/dev/null";
    EXPECT_NE(std::system(bad.c_str()), 0);
}

}  // namespace
