// Whole-file reads and atomic replacement: a failed write never damages the file it replaces.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileIo.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Names of everything in a folder, sorted.
std::string Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names) {
        joined += name + ";";
    }
    return joined;
}

mode_t Mode(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Lowers the file size limit for the life of the object: writes beyond it fail with EFBIG (the
// signal is ignored meanwhile). Works for root too, unlike a read-only folder.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(FileIo, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const fs::path target = dir.File("settings.ini");
    ASSERT_EQ(platform::WriteFileAtomically(target, "old=1\n"), 0);

    int error = 0;
    {
        FileSizeLimit limit(4096);
        error = platform::WriteFileAtomically(target, std::string(64 * 1024, 'x'));
    }
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(dir.Read("settings.ini"), "old=1\n");
    EXPECT_EQ(Listing(dir.Path()), "settings.ini;");
}

TEST(FileIo, FailedRenameLeavesNoTemporaryFile) {
    TempDir dir;
    fs::create_directories(dir.File("taken") / "inside");
    EXPECT_NE(platform::WriteFileAtomically(dir.File("taken"), "data"), 0);
    EXPECT_TRUE(fs::is_directory(dir.File("taken") / "inside"));
    EXPECT_EQ(Listing(dir.Path()), "taken;");

    EXPECT_EQ(platform::WriteFileAtomically(dir.File("missing") / "file", "data"), ENOENT);
}

TEST(FileIo, ReplacedFileKeepsItsPermissionsAndNewFilesArePrivate) {
    TempDir dir;
    const fs::path target = dir.File("shared.txt");
    ASSERT_EQ(platform::WriteFileAtomically(target, "one"), 0);
    EXPECT_EQ(Mode(target), 0600u);

    ::chmod(target.c_str(), 0644);
    ASSERT_EQ(platform::WriteFileAtomically(target, "two"), 0);
    EXPECT_EQ(Mode(target), 0644u);
    EXPECT_EQ(dir.Read("shared.txt"), "two");
}

TEST(FileIo, ExclusiveCreationNeverOverwrites) {
    TempDir dir;
    const fs::path path = dir.File("key.ini");
    EXPECT_EQ(platform::CreateFileExclusive(path, "first\n"), 0);
    EXPECT_EQ(platform::CreateFileExclusive(path, "second\n"), EEXIST);
    EXPECT_EQ(dir.Read("key.ini"), "first\n");
    EXPECT_EQ(Mode(path), 0600u);
}

TEST(FileIo, ReadStopsAtTheLimitAndReportsMissingFiles) {
    TempDir dir;
    dir.Write("big", std::string(10000, 'a') + "tail");
    std::string bytes = "stale";
    EXPECT_EQ(platform::ReadFileBytes(dir.File("big"), 10000, bytes), 0);
    EXPECT_EQ(bytes, std::string(10000, 'a'));

    EXPECT_EQ(platform::ReadFileBytes(dir.File("none"), 100, bytes), ENOENT);
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
