// The firmware update from the server's archive to the virtual mouse's firmware loader: what the
// loader holds afterwards, the steps shown on the way, the files left behind, and each way the
// update can stop.

#include "update/FirmwareUpdate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"
#include "platform/ScopedEnv.h"
#include "sim/VirtualHidBackend.h"
#include "support/TempDir.h"
#include "text/Utf.h"
#include "update/LocalHttpServer.h"
#include "update/VersionCheck.h"
#include "update/ZipWriter.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Steps = std::vector<std::pair<int, int>>;

constexpr int kDeviceType = 1002;
constexpr char kImageName[] = "firmware-106.bin";

DeviceEntry CableEntry() {
    DeviceEntry entry;
    entry.name = u"K2";
    entry.deviceType = kDeviceType;
    entry.mode = 0;
    entry.vendorId = 0x3E7A;
    entry.productId = 0x0C02;
    entry.deviceId = u"K2A1";
    return entry;
}

std::string ImageBytes(std::size_t size) {
    std::string image(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return image;
}

// What the loader holds after `image`: every 16-byte block whole, the last padded with 0xFF.
Bytes Padded(const std::string& image) {
    Bytes padded(image.begin(), image.end());
    padded.resize((padded.size() + 15) / 16 * 16, 0xFF);
    return padded;
}

// A K2 mouse on its cable, found and selected, whose pauses cost no time; its firmware comes from
// a local server. Failed update writes make the manager wait for an answer the loader never
// gives, so reads wait a fiftieth of their time-out.
class FirmwareUpdateTest : public ::testing::Test {
protected:
    FirmwareUpdateTest() : cable_(mice_.AddConnection(CableEntry())) {
        env_.Set("NO_PROXY", "*");
        env_.Set("no_proxy", "*");
        mice_.SetTimeScale(0.02);
        manager_.SetSleepFunction([](int) {});
        const DeviceEntry entry = CableEntry();
        manager_.Rescan(
            {{entry.vendorId, entry.productId, u"", entry.deviceType, entry.mode, entry.deviceId}});
        manager_.SetCurrentDeviceType(kDeviceType);

        request_.dataFolder = temp_.Path() / "data";
        request_.firmwareAddress = FromUtf8(server_.Url("/fw"));
        request_.latestVersion = u"106";
        request_.limits.lowSpeedSeconds = 1;
        request_.limits.connectTimeoutSeconds = 2;
        request_.step = [this](int percent, int textId) {
            steps_.emplace_back(percent, textId);
            if (onStep_) {
                onStep_(percent, textId);
            }
        };
    }

    // The server's path of the archive of firmware 106.
    std::string ArchivePath() const {
        const std::string address = FirmwareArchiveAddress(request_.firmwareAddress, u"106");
        return address.substr(server_.Url("").size());
    }
    void ServeArchive(std::initializer_list<ZipEntry> entries) {
        const std::string bytes = ZipBytes(temp_.File("made.zip"), entries);
        ASSERT_FALSE(bytes.empty());
        server_.Add(ArchivePath(), LocalHttpServer::Body(bytes));
    }
    void ServeImage(const std::string& image) { ServeArchive({{kImageName, image}}); }
    fs::path Temp() const { return request_.dataFolder / "temp"; }
    // True when the loader was never started.
    bool LoaderUntouched() const {
        return cable_.Loader().CurrentState() == sim::FirmwareLoader::State::Idle &&
               cable_.Loader().BlocksReceived() == 0;
    }

    ScopedEnv env_;
    LocalHttpServer server_;
    TempDir temp_;
    sim::VirtualHidBackend mice_;
    sim::VirtualConnection& cable_;
    DeviceManager manager_{mice_};
    FirmwareUpdateRequest request_;
    Steps steps_;
    // Called after each step is recorded, to inject faults at a chosen moment.
    FirmwareProgress onStep_;
};

TEST_F(FirmwareUpdateTest, ImageArrivesIntactWithEveryStepInOrder) {
    const std::string image = ImageBytes(100);
    ServeImage(image);

    EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::Done);
    EXPECT_EQ(cable_.Loader().CurrentState(), sim::FirmwareLoader::State::Finished);
    EXPECT_TRUE(cable_.Loader().Image() == Padded(image));
    EXPECT_EQ(cable_.Loader().ReportsRefused(), 0u);
    // 100 bytes make two full reports of 48 and a last partial one, which shows no progress.
    EXPECT_EQ(steps_, (Steps{{5, kFirmwareDownloadingTextId},
                             {7, kFirmwarePreparingTextId},
                             {10, kFirmwarePreparingTextId},
                             {55, kFirmwareSendingTextId},
                             {100, kFirmwareSendingTextId},
                             {100, kFirmwareDoneTextId}}));
    EXPECT_EQ(kFirmwareDownloadingTextId, 590);
    EXPECT_EQ(kFirmwarePreparingTextId, 591);
    EXPECT_EQ(kFirmwareDoneTextId, 593);
    // Neither the archive nor the image is kept, and the update interface is closed again.
    EXPECT_TRUE(fs::is_empty(Temp()));
    std::uint8_t report[kFirmwareReportSize] = {0x05};
    EXPECT_FALSE(manager_.UpdateExchange(report));
}

// An image left from an earlier archive is never sent in place of the one the archive lacks.
TEST_F(FirmwareUpdateTest, ArchiveWithoutTheImageSendsNothing) {
    fs::create_directories(Temp());
    std::ofstream(Temp() / kImageName) << "left from an earlier archive";
    ServeArchive({{"firmware-105.bin", ImageBytes(100)}, {"notes.txt", "notes"}});

    EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::NoImage);
    EXPECT_TRUE(LoaderUntouched());
    EXPECT_FALSE(fs::exists(Temp() / kImageName));
    EXPECT_FALSE(fs::exists(Temp() / "firmware-106.zip"));
}

TEST_F(FirmwareUpdateTest, FailedDownloadsSendNothing) {
    const std::string archive = ZipBytes(temp_.File("made.zip"), {{kImageName, ImageBytes(100)}});
    struct Case {
        const char* what;
        LocalHttpServer::Answer answer;
    };
    const Case cases[] = {
        {"404", LocalHttpServer::Body(archive, 404)},
        {"closed mid-body", LocalHttpServer::CloseEarly(archive)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        steps_.clear();
        server_.Add(ArchivePath(), c.answer);
        EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::NotDownloaded);
        EXPECT_TRUE(LoaderUntouched());
        EXPECT_EQ(steps_, (Steps{{5, kFirmwareDownloadingTextId}}));
        EXPECT_TRUE(fs::is_empty(Temp()));
    }
}

TEST_F(FirmwareUpdateTest, ImagesTheLoaderCannotTakeAreRefusedBeforeTheMouse) {
    for (std::size_t size : {std::size_t{0}, kFirmwareMaxImageSize + 1}) {
        SCOPED_TRACE(size);
        ServeImage(ImageBytes(size));
        EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::BadImage);
        EXPECT_TRUE(LoaderUntouched());
        EXPECT_TRUE(fs::is_empty(Temp()));
    }
    EXPECT_EQ(kFirmwareMaxImageSize, 1048576u);
}

TEST_F(FirmwareUpdateTest, LoaderRefusingTheStartGetsNothingMore) {
    ServeImage(ImageBytes(100));
    cable_.Faults().FailUpdateWrites(2);

    EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::StartRefused);
    EXPECT_TRUE(LoaderUntouched());
    ASSERT_FALSE(steps_.empty());
    EXPECT_EQ(steps_.back(), std::make_pair(100, kFirmwareFailedTextId));
    EXPECT_EQ(kFirmwareFailedTextId, 643);
    EXPECT_TRUE(fs::is_empty(Temp()));
}

TEST_F(FirmwareUpdateTest, FailureMidTransferStillEndsTheTransfer) {
    ServeImage(ImageBytes(4800));
    // The second data report fails, and so does its second offer.
    onStep_ = [this](int percent, int textId) {
        if (textId == kFirmwareSendingTextId && percent < 100 && steps_.size() == 4) {
            cable_.Faults().FailUpdateWrites(2);
        }
    };

    EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::TransferFailed);
    EXPECT_EQ(cable_.Loader().BlocksReceived(), 3u);
    EXPECT_EQ(cable_.Loader().CurrentState(), sim::FirmwareLoader::State::Finished);
    EXPECT_EQ(steps_.back(), std::make_pair(100, kFirmwareFailedTextId));
    EXPECT_TRUE(fs::is_empty(Temp()));
}

TEST_F(FirmwareUpdateTest, UnpluggedMouseHasNoUpdateInterface) {
    ServeImage(ImageBytes(100));
    cable_.Unplug();

    EXPECT_EQ(RunFirmwareUpdate(manager_, request_), FirmwareOutcome::NoInterface);
    EXPECT_TRUE(LoaderUntouched());
    EXPECT_EQ(steps_.back(), std::make_pair(100, kFirmwareFailedTextId));
    EXPECT_TRUE(fs::is_empty(Temp()));
}

// FlashFirmwareImage on its own: with no mouse selected at all, and with images it must refuse
// before opening anything.
TEST_F(FirmwareUpdateTest, FlashingWithoutASelectedMouseOrWithABadImage) {
    const Bytes image(100, 0x5A);
    manager_.SetCurrentDeviceType(1003);
    EXPECT_EQ(FlashFirmwareImage(manager_, image, nullptr), FirmwareOutcome::NoInterface);

    manager_.SetCurrentDeviceType(kDeviceType);
    EXPECT_EQ(FlashFirmwareImage(manager_, {}, nullptr), FirmwareOutcome::BadImage);
    EXPECT_EQ(FlashFirmwareImage(manager_, Bytes(kFirmwareMaxImageSize + 1), nullptr),
              FirmwareOutcome::BadImage);
    EXPECT_TRUE(LoaderUntouched());

    EXPECT_EQ(FlashFirmwareImage(manager_, image, nullptr), FirmwareOutcome::Done);
    EXPECT_TRUE(cable_.Loader().Image() == Padded(std::string(100, 0x5A)));
}

TEST(ReadFirmwareImage, SizesTheLoaderCanTake) {
    TempDir temp;
    struct Case {
        std::size_t size;
        FirmwareOutcome outcome;
    };
    const Case cases[] = {
        {0, FirmwareOutcome::BadImage},
        {1, FirmwareOutcome::Done},
        {kFirmwareMaxImageSize, FirmwareOutcome::Done},
        {kFirmwareMaxImageSize + 1, FirmwareOutcome::BadImage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string bytes = ImageBytes(c.size);
        temp.Write("image.bin", bytes);
        Bytes image{1, 2, 3};
        EXPECT_EQ(ReadFirmwareImage(temp.File("image.bin"), image), c.outcome);
        EXPECT_TRUE(image == (c.outcome == FirmwareOutcome::Done ? Bytes(bytes.begin(), bytes.end())
                                                                 : Bytes{}));
    }
    Bytes image{1};
    EXPECT_EQ(ReadFirmwareImage(temp.File("missing.bin"), image), FirmwareOutcome::NoImage);
    EXPECT_TRUE(image.empty());
    fs::create_directory(temp.File("folder.bin"));
    EXPECT_EQ(ReadFirmwareImage(temp.File("folder.bin"), image), FirmwareOutcome::NoImage);
}

}  // namespace
