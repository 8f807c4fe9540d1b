#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/UniqueFd.h"

// One running instance per user, and short requests to it from instances started later: stands in
// for a named mutex plus finding the running instance's window. The instance is whoever holds an
// flock on <folder>/<name>.lock; it answers on the Unix socket <folder>/<name>.sock. In both file
// names '/' and control characters of the name are replaced by '_' (AppFileName.h).

namespace platform {

// The per-user folder for the lock and the socket: $XDG_RUNTIME_DIR when it is set, absolute and a
// folder; else RuntimeFolder("/tmp", getuid()).
std::filesystem::path RuntimeFolder();
// <base>/kestrel-<uid>, created with mode 0700 when missing. Empty (refused) when something else
// is there: not a folder (a symbolic link counts as not a folder), not owned by `uid`, or open to
// the group or others. Anyone may create a name in /tmp, so a folder planted there by another user
// must never be used.
std::filesystem::path RuntimeFolder(const std::filesystem::path& base, uid_t uid);

// What a request sent to the running instance came to.
enum class SendResult {
    kDelivered,   // the instance answered "ok"
    kNoInstance,  // there is no socket, or nobody accepts on it
    kFailed,      // an unknown request, no answer in time, an I/O error
};

// Acquire, Listen, StopListening and the destructor belong to one controlling thread.
// Not copyable or movable: the listener thread refers to the object.
class SingleInstance {
public:
    SingleInstance();
    // Stops listening, removes the socket file and releases the lock. The lock file stays: removing
    // it could let a second instance lock a fresh file while a third still waits on the old one.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Tries to become the running instance for `name`: takes an exclusive, non-blocking flock on
    // <folder>/<name>.lock (created 0600, close-on-exec). True when this object holds it now
    // (also when it already did for the same folder and name; false for any other while it holds
    // one). The kernel drops the lock when the process dies, so a lock file left by a killed
    // instance never blocks a new start. The folder must exist (RuntimeFolder makes it).
    bool Acquire(const std::filesystem::path& folder, std::u16string_view name);
    bool IsPrimary() const { return lock_.IsValid(); }

    // The user whose connections are answered: getuid() unless changed before Listen. Connections
    // from anyone else are closed unanswered. Tests change it to see their own requests refused.
    void SetServedUid(uid_t uid) { servedUid_ = uid; }

    // Primary only: listens on <folder>/<name>.sock, replacing a stale socket file from a dead
    // instance (while we hold the lock, no live instance can own it). The socket file is made
    // 0600 before anyone can connect. A listener thread waits without periodic wake-ups and takes
    // one connection at a time: the peer must be the served user; one line (a request word of at
    // most 64 bytes) is read, with a 1-second limit so a silent client cannot stall the listener;
    // a request in `known` is answered "ok\n" and then `handler(request)` runs on the listener
    // thread; anything else is answered "unknown\n". The handler must not throw and must not call
    // StopListening. False, with nothing listening, when not primary, already listening, or the
    // socket cannot be made (the path is too long for sun_path, etc.).
    bool Listen(std::vector<std::string> known, std::function<void(const std::string&)> handler);
    // Call before Listen. A connection whose request line is `request` is answered "ok\n" and then
    // handed, still open, to `handler` on a conversation thread, which may go on talking on it for
    // as long as its work takes while the listener keeps answering the one-line requests. The
    // client must wait for the "ok" before it says more: what it sends earlier may be lost.
    // Conversations run one at a time in the order they came; while kMaxWaitingConversations wait,
    // a further one is answered "busy\n" and closed. `stopFd` becomes readable once StopListening
    // is called, so that the handler's own waits can end early; StopListening waits for a handler
    // that is running and closes the conversations still waiting.
    void SetConversation(std::string request,
                         std::function<void(UniqueFd connection, int stopFd)> handler);
    static constexpr std::size_t kMaxWaitingConversations = 8;
    // Stops the listener thread (joins it, after a handler that is running has returned), closes
    // the socket and removes its file, so later requests find no instance. Idempotent.
    void StopListening();
    bool IsListening() const { return thread_.joinable(); }
    // Where this instance listens, or would: set by a successful Acquire, empty before.
    std::filesystem::path SocketPath() const { return socketPath_; }

private:
    void Run();
    void Serve(int connection);
    void RunConversations();

    // Only the controlling thread touches these.
    UniqueFd lock_;
    std::filesystem::path lockPath_;
    std::filesystem::path socketPath_;

    // Set by Listen before the thread starts and released by StopListening after it ended; in
    // between only the listener thread uses them (wake_ is written by StopListening, which the
    // eventfd allows).
    UniqueFd listener_;
    UniqueFd wake_;
    std::vector<std::string> known_;
    std::function<void(const std::string&)> handler_;
    uid_t servedUid_;
    std::thread thread_;

    // Set before Listen; read by the listener and the conversation thread while they run.
    std::string conversationRequest_;
    std::function<void(UniqueFd, int)> conversationHandler_;
    std::thread conversationThread_;
    std::mutex conversationMutex_;
    std::condition_variable conversationChanged_;  // a connection queued, or the stop
    std::deque<UniqueFd> waitingConversations_;    // guarded by conversationMutex_
    bool stoppingConversations_ = false;           // guarded by conversationMutex_
};

// Client side: connects to <folder>/<name>.sock, writes `request` + "\n" and waits up to
// `timeoutMs` in all for the answer line. kDelivered when it was "ok"; kNoInstance when there is no
// socket or nobody accepts (ENOENT, ECONNREFUSED); kFailed otherwise, also for a request that is
// empty, longer than 64 bytes or holds a line break, which is never sent.
SendResult SendToInstance(const std::filesystem::path& folder, std::u16string_view name,
                          std::string_view request, int timeoutMs = 2000);

// Client side of a conversation (SingleInstance::SetConversation): connects and sends `request`
// within `timeoutMs`. Returns the connected socket (non-blocking) with `result` kDelivered; the
// instance's answer line ("ok", "busy" or "unknown") and the conversation are the caller's to
// read. An invalid descriptor with kNoInstance or kFailed as SendToInstance.
UniqueFd ConnectToInstance(const std::filesystem::path& folder, std::u16string_view name,
                           std::string_view request, SendResult& result, int timeoutMs = 2000);

}  // namespace platform
