// The updates as a user meets them: kestrel runs from a private installation whose config.xml and
// descriptors point at a local HTTP server, against virtual mice; the offers are answered by the
// script, the firmware reaches the virtual mouse's loader, and the installer goes to a stand-in
// for the desktop's opener.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/KestrelRunner.h"
#include "support/InstallationCopy.h"
#include "update/LocalHttpServer.h"
#include "update/ZipWriter.h"

namespace {

// The virtual K2's firmware by cable is 1.03; the server offers 1.06.
constexpr char kFirmwareVersionPath[] = "/fw/kestrel_k2/mouse/version";
constexpr char kFirmwareArchivePath[] = "/fw/kestrel_k2//mouse//firmware-106.zip";
constexpr char kSoftwareVersionPath[] = "/dl/version";
// The upgrade address ends with '/' and the archive's name is joined to it with "//".
constexpr char kInstallerArchivePath[] = "/dl///Mouse-Setup-9.9.9.zip";

// Settings page: the close button hides the window, so the window stays after a firmware update
// closes it and the script goes on; then back to the device list.
constexpr char kCloseHides[] = "click 40\nclick 286\nclick 273\n";
// Opens the K2 (the second model of the list).
constexpr char kOpenK2[] = "idle\nselect 57 1\nidle\n";
// The same, going on while the worker still works (an accepted offer's update, say): waiting for
// the worker there would wait for the whole update.
constexpr char kOpenK2AndGoOn[] = "idle\nselect 57 1\n";

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A firmware image whose bytes differ from block to block.
std::string MakeImage(std::size_t size) {
    std::string image(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<char>((i * 131 + i / 16) & 0xFF);
    }
    return image;
}

// What `show loader` prints for a loader that holds `image` whole: its blocks with the last one
// padded with 0xFF, and zlib's CRC-32 of those bytes.
std::string LoaderHolding(const std::string& image) {
    std::string padded = image;
    padded.resize((image.size() + 15) / 16 * 16, '\xFF');
    const unsigned long crc =
        ::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(padded.data()),
                static_cast<uInt>(padded.size()));
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08lX", crc & 0xFFFFFFFFUL);
    return "loader 1002:0 state=finished blocks=" + std::to_string(padded.size() / 16) +
           " refused=0 crc32=" + hex;
}

class KestrelUpdateScriptTest : public KestrelRunnerTest {
protected:
    void SetUp() override {
        install_ = std::make_unique<InstallationCopy>(
            KESTREL_PATH, dir.Path() / "install",
            std::vector<InstallationCopy::Replacement>{
                {"https://kestrel.invalid/download/", server_.Url("/dl/")},
                {"https://kestrel.invalid/firmware/", server_.Url("/fw/")}});
        ASSERT_TRUE(install_->Ok()) << install_->Error();
        runner.SetProgram(install_->Program());
        runner.Set("KESTREL_TRACE", TraceFile().string());
        image_ = MakeImage(100000);
        server_.Add(kFirmwareVersionPath, LocalHttpServer::Body("106\n"));
        server_.Add(kFirmwareArchivePath,
                    LocalHttpServer::Body(
                        ZipBytes(dir.Path() / "firmware.zip", {{"firmware-106.bin", image_}})));
    }

    std::filesystem::path TraceFile() const { return dir.Path() / "trace.log"; }
    std::string Trace() const { return ReadFile(TraceFile()); }

    LocalHttpServer server_;
    std::unique_ptr<InstallationCopy> install_;
    std::string image_;
};

TEST_F(KestrelUpdateScriptTest, DeviceSettingsPageShowsVersionsAndTheCheckOffersTheUpdate) {
    // The check after the connection offers 1.06; declined, nothing is sent. The page then shows
    // both versions, and its button asks the server again, which offers again.
    const ProgramResult result = RunScript(std::string("answer 2\n") + kOpenK2 +
                                               "select 48 5\n"
                                               "show 243\nshow 246\nshow 248\nshow 249\n"
                                               "answer 2\nclick 248\nidle\n"
                                               "show loader 1002:0\n"
                                               // Another language keeps what the check found.
                                               "click 40\nselect 279 0\nclick 273\n"
                                               "select 48 5\nshow 246\n",
                                           {"--sim=1002:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> lines = result.OutLines();
    const std::string offer =
        "messagebox \"Mouse Firmware\" \"New version available:v1.06, do you want to update now?\"";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), offer), 2) << result.out;
    EXPECT_EQ(LineStarting(result, "243 "), "243 visible enabled \"Mouse Firmware: v1.03\"");
    EXPECT_EQ(LineStarting(result, "246 "), "246 visible enabled \"New version available: v1.06\"");
    EXPECT_EQ(LineStarting(result, "248 "), "248 visible enabled \"Update\"");
    EXPECT_EQ(LineStarting(result, "249 "), "249 visible disabled \"Update\"");
    EXPECT_EQ(LineStarting(result, "loader "),
              "loader 1002:0 state=idle blocks=0 refused=0 crc32=00000000");
    EXPECT_EQ(lines.back(), "246 visible enabled \"发现新版本: v1.06\"");
}

TEST_F(KestrelUpdateScriptTest, ReceiverConnectionShowsBothVersions) {
    // Through the receiver the mouse's version comes from the mouse itself; the receiver's own
    // update has nothing to offer.
    server_.Add(kFirmwareVersionPath, LocalHttpServer::Body("103"));
    const ProgramResult result = RunScript(std::string(kOpenK2) +
                                               "select 48 5\n"
                                               "show 243\nshow 244\nshow 246\nshow 248\nshow 249\n"
                                               "answer 1\nclick 249\n",
                                           {"--sim=1002:1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(LineStarting(result, "243 "), "243 visible enabled \"Mouse Firmware: 1.03\"");
    EXPECT_TRUE(
        LineStarting(result, "244 ").starts_with("244 visible enabled \"Receiver Firmware: v"))
        << result.out;
    EXPECT_EQ(LineStarting(result, "246 "), "246 visible enabled \"You have the latest version.\"");
    EXPECT_EQ(LineStarting(result, "248 "), "248 visible disabled \"Update\"");
    EXPECT_EQ(LineStarting(result, "249 "), "249 visible enabled \"Update\"");
    EXPECT_NE(result.out.find("messagebox \"Receiver Firmware\" \"You have the latest version.\""),
              std::string::npos)
        << result.out;
}

TEST_F(KestrelUpdateScriptTest, AcceptedFirmwareOfferUpdatesTheMouseWithProgress) {
    // 1 ms per report keeps the transfer long enough to look at the dialog half-way.
    const ProgramResult result = RunScript(std::string(kCloseHides) +
                                               "fault 1002:0 latency 1\n"
                                               "answer 1\n" +
                                               kOpenK2AndGoOn +
                                               "wait-progress UpdateTipDlg:32 50 60000\n"
                                               "show UpdateTipDlg:33\n"
                                               "idle\nidle\n"
                                               "show loader 1002:0\n"
                                               "show window\n",
                                           {"--sim=1002:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(LineStarting(result, "UpdateTipDlg:33 ")
                    .starts_with("UpdateTipDlg:33 visible enabled \"Updating firmware: "))
        << result.out;
    EXPECT_EQ(LineStarting(result, "loader "), LoaderHolding(image_));
    // The update ends by closing the window, which hides it as the settings page asks.
    EXPECT_NE(LineStarting(result, "window "), "window visible");
    EXPECT_NE(Trace().find("firmware update: done"), std::string::npos) << Trace();
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data" / "temp" / "firmware-106.bin"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data" / "temp" / "firmware-106.zip"));
}

TEST_F(KestrelUpdateScriptTest, FirmwareUpdateFaults) {
    struct Case {
        const char* name;
        const char* before;  // after the fault setup, before the offer is answered
        const char* during;  // while the dialog runs
        bool serverCutsTheDownload;
        const char* outcome;  // the trace's word for it
        const char* loaderState;
        bool windowCloses;
    };
    const Case cases[] = {
        {"update writes fail", "fault 1002:0 update-writes 1000\n", "", false, "start refused",
         "state=idle", true},
        {"unplugged mid-transfer", "fault 1002:0 latency 1\n",
         "wait-progress UpdateTipDlg:32 30 60000\nunplug 1002:0\n", false, "transfer failed",
         "state=receiving", true},
        {"server gone mid-download", "", "", true, "not downloaded", "state=idle", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(TraceFile());
        std::filesystem::remove_all(dir.Path() / "data");
        std::filesystem::remove_all(dir.Path() / "config");
        if (c.serverCutsTheDownload) {
            server_.Add(kFirmwareArchivePath, LocalHttpServer::CloseEarly(image_.substr(0, 5000)));
        }
        const ProgramResult result =
            RunScript(std::string(kCloseHides) + c.before + "answer 1\n" + kOpenK2AndGoOn +
                          c.during + "idle\nidle\nshow loader 1002:0\nshow window\n",
                      {"--sim=1002:0"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(Trace().find(std::string("firmware update: ") + c.outcome), std::string::npos)
            << Trace();
        EXPECT_TRUE(LineStarting(result, "loader ")
                        .starts_with(std::string("loader 1002:0 ") + c.loaderState))
            << result.out;
        EXPECT_EQ(LineStarting(result, "window ") == "window visible", !c.windowCloses)
            << result.out;
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data" / "temp" / "firmware-106.bin"));
    }
}

TEST_F(KestrelUpdateScriptTest, ModelWithoutFirmwareAddressHasNothingToCheck) {
    // A descriptor without a firmware address: the button says there is nothing newer and asks
    // no server.
    InstallationCopy bare(KESTREL_PATH, dir.Path() / "bare",
                          {{"https://kestrel.invalid/firmware/kestrel_k2", ""}});
    ASSERT_TRUE(bare.Ok()) << bare.Error();
    runner.SetProgram(bare.Program());
    const ProgramResult result =
        RunScript(std::string(kOpenK2) + "select 48 5\nanswer 1\nclick 248\nidle\nshow 246\n",
                  {"--sim=1002:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("messagebox \"Mouse Firmware\" \"You have the latest version.\""),
              std::string::npos)
        << result.out;
    EXPECT_EQ(LineStarting(result, "246 "), "246 visible enabled \"You have the latest version.\"");
    EXPECT_TRUE(server_.Requests().empty());
}

class KestrelInstallerScriptTest : public KestrelUpdateScriptTest {
protected:
    void SetUp() override {
        KestrelUpdateScriptTest::SetUp();
        // The desktop's opener is a script that records what it was asked to open.
        const std::filesystem::path bin = dir.Path() / "bin";
        std::filesystem::create_directories(bin);
        std::ofstream(bin / "xdg-open")
            << "#!/bin/sh\ncat \"$1\" > \"" << Opened().string() << ".part\"\necho \"$1\" >> \""
            << Opened().string() << ".part\"\nmv \"" << Opened().string() << ".part\" \""
            << Opened().string() << "\"\n";
        ::chmod((bin / "xdg-open").c_str(), 0755);
        runner.Set("PATH", bin.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : ""));
        server_.Add(kSoftwareVersionPath, LocalHttpServer::Body("9.9.9"));
    }

    std::filesystem::path Opened() const { return dir.Path() / "opened.txt"; }

    // The opener runs detached and may finish after kestrel ended.
    std::string WaitForOpened() const {
        for (int i = 0; i < 200 && !std::filesystem::exists(Opened()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return ReadFile(Opened());
    }
};

TEST_F(KestrelInstallerScriptTest, AcceptedSoftwareOfferHandsThePackageToTheDesktop) {
    server_.Add(kInstallerArchivePath,
                LocalHttpServer::Body(ZipBytes(dir.Path() / "installer.zip",
                                               {{"Mouse-Setup-9.9.9.deb", "package bytes"}})));
    // The check at start-up offers 9.9.9; accepted, the package is downloaded, unpacked and
    // opened, and the program ends.
    const ProgramResult result = RunScript("answer 1\nidle\nidle\nidle\nshow 38\n", {"--sim=none"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("messagebox \"Software Update\" \"New version available:v9.9.9, do "
                              "you want to update now?\""),
              std::string::npos)
        << result.out;
    // It ended before the script's last line.
    EXPECT_EQ(LineStarting(result, "38 "), "");
    const std::filesystem::path package = dir.Path() / "data" / "temp" / "Mouse-Setup-9.9.9.deb";
    EXPECT_EQ(WaitForOpened(), "package bytes" + package.string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "data" / "temp" / "Mouse-Setup-9.9.9.zip"));
}

TEST_F(KestrelInstallerScriptTest, FailedInstallerDownloadSaysSoAndTheProgramGoesOn) {
    struct Case {
        const char* name;
        LocalHttpServer::Answer archive;
    };
    const Case cases[] = {
        {"server gone mid-download", LocalHttpServer::CloseEarly("PK")},
        {"no package in the archive",
         LocalHttpServer::Body(ZipBytes(dir.Path() / "other.zip", {{"readme.txt", "hello"}}))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server_.Add(kInstallerArchivePath, c.archive);
        const ProgramResult result =
            RunScript("answer 1\nidle\nanswer 1\nidle\nshow 38\n", {"--sim=none"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("messagebox \"Update failed\""), std::string::npos) << result.out;
        EXPECT_EQ(LineStarting(result, "38 ").substr(0, 11), "38 visible ") << result.out;
        EXPECT_FALSE(std::filesystem::exists(Opened()));
    }
}

}  // namespace
