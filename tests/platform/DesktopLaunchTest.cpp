// Starting desktop programs: real child processes, found through a PATH that holds fake programs
// which record how they were started.

#include "platform/DesktopLaunch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/ScopedEnv.h"
#include "platform/UniqueFd.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The file a fake program writes once it ran, ending with "END\n" so a half-written file is never
// taken for the whole; empty when nothing came within a generous bound.
std::string WaitForRecord(const fs::path& file) {
    for (auto waited = 0ms; waited < 20s; waited += 10ms) {
        std::ifstream in(file, std::ios::binary);
        std::string text(std::istreambuf_iterator<char>(in), {});
        if (text.size() >= 4 && text.compare(text.size() - 4, 4, "END\n") == 0) {
            return text.substr(0, text.size() - 4);
        }
        std::this_thread::sleep_for(10ms);
    }
    return {};
}

// Child processes of this process, in any state (a zombie too).
int CountChildren() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        // pid (comm) state ppid ...: the name may hold spaces, so parse after its last ')'.
        const auto close = line.rfind(')');
        int ppid = 0;
        char state = 0;
        if (close != std::string::npos &&
            std::sscanf(line.c_str() + close + 1, " %c %d", &state, &ppid) == 2 &&
            ppid == ::getpid()) {
            ++count;
        }
    }
    return count;
}

// Waits, within a generous bound, until every child has ended and been reaped; the count left.
int WaitForNoChildren() {
    int children = CountChildren();
    for (auto waited = 0ms; children != 0 && waited < 20s; waited += 10ms) {
        std::this_thread::sleep_for(10ms);
        children = CountChildren();
    }
    return children;
}

class DesktopLaunch : public ::testing::Test {
protected:
    DesktopLaunch() { env_.Set("PATH", bin_.Path().string()); }

    // A program in the PATH folder that writes its name, its argument count and its arguments
    // (one a line) to <name>.out, using shell built-ins only.
    void AddRecordingProgram(const std::string& name) {
        const fs::path out = records_.File(name + ".out");
        bin_.Write(name, "#!/bin/sh\nprintf '%s\\n' \"" + name + "\" \"$#\" \"$@\" END > '" +
                             out.string() + "'\n");
        fs::permissions(bin_.File(name), fs::perms::owner_all);
    }
    std::string Record(const std::string& name) {
        return WaitForRecord(records_.File(name + ".out"));
    }

    TempDir bin_;
    TempDir records_;
    ScopedEnv env_;
};

TEST_F(DesktopLaunch, OpenWithDesktopPassesTheTargetAsOneArgument) {
    AddRecordingProgram("xdg-open");
    const char16_t* targets[] = {
        u"https://example.org/a?b=1&c=2",
        u"/home/user/My Files/read me.txt",
        u"it's \"quoted\"; rm -rf ~ $(id) `id`",
    };
    for (const char16_t* target : targets) {
        const std::string expected = "xdg-open\n1\n" + ToUtf8(target) + "\n";
        SCOPED_TRACE(expected);
        fs::remove(records_.File("xdg-open.out"));
        ASSERT_TRUE(platform::OpenWithDesktop(target));
        EXPECT_EQ(Record("xdg-open"), expected);
    }
}

TEST_F(DesktopLaunch, OpenWithDesktopRefusesWhatXdgOpenWouldMisread) {
    AddRecordingProgram("xdg-open");
    EXPECT_FALSE(platform::OpenWithDesktop(u""));
    EXPECT_FALSE(platform::OpenWithDesktop(u"-x"));
    EXPECT_FALSE(platform::OpenWithDesktop(u"--help"));
    EXPECT_FALSE(fs::exists(records_.File("xdg-open.out")));

    fs::remove(bin_.File("xdg-open"));
    EXPECT_FALSE(platform::OpenWithDesktop(u"https://example.org")) << "no xdg-open in PATH";
}

TEST_F(DesktopLaunch, OpenMouseSettingsStartsTheFirstProgramOfTheList) {
    EXPECT_FALSE(platform::OpenMouseSettings()) << "PATH holds none of them";

    AddRecordingProgram("xfce4-mouse-settings");
    AddRecordingProgram("kcmshell5");
    AddRecordingProgram("lxqt-config-input");
    ASSERT_TRUE(platform::OpenMouseSettings());
    EXPECT_EQ(Record("kcmshell5"), "kcmshell5\n1\nmouse\n");

    // The ones later in the list were not started: once every child has ended, only one record
    // is there.
    EXPECT_EQ(WaitForNoChildren(), 0);
    EXPECT_FALSE(fs::exists(records_.File("xfce4-mouse-settings.out")));
    EXPECT_FALSE(fs::exists(records_.File("lxqt-config-input.out")));
}

TEST_F(DesktopLaunch, ChildGetsNullStandardStreamsNoLeakedDescriptorAndIsReaped) {
    // A descriptor without close-on-exec, as a careless library might leave one.
    platform::UniqueFd stray(::open("/dev/null", O_RDONLY));
    ASSERT_TRUE(stray.IsValid());
    const fs::path out = records_.File("child.out");
    const std::string script =
        "n=0; for fd in 0 1 2; do [ /proc/self/fd/$fd -ef /dev/null ] && n=$((n+1)); done; "
        "if [ -e /proc/self/fd/$1 ]; then leak=leaked; else leak=closed; fi; "
        "printf '%s %s\\nEND\\n' \"$n\" \"$leak\" > \"$2\"";
    ASSERT_TRUE(platform::SpawnDetached(
        {"/bin/sh", "-c", script, "sh", std::to_string(stray.Get()), out.string()}));
    EXPECT_EQ(WaitForRecord(out), "3 closed\n");

    // The child has ended; no zombie of it stays behind.
    EXPECT_EQ(WaitForNoChildren(), 0);
}

TEST_F(DesktopLaunch, SpawnDetachedReportsWhatCannotStart) {
    EXPECT_FALSE(platform::SpawnDetached({}));
    EXPECT_FALSE(platform::SpawnDetached({""}));
    EXPECT_FALSE(platform::SpawnDetached({"no-such-program-here"}));
    bin_.Write("not-executable", "#!/bin/sh\n");
    EXPECT_FALSE(platform::SpawnDetached({"not-executable"}));
}

}  // namespace
