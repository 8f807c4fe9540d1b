// The version checks against a local HTTP server: the accepted lengths of the version texts, the
// comparison with the running version, what a missing current version or a silent server gives,
// and the server addresses the checks and downloads are made from.

#include "update/VersionCheck.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/ScopedEnv.h"
#include "platform/UniqueFd.h"
#include "text/Utf.h"
#include "update/LocalHttpServer.h"

namespace {

using Outcome = VersionCheckResult::Outcome;

// The checks reach the local server directly whatever proxy the machine has configured, and give
// up on a silent server within a second or two.
class VersionCheckTest : public ::testing::Test {
protected:
    VersionCheckTest() {
        env_.Set("NO_PROXY", "*");
        env_.Set("no_proxy", "*");
        fast_.lowSpeedSeconds = 1;
        fast_.connectTimeoutSeconds = 2;
    }

    // The upgrade address ("http://127.0.0.1:<port>/up/") with the software version text `text`.
    std::u16string ServeSoftware(const std::string& text) {
        server_.Add("/up/version", LocalHttpServer::Body(text));
        return FromUtf8(server_.Url("/up/"));
    }
    // The firmware address ("http://127.0.0.1:<port>/fw") with the firmware version text `text`.
    std::u16string ServeFirmware(const std::string& text) {
        server_.Add("/fw/mouse/version", LocalHttpServer::Body(text));
        return FromUtf8(server_.Url("/fw"));
    }

    ScopedEnv env_;
    LocalHttpServer server_;
    FetchLimits fast_;
};

TEST(UpdateAddresses, AreTheConfiguredAddressWithTheResourceAppended) {
    const std::u16string up = u"http://updates.example/k/";
    const std::u16string fw = u"http://fw.example/k";
    struct Case {
        std::string made;
        std::string expected;
    };
    const Case cases[] = {
        {SoftwareVersionAddress(up), "http://updates.example/k/version"},
        {InstallerArchiveAddress(up, u"1.0.5"), "http://updates.example/k///Mouse-Setup-1.0.5.zip"},
        {FirmwareVersionAddress(fw), "http://fw.example/k/mouse/version"},
        {FirmwareArchiveAddress(fw, u"106"), "http://fw.example/k//mouse//firmware-106.zip"},
        // Nothing is added or taken away: an address without its final '/' stays without.
        {SoftwareVersionAddress(u"http://u.example"),
         "http://u.example"
         "version"},
        {FirmwareVersionAddress(u""), "/mouse/version"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.made, c.expected);
    }
}

TEST(FirmwareVersionDisplay, ShowsTheFirstCharacterAndTheLastTwo) {
    struct Case {
        std::u16string version;
        std::u16string shown;
    };
    const Case cases[] = {
        {u"106", u"1.06"}, {u"10A", u"1.0A"}, {u"1234", u"1.34"},
        {u"5", u"5.5"},    {u"12", u"1.12"},  {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FirmwareVersionDisplay(c.version), c.shown) << ToUtf8(c.version);
    }
}

// Software versions have 1 to 10 characters, firmware versions 1 to 9; a line break after the
// text is not part of it. Anything else changes nothing, whatever it says.
TEST_F(VersionCheckTest, VersionTextLengths) {
    struct Case {
        bool firmware;
        std::string text;
        Outcome outcome;
        std::u16string latest;
    };
    const Case cases[] = {
        {false, "", Outcome::NoAnswer, u""},
        {false, "2", Outcome::Newer, u"2"},
        {false, "1.20.30.40", Outcome::Newer, u"1.20.30.40"},
        {false, "1.20.30.40\r\n", Outcome::Newer, u"1.20.30.40"},
        {false, "1.20.30.400", Outcome::NoAnswer, u""},
        {false, "\n", Outcome::NoAnswer, u""},
        {true, "", Outcome::NoAnswer, u""},
        {true, "106", Outcome::Newer, u"106"},
        {true, "106\n", Outcome::Newer, u"106"},
        {true, "123456789", Outcome::Newer, u"123456789"},
        {true, "1234567890", Outcome::NoAnswer, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.firmware ? "firmware \"" : "software \"") + c.text + "\"");
        const VersionCheckResult result =
            c.firmware ? CheckFirmwareVersion(ServeFirmware(c.text), u"105", fast_)
                       : CheckSoftwareVersion(ServeSoftware(c.text), u"1.0.9", fast_);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.latest, c.latest);
    }
}

TEST_F(VersionCheckTest, SoftwareVersionsCompareByNumberNotByText) {
    struct Case {
        std::string latest;
        std::u16string current;
        Outcome outcome;
    };
    const Case cases[] = {
        {"1.0.10", u"1.0.9", Outcome::Newer},
        {"1.0.9", u"1.0.9", Outcome::UpToDate},
        {"1.0.8", u"1.0.9", Outcome::UpToDate},
        {"1.0.9", u"1.0.10", Outcome::UpToDate},
        // A different number of parts always counts as newer.
        {"1.0", u"1.0.9", Outcome::Newer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latest + " against " + ToUtf8(c.current));
        const VersionCheckResult result =
            CheckSoftwareVersion(ServeSoftware(c.latest), c.current, fast_);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.latest, FromUtf8(c.latest));
    }
}

TEST_F(VersionCheckTest, FirmwareVersionsAgainstTheMousesVersion) {
    struct Case {
        std::string latest;
        std::u16string current;
        Outcome outcome;
    };
    const Case cases[] = {
        {"106", u"105", Outcome::Newer},
        {"106", u"106", Outcome::UpToDate},
        {"105", u"106", Outcome::UpToDate},
        // Versions compare by their leading decimal digits: the letters of "10A" and "10B" do
        // not count, so neither is newer than the other.
        {"10B", u"10A", Outcome::UpToDate},
        // No mouse read yet: nothing to compare with, but the latest version is known.
        {"106", u"", Outcome::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latest + " against \"" + ToUtf8(c.current) + "\"");
        const VersionCheckResult result =
            CheckFirmwareVersion(ServeFirmware(c.latest), c.current, fast_);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.latest, FromUtf8(c.latest));
    }
}

// A port on 127.0.0.1 bound by the test but not listening: every connection is refused, as by a
// server that is down. Holding the socket keeps other processes off the port.
class RefusingPort {
public:
    RefusingPort() : socket_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    std::u16string Url(const std::string& path) const {
        return FromUtf8("http://127.0.0.1:" + std::to_string(port_) + path);
    }

private:
    platform::UniqueFd socket_;
    int port_ = 0;
};

TEST_F(VersionCheckTest, NoUsableAnswerChangesNothing) {
    RefusingPort down;
    server_.Add("/gone/version", LocalHttpServer::Body("1.0.10", 404));
    server_.Add("/fwgone/mouse/version", LocalHttpServer::Body("106", 404));
    server_.Add("/cut/version", LocalHttpServer::CloseEarly("1.0.10"));
    struct Case {
        const char* what;
        VersionCheckResult result;
    };
    const Case cases[] = {
        {"software, server down", CheckSoftwareVersion(down.Url("/up/"), u"1.0.9", fast_)},
        {"firmware, server down", CheckFirmwareVersion(down.Url("/fw"), u"105", fast_)},
        {"software, 404", CheckSoftwareVersion(FromUtf8(server_.Url("/gone/")), u"1.0.9", fast_)},
        {"firmware, 404", CheckFirmwareVersion(FromUtf8(server_.Url("/fwgone")), u"105", fast_)},
        {"software, cut short",
         CheckSoftwareVersion(FromUtf8(server_.Url("/cut/")), u"1.0.9", fast_)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result.outcome, Outcome::NoAnswer);
        EXPECT_EQ(c.result.latest, u"");
    }
}

}  // namespace
