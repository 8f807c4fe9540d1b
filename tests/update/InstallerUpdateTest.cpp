// The installer download against a local HTTP server serving archives made by the test: what is
// handed to the desktop, what is left in the update folder, and the failures on the way.

#include "update/InstallerUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/ScopedEnv.h"
#include "support/TempDir.h"
#include "text/Utf.h"
#include "update/LocalHttpServer.h"
#include "update/VersionCheck.h"
#include "update/ZipWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr char kPackage[] = "Mouse-Setup-1.0.5.deb";
const std::string kPackageBytes = "!<arch>\ndebian-binary   the package itself\n";

// Everything below `root`, relative to it ("data/temp/x.deb").
std::set<std::string> Listing(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        names.insert(entry.path().lexically_relative(root).generic_string());
    }
    return names;
}

// The data folder is "data" inside a temporary folder, so that anything written beside it shows.
// The open callback records what it is given instead of starting a desktop program.
class InstallerUpdateTest : public ::testing::Test {
protected:
    InstallerUpdateTest() {
        env_.Set("NO_PROXY", "*");
        env_.Set("no_proxy", "*");
        request_.dataFolder = temp_.Path() / "data";
        request_.upgradeAddress = FromUtf8(server_.Url("/up/"));
        request_.latestVersion = u"1.0.5";
        request_.limits.lowSpeedSeconds = 1;
        request_.limits.connectTimeoutSeconds = 2;
        request_.progress = [this](int percent) { progress_.push_back(percent); };
        request_.open = [this](const fs::path& package) {
            opened_.push_back(package);
            return openSucceeds_;
        };
        fs::create_directories(request_.dataFolder);
    }

    // The server's path of the installer archive of version 1.0.5.
    std::string ArchivePath() const {
        const std::string address = InstallerArchiveAddress(request_.upgradeAddress, u"1.0.5");
        return address.substr(server_.Url("").size());
    }
    void ServeArchive(std::initializer_list<ZipEntry> entries) {
        const std::string bytes = ZipBytes(temp_.File("made.zip"), entries);
        ASSERT_FALSE(bytes.empty());
        fs::remove(temp_.File("made.zip"));
        server_.Add(ArchivePath(), LocalHttpServer::Body(bytes));
    }
    fs::path Temp() const { return request_.dataFolder / "temp"; }

    ScopedEnv env_;
    LocalHttpServer server_;
    TempDir temp_;
    InstallerRequest request_;
    std::vector<int> progress_;
    std::vector<fs::path> opened_;
    bool openSucceeds_ = true;
};

TEST_F(InstallerUpdateTest, PackageIsOpenedFromAFreshFolderAndTheArchiveDeleted) {
    // Left from an earlier run: a package of the same name, other files and a sub-folder.
    fs::create_directories(Temp() / "old");
    std::ofstream(Temp() / kPackage) << "stale package";
    std::ofstream(Temp() / "Mouse-Setup-1.0.4.deb") << "older package";
    std::ofstream(Temp() / "old" / "x") << "x";
    ServeArchive({{kPackage, kPackageBytes}, {"readme.txt", "read me"}});

    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::Opened);
    EXPECT_EQ(opened_, std::vector<fs::path>{Temp() / kPackage});
    std::ifstream in(Temp() / kPackage, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kPackageBytes);
    EXPECT_EQ(Listing(temp_.Path()),
              (std::set<std::string>{"data", "data/temp", "data/temp/Mouse-Setup-1.0.5.deb",
                                     "data/temp/readme.txt"}));
    ASSERT_FALSE(progress_.empty());
    EXPECT_EQ(progress_.back(), 100);
    EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(InstallerUpdateTest, ArchiveWithoutThePackageOpensNothing) {
    std::ofstream(temp_.File("data") / "keep.txt") << "the data folder's own file";
    ServeArchive({{"Mouse-Setup-1.0.4.deb", kPackageBytes},
                  {"Mouse-Setup-1.0.5.rpm", kPackageBytes},
                  {"sub/Mouse-Setup-1.0.5.deb", kPackageBytes}});

    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::NoInstaller);
    EXPECT_TRUE(opened_.empty());
    EXPECT_FALSE(fs::exists(Temp() / "Mouse-Setup-1.0.5.zip"));
    // Only the update folder is emptied, never the data folder around it.
    EXPECT_TRUE(fs::exists(request_.dataFolder / "keep.txt"));
}

// An entry whose name climbs out of the folder is not written anywhere, not even where its name
// points, and does not count as the package.
TEST_F(InstallerUpdateTest, EntriesNamedOutsideTheFolderNeverLandOutside) {
    ServeArchive({{"../x.deb", "climbing"},
                  {"../Mouse-Setup-1.0.5.deb", "climbing to the package name"},
                  {"..\\Mouse-Setup-1.0.5.deb", "climbing the other way"}});

    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::NoInstaller);
    EXPECT_TRUE(opened_.empty());
    const std::set<std::string> inside = Listing(temp_.Path());
    for (const std::string& name : inside) {
        EXPECT_TRUE(name == "data" || name.rfind("data/temp", 0) == 0) << name;
    }
    EXPECT_FALSE(fs::exists(request_.dataFolder / "x.deb"));
}

TEST_F(InstallerUpdateTest, FailedDownloadsLeaveNothingToOpen) {
    struct Case {
        const char* what;
        LocalHttpServer::Answer answer;
    };
    const std::string archive = ZipBytes(temp_.File("made.zip"), {{kPackage, kPackageBytes}});
    const Case cases[] = {
        {"404", LocalHttpServer::Body(archive, 404)},
        {"closed mid-body", LocalHttpServer::CloseEarly(archive)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server_.Add(ArchivePath(), c.answer);
        EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::NotDownloaded);
        EXPECT_TRUE(opened_.empty());
        EXPECT_TRUE(fs::is_empty(Temp()));
    }

    // Without a version there is nothing to ask the server for.
    const std::size_t requests = server_.Requests().size();
    request_.latestVersion.clear();
    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::NotDownloaded);
    EXPECT_EQ(server_.Requests().size(), requests);
    EXPECT_TRUE(opened_.empty());
}

TEST_F(InstallerUpdateTest, DesktopThatCannotOpenThePackage) {
    ServeArchive({{kPackage, kPackageBytes}});
    openSucceeds_ = false;
    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::OpenFailed);
    EXPECT_EQ(opened_.size(), 1u);

    // No way to open anything at all.
    request_.open = nullptr;
    EXPECT_EQ(DownloadInstaller(request_), InstallerOutcome::OpenFailed);
    EXPECT_TRUE(fs::is_regular_file(Temp() / kPackage));
}

}  // namespace
