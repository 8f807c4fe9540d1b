#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "ui/toolkit/MRender.h"

namespace {

TEST(MRenderTest, LoadsIconsAndRefusesWhatIsNoIcon) {
    TempDir dir;
    std::ofstream(dir.File("notes.ico"), std::ios::binary) << "not an icon";
    std::ofstream(dir.File("empty.ico"), std::ios::binary);
    const std::filesystem::path shipped =
        std::filesystem::path(KESTREL_SOURCE_DATA_DIR) / "skins/default/Cockpit.ico";

    EXPECT_TRUE(MRender::LoadIconFromFile(shipped).IsValid());
    EXPECT_TRUE(MRender::LoadIconFromFile(std::filesystem::path(KESTREL_SOURCE_DATA_DIR) /
                                          "skins/default/logo.png")
                    .IsValid());
    EXPECT_FALSE(MRender::LoadIconFromFile(dir.File("notes.ico")).IsValid());
    EXPECT_FALSE(MRender::LoadIconFromFile(dir.File("empty.ico")).IsValid());
    EXPECT_FALSE(MRender::LoadIconFromFile(dir.File("missing.ico")).IsValid());
    EXPECT_FALSE(MRender::LoadIconFromFile(dir.Path()).IsValid());
}

}  // namespace
