// The folder builders and the whole-folder operations.

#include "app/Folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppEnvironment.h"

namespace {

namespace fs = std::filesystem;

class Folders : public AppEnvironment {};

TEST_F(Folders, FoldersAreBuiltFromTheExecutableTheThemeAndTheName) {
    const fs::path exe = fs::canonical(KESTREL_RUNTIME_DIR);
    EXPECT_EQ(ExeFolder(), exe);
    EXPECT_EQ(SkinFolder().string(), (exe / "skins/default/").string());
    EXPECT_EQ((SkinFolder() / "Cockpit.ico").string(),
              (exe / "skins/default/Cockpit.ico").string());

    EXPECT_EQ(DataFolder().string(), (dir_.File("data") / "Kestrel Files/").string());
    Manager::SetDeviceName(u"\u9ED1\u96C0");
    EXPECT_EQ(DataFolder().string(),
              (dir_.File("data") / "\xE9\xBB\x91\xE9\x9B\x80 Files/").string());

    env_.Unset("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder().string(),
              (dir_.File("home") / ".local/share/\xE9\xBB\x91\xE9\x9B\x80 Files/").string());

    // KESTREL_DATA_DIR replaces the whole folder; empty counts as unset.
    env_.Set("KESTREL_DATA_DIR", dir_.File("elsewhere").string());
    EXPECT_EQ(DataFolder().string(), dir_.File("elsewhere").string() + "/");
    env_.Set("KESTREL_DATA_DIR", "");
    EXPECT_EQ(DataFolder().parent_path().filename(), "\xE9\xBB\x91\xE9\x9B\x80 Files");
}

TEST_F(Folders, CreateFolderTreeMakesEveryMissingFolder) {
    const fs::path deep = dir_.File("a") / "b" / "c" / "";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(fs::is_directory(dir_.File("a") / "b" / "c"));
    EXPECT_TRUE(CreateFolderTree(deep));  // already there

    std::ofstream(dir_.File("file")) << "x";
    EXPECT_FALSE(CreateFolderTree(dir_.File("file")));            // a file, not a folder
    EXPECT_FALSE(CreateFolderTree(dir_.File("file") / "below"));  // a file in the way
    EXPECT_FALSE(CreateFolderTree(""));
}

TEST_F(Folders, DeleteFolderTreeRemovesEverythingBelow) {
    const fs::path temp = dir_.File("data") / "Kestrel Files" / "temp";
    fs::create_directories(temp / "unpacked" / "inner");
    std::ofstream(temp / "update.zip") << "zip";
    std::ofstream(temp / "unpacked" / "inner" / "fw.bin") << "fw";

    EXPECT_TRUE(DeleteFolderTree(temp / ""));
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_TRUE(fs::is_directory(temp.parent_path()));
    EXPECT_FALSE(DeleteFolderTree(temp));  // nothing left to delete

    // A symbolic link is removed, never what it points at.
    fs::create_directories(dir_.File("kept"));
    std::ofstream(dir_.File("kept") / "file") << "x";
    fs::create_directory_symlink(dir_.File("kept"), dir_.File("link"));
    EXPECT_TRUE(DeleteFolderTree(dir_.File("link")));
    EXPECT_TRUE(fs::exists(dir_.File("kept") / "file"));
}

TEST_F(Folders, DeleteFolderTreeRefusesPathsThatNameNoSingleFolder) {
    fs::create_directories(dir_.File("x") / "y");
    for (const fs::path& path :
         {fs::path(""), fs::path("/"), fs::path("//"), fs::path("/."), fs::path("/.."),
          fs::path("."), fs::path(".."), dir_.File("x") / "y" / "..", dir_.File("x") / "."}) {
        EXPECT_FALSE(DeleteFolderTree(path)) << path;
    }
    EXPECT_TRUE(fs::is_directory(dir_.File("x") / "y"));
}

}  // namespace
