// Archive extraction against committed zip archives (tests/fixtures/archives/make_archives.py):
// the cleaning of entry names, names that try to leave the folder, links planted in the archive
// or in the folder, damaged archives, the size and entry limits, and legacy-encoded names. Every
// test extracts into a folder three levels below a temporary folder and checks that nothing
// appeared anywhere else in it.

#include "update/ArchiveExtract.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;

fs::path Fixture(const char* name) {
    return fs::path(KESTREL_FIXTURES_DIR) / "archives" / name;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything below `root`, relative to it: folders end in "/", links in "@"; links are not
// followed.
std::set<std::string> Listing(const fs::path& root) {
    std::set<std::string> names;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::string name = it->path().lexically_relative(root).generic_string();
        fs::file_status status = it->symlink_status();
        if (fs::is_symlink(status)) {
            name += "@";
        } else if (fs::is_directory(status)) {
            name += "/";
        }
        names.insert(name);
    }
    return names;
}

class ArchiveExtractTest : public ::testing::Test {
protected:
    fs::path Out() const { return temp_.Path() / "a" / "b" / "out"; }

    // Everything in the temporary folder outside Out(), besides the folders leading to it.
    std::set<std::string> Outside() const {
        std::set<std::string> names;
        for (const std::string& name : Listing(temp_.Path())) {
            if (name != "a/" && name != "a/b/" && name.rfind("a/b/out", 0) != 0) {
                names.insert(name);
            }
        }
        return names;
    }

    bool Extract(const char* fixture, const ArchiveLimits& limits = {}) {
        return ExtractArchive(Fixture(fixture), Out(), limits, &report_);
    }

    TempDir temp_;
    ArchiveReport report_;
};

TEST(CleanArchiveEntryName, DropsDrivesLeadingSeparatorsAndParentSteps) {
    struct Case {
        std::u16string_view name;
        std::u16string_view clean;
    };
    const Case cases[] = {
        {u"dir/sub/file.txt", u"dir/sub/file.txt"},
        {u"C:\\x", u"x"},
        {u"C:/x", u"x"},
        {u"\\\\x", u"x"},
        {u"/abs/x", u"abs/x"},
        {u"C:C:\\x", u"x"},
        {u"a/../../x", u"../x"},
        {u"a\\..\\..\\x", u"..\\x"},
        {u"\\..\\..\\x", u"x"},
        {u"/../x", u"../x"},
        {u"C:/..\\a/../x", u"x"},
        {u"a/b/../c", u"c"},
        {u"a/..\\b", u"b"},
        {u"a\\../b", u"b"},
        // Left alone here; the extraction refuses the ".." that remains.
        {u"..\\x", u"..\\x"},
        {u"D:..\\x", u"..\\x"},
        {u"..", u".."},
        {u"a/..", u"a/.."},
        // Dots that are not a parent step.
        {u"a..b/c...d", u"a..b/c...d"},
        {u"a/.../b", u"a/.../b"},
        {u"x:", u""},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanArchiveEntryName(c.name), c.clean) << ToUtf8(c.name);
    }
}

TEST_F(ArchiveExtractTest, WritesNestedFoldersInArchiveOrder) {
    ASSERT_TRUE(Extract("nested.zip"));
    EXPECT_EQ(report_.stop, ArchiveStop::None);
    EXPECT_EQ(report_.filesWritten, 5u);
    EXPECT_EQ(report_.entriesSkipped, 0u);
    EXPECT_EQ(Listing(Out()),
              (std::set<std::string>{"top.txt", "dir/", "dir/mid.txt", "dir/sub/", "dir/sub/deep/",
                                     "dir/sub/deep/leaf.txt", "win/", "win/style/",
                                     "win/style/file.txt", "empty.txt"}));
    EXPECT_EQ(ReadFile(Out() / "dir/sub/deep/leaf.txt"), "leaf\n");
    EXPECT_EQ(ReadFile(Out() / "win/style/file.txt"), "backslashes\n");
    EXPECT_EQ(ReadFile(Out() / "empty.txt"), "");
    EXPECT_TRUE(Outside().empty());
}

TEST_F(ArchiveExtractTest, KeepsEveryTraversalInsideTheFolder) {
    ASSERT_TRUE(Extract("traversal.zip"));
    EXPECT_EQ(Listing(Out()), (std::set<std::string>{"x4", "x5", "x6", "abs/", "abs/x7", "x9",
                                                     "sub/", "sub/x13", "ok.txt"}));
    EXPECT_EQ(ReadFile(Out() / "x4"), "4");
    EXPECT_EQ(ReadFile(Out() / "abs/x7"), "7");
    EXPECT_EQ(ReadFile(Out() / "x9"), "9");
    EXPECT_EQ(report_.filesWritten, 7u);
    // ..\x1, a/../../x2, /../x3, a\..\..\x8, D:..\x10, .. and sub/x12/..
    EXPECT_EQ(report_.entriesSkipped, 7u);
    EXPECT_TRUE(Outside().empty()) << *Outside().begin();
    EXPECT_FALSE(fs::exists("/abs/x7"));
}

// Link entries are never created, and links planted in the folder beforehand are neither walked
// through nor written through.
TEST_F(ArchiveExtractTest, NeverCreatesOrFollowsLinks) {
    fs::path outside = temp_.Path() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "secret.txt") << "secret";
    fs::create_directories(Out());
    fs::create_directory_symlink(outside, Out() / "planted_dir");
    fs::create_symlink(outside / "secret.txt", Out() / "planted_file.txt");

    ASSERT_TRUE(Extract("symlink.zip"));
    // "up" becomes a real folder for the entry below it; the planted file link is replaced.
    EXPECT_EQ(Listing(Out()), (std::set<std::string>{"up/", "up/escape.txt", "planted_dir@",
                                                     "planted_file.txt", "regular.txt"}));
    EXPECT_EQ(ReadFile(Out() / "planted_file.txt"), "over a planted file link\n");
    EXPECT_EQ(report_.filesWritten, 3u);
    EXPECT_EQ(report_.entriesSkipped, 3u);  // up, passwd and planted_dir/escape.txt
    EXPECT_EQ(Outside(), (std::set<std::string>{"outside/", "outside/secret.txt"}));
    EXPECT_EQ(ReadFile(outside / "secret.txt"), "secret");
}

// A name that hides ".." before a zero byte, and an entry marked as encrypted, whose data would
// come out as nonsense without the password.
TEST_F(ArchiveExtractTest, SkipsNamesWithZeroBytesAndEncryptedEntries) {
    ASSERT_TRUE(Extract("hostile.zip"));
    EXPECT_EQ(Listing(Out()), (std::set<std::string>{"plain.txt"}));
    EXPECT_EQ(report_.entriesSkipped, 2u);
    EXPECT_TRUE(Outside().empty()) << *Outside().begin();
}

TEST_F(ArchiveExtractTest, ReplacesAnExistingFileWithoutWritingThroughItsHardLink) {
    fs::path outside = temp_.Path() / "outside.txt";
    std::ofstream(outside) << "keep me";
    fs::create_directories(Out());
    fs::create_hard_link(outside, Out() / "top.txt");

    ASSERT_TRUE(Extract("nested.zip"));
    EXPECT_EQ(ReadFile(Out() / "top.txt"), "top\n");
    EXPECT_EQ(ReadFile(outside), "keep me");
}

TEST_F(ArchiveExtractTest, RefusesWhatCannotBeOpened) {
    temp_.Write("text.zip", "not a zip archive at all");
    const fs::path archives[] = {Fixture("truncated.zip"), temp_.File("text.zip"),
                                 temp_.File("missing.zip")};
    for (const fs::path& archive : archives) {
        EXPECT_FALSE(ExtractArchive(archive, Out(), {}, &report_)) << archive;
        EXPECT_EQ(report_.stop, ArchiveStop::CannotOpen) << archive;
        EXPECT_FALSE(fs::exists(Out())) << archive;
    }
    EXPECT_FALSE(ExtractArchive(Fixture("truncated.zip"), Out()));
}

TEST_F(ArchiveExtractTest, SkipsAnEntryWhoseDataIsDamaged) {
    ASSERT_TRUE(Extract("corrupt.zip"));
    EXPECT_EQ(Listing(Out()), (std::set<std::string>{"first.txt", "last.txt"}));
    EXPECT_EQ(ReadFile(Out() / "last.txt"), "last\n");
    EXPECT_EQ(report_.entriesSkipped, 1u);
}

TEST_F(ArchiveExtractTest, ReportsAFolderItCannotCreate) {
    temp_.Write("file", "in the way");
    EXPECT_FALSE(ExtractArchive(Fixture("nested.zip"), temp_.File("file") / "out", {}, &report_));
    EXPECT_EQ(report_.stop, ArchiveStop::CannotMakeFolder);
}

// bomb.zip unpacks to 7 + 20 MiB + 6 bytes: before.txt, zeros.bin, after.txt. A limit reached
// ends the extraction and removes the entry being written; the entries before it stay.
TEST_F(ArchiveExtractTest, StopsAtTheUnpackedSizeLimit) {
    const std::uint64_t total = 7 + (std::uint64_t{20} << 20) + 6;
    struct Case {
        std::uint64_t limit;
        bool result;
        std::set<std::string> files;
    };
    const Case cases[] = {
        {std::uint64_t{1} << 20, false, {"before.txt"}},
        {total - 1, false, {"before.txt", "zeros.bin"}},
        {total, true, {"before.txt", "zeros.bin", "after.txt"}},
    };
    for (const Case& c : cases) {
        fs::remove_all(Out());
        ArchiveLimits limits;
        limits.maxTotalBytes = c.limit;
        EXPECT_EQ(Extract("bomb.zip", limits), c.result) << c.limit;
        EXPECT_EQ(report_.stop, c.result ? ArchiveStop::None : ArchiveStop::TooLarge) << c.limit;
        EXPECT_EQ(Listing(Out()), c.files) << c.limit;
    }
    EXPECT_EQ(fs::file_size(Out() / "zeros.bin"), std::uint64_t{20} << 20);
    EXPECT_TRUE(Outside().empty());
}

TEST_F(ArchiveExtractTest, RefusesMoreEntriesThanTheLimitBeforeWritingAny) {
    ArchiveLimits limits;
    limits.maxEntries = 5;  // nested.zip holds six
    EXPECT_FALSE(Extract("nested.zip", limits));
    EXPECT_EQ(report_.stop, ArchiveStop::TooManyEntries);
    EXPECT_FALSE(fs::exists(Out()));

    limits.maxEntries = 6;
    EXPECT_TRUE(Extract("nested.zip", limits));
}

// A name without the UTF-8 flag is read in the program's ANSI code page, Windows-1252: the GBK
// bytes of "鼠标" become four Latin letters, and 0x80 the euro sign (not U+0080, as Latin-1
// would have it).
TEST_F(ArchiveExtractTest, ReadsNamesWithoutTheUtf8FlagInTheAnsiCodePage) {
    ASSERT_TRUE(Extract("names.zip"));
    EXPECT_EQ(Listing(Out()), (std::set<std::string>{"\u00CA\u00F3\u00B1\u00EA\u20AC.txt", "配置/",
                                                     "配置/设置.txt"}));
    EXPECT_EQ(ReadFile(Out() / "配置/设置.txt"), "utf-8\n");
}

}  // namespace
