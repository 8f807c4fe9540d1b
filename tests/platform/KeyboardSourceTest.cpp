// The keyboard sources: the X source against a real X server of its own (Xvfb), with the keys
// pressed by xdotool through XTEST while a window of the test has the focus; the window fallback
// and the choice between them.

#include "platform/KeyboardSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/ScopedEnv.h"
#include "platform/WindowKeyboardSource.h"
#include "platform/XInputKeyboardSource.h"
#include "platform/XvfbServer.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"

// Last: it includes Xlib, whose macros clash with names the headers above use.
#include "platform/XFocusWindow.h"

namespace {

namespace fs = std::filesystem;
using platform::LinuxKey;

// Linux key codes of the keys the tests press.
constexpr int kKeyA = 30;
constexpr int kKeyB = 48;
constexpr int kKeyC = 46;
constexpr int kKeypad8 = 72;
constexpr int kNumLock = 69;

// The X key code of a Linux key, as xdotool takes it.
std::string XKeyCode(int linuxKey) {
    return std::to_string(linuxKey + 8);
}

// A key as the tests compare it.
struct Seen {
    int code;
    bool up;
    friend bool operator==(const Seen&, const Seen&) = default;
    friend void PrintTo(const Seen& seen, std::ostream* out) {
        *out << seen.code << (seen.up ? " up" : " down");
    }
};

// Collects the keys a sink is given, on whatever thread.
class KeyLog {
public:
    platform::KeyboardSource::Sink Sink() {
        return [this](const LinuxKey& key) {
            std::lock_guard<std::mutex> lock(mutex_);
            keys_.push_back(key);
            arrived_.notify_all();
        };
    }

    // Waits until `done` holds for the keys so far, or 10 s passed (a loaded machine is slow, a
    // missing key never comes); the keys then.
    std::vector<LinuxKey> WaitUntil(const std::function<bool(const std::vector<LinuxKey>&)>& done) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return done(keys_); });
        return keys_;
    }
    std::vector<Seen> WaitForCount(std::size_t count) {
        return Codes(WaitUntil([count](const auto& keys) { return keys.size() >= count; }));
    }
    std::vector<LinuxKey> Keys() {
        std::lock_guard<std::mutex> lock(mutex_);
        return keys_;
    }

    static std::vector<Seen> Codes(const std::vector<LinuxKey>& keys) {
        std::vector<Seen> seen;
        for (const LinuxKey& key : keys) {
            seen.push_back({key.code, key.up});
        }
        return seen;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<LinuxKey> keys_;  // guarded by mutex_
};

std::vector<Seen> PressAndRelease(int code) {
    return {{code, false}, {code, true}};
}

// The number of open file descriptors and of threads of this process.
std::pair<int, int> OpenFdsAndThreads() {
    auto count = [](const char* folder) {
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
            ++entries;
        }
        return entries;
    };
    return {count("/proc/self/fd"), count("/proc/self/task")};
}

class KeyboardSourceOnX : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path xvfb = FindInPath("Xvfb");
        xdotool_ = FindInPath("xdotool");
        if (xvfb.empty() || xdotool_.empty()) {
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        }
        server_ = std::make_unique<XvfbServer>(xvfb, "640x480x24");
        ASSERT_FALSE(server_->Display().empty()) << "Xvfb did not start";
        env_.Set("DISPLAY", server_->Display());
        env_.Unset("WAYLAND_DISPLAY");
        focus_ = std::make_unique<XFocusWindow>(server_->Display());
        ASSERT_TRUE(focus_->Focused());
    }

    // Presses and releases each key (xdotool key names) through XTEST, one after the other.
    bool Type(const std::vector<std::string>& keys) {
        ProgramRunner runner(xdotool_, folder_.Path());
        runner.Set("DISPLAY", server_->Display());
        std::vector<std::string> arguments{"key", "--delay", "0"};
        arguments.insert(arguments.end(), keys.begin(), keys.end());
        const ProgramResult result = runner.Run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.status == 0;
    }

    TempDir folder_;
    fs::path xdotool_;
    std::unique_ptr<XvfbServer> server_;
    ScopedEnv env_;
    std::unique_ptr<XFocusWindow> focus_;
};

TEST_F(KeyboardSourceOnX, EachKeyArrivesOnceAsAPressAndARelease) {
    platform::XInputKeyboardSource source;
    EXPECT_TRUE(source.IsGlobal());
    EXPECT_FALSE(source.IsListening());
    KeyLog log;
    ASSERT_TRUE(source.Listen(log.Sink()));
    EXPECT_TRUE(source.IsListening());

    ASSERT_TRUE(Type({"a"}));
    EXPECT_EQ(log.WaitForCount(2), PressAndRelease(kKeyA));
    // A second copy of a (from the slave device) would come before b.
    ASSERT_TRUE(Type({"b"}));
    std::vector<Seen> expected = PressAndRelease(kKeyA);
    expected.insert(expected.end(), {{kKeyB, false}, {kKeyB, true}});
    EXPECT_EQ(log.WaitForCount(4), expected);
}

TEST_F(KeyboardSourceOnX, NumLockIsTheStateOfTheMomentTheKeyWasPressed) {
    platform::XInputKeyboardSource source;
    KeyLog log;
    ASSERT_TRUE(source.Listen(log.Sink()));
    // A fresh server starts with Num Lock off; the second Num Lock puts it back. By key code:
    // given the key's name, xdotool would lock Num Lock itself for KP_8.
    const std::string keypad8 = XKeyCode(kKeypad8);
    const std::string numLock = XKeyCode(kNumLock);
    ASSERT_TRUE(Type({keypad8, numLock, keypad8, numLock, keypad8}));
    auto keypad8Keys = [](const std::vector<LinuxKey>& keys) {
        std::vector<std::pair<bool, bool>> upAndNumLock;
        for (const LinuxKey& key : keys) {
            if (key.code == kKeypad8) {
                upAndNumLock.emplace_back(key.up, key.numLock);
            }
        }
        return upAndNumLock;
    };
    const auto keys =
        log.WaitUntil([&](const auto& keys) { return keypad8Keys(keys).size() >= 6; });
    EXPECT_EQ(keypad8Keys(keys), (std::vector<std::pair<bool, bool>>{
                                     {false, false},
                                     {true, false},
                                     {false, true},
                                     {true, true},
                                     {false, false},
                                     {true, false},
                                 }));
}

TEST_F(KeyboardSourceOnX, ListeningAgainReplacesTheSinkAndStoppingEndsDelivery) {
    platform::XInputKeyboardSource source;
    KeyLog first;
    KeyLog second;
    KeyLog third;
    ASSERT_TRUE(source.Listen(first.Sink()));
    ASSERT_TRUE(source.Listen(second.Sink()));
    ASSERT_TRUE(Type({"a"}));
    EXPECT_EQ(second.WaitForCount(2), PressAndRelease(kKeyA));

    source.StopListening();
    EXPECT_FALSE(source.IsListening());
    source.StopListening();  // nothing left to stop
    ASSERT_TRUE(Type({"b"}));

    // Keys typed while nobody listened are not delivered later either.
    ASSERT_TRUE(source.Listen(third.Sink()));
    ASSERT_TRUE(Type({"c"}));
    EXPECT_EQ(third.WaitForCount(2), PressAndRelease(kKeyC));
    EXPECT_TRUE(first.Keys().empty());
    EXPECT_EQ(KeyLog::Codes(second.Keys()), PressAndRelease(kKeyA));
}

TEST_F(KeyboardSourceOnX, NothingStaysOpenOrRunsWhileNobodyListens) {
    // A sanitizer's runtime starts a thread of its own with the process's first extra thread: one
    // thread started and ended first keeps it out of the counts.
    std::thread([] {}).join();
    const auto idle = OpenFdsAndThreads();
    {
        std::unique_ptr<platform::KeyboardSource> source = platform::CreateKeyboardSource();
        ASSERT_TRUE(source->IsGlobal());
        EXPECT_EQ(OpenFdsAndThreads(), idle) << "checking the display must not keep it open";
        KeyLog log;
        ASSERT_TRUE(source->Listen(log.Sink()));
        EXPECT_EQ(OpenFdsAndThreads().second, idle.second + 1);
        source->StopListening();
        EXPECT_EQ(OpenFdsAndThreads(), idle);
        ASSERT_TRUE(source->Listen(log.Sink()));
    }
    // The destructor stops listening.
    EXPECT_EQ(OpenFdsAndThreads(), idle);
}

TEST_F(KeyboardSourceOnX, TheServerGoingAwayEndsListeningButNotTheProgram) {
    platform::XInputKeyboardSource source;
    KeyLog log;
    ASSERT_TRUE(source.Listen(log.Sink()));
    // The focus window's connection would end the test program at its close otherwise.
    focus_.reset();
    server_->Kill();
    source.StopListening();
    EXPECT_FALSE(source.IsListening());
    EXPECT_FALSE(source.Listen(log.Sink()));
    EXPECT_FALSE(source.IsListening());
    EXPECT_TRUE(log.Keys().empty());
}

TEST_F(KeyboardSourceOnX, TheXSourceOnlyWhereItSeesTheKeysOfEveryWindow) {
    const std::string served = server_->Display();
    struct Case {
        const char* what;
        const char* display;  // null: unset
        const char* wayland;  // null: unset
        bool global;
    };
    const Case cases[] = {
        {"an X session", served.c_str(), nullptr, true},
        {"an X session with an empty WAYLAND_DISPLAY", served.c_str(), "", true},
        {"a Wayland session with XWayland", served.c_str(), "wayland-0", false},
        {"no display", nullptr, nullptr, false},
        {"an empty DISPLAY", "", nullptr, false},
    };
    for (const Case& c : cases) {
        ScopedEnv env;
        c.display ? env.Set("DISPLAY", c.display) : env.Unset("DISPLAY");
        c.wayland ? env.Set("WAYLAND_DISPLAY", c.wayland) : env.Unset("WAYLAND_DISPLAY");
        EXPECT_EQ(platform::CreateKeyboardSource()->IsGlobal(), c.global) << c.what;
    }
    // A display number nobody serves.
    if (!fs::exists("/tmp/.X11-unix/X4093")) {
        ScopedEnv env;
        env.Set("DISPLAY", ":4093");
        EXPECT_FALSE(platform::XInputKeyboardSource::DisplayHasXInput2());
        EXPECT_FALSE(platform::CreateKeyboardSource()->IsGlobal());
    }
}

TEST(WindowKeyboardSource, FeedReachesTheLatestSinkOnlyWhileListening) {
    std::unique_ptr<platform::KeyboardSource> source = platform::CreateWindowKeyboardSource();
    EXPECT_FALSE(source->IsGlobal());
    EXPECT_FALSE(source->IsListening());
    KeyLog first;
    KeyLog second;
    source->Feed({kKeyA, false, true});  // nobody listens yet

    ASSERT_TRUE(source->Listen(first.Sink()));
    EXPECT_TRUE(source->IsListening());
    source->Feed({kKeyB, false, true});
    ASSERT_TRUE(source->Listen(second.Sink()));
    source->Feed({kKeypad8, true, false});
    source->StopListening();
    EXPECT_FALSE(source->IsListening());
    source->Feed({kKeyC, false, true});

    EXPECT_EQ(KeyLog::Codes(first.Keys()), (std::vector<Seen>{{kKeyB, false}}));
    const std::vector<LinuxKey> keys = second.Keys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].code, kKeypad8);
    EXPECT_TRUE(keys[0].up);
    EXPECT_FALSE(keys[0].numLock);
}

TEST(WindowKeyboardSource, ASinkMayStopListeningFromInsideItself) {
    platform::WindowKeyboardSource source;
    std::vector<std::string> heard;
    // The captured text lives in the sink: it must outlive StopListening within the call.
    const std::string name(64, 'k');
    ASSERT_TRUE(source.Listen([&source, &heard, name](const LinuxKey&) {
        source.StopListening();
        heard.push_back(name);
    }));
    source.Feed({kKeyA, false, true});
    source.Feed({kKeyA, true, true});
    EXPECT_EQ(heard, std::vector<std::string>{name});
    EXPECT_FALSE(source.IsListening());
}

}  // namespace
