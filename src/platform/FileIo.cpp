#include "platform/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/UniqueFd.h"

namespace platform {

namespace {

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// Writes, flushes to the disk and closes; the first failure wins.
int WriteSyncClose(UniqueFd& fd, std::string_view bytes) {
    int error = WriteAll(fd.Get(), bytes);
    if (error == 0 && ::fsync(fd.Get()) != 0) {
        error = errno;
    }
    if (!fd.Close() && error == 0) {
        error = errno;
    }
    return error;
}

// Removes a temporary file on every early return unless the caller keeps it.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Makes a finished rename durable; a failure here cannot be undone and is not reported.
void SyncFolder(const std::filesystem::path& folder) {
    UniqueFd fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsValid()) {
        ::fsync(fd.Get());
    }
}

}  // namespace

int ReadFileBytes(const std::filesystem::path& path, std::size_t limit, std::string& out) {
    out.clear();
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsValid()) {
        return errno;
    }
    char buffer[4096];
    while (out.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - out.size());
        const ssize_t got = ::read(fd.Get(), buffer, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            out.clear();
            return error;
        }
        if (got == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(got));
    }
    return 0;
}

int WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    if (target.empty() || !target.has_filename()) {
        return EINVAL;
    }
    std::string pattern = target.string() + ".XXXXXX";
    UniqueFd fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!fd.IsValid()) {
        return errno;
    }
    TemporaryFile temporary(pattern);

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd.Get(), old.st_mode & 07777);
    }
    if (const int error = WriteSyncClose(fd, bytes); error != 0) {
        return error;
    }
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
        return errno;
    }
    temporary.Keep();
    SyncFolder(target.parent_path());
    return 0;
}

int CreateFileExclusive(const std::filesystem::path& path, std::string_view bytes) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd.IsValid()) {
        return errno;
    }
    if (const int error = WriteSyncClose(fd, bytes); error != 0) {
        // Leave no half-made file behind for the next reader to take as the real one.
        ::unlink(path.c_str());
        return error;
    }
    SyncFolder(path.parent_path());
    return 0;
}

}  // namespace platform
