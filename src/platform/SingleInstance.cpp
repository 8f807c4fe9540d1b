#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/AppFileName.h"
#include "platform/SocketLine.h"
#include "platform/WakeEvent.h"

namespace platform {

namespace {

// A request is one word; anything longer is not one of ours.
constexpr std::size_t kMaxRequestLength = 64;
// How long the listener waits for a connected client's request line.
constexpr std::chrono::milliseconds kRequestTimeLimit{1000};
// The longest answer the client reads: "unknown".
constexpr std::size_t kMaxAnswerLength = 16;

std::filesystem::path InstanceFile(const std::filesystem::path& folder, std::u16string_view name,
                                   const char* extension) {
    const std::string fileName = AppFileName(name);
    if (folder.empty() || fileName.empty()) {
        return {};
    }
    return folder / (fileName + extension);
}

UniqueFd OpenStreamSocket() {
    return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
}

// Makes the listening socket at `path`, mode 0600, or an invalid fd.
UniqueFd MakeListeningSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    socklen_t length = 0;
    if (!MakeSocketAddress(path, address, length)) {
        return {};
    }
    UniqueFd socket = OpenStreamSocket();
    if (!socket.IsValid()) {
        return {};
    }
    // Only the lock holder makes this file, and the lock is ours: whatever is there was left by a
    // dead instance.
    ::unlink(path.c_str());
    if (::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        return {};
    }
    // bind honours the umask only; nobody can connect before listen, so tightening the mode in
    // between leaves no window.
    if (::chmod(path.c_str(), 0600) != 0 || ::listen(socket.Get(), 8) != 0) {
        ::unlink(path.c_str());
        return {};
    }
    return socket;
}

// Waits for the stop signal alone; used to back off after an accept error that would otherwise
// make poll report the listening socket ready again at once.
bool WaitForStop(int wakeFd, int timeoutMs) {
    pollfd wake = {wakeFd, POLLIN, 0};
    return ::poll(&wake, 1, timeoutMs) > 0;
}

}  // namespace

SingleInstance::SingleInstance() : servedUid_(::getuid()) {
}

SingleInstance::~SingleInstance() {
    StopListening();
    // Closing the descriptor releases the flock.
    lock_.Close();
}

bool SingleInstance::Acquire(const std::filesystem::path& folder, std::u16string_view name) {
    const std::filesystem::path lockPath = InstanceFile(folder, name, ".lock");
    if (lockPath.empty()) {
        return false;
    }
    if (lock_.IsValid()) {
        return lockPath == lockPath_;
    }
    UniqueFd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!lock.IsValid()) {
        return false;
    }
    // flock belongs to the open file description, so another object of this same process that
    // opened the file itself is refused as well.
    while (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    lock_ = std::move(lock);
    lockPath_ = lockPath;
    socketPath_ = InstanceFile(folder, name, ".sock");
    return true;
}

bool SingleInstance::Listen(std::vector<std::string> known,
                            std::function<void(const std::string&)> handler) {
    if (!IsPrimary() || IsListening()) {
        return false;
    }
    UniqueFd wake = MakeWakeEvent();
    if (!wake.IsValid()) {
        return false;
    }
    UniqueFd listener = MakeListeningSocket(socketPath_);
    if (!listener.IsValid()) {
        return false;
    }
    listener_ = std::move(listener);
    wake_ = std::move(wake);
    known_ = std::move(known);
    handler_ = std::move(handler);
    stoppingConversations_ = false;
    if (conversationHandler_) {
        conversationThread_ = std::thread([this] { RunConversations(); });
    }
    thread_ = std::thread([this] { Run(); });
    return true;
}

void SingleInstance::StopListening() {
    if (!thread_.joinable()) {
        return;
    }
    SignalWakeEvent(wake_);
    thread_.join();
    if (conversationThread_.joinable()) {
        {
            std::lock_guard lock(conversationMutex_);
            stoppingConversations_ = true;
        }
        conversationChanged_.notify_all();
        conversationThread_.join();
        waitingConversations_.clear();
    }
    ::unlink(socketPath_.c_str());
    listener_.Close();
    wake_.Close();
    known_.clear();
    handler_ = nullptr;
}

void SingleInstance::Run() {
    pollfd fds[2] = {{listener_.Get(), POLLIN, 0}, {wake_.Get(), POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            // No connection can come any more; StopListening still works.
            return;
        }
        UniqueFd connection(
            ::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (connection.IsValid()) {
            Serve(connection.Release());
            continue;
        }
        // EAGAIN or ECONNABORTED: the client gave up between poll and accept. Anything else (out of
        // descriptors, say) would repeat at once, so wait a little, still listening for the stop.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED && errno != EINTR &&
            WaitForStop(wake_.Get(), 100)) {
            return;
        }
    }
}

void SingleInstance::Serve(int fd) {
    UniqueFd connection(fd);
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(connection.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
        size != sizeof peer || peer.uid != servedUid_) {
        return;
    }
    const auto deadline = SocketClock::now() + kRequestTimeLimit;
    std::string request;
    const LineStatus status =
        ReadSocketLine(connection.Get(), kMaxRequestLength, deadline, wake_.Get(), request);
    if (status != LineStatus::kLine && status != LineStatus::kTooLong) {
        // Time-out, hang-up or stop: nobody is waiting for an answer worth giving.
        return;
    }
    if (status == LineStatus::kLine && conversationHandler_ && request == conversationRequest_) {
        std::unique_lock lock(conversationMutex_);
        if (waitingConversations_.size() >= kMaxWaitingConversations) {
            lock.unlock();
            WriteSocketBytes(connection.Get(), "busy\n", deadline);
            return;
        }
        // Answered under the lock, so that the conversation thread cannot start talking first.
        if (WriteSocketBytes(connection.Get(), "ok\n", deadline)) {
            waitingConversations_.push_back(std::move(connection));
            lock.unlock();
            conversationChanged_.notify_all();
        }
        return;
    }
    const bool isKnown = status == LineStatus::kLine &&
                         std::find(known_.begin(), known_.end(), request) != known_.end();
    WriteSocketBytes(connection.Get(), isKnown ? "ok\n" : "unknown\n", deadline);
    // The client has its answer before the handler starts, however long that takes.
    connection.Close();
    if (isKnown) {
        handler_(request);
    }
}

void SingleInstance::SetConversation(std::string request,
                                     std::function<void(UniqueFd connection, int stopFd)> handler) {
    conversationRequest_ = std::move(request);
    conversationHandler_ = std::move(handler);
}

void SingleInstance::RunConversations() {
    for (;;) {
        UniqueFd connection;
        {
            std::unique_lock lock(conversationMutex_);
            conversationChanged_.wait(
                lock, [this] { return stoppingConversations_ || !waitingConversations_.empty(); });
            if (stoppingConversations_) {
                return;
            }
            connection = std::move(waitingConversations_.front());
            waitingConversations_.pop_front();
        }
        conversationHandler_(std::move(connection), wake_.Get());
    }
}

namespace {

// Connects to the instance's socket and sends `request`; the answer line is left to the caller.
UniqueFd SendRequestLine(const std::filesystem::path& folder, std::u16string_view name,
                         std::string_view request, SocketClock::time_point deadline,
                         SendResult& result) {
    result = SendResult::kFailed;
    const std::filesystem::path path = InstanceFile(folder, name, ".sock");
    sockaddr_un address{};
    socklen_t length = 0;
    if (request.empty() || request.size() > kMaxRequestLength ||
        request.find_first_of("\r\n") != std::string_view::npos ||
        !MakeSocketAddress(path, address, length)) {
        return {};
    }
    UniqueFd socket = OpenStreamSocket();
    if (!socket.IsValid()) {
        return {};
    }
    // A Unix socket connects at once or not at all; a full backlog (EAGAIN) means an instance that
    // is there but too busy, which is a failure rather than an absence.
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        if (errno == ENOENT || errno == ECONNREFUSED) {
            result = SendResult::kNoInstance;
        }
        return {};
    }
    std::string line(request);
    line += '\n';
    if (!WriteSocketBytes(socket.Get(), line, deadline)) {
        return {};
    }
    result = SendResult::kDelivered;
    return socket;
}

}  // namespace

UniqueFd ConnectToInstance(const std::filesystem::path& folder, std::u16string_view name,
                           std::string_view request, SendResult& result, int timeoutMs) {
    const auto deadline = SocketClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    return SendRequestLine(folder, name, request, deadline, result);
}

SendResult SendToInstance(const std::filesystem::path& folder, std::u16string_view name,
                          std::string_view request, int timeoutMs) {
    const auto deadline = SocketClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    SendResult result = SendResult::kFailed;
    UniqueFd socket = SendRequestLine(folder, name, request, deadline, result);
    if (!socket.IsValid()) {
        return result;
    }
    std::string answer;
    if (ReadSocketLine(socket.Get(), kMaxAnswerLength, deadline, -1, answer) != LineStatus::kLine) {
        return SendResult::kFailed;
    }
    return answer == "ok" ? SendResult::kDelivered : SendResult::kFailed;
}

}  // namespace platform
