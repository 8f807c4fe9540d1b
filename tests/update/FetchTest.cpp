#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ScopedEnv.h"
#include "platform/UniqueFd.h"
#include "support/TempDir.h"
#include "update/Downloader.h"
#include "update/LocalHttpServer.h"

namespace {

using Http = LocalHttpServer;
using Answer = LocalHttpServer::Answer;

constexpr std::uint64_t k300MiB = std::uint64_t{300} << 20;

// Fetches reach the local server directly whatever proxy the machine has configured, and give up
// on a silent server after a second instead of twenty.
class FetchTest : public ::testing::Test {
protected:
    FetchTest() {
        env_.Set("NO_PROXY", "*");
        env_.Set("no_proxy", "*");
        fast_.lowSpeedSeconds = 1;
        fast_.connectTimeoutSeconds = 2;
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    ScopedEnv env_;
    LocalHttpServer server_;
    TempDir dir_;
    FetchLimits fast_;
};

// A port on 127.0.0.1 held by a socket of the test. Bound but not listening, it refuses every
// connection; listening but never accepting, it is a dead server: connections complete in the
// kernel and the request is never answered. Holding the socket keeps other processes off the port.
class DeadPort {
public:
    explicit DeadPort(bool listening) : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        if (listening) {
            ::listen(socket_.Get(), 4);
        }
        ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/version";
    }
    const std::string& Url() const { return url_; }

private:
    platform::UniqueFd socket_;
    std::string url_;
};

TEST_F(FetchTest, TextIsTheBodyAsUtf8UpToTheFirstZeroByte) {
    struct Case {
        const char* name;
        Answer answer;
        int expected;
        std::u16string text;  // what `text` holds afterwards; it starts as u"before"
    };
    const Case cases[] = {
        {"utf8", Http::Body("5.5.1 \xC3\xA9\xE2\x82\xAC"), 1, u"5.5.1 \u00E9\u20AC"},
        {"without length", Http::Body("1.2", 200, false), 1, u"1.2"},
        {"zero byte", Http::Body(std::string("1.0\0tail", 8)), 1, u"1.0"},
        {"empty", Http::Body(""), 1, u""},
        {"not found", Http::Body("1.0", 404), -1, u"before"},
        {"server error", Http::Body("1.0", 500), -1, u"before"},
        {"over limit announced", Http::Zeros(k300MiB, true), -1, u"before"},
        {"over limit streamed", Http::Zeros(k300MiB, false), -1, u"before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server_.Add("/version", c.answer);
        std::u16string text = u"before";
        EXPECT_EQ(FetchText(server_.Url("/version"), text, fast_), c.expected);
        EXPECT_EQ(text, c.text);
    }
}

TEST_F(FetchTest, TextFailsWhenTheServerIsAbsentSilentOrNotHttp) {
    DeadPort refusing(false);
    DeadPort silent(true);
    std::u16string text = u"before";
    EXPECT_EQ(FetchText(refusing.Url(), text, fast_), -1);
    EXPECT_EQ(FetchText(silent.Url(), text, fast_), -1);
    std::string local = "file://" + dir_.File("version").string();
    dir_.Write("version", "9.9");
    EXPECT_EQ(FetchText(local, text, fast_), -1);
    EXPECT_EQ(text, u"before");
}

TEST_F(FetchTest, RequestCarriesTheAgentAndAsksForNoCachedCopy) {
    server_.Add("/version", Http::Body("1"));
    std::u16string text;
    ASSERT_EQ(FetchText(server_.Url("/version"), text, fast_), 1);
    std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET /version HTTP/1.1\r\n", 0), 0u) << requests[0];
    for (const char* line : {"\r\nUser-Agent: IIC2.0/PC 5.5.0000\r\n", "\r\nAccept: */*\r\n",
                             "\r\nCache-Control: no-cache\r\n", "\r\nPragma: no-cache\r\n"}) {
        EXPECT_NE(requests[0].find(line), std::string::npos) << line << " in " << requests[0];
    }
}

TEST_F(FetchTest, RedirectsAreFollowedBetweenHttpAddressesOnly) {
    server_.Add("/old", Http::Redirect(server_.Url("/version")));
    server_.Add("/version", Http::Body("2.0"));
    std::u16string text;
    EXPECT_EQ(FetchText(server_.Url("/old"), text, fast_), 1);
    EXPECT_EQ(text, u"2.0");

    dir_.Write("secret", "9.9");
    server_.Add("/local", Http::Redirect("file://" + dir_.File("secret").string()));
    EXPECT_EQ(FetchText(server_.Url("/local"), text, fast_), -1);
    EXPECT_EQ(text, u"2.0");
}

TEST_F(FetchTest, RedirectLoopFailsAfterFiveRedirects) {
    server_.Add("/a", Http::Redirect(server_.Url("/b")));
    server_.Add("/b", Http::Redirect(server_.Url("/a")));
    std::vector<int> progress;
    EXPECT_EQ(FetchFile(server_.Url("/a"), dir_.File("setup.zip"),
                        [&](int percent) { progress.push_back(percent); }),
              -1);
    // The first request and five redirects, then curl stops.
    EXPECT_EQ(server_.Requests().size(), 6u);
    EXPECT_EQ(progress, (std::vector<int>{0, 2}));
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(FetchTest, FileProgressMovesByWholeChunksOfAnAnnouncedLength) {
    struct Case {
        const char* name;
        std::size_t size;
        bool withLength;
        std::vector<int> progress;
    };
    const std::vector<Case> cases = {
        {"three chunks", 3 * 10240, true, {0, 2, 8, 10, 40, 70, 100}},
        // chunks = 25000 / 10240 = 2, and the last partial read counts as a third chunk.
        {"partial last chunk", 25000, true, {0, 2, 8, 10, 55, 100}},
        {"under one chunk", 5000, true, {0, 2, 8, 10, 100}},
        {"no length", 3 * 10240, false, {0, 2, 8, 10, 100}},
        {"empty", 0, true, {0, 2, 8, 10, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string body(c.size, '\0');
        for (std::size_t i = 0; i < body.size(); ++i) {
            body[i] = static_cast<char>(i * 7 + i / 251);
        }
        server_.Add("/setup.zip", Http::Body(body, 200, c.withLength));
        dir_.Write("setup.zip", "an older download");
        std::vector<int> progress;
        EXPECT_EQ(FetchFile(
                      server_.Url("/setup.zip"), dir_.File("setup.zip"),
                      [&](int percent) { progress.push_back(percent); }, fast_),
                  1);
        EXPECT_EQ(progress, c.progress);
        EXPECT_TRUE(dir_.Read("setup.zip") == body);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"setup.zip"});
    }
}

TEST_F(FetchTest, FileWorksWithoutProgress) {
    server_.Add("/setup.zip", Http::Body("PK"));
    EXPECT_EQ(FetchFile(server_.Url("/setup.zip"), dir_.File("setup.zip"), nullptr, fast_), 1);
    EXPECT_EQ(dir_.Read("setup.zip"), "PK");
}

// However a download fails, nothing is left at the path and no temporary file beside it.
TEST_F(FetchTest, FailedFileLeavesNothingBehind) {
    struct Case {
        const char* name;
        Answer answer;
        std::vector<int> progress;
    };
    const Case cases[] = {
        // One byte, then silence: the temporary file exists by then, and so little data lets the
        // low-speed limit fire soon.
        {"stall", Http::Stall("x"), {0, 2, 8, 10}},
        {"close mid-body", Http::CloseEarly(std::string(30000, 'x')), {0, 2, 8, 10, 40, 70}},
        {"not found", Http::Body("gone", 404), {0, 2}},
        {"over limit announced", Http::Zeros(k300MiB, true), {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server_.Add("/setup.zip", c.answer);
        std::vector<int> progress;
        EXPECT_EQ(FetchFile(
                      server_.Url("/setup.zip"), dir_.File("setup.zip"),
                      [&](int percent) { progress.push_back(percent); }, fast_),
                  -1);
        EXPECT_EQ(progress, c.progress);
        EXPECT_TRUE(FolderEntries().empty());
    }
}

TEST_F(FetchTest, FailedFileKeepsTheFileAlreadyThere) {
    dir_.Write("setup.zip", "the last good download");
    server_.Add("/setup.zip", Http::CloseEarly("PK"));
    EXPECT_EQ(FetchFile(server_.Url("/setup.zip"), dir_.File("setup.zip"), nullptr, fast_), -1);
    EXPECT_EQ(dir_.Read("setup.zip"), "the last good download");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"setup.zip"});
}

TEST_F(FetchTest, FileOverTheLimitIsCutWithoutALength) {
    server_.Add("/setup.zip", Http::Zeros(k300MiB, false));
    EXPECT_EQ(FetchFile(server_.Url("/setup.zip"), dir_.File("setup.zip"), nullptr, fast_), -1);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(FetchTest, FileFailsWhenTheConnectionIsRefusedOrTheFolderIsMissing) {
    DeadPort refusing(false);
    EXPECT_EQ(FetchFile(refusing.Url(), dir_.File("setup.zip"), nullptr, fast_), -1);
    server_.Add("/setup.zip", Http::Body("PK"));
    EXPECT_EQ(
        FetchFile(server_.Url("/setup.zip"), dir_.File("missing") / "setup.zip", nullptr, fast_),
        -1);
    EXPECT_TRUE(FolderEntries().empty());
}

int OpenFdCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(FetchFdTest, FetchesCloseEverythingTheyOpen) {
    ScopedEnv env;
    env.Set("NO_PROXY", "*");
    env.Set("no_proxy", "*");
    FetchLimits fast;
    fast.lowSpeedSeconds = 1;
    TempDir dir;
    std::u16string text;
    {
        // The first fetch sets up the library, which may keep files open for good.
        LocalHttpServer server;
        server.Add("/v", Http::Body("1"));
        ASSERT_EQ(FetchText(server.Url("/v"), text, fast), 1);
    }
    int before = OpenFdCount();
    {
        LocalHttpServer server;
        DeadPort refusing(false);
        DeadPort silent(true);
        server.Add("/v", Http::Body("1"));
        server.Add("/stall", Http::Stall("x"));
        server.Add("/close", Http::CloseEarly(std::string(20000, 'x')));
        EXPECT_EQ(FetchText(server.Url("/v"), text, fast), 1);
        EXPECT_EQ(FetchText(server.Url("/missing"), text, fast), -1);
        EXPECT_EQ(FetchText(refusing.Url(), text, fast), -1);
        EXPECT_EQ(FetchText(silent.Url(), text, fast), -1);
        EXPECT_EQ(FetchFile(server.Url("/v"), dir.File("a"), nullptr, fast), 1);
        EXPECT_EQ(FetchFile(server.Url("/stall"), dir.File("b"), nullptr, fast), -1);
        EXPECT_EQ(FetchFile(server.Url("/close"), dir.File("c"), nullptr, fast), -1);
    }
    EXPECT_EQ(OpenFdCount(), before);
}

}  // namespace
