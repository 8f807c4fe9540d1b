// kestrelctl's update commands run as a child process: update-check against a local HTTP server
// that a private installation's config.xml and descriptors point at, and flash against the
// virtual mouse's firmware loader, whose reports --trace shows.

#include <gtest/gtest.h>

#include <filesystem>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/UniqueFd.h"
#include "support/InstallationCopy.h"
#include "support/PrivateFolders.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"
#include "update/LocalHttpServer.h"

namespace {

class KestrelctlUpdateTest : public testing::Test {
protected:
    KestrelctlUpdateTest() { Isolate(runner); }

    // The registry and the data folder in the temporary folder; fetches go straight to the local
    // server whatever proxy the machine has.
    void Isolate(ProgramRunner& program) {
        UsePrivateFolders(program, dir.Path());
        program.Set("NO_PROXY", "*");
        program.Set("no_proxy", "*");
    }

    // `arguments` after "--data <temp>/data", with `sim` ("--sim..." or empty) first.
    std::vector<std::string> Arguments(const std::string& sim,
                                       const std::vector<std::string>& arguments) const {
        std::vector<std::string> all;
        if (!sim.empty()) {
            all.push_back(sim);
        }
        all.insert(all.end(), {"--data", (dir.Path() / "data").string()});
        all.insert(all.end(), arguments.begin(), arguments.end());
        return all;
    }

    // The bytes of the data reports written to the firmware loader, block after block, from the
    // trace's "W 64 05 02 <n*20> 00 <blocks>" lines (the start and end reports have 02 and 06
    // where the data reports have a multiple of 20). Each 20-byte block is its number, 16 image
    // bytes and a checksum; `numbers` gets the block numbers in order.
    static std::vector<std::uint8_t> TracedImage(const std::vector<std::string>& lines,
                                                 std::vector<int>& numbers) {
        std::vector<std::uint8_t> image;
        for (const std::string& line : lines) {
            if (!line.starts_with("W 64 05 02 ")) {
                continue;
            }
            std::istringstream in(line.substr(2));
            std::vector<int> bytes;
            int length = 0;
            in >> length >> std::hex;
            for (int value = 0; in >> value;) {
                bytes.push_back(value);
            }
            if (bytes.size() < 4 || bytes[2] % 20 != 0) {
                continue;
            }
            for (int block = 0; block < bytes[2] / 20; ++block) {
                const std::size_t at = 4 + 20 * static_cast<std::size_t>(block);
                numbers.push_back(bytes[at] | bytes[at + 1] << 8);
                image.insert(image.end(), bytes.begin() + at + 2, bytes.begin() + at + 18);
            }
        }
        return image;
    }
    static bool LoaderWasStarted(const std::vector<std::string>& lines) {
        return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.starts_with("W 64 05 02 02 00 01 ");
        });
    }

    TempDir dir;
    ProgramRunner runner{KESTRELCTL_PATH, dir.Path()};
};

TEST_F(KestrelctlUpdateTest, FlashSendsTheWholeImageToTheLoader) {
    // Two full data reports of three blocks and a last partial block.
    std::string image;
    for (int i = 0; i < 100; ++i) {
        image.push_back(static_cast<char>(i * 7 + 3));
    }
    dir.Write("image.bin", image);
    const std::string file = dir.File("image.bin").string();

    for (const auto& arguments : {std::vector<std::string>{"flash", file, "--yes"},
                                  std::vector<std::string>{"flash", "--yes", file}}) {
        const ProgramResult result =
            runner.Run(Arguments("--sim", {"--trace", arguments[0], arguments[1], arguments[2]}));

        ASSERT_EQ(result.status, 0) << arguments[1] << "\n" << result.err;
        EXPECT_EQ(result.out, "flashed 100 bytes\n");
        const auto err = result.ErrLines();
        std::vector<std::string> progress;
        std::copy_if(err.begin(), err.end(), std::back_inserter(progress),
                     [](const std::string& line) { return line.starts_with("flash: "); });
        ASSERT_FALSE(progress.empty()) << result.err;
        EXPECT_EQ(progress.back(), "flash: 100%") << result.err;
        // The loader takes a block only in sequence with a good checksum and the transfer
        // succeeds only when it took every report, so these are the blocks it holds; the last
        // one is padded with 0xFF.
        std::vector<int> numbers;
        const std::vector<std::uint8_t> sent = TracedImage(err, numbers);
        ASSERT_EQ(sent.size(), 112u) << result.err;
        EXPECT_EQ(std::string(sent.begin(), sent.begin() + 100), image);
        EXPECT_TRUE(std::all_of(sent.begin() + 100, sent.end(),
                                [](std::uint8_t byte) { return byte == 0xFF; }));
        EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    }
}

TEST_F(KestrelctlUpdateTest, FlashRefusalsSendNothing) {
    dir.Write("empty.bin", "");
    dir.Write("over.bin", std::string(1048577, '\x5A'));
    dir.Write("ok.bin", std::string(64, '\x11'));
    const std::string empty = dir.File("empty.bin").string();
    const std::string over = dir.File("over.bin").string();
    const std::string missing = dir.File("missing.bin").string();
    const std::string ok = dir.File("ok.bin").string();
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string message;
    } cases[] = {
        {{"flash", ok}, 2, "add --yes"},
        {{"flash", "--yes"}, 2, "flash needs one FILE"},
        {{"flash", empty, "--yes"}, 5, empty + ": "},
        {{"flash", over, "--yes"}, 5, over + ": "},
        {{"flash", missing, "--yes"}, 5, missing + ": "},
        {{"--sim-fault=update", "flash", ok, "--yes"}, 1, "refused to start"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--trace"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramResult result = runner.Run(Arguments("--sim", arguments));

        const std::string shown = c.arguments.back();
        EXPECT_EQ(result.status, c.status) << shown << "\n" << result.err;
        EXPECT_TRUE(result.out.empty()) << shown << "\n" << result.out;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << shown << "\n" << result.err;
        std::vector<int> numbers;
        EXPECT_TRUE(TracedImage(result.ErrLines(), numbers).empty()) << shown << "\n" << result.err;
        if (c.status != 1) {
            EXPECT_FALSE(LoaderWasStarted(result.ErrLines())) << shown << "\n" << result.err;
        }
    }
}

// A TCP port on 127.0.0.1 that refuses connections while the object lives: bound, never listened
// on.
class RefusingPort {
public:
    RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    int Port() const { return port_; }

private:
    platform::UniqueFd socket_;
    int port_ = 0;
};

class KestrelctlUpdateCheckTest : public KestrelctlUpdateTest {
protected:
    // An installation whose update addresses lead to `base` ("http://127.0.0.1:<port>").
    InstallationCopy Install(const std::string& base, const std::string& name) {
        return InstallationCopy(KESTRELCTL_PATH, dir.Path() / name,
                                {{"https://kestrel.invalid/download/", base + "/dl/"},
                                 {"https://kestrel.invalid/firmware/", base + "/fw/"}});
    }
    ProgramResult Run(const InstallationCopy& install, const std::string& sim) {
        ProgramRunner program{install.Program(), dir.Path()};
        Isolate(program);
        return program.Run(Arguments(sim, {"update-check"}));
    }

    LocalHttpServer server;
};

TEST_F(KestrelctlUpdateCheckTest, ComparesWithWhatTheServerOffers) {
    const InstallationCopy install = Install(server.Url(""), "install");
    ASSERT_TRUE(install.Ok()) << install.Error();
    const struct {
        std::string software;  // the server's version texts; empty: not there (404)
        std::string firmware;
        std::string sim;
        std::vector<std::string> lines;
        int status;
    } cases[] = {
        {"1.0.4",
         "106",
         "--sim",
         {"software current 1.0.3 latest 1.0.4 newer", "firmware current 103 latest 106 newer"},
         0},
        {"1.0.3",
         "103",
         "--sim",
         {"software current 1.0.3 latest 1.0.3 up-to-date",
          "firmware current 103 latest 103 up-to-date"},
         0},
        {"1.0.2",
         "102",
         "--sim",
         {"software current 1.0.3 latest 1.0.2 up-to-date",
          "firmware current 103 latest 102 up-to-date"},
         0},
        // Through the receiver the current firmware is the one read from the mouse.
        {"1.0.4",
         "104",
         "--sim=1002:1:17",
         {"software current 1.0.3 latest 1.0.4 newer", "firmware current 103 latest 104 newer"},
         0},
        {"",
         "",
         "--sim",
         {"software current 1.0.3 latest unknown unknown",
          "firmware current 103 latest unknown unknown"},
         7},
        {"1.0.4",
         "",
         "--sim",
         {"software current 1.0.3 latest 1.0.4 newer",
          "firmware current 103 latest unknown unknown"},
         7},
    };
    for (const auto& c : cases) {
        server.Add("/dl/version", c.software.empty() ? LocalHttpServer::Body("gone", 404)
                                                     : LocalHttpServer::Body(c.software));
        for (const char* model : {"kestrel_k1", "kestrel_k2"}) {
            server.Add(std::string("/fw/") + model + "/mouse/version",
                       c.firmware.empty() ? LocalHttpServer::Body("gone", 404)
                                          : LocalHttpServer::Body(c.firmware));
        }

        const ProgramResult result = Run(install, c.sim);

        const std::string shown = c.sim + " " + c.software + " " + c.firmware;
        EXPECT_EQ(result.status, c.status) << shown << "\n" << result.err;
        EXPECT_EQ(result.OutLines(), c.lines) << shown;
        EXPECT_EQ(result.err.empty(), c.status == 0) << shown << "\n" << result.err;
    }
}

TEST_F(KestrelctlUpdateCheckTest, ServerDownGivesUnknownAtOnce) {
    const RefusingPort refusing;
    ASSERT_NE(refusing.Port(), 0);
    const InstallationCopy install =
        Install("http://127.0.0.1:" + std::to_string(refusing.Port()), "down");
    ASSERT_TRUE(install.Ok()) << install.Error();

    // A refused connection fails the fetch at once, so the run ends well within the connect
    // time-out of each check.
    const ProgramResult result = Run(install, "--sim");

    EXPECT_EQ(result.status, 7) << result.err;
    EXPECT_EQ(result.OutLines(),
              (std::vector<std::string>{"software current 1.0.3 latest unknown unknown",
                                        "firmware current 103 latest unknown unknown"}));
    EXPECT_NE(result.err.find("no answer from http://127.0.0.1:"), std::string::npos) << result.err;
}

TEST_F(KestrelctlUpdateCheckTest, WithoutAMouseTheRememberedModelIsStillChecked) {
    server.Add("/dl/version", LocalHttpServer::Body("1.0.4"));
    server.Add("/fw/kestrel_k2/mouse/version", LocalHttpServer::Body("106"));
    const InstallationCopy install = Install(server.Url(""), "install");
    ASSERT_TRUE(install.Ok()) << install.Error();
    // A first run with the K2 makes it the model the program remembers.
    ASSERT_EQ(Run(install, "--sim=1002:1:17").status, 0);

    // No --sim: hidapi finds no mouse of these made-up models.
    const ProgramResult result = Run(install, "");

    EXPECT_EQ(result.status, 0) << result.err;
    // With nothing to compare with, the latest firmware is shown but not judged.
    EXPECT_EQ(result.OutLines(),
              (std::vector<std::string>{"software current 1.0.3 latest 1.0.4 newer",
                                        "firmware current unknown latest 106 unknown"}));
}

}  // namespace
