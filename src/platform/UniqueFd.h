#pragma once

namespace platform {

// Owns one file descriptor and closes it when it goes out of scope. Move-only.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd();

    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;

    bool IsValid() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // Gives up ownership without closing.
    int Release();
    // Closes now and reports whether the close succeeded: on some file systems a failed write
    // only shows up here, so writers must check it.
    bool Close();

private:
    int fd_ = -1;
};

}  // namespace platform
