// The update paths against a local HTTP server on 127.0.0.1:
//  (a) a 1 MiB firmware image (1,048,576 bytes) from its zip archive to a virtual mouse whose
//      reports take 1 ms each, through RunFirmwareUpdate with real pauses; its wall time against
//      the floor of 21,846 data reports x 1 ms (goal: within 5 %);
//  (b) a 50 MiB archive (one entry of random bytes and a few small files) downloaded with
//      FetchFile and unpacked with ExtractArchive, against `curl -s -o FILE URL` and
//      `unzip -q -o FILE -d DIR` run as child processes on the same server; the median of five
//      rounds of each, taken in turns, and their ratio (goal: at most 1.2).
// A plain program rather than Google Benchmark: each figure is one long run or a comparison of
// two runs, which reads more plainly as printed lines.

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"
#include "sim/VirtualHidBackend.h"
#include "text/Utf.h"
#include "update/ArchiveExtract.h"
#include "update/Downloader.h"
#include "update/FirmwareUpdate.h"
#include "update/LocalHttpServer.h"
#include "update/VersionCheck.h"
#include "update/ZipWriter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDeviceType = 1002;
constexpr std::uint16_t kVendor = 0x3E7A;
constexpr std::uint16_t kCablePid = 0x0C02;
constexpr auto kReportLatency = std::chrono::microseconds(1000);
constexpr std::size_t kImageSize = std::size_t{1} << 20;
// 1,048,576 / 48: 21,845 full data reports and a partial one.
constexpr long kFirmwareDataReports = 21846;
constexpr std::size_t kArchiveEntrySize = std::size_t{50} << 20;
constexpr int kRounds = 5;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A fresh folder under /tmp, removed with everything in it at the end.
class BenchFolder {
public:
    BenchFolder() {
        char pattern[] = "/tmp/kestrel-update-bench-XXXXXX";
        if (char* made = ::mkdtemp(pattern)) {
            path_ = made;
        }
    }
    ~BenchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    bool Valid() const { return !path_.empty(); }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::string RandomBytes(std::size_t size, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        const std::uint64_t word = random();
        for (std::size_t b = 0; b < 8 && i + b < size; ++b) {
            bytes[i + b] = static_cast<char>(word >> (8 * b));
        }
    }
    return bytes;
}

std::shared_ptr<const std::string> ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::make_shared<const std::string>(std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>());
}

DeviceEntry CableEntry() {
    DeviceEntry entry;
    entry.name = u"Bench mouse";
    entry.deviceType = kDeviceType;
    entry.mode = 0;
    entry.vendorId = kVendor;
    entry.productId = kCablePid;
    entry.deviceId = u"K2A1";
    return entry;
}

// (a) The whole firmware update, once: a run takes some 22 s.
bool FirmwareUpdateAgainstFloor(const fs::path& folder) {
    LocalHttpServer server;
    const std::u16string firmwareAddress = FromUtf8(server.Url("/fw"));
    const std::string archiveAddress = FirmwareArchiveAddress(firmwareAddress, u"106");
    const std::string image = RandomBytes(kImageSize, 106);
    const fs::path made = folder / "firmware-made.zip";
    if (!MakeZip(made, {{"firmware-106.bin", image}})) {
        std::fprintf(stderr, "could not make the firmware archive\n");
        return false;
    }
    server.Add(archiveAddress.substr(server.Url("").size()),
               LocalHttpServer::Shared(ReadWhole(made)));

    sim::VirtualHidBackend mice;
    sim::VirtualConnection& cable = mice.AddConnection(CableEntry());
    cable.Faults().SetReportLatency(kReportLatency);
    DeviceManager manager(mice);
    manager.Rescan({{kVendor, kCablePid, u"", kDeviceType, 0, u"K2A1"}});
    manager.SetCurrentDeviceType(kDeviceType);

    FirmwareUpdateRequest request;
    request.dataFolder = folder / "firmware-data";
    request.firmwareAddress = firmwareAddress;
    request.latestVersion = u"106";
    const Clock::time_point start = Clock::now();
    double preparedSeconds = 0;
    request.step = [&](int percent, int textId) {
        if (percent == 10 && textId == kFirmwarePreparingTextId) {
            preparedSeconds = Seconds(start);
        }
    };
    const FirmwareOutcome outcome = RunFirmwareUpdate(manager, request);
    const double seconds = Seconds(start);

    std::vector<std::uint8_t> expected(image.begin(), image.end());
    const bool intact = cable.Loader().Image() == expected;
    const double floorSeconds = static_cast<double>(kFirmwareDataReports) *
                                std::chrono::duration<double>(kReportLatency).count();
    std::printf(
        "(a) firmware update of %zu bytes: %.3f s (download, unpack and read %.3f s); "
        "floor %ld reports x 1 ms = %.3f s; ratio %.4f (goal <= 1.05)\n",
        kImageSize, seconds, preparedSeconds, kFirmwareDataReports, floorSeconds,
        seconds / floorSeconds);
    std::printf("    %zu blocks received, the loader holds the image %s\n",
                cable.Loader().BlocksReceived(), intact ? "intact" : "DAMAGED");
    if (outcome != FirmwareOutcome::Done || !intact) {
        std::fprintf(stderr, "the firmware update did not complete\n");
        return false;
    }
    return true;
}

// Runs a program found on PATH with `arguments` (no shell) and waits for it; true when it
// exited with 0.
bool RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// (b) Download and unpack, ours against curl and unzip.
bool ArchiveAgainstCurlAndUnzip(const fs::path& folder) {
    const fs::path made = folder / "archive-made.zip";
    {
        ZipWriter writer(made);
        bool ok = writer.Add("Mouse-Setup-9.9.9.deb", RandomBytes(kArchiveEntrySize, 50));
        ok = ok && writer.Add("readme.txt", std::string(2000, 'r'));
        ok = ok && writer.Add("docs/licence.txt", std::string(30000, 'l'));
        ok = ok && writer.Add("docs/changes.txt", RandomBytes(5000, 5));
        if (!writer.Close() || !ok) {
            std::fprintf(stderr, "could not make the archive\n");
            return false;
        }
    }
    LocalHttpServer server;
    const std::shared_ptr<const std::string> body = ReadWhole(made);
    server.Add("/big.zip", LocalHttpServer::Shared(body));
    const std::string url = server.Url("/big.zip");

    const fs::path oursArchive = folder / "ours.zip";
    const fs::path oursOut = folder / "ours";
    const fs::path theirsArchive = folder / "theirs.zip";
    const fs::path theirsOut = folder / "theirs";
    std::vector<double> ours;
    std::vector<double> theirs;
    for (int round = 0; round < kRounds; ++round) {
        std::error_code ignored;
        fs::remove_all(oursOut, ignored);
        fs::remove(oursArchive, ignored);
        Clock::time_point start = Clock::now();
        if (FetchFile(url, oursArchive, nullptr) != 1 || !ExtractArchive(oursArchive, oursOut)) {
            std::fprintf(stderr, "FetchFile or ExtractArchive failed\n");
            return false;
        }
        ours.push_back(Seconds(start));

        fs::remove_all(theirsOut, ignored);
        fs::remove(theirsArchive, ignored);
        start = Clock::now();
        if (!RunProgram({"curl", "-s", "-o", theirsArchive.string(), url}) ||
            !RunProgram({"unzip", "-q", "-o", theirsArchive.string(), "-d", theirsOut.string()})) {
            std::fprintf(stderr, "curl or unzip failed (are both installed?)\n");
            return false;
        }
        theirs.push_back(Seconds(start));
    }
    const std::uintmax_t unpacked = fs::file_size(oursOut / "Mouse-Setup-9.9.9.deb");
    if (unpacked != kArchiveEntrySize ||
        fs::file_size(theirsOut / "Mouse-Setup-9.9.9.deb") != kArchiveEntrySize) {
        std::fprintf(stderr, "the unpacked entry has the wrong size\n");
        return false;
    }
    const double oursMedian = Median(ours);
    const double theirsMedian = Median(theirs);
    std::printf(
        "(b) archive of %zu bytes: FetchFile + ExtractArchive %.3f s, curl + unzip %.3f s "
        "(medians of %d); ratio %.3f (goal <= 1.2)\n",
        body->size(), oursMedian, theirsMedian, kRounds, oursMedian / theirsMedian);
    std::printf("    rounds, ours:  ");
    for (double s : ours) {
        std::printf(" %.3f", s);
    }
    std::printf("\n    rounds, theirs:");
    for (double s : theirs) {
        std::printf(" %.3f", s);
    }
    std::printf("\n");
    return true;
}

}  // namespace

// Arguments: "firmware" or "archive" runs only that part; none runs both.
int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    // The server is local: no proxy may stand between it and either client.
    ::setenv("NO_PROXY", "*", 1);
    ::setenv("no_proxy", "*", 1);
    const BenchFolder folder;
    if (!folder.Valid()) {
        std::fprintf(stderr, "could not make a folder under /tmp\n");
        return 1;
    }
    bool ok = true;
    if (only.empty() || only == "archive") {
        ok = ArchiveAgainstCurlAndUnzip(folder.Path()) && ok;
    }
    if (only.empty() || only == "firmware") {
        ok = FirmwareUpdateAgainstFloor(folder.Path()) && ok;
    }
    return ok ? 0 : 1;
}
