#include "cli/CliHandOff.h"

#include <chrono>
#include <mutex>
#include <ostream>
#include <streambuf>

#include "platform/SingleInstance.h"
#include "platform/SocketLine.h"
#include "platform/SocketReader.h"

namespace {

using platform::LineStatus;
using platform::SocketClock;

constexpr std::size_t kMaxArguments = 1024;
constexpr std::size_t kMaxArgumentBytes = 64 * 1024;
constexpr std::size_t kMaxFrameBytes = 1 << 20;
constexpr std::size_t kMaxHeaderLength = 32;
// A client has this long to send its whole command line.
constexpr std::chrono::seconds kCommandLineTime{5};
// How long either side waits for the other to take what it writes.
constexpr std::chrono::seconds kWriteTime{10};
// How long the client waits for the program's next words: longer than the longest command (a
// firmware transfer through a slow receiver).
constexpr std::chrono::minutes kAnswerTime{15};

bool ParseCount(std::string_view text, std::size_t limit, std::size_t& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value <= limit;
}

// An output stream's buffer that sends what is written as "<tag> N" frames: when flushed, and
// whenever a few kilobytes have gathered. A client that went away makes the rest go nowhere.
// Without a put area every write comes through the overrides, which take `mutex_`: another thread
// may write to the buffer itself (not through the stream) meanwhile, one whole piece at a time.
class FrameBuffer : public std::streambuf {
public:
    // `socketMutex` is shared by the buffers of one socket, so that their frames stay whole.
    FrameBuffer(int fd, std::mutex& socketMutex, std::string tag)
        : fd_(fd), socketMutex_(socketMutex), tag_(std::move(tag)) {}

protected:
    int_type overflow(int_type c) override {
        std::lock_guard lock(mutex_);
        if (c != traits_type::eof()) {
            pending_ += static_cast<char>(c);
            SendIfLarge();
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* data, std::streamsize count) override {
        std::lock_guard lock(mutex_);
        pending_.append(data, static_cast<std::size_t>(count));
        SendIfLarge();
        return count;
    }
    int sync() override {
        std::lock_guard lock(mutex_);
        Send();
        return 0;
    }

private:
    void SendIfLarge() {
        if (pending_.size() >= 4096) {
            Send();
        }
    }
    void Send() {
        if (pending_.empty()) {
            return;
        }
        if (!broken_) {
            const std::string frame =
                tag_ + " " + std::to_string(pending_.size()) + "\n" + pending_;
            broken_ = !platform::WriteSocketBytes(fd_, frame, SocketClock::now() + kWriteTime);
        }
        pending_.clear();
    }

    int fd_;
    std::mutex& socketMutex_;
    std::string tag_;
    std::mutex mutex_;
    std::string pending_;  // guarded by mutex_
    bool broken_ = false;  // guarded by mutex_
};

}  // namespace

HandOffResult HandOffToInstance(const std::filesystem::path& folder, std::u16string_view name,
                                const std::vector<std::string>& arguments, std::ostream& out,
                                std::ostream& err, int& status) {
    platform::SendResult sent = platform::SendResult::kFailed;
    platform::UniqueFd socket = platform::ConnectToInstance(folder, name, kHandOffRequest, sent);
    if (sent == platform::SendResult::kNoInstance) {
        return HandOffResult::kNoInstance;
    }
    auto fail = [&err](const char* why) {
        err << "kestrelctl: kestrel is running but " << why
            << "; end it (kestrel --quit) or try again\n";
        return HandOffResult::kFailed;
    };
    if (!socket.IsValid()) {
        return fail("did not take the command line");
    }
    platform::SocketReader reader(socket.Get());
    std::string line;
    if (reader.ReadLine(kMaxHeaderLength, SocketClock::now() + kWriteTime, line) !=
            LineStatus::kLine ||
        line != "ok") {
        return fail(line == "busy" ? "is busy with other command lines"
                                   : "did not take the command line");
    }
    std::string request = std::to_string(arguments.size()) + "\n";
    for (const std::string& argument : arguments) {
        request += std::to_string(argument.size()) + "\n" + argument;
    }
    if (!platform::WriteSocketBytes(socket.Get(), request, SocketClock::now() + kWriteTime)) {
        return fail("did not read the command line");
    }
    for (;;) {
        if (reader.ReadLine(kMaxHeaderLength, SocketClock::now() + kAnswerTime, line) !=
            LineStatus::kLine) {
            return fail("ended the conversation before the command line's end");
        }
        const std::size_t space = line.find(' ');
        const std::string_view tag = std::string_view(line).substr(0, space);
        const std::string_view value = space == std::string::npos
                                           ? std::string_view()
                                           : std::string_view(line).substr(space + 1);
        std::size_t number = 0;
        if (tag == "exit" && ParseCount(value, 255, number)) {
            status = static_cast<int>(number);
            out.flush();
            err.flush();
            return HandOffResult::kDone;
        }
        std::string bytes;
        if ((tag != "out" && tag != "err") || !ParseCount(value, kMaxFrameBytes, number) ||
            reader.ReadBytes(number, SocketClock::now() + kAnswerTime, bytes) !=
                LineStatus::kLine) {
            return fail("answered what kestrelctl cannot read");
        }
        std::ostream& target = tag == "out" ? out : err;
        target << bytes;
        target.flush();
    }
}

void ServeHandOff(platform::UniqueFd connection, int stopFd, const HandOffRunner& run) {
    platform::SocketReader reader(connection.Get(), stopFd);
    const auto deadline = SocketClock::now() + kCommandLineTime;
    std::string line;
    std::size_t count = 0;
    if (reader.ReadLine(kMaxHeaderLength, deadline, line) != LineStatus::kLine ||
        !ParseCount(line, kMaxArguments, count)) {
        return;
    }
    std::vector<std::string> arguments(count);
    for (std::string& argument : arguments) {
        std::size_t size = 0;
        if (reader.ReadLine(kMaxHeaderLength, deadline, line) != LineStatus::kLine ||
            !ParseCount(line, kMaxArgumentBytes, size) ||
            reader.ReadBytes(size, deadline, argument) != LineStatus::kLine) {
            return;
        }
    }
    std::mutex socketMutex;
    FrameBuffer outBuffer(connection.Get(), socketMutex, "out");
    FrameBuffer errBuffer(connection.Get(), socketMutex, "err");
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const int status = run(arguments, out, err);
    out.flush();
    err.flush();
    platform::WriteSocketBytes(connection.Get(), "exit " + std::to_string(status & 0xFF) + "\n",
                               SocketClock::now() + kWriteTime);
}
