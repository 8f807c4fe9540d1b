// One instance per user: the lock, the request socket and the private runtime folder, with real
// files, real sockets and real child processes.

#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ScopedEnv.h"
#include "platform/SocketLine.h"
#include "platform/SocketReader.h"
#include "platform/UniqueFd.h"
#include "support/TempDir.h"

namespace platform {

// Names in failure messages instead of the enum's bytes.
void PrintTo(SendResult result, std::ostream* out) {
    switch (result) {
        case SendResult::kDelivered:
            *out << "kDelivered";
            return;
        case SendResult::kNoInstance:
            *out << "kNoInstance";
            return;
        case SendResult::kFailed:
            *out << "kFailed";
            return;
    }
    *out << "SendResult(" << static_cast<int>(result) << ")";
}

}  // namespace platform

namespace {

namespace fs = std::filesystem;
using platform::SendResult;

mode_t Mode(const fs::path& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A plain blocking client that sends raw bytes and reads the whole answer until the listener
// closes: what a confused or hostile program could do.
class RawClient {
public:
    explicit RawClient(const fs::path& socketPath)
        : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
        connected_ =
            ::connect(fd_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    bool Connected() const { return connected_; }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::send(fd_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    // The listener sees the end of the stream, as from a client that quit early.
    void EndSending() { ::shutdown(fd_.Get(), SHUT_WR); }
    std::string ReadToEnd() {
        std::string answer;
        char buffer[256];
        ssize_t got = 0;
        while ((got = ::recv(fd_.Get(), buffer, sizeof buffer, 0)) > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        }
        return answer;
    }

private:
    platform::UniqueFd fd_;
    bool connected_ = false;
};

// A primary instance listening in a temporary folder, recording the requests its handler got.
class Instance : public ::testing::Test {
protected:
    bool StartListening(platform::SingleInstance& instance) {
        return instance.Listen({"activate", "show-settings"}, [this](const std::string& request) {
            std::lock_guard<std::mutex> hold(mutex_);
            handled_.push_back(request);
        });
    }
    // Complete once the listener has stopped: the handler runs on its thread.
    std::vector<std::string> Handled() {
        std::lock_guard<std::mutex> hold(mutex_);
        return handled_;
    }

    TempDir folder_;
    std::mutex mutex_;
    std::vector<std::string> handled_;  // guarded by mutex_
};

TEST_F(Instance, SecondAcquireFailsWhileTheFirstHoldsTheLock) {
    auto first = std::make_unique<platform::SingleInstance>();
    EXPECT_FALSE(first->IsPrimary());
    EXPECT_TRUE(first->SocketPath().empty());
    ASSERT_TRUE(first->Acquire(folder_.Path(), u"Kestrel"));
    EXPECT_TRUE(first->IsPrimary());
    EXPECT_EQ(first->SocketPath(), folder_.Path() / "Kestrel.sock");
    EXPECT_EQ(Mode(folder_.Path() / "Kestrel.lock"), 0600u);
    EXPECT_TRUE(first->Acquire(folder_.Path(), u"Kestrel")) << "already held";
    EXPECT_FALSE(first->Acquire(folder_.Path(), u"Other")) << "one lock per object";

    platform::SingleInstance second;
    EXPECT_FALSE(second.Acquire(folder_.Path(), u"Kestrel"));
    EXPECT_FALSE(second.IsPrimary());
    EXPECT_FALSE(StartListening(second)) << "only the primary listens";
    platform::SingleInstance other;
    EXPECT_TRUE(other.Acquire(folder_.Path(), u"Other")) << "another name is another lock";

    first.reset();
    EXPECT_TRUE(fs::exists(folder_.Path() / "Kestrel.lock")) << "the lock file stays";
    EXPECT_TRUE(second.Acquire(folder_.Path(), u"Kestrel"));
    EXPECT_TRUE(second.IsPrimary());
}

TEST_F(Instance, AcquireNeedsAFolderAndAName) {
    platform::SingleInstance instance;
    EXPECT_FALSE(instance.Acquire({}, u"Kestrel"));
    EXPECT_FALSE(instance.Acquire(folder_.Path(), u""));
    EXPECT_FALSE(instance.Acquire(folder_.Path() / "missing", u"Kestrel"));
    EXPECT_FALSE(instance.IsPrimary());
}

TEST_F(Instance, RequestsAreDeliveredRefusedOrFindNoInstance) {
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kNoInstance);
    {
        platform::SingleInstance instance;
        ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
        ASSERT_TRUE(StartListening(instance));
        EXPECT_FALSE(StartListening(instance)) << "already listening";

        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
                  SendResult::kDelivered);
        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "show-settings"),
                  SendResult::kDelivered);
        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "format-disk"),
                  SendResult::kFailed);
        // Requests that are never sent.
        for (const std::string& bad :
             {std::string(), std::string(65, 'a'), std::string("activate\nactivate")}) {
            EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", bad),
                      SendResult::kFailed);
        }
        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Other", "activate"),
                  SendResult::kNoInstance);

        instance.StopListening();
        instance.StopListening();
        EXPECT_FALSE(instance.IsListening());
        EXPECT_EQ(Handled(), (std::vector<std::string>{"activate", "show-settings"}));
        EXPECT_FALSE(fs::exists(instance.SocketPath())) << "the socket goes with the listener";
        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
                  SendResult::kNoInstance);

        // It can listen again, and its destructor stops it.
        ASSERT_TRUE(StartListening(instance));
        EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
                  SendResult::kDelivered);
    }
    EXPECT_FALSE(fs::exists(folder_.Path() / "Kestrel.sock"));
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kNoInstance);
}

TEST_F(Instance, ListenerAnswersLinesExactly) {
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
    ASSERT_TRUE(StartListening(instance));
    struct Case {
        std::string sent;
        std::string answer;
    };
    const Case cases[] = {
        {"activate\n", "ok\n"},
        {"activate\nshow-settings\n", "ok\n"},  // one request per connection
        {"Activate\n", "unknown\n"},
        {"activate \n", "unknown\n"},
        {"\n", "unknown\n"},
        {std::string(64, 'a') + "\n", "unknown\n"},
        {std::string(200, 'a') + "\n", "unknown\n"},  // too long: not read to its end
        {"activate", ""},                             // no line break: closed unanswered
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        RawClient client(instance.SocketPath());
        ASSERT_TRUE(client.Connected());
        client.Send(c.sent);
        client.EndSending();
        EXPECT_EQ(client.ReadToEnd(), c.answer);
    }
    instance.StopListening();
    EXPECT_EQ(Handled(), (std::vector<std::string>{"activate", "activate"}));
}

// A conversation keeps its connection for as long as its work takes while the one-line requests are
// still answered; several wait their turn; stopping closes those still waiting.
TEST_F(Instance, ConversationsTalkAtLengthAndRunOneAtATime) {
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
    std::mutex gate;
    std::unique_lock<std::mutex> holdFirst(gate);
    int running = 0;
    int mostAtOnce = 0;
    instance.SetConversation("talk", [&](platform::UniqueFd connection, int stopFd) {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            mostAtOnce = std::max(mostAtOnce, ++running);
        }
        platform::SocketReader reader(connection.Get(), stopFd);
        std::string line;
        const auto deadline = platform::SocketClock::now() + std::chrono::seconds(10);
        if (reader.ReadLine(64, deadline, line) == platform::LineStatus::kLine) {
            std::lock_guard<std::mutex> wait(gate);  // the test holds the first one here
            platform::WriteSocketBytes(connection.Get(), "echo " + line + "\n", deadline);
        }
        std::lock_guard<std::mutex> hold(mutex_);
        --running;
    });
    ASSERT_TRUE(StartListening(instance));

    // A client says its line once the instance has taken the conversation.
    struct Client {
        platform::UniqueFd socket;
        std::unique_ptr<platform::SocketReader> reader;
        std::string Line() {
            std::string line;
            reader->ReadLine(64, platform::SocketClock::now() + std::chrono::seconds(10), line);
            return line;
        }
    };
    auto open = [&](const std::string& text) {
        SendResult result = SendResult::kFailed;
        Client client;
        client.socket = platform::ConnectToInstance(folder_.Path(), u"Kestrel", "talk", result);
        EXPECT_EQ(result, SendResult::kDelivered);
        client.reader = std::make_unique<platform::SocketReader>(client.socket.Get());
        EXPECT_EQ(client.Line(), "ok");
        platform::WriteSocketBytes(client.socket.Get(), text + "\n",
                                   platform::SocketClock::now() + std::chrono::seconds(5));
        return client;
    };
    Client first = open("one");
    Client second = open("two");
    // The first is held in its handler: the listener still answers.
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kDelivered);
    holdFirst.unlock();
    EXPECT_EQ(first.Line(), "echo one");
    EXPECT_EQ(second.Line(), "echo two");

    // Stopped with a conversation still waiting (the first never says its line): both end.
    SendResult result = SendResult::kFailed;
    platform::UniqueFd silent =
        platform::ConnectToInstance(folder_.Path(), u"Kestrel", "talk", result);
    platform::UniqueFd waiting =
        platform::ConnectToInstance(folder_.Path(), u"Kestrel", "talk", result);
    instance.StopListening();
    std::lock_guard<std::mutex> hold(mutex_);
    EXPECT_EQ(mostAtOnce, 1);
    EXPECT_EQ(running, 0);
}

TEST_F(Instance, SilentClientDoesNotStallTheListener) {
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
    ASSERT_TRUE(StartListening(instance));
    RawClient silent(instance.SocketPath());
    ASSERT_TRUE(silent.Connected());
    // The listener gives up on the silent one after its short limit; the generous time-out here is
    // a bound on the wait, not a speed goal.
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate", 30000),
              SendResult::kDelivered);
    EXPECT_EQ(silent.ReadToEnd(), "") << "closed unanswered";

    // Stopping does not wait for a silent client either: nothing here may hang.
    RawClient another(instance.SocketPath());
    ASSERT_TRUE(another.Connected());
    instance.StopListening();
    EXPECT_EQ(another.ReadToEnd(), "");
}

TEST_F(Instance, ConnectionsFromAnotherUserAreClosedUnanswered) {
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
    // Running as another user is out of reach for a test; serving another user instead makes this
    // process the stranger.
    instance.SetServedUid(::getuid() + 1);
    ASSERT_TRUE(StartListening(instance));
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kFailed);
    instance.StopListening();
    EXPECT_TRUE(Handled().empty());
}

TEST_F(Instance, SocketIsPrivateWhateverTheUmask) {
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(folder_.Path(), u"Kestrel"));
    const mode_t old = ::umask(0);
    const bool listening = StartListening(instance);
    ::umask(old);
    ASSERT_TRUE(listening);
    struct stat info {};
    ASSERT_EQ(::lstat(instance.SocketPath().c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(Instance, ListenFailsWhenTheSocketPathIsTooLong) {
    // sun_path holds 108 bytes with the terminating zero.
    const fs::path deep = folder_.Path() / std::string(110, 'd');
    ASSERT_TRUE(fs::create_directory(deep));
    platform::SingleInstance instance;
    ASSERT_TRUE(instance.Acquire(deep, u"Kestrel")) << "the lock has no such limit";
    EXPECT_FALSE(StartListening(instance));
    EXPECT_FALSE(instance.IsListening());
    EXPECT_EQ(platform::SendToInstance(deep, u"Kestrel", "activate"), SendResult::kFailed);
}

TEST_F(Instance, KilledInstanceLeavesFilesThatDoNotBlockTheNext) {
    int ready[2];
    ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
    platform::UniqueFd readEnd(ready[0]);
    platform::UniqueFd writeEnd(ready[1]);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child becomes the running instance, says so, and waits to be killed.
        platform::SingleInstance instance;
        const char ok = instance.Acquire(folder_.Path(), u"Kestrel") &&
                                instance.Listen({"activate"}, [](const std::string&) {})
                            ? 'y'
                            : 'n';
        [[maybe_unused]] const ssize_t written = ::write(writeEnd.Get(), &ok, 1);
        for (;;) {
            ::pause();
        }
    }
    writeEnd.Close();
    char ok = 0;
    const bool told = ::read(readEnd.Get(), &ok, 1) == 1;
    // While the child runs, it is the instance.
    platform::SingleInstance early;
    const bool earlyAcquired = early.Acquire(folder_.Path(), u"Kestrel");
    const SendResult childAnswer = platform::SendToInstance(folder_.Path(), u"Kestrel", "activate");
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(told && ok == 'y') << "the child could not become the instance";
    EXPECT_FALSE(earlyAcquired);
    EXPECT_EQ(childAnswer, SendResult::kDelivered);

    // The dead instance's files are still there; its socket answers nobody.
    EXPECT_TRUE(fs::exists(folder_.Path() / "Kestrel.lock"));
    EXPECT_TRUE(fs::is_socket(folder_.Path() / "Kestrel.sock"));
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kNoInstance);

    platform::SingleInstance next;
    ASSERT_TRUE(next.Acquire(folder_.Path(), u"Kestrel"));
    ASSERT_TRUE(StartListening(next));
    EXPECT_EQ(platform::SendToInstance(folder_.Path(), u"Kestrel", "activate"),
              SendResult::kDelivered);
}

TEST(RuntimeFolder, PrivateFolderUnderTheBaseIsMadeOrRefused) {
    TempDir base;
    const uid_t me = ::getuid();
    const fs::path mine = base.Path() / ("kestrel-" + std::to_string(me));

    // Missing: made, private.
    EXPECT_EQ(platform::RuntimeFolder(base.Path(), me), mine);
    EXPECT_EQ(Mode(mine), 0700u);
    EXPECT_EQ(platform::RuntimeFolder(base.Path(), me), mine) << "found again";

    struct Case {
        const char* what;
        mode_t mode;
    };
    for (const Case& c : {Case{"readable by others", 0755}, Case{"group-writable", 0770},
                          Case{"searchable by the group", 0710}}) {
        SCOPED_TRACE(c.what);
        ::chmod(mine.c_str(), c.mode);
        EXPECT_TRUE(platform::RuntimeFolder(base.Path(), me).empty());
    }
    ::chmod(mine.c_str(), 0700);

    // Owned by someone else: this user's folder is the wrong owner for any other uid.
    const fs::path theirs = base.Path() / ("kestrel-" + std::to_string(me + 1));
    ASSERT_TRUE(fs::create_directory(theirs));
    ::chmod(theirs.c_str(), 0700);
    EXPECT_TRUE(platform::RuntimeFolder(base.Path(), me + 1).empty());

    // Not a folder: a file, or a link to a good folder planted under the name.
    TempDir other;
    for (const char* kind : {"file", "link"}) {
        SCOPED_TRACE(kind);
        fs::remove_all(mine);
        if (std::string(kind) == "file") {
            base.Write(mine.filename().string(), "");
        } else {
            fs::create_directory_symlink(other.Path(), mine);
        }
        EXPECT_TRUE(platform::RuntimeFolder(base.Path(), me).empty());
    }
}

TEST(RuntimeFolder, XdgRuntimeDirWinsWhenAbsoluteAndAFolder) {
    TempDir runtime;
    ScopedEnv env;
    env.Set("XDG_RUNTIME_DIR", runtime.Path().string());
    EXPECT_EQ(platform::RuntimeFolder(), runtime.Path());

    const fs::path fallback = platform::RuntimeFolder("/tmp", ::getuid());
    for (const std::string& value :
         {std::string(), std::string("relative/run"), (runtime.Path() / "missing").string()}) {
        SCOPED_TRACE(value);
        env.Set("XDG_RUNTIME_DIR", value);
        EXPECT_EQ(platform::RuntimeFolder(), fallback);
    }
    env.Unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::RuntimeFolder(), fallback);
}

}  // namespace
