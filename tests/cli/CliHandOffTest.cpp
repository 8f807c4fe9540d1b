// A command line handed to a running program over its instance socket: real sockets in a
// temporary folder, the program's side played by a runner that echoes what it got.

#include "cli/CliHandOff.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/SingleInstance.h"
#include "support/TempDir.h"

namespace {

class HandOff : public testing::Test {
protected:
    // Listens as a running program that carries out command lines with `run`.
    void Listen(HandOffRunner run) {
        ASSERT_TRUE(instance_.Acquire(folder_.Path(), u"Kestrel"));
        instance_.SetConversation(std::string(kHandOffRequest),
                                  [run](platform::UniqueFd connection, int stopFd) {
                                      ServeHandOff(std::move(connection), stopFd, run);
                                  });
        ASSERT_TRUE(instance_.Listen({"show"}, [](const std::string&) {}));
    }
    HandOffResult Hand(const std::vector<std::string>& arguments) {
        out_.str({});
        err_.str({});
        return HandOffToInstance(folder_.Path(), u"Kestrel", arguments, out_, err_, status_);
    }

    TempDir folder_;
    platform::SingleInstance instance_;
    std::ostringstream out_;
    std::ostringstream err_;
    int status_ = -1;
};

TEST_F(HandOff, NobodyRunningLeavesTheCommandLineToTheCaller) {
    EXPECT_EQ(Hand({"list"}), HandOffResult::kNoInstance);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(), "");
}

TEST_F(HandOff, ArgumentsOutputAndStatusCrossWhole) {
    Listen([](const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
        for (const std::string& argument : arguments) {
            out << "[" << argument << "]\n";
        }
        err << "kestrelctl: a warning\n" << std::flush;
        // More than one frame's worth, unflushed.
        out << std::string(100000, 'x') << "\n";
        return static_cast<int>(arguments.size());
    });
    // Empty, spaced, multi-line, non-ASCII and long arguments arrive as they were.
    const std::vector<std::string> arguments = {"set",
                                                "",
                                                "a b",
                                                "line\nbreak",
                                                "名前 \"quoted\"",
                                                std::string(70000, 'y').substr(0, 60000)};
    ASSERT_EQ(Hand(arguments), HandOffResult::kDone) << err_.str();
    EXPECT_EQ(status_, 6);
    std::string expected;
    for (const std::string& argument : arguments) {
        expected += "[" + argument + "]\n";
    }
    expected += std::string(100000, 'x') + "\n";
    EXPECT_EQ(out_.str(), expected);
    EXPECT_EQ(err_.str(), "kestrelctl: a warning\n");

    // The next command line is served the same way, with its own status.
    ASSERT_EQ(Hand({}), HandOffResult::kDone);
    EXPECT_EQ(status_, 0);
    EXPECT_EQ(out_.str(), std::string(100000, 'x') + "\n");
}

TEST_F(HandOff, AProgramThatTakesNoCommandLinesIsAFailureNotAnAbsence) {
    ASSERT_TRUE(instance_.Acquire(folder_.Path(), u"Kestrel"));
    ASSERT_TRUE(instance_.Listen({"show"}, [](const std::string&) {}));
    EXPECT_EQ(Hand({"list"}), HandOffResult::kFailed);
    EXPECT_NE(err_.str().find("kestrel is running but"), std::string::npos) << err_.str();
    EXPECT_EQ(out_.str(), "");
}

}  // namespace
