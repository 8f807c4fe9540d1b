#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/UniqueFd.h"

// A small HTTP/1.1 server on 127.0.0.1 for the fetch tests. It serves one connection at a time
// from a table of paths, each answer closing its connection, and stops when it goes out of scope
// (a stalled answer included), so no test can leave it running.
class LocalHttpServer {
public:
    enum class Kind {
        Body,        // status, optional Content-Length, body
        Stall,       // Content-Length of body + 1, the body, then nothing until the client leaves
        CloseEarly,  // Content-Length of body + 1000, the body, then the connection closes
        Redirect,    // 302 to `location`
        Zeros,       // `size` zero bytes made on the fly, with or without Content-Length
        Shared,      // 200, Content-Length, `shared`: a large body held once, never copied
    };
    struct Answer {
        Kind kind = Kind::Body;
        int status = 200;
        std::string body;
        bool withLength = true;
        std::string location;
        std::uint64_t size = 0;
        std::shared_ptr<const std::string> shared;
    };
    static Answer Body(std::string body, int status = 200, bool withLength = true) {
        Answer answer;
        answer.status = status;
        answer.body = std::move(body);
        answer.withLength = withLength;
        return answer;
    }
    static Answer Stall(std::string body) { return Of(Kind::Stall, std::move(body)); }
    static Answer CloseEarly(std::string body) { return Of(Kind::CloseEarly, std::move(body)); }
    static Answer Redirect(std::string location) {
        Answer answer = Of(Kind::Redirect, {});
        answer.location = std::move(location);
        return answer;
    }
    static Answer Zeros(std::uint64_t size, bool withLength) {
        Answer answer = Of(Kind::Zeros, {});
        answer.size = size;
        answer.withLength = withLength;
        return answer;
    }

    // For bodies of many megabytes: each request would otherwise copy the body twice before
    // sending it, which a benchmark of the download would count.
    static Answer Shared(std::shared_ptr<const std::string> body) {
        Answer answer = Of(Kind::Shared, {});
        answer.shared = std::move(body);
        return answer;
    }

    LocalHttpServer() {
        listener_ = platform::UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (!listener_.IsValid() ||
            ::bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_.Get(), 8) != 0 ||
            ::getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        stop_ = platform::UniqueFd(::eventfd(0, EFD_CLOEXEC));
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() {
        if (thread_.joinable()) {
            std::uint64_t one = 1;
            (void)!::write(stop_.Get(), &one, sizeof one);
            thread_.join();
        }
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void Add(const std::string& path, Answer answer) {
        std::lock_guard lock(mutex_);
        answers_[path] = std::move(answer);
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int Port() const { return port_; }
    // The request heads received so far, in order.
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    static Answer Of(Kind kind, std::string body) {
        Answer answer;
        answer.kind = kind;
        answer.body = std::move(body);
        return answer;
    }

    void Serve() {
        while (true) {
            pollfd fds[2] = {{stop_.Get(), POLLIN, 0}, {listener_.Get(), POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0 || (fds[0].revents & POLLIN)) {
                return;
            }
            platform::UniqueFd client(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (client.IsValid()) {
                Respond(client.Get());
            }
        }
    }

    // Answers one request. Returns early when the server is told to stop; the loop in Serve then
    // sees the stop too.
    void Respond(int client) {
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (!WaitReadable(client)) {
                return;
            }
            ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) {
                return;
            }
            head.append(buffer, static_cast<std::size_t>(got));
        }
        std::string path = head.substr(head.find(' ') + 1);
        path.resize(path.find(' '));
        Answer answer;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(head);
            auto found = answers_.find(path);
            if (found == answers_.end()) {
                answer.status = 404;
                answer.body = "not here";
            } else {
                answer = found->second;
            }
        }
        switch (answer.kind) {
            case Kind::Body:
                Send(client,
                     Head(answer.status, answer.withLength, answer.body.size()) + answer.body);
                return;
            case Kind::Stall:
                if (!Send(client, Head(200, true, answer.body.size() + 1) + answer.body)) {
                    return;
                }
                // Holds the connection open until the client gives up or the server stops.
                while (WaitReadable(client)) {
                    if (::recv(client, buffer, sizeof buffer, 0) <= 0) {
                        return;
                    }
                }
                return;
            case Kind::CloseEarly:
                Send(client, Head(200, true, answer.body.size() + 1000) + answer.body);
                return;
            case Kind::Redirect:
                Send(client, "HTTP/1.1 302 Found\r\nLocation: " + answer.location +
                                 "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                return;
            case Kind::Zeros: {
                if (!Send(client, Head(200, answer.withLength, answer.size))) {
                    return;
                }
                std::string zeros(64 * 1024, '\0');
                for (std::uint64_t left = answer.size; left > 0;) {
                    std::size_t piece = left < zeros.size() ? left : zeros.size();
                    if (!Send(client, std::string_view(zeros).substr(0, piece))) {
                        return;  // The client gave up, as it should past its limit.
                    }
                    left -= piece;
                }
                return;
            }
            case Kind::Shared: {
                const std::string& body = answer.shared ? *answer.shared : answer.body;
                if (Send(client, Head(200, true, body.size()))) {
                    Send(client, body);
                }
                return;
            }
        }
    }

    static std::string Head(int status, bool withLength, std::uint64_t length) {
        std::string head = "HTTP/1.1 " + std::to_string(status) +
                           (status < 400 ? " OK" : " Error") +
                           "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n";
        if (withLength) {
            head += "Content-Length: " + std::to_string(length) + "\r\n";
        }
        return head + "\r\n";
    }

    // False when the server is told to stop before `client` has something to read.
    bool WaitReadable(int client) {
        pollfd fds[2] = {{stop_.Get(), POLLIN, 0}, {client, POLLIN, 0}};
        return ::poll(fds, 2, -1) > 0 && !(fds[0].revents & POLLIN);
    }

    // Sends everything unless the client leaves or the server is told to stop; a client that
    // stops reading therefore never holds the server past its end.
    bool Send(int client, std::string_view bytes) {
        while (!bytes.empty()) {
            pollfd fds[2] = {{stop_.Get(), POLLIN, 0}, {client, POLLOUT, 0}};
            if (::poll(fds, 2, -1) <= 0 || (fds[0].revents & POLLIN)) {
                return false;
            }
            ssize_t sent = ::send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
                continue;
            }
            if (sent <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    platform::UniqueFd listener_;
    platform::UniqueFd stop_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;  // guarded by mutex_
    std::vector<std::string> requests_;      // guarded by mutex_
    std::thread thread_;
};
