#include "xml/XmlFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/UniqueFd.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

std::string SystemMessage(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// XmlDocument takes paths as UTF-16 text and opens them as UTF-8. A name made of other bytes would
// come back as a different name, so it is refused rather than quietly opening the wrong file.
bool ProgramPath(const std::filesystem::path& file, std::u16string& path) {
    path = FromUtf8(file.native());
    return ToUtf8(path) == file.native();
}

// The system's message XmlDocument logged for its last failed open, read or write; empty when the
// failure was not a file error.
std::string LoggedFileError(const XmlDocument& document) {
    XmlDocument log;
    const std::u16string text = u"<log>" + document.ResultLog() + u"</log>";
    if (!log.SetText(text.c_str()) || !log.FindElement(u"log") || !log.EnterElement() ||
        !log.FindElement(u"file_error")) {
        return {};
    }
    return ToUtf8(log.GetAttribute(u"msg"));
}

// Removes a temporary file on every early return unless the caller keeps it.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void Set(std::string path) { path_ = std::move(path); }
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Creates a new, empty file beside `target`. Mode 0666 lets the umask decide the permissions, as
// for any file the user saves; the name is new (O_EXCL), so nothing of anyone else's is touched.
int CreateTemporaryBeside(const std::filesystem::path& target, TemporaryFile& temporary,
                          platform::UniqueFd& fd) {
    static std::atomic<unsigned> counter{0};
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name = target.native() + ".part-" + std::to_string(::getpid()) + "-" +
                           std::to_string(counter.fetch_add(1));
        fd = platform::UniqueFd(
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd.IsValid()) {
            temporary.Set(std::move(name));
            return 0;
        }
        error = errno;
    }
    return error;
}

// Makes a finished rename durable; a failure here cannot be undone and is not reported.
void SyncFolder(const std::filesystem::path& folder) {
    platform::UniqueFd fd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsValid()) {
        ::fsync(fd.Get());
    }
}

bool Fail(std::string& error, std::string reason) {
    error = std::move(reason);
    return false;
}

}  // namespace

bool LoadXmlFile(XmlDocument& document, const std::filesystem::path& file, std::uintmax_t sizeLimit,
                 std::string& error) {
    std::u16string path;
    if (!ProgramPath(file, path)) {
        return Fail(error, "cannot read: the file name is not UTF-8 text");
    }
    // XmlDocument would read a pipe or a device until it ends, which may be never.
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return Fail(error, "cannot read: " + SystemMessage(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Fail(error, "cannot read: " + SystemMessage(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return Fail(error, "cannot read: not a regular file");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > sizeLimit) {
        return Fail(error,
                    "cannot read: the file is larger than " + std::to_string(sizeLimit) + " bytes");
    }
    if (!document.LoadFile(path)) {
        const std::string message = LoggedFileError(document);
        return Fail(error,
                    message.empty() ? "not a well-formed XML file" : "cannot read: " + message);
    }
    return true;
}

bool SaveXmlFile(XmlDocument& document, const std::filesystem::path& file, std::string& error) {
    // The new file replaces the link's target, not the link.
    std::filesystem::path target = file;
    struct stat info {};
    if (::lstat(file.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        std::error_code ignored;
        std::filesystem::path resolved = std::filesystem::canonical(file, ignored);
        if (!resolved.empty()) {
            target = std::move(resolved);
        }
    }
    if (!target.has_filename()) {
        return Fail(error, "cannot write: " + SystemMessage(EISDIR));
    }
    std::u16string unused;
    if (!ProgramPath(target, unused)) {
        return Fail(error, "cannot write: the file name is not UTF-8 text");
    }
    // Renaming over a pipe or a device would put a file where the user had something else.
    const bool replacing = ::stat(target.c_str(), &info) == 0;
    if (replacing && S_ISDIR(info.st_mode)) {
        return Fail(error, "cannot write: " + SystemMessage(EISDIR));
    }
    if (replacing && !S_ISREG(info.st_mode)) {
        return Fail(error, "cannot write: not a regular file");
    }

    TemporaryFile temporary;
    platform::UniqueFd fd;
    if (const int created = CreateTemporaryBeside(target, temporary, fd); created != 0) {
        return Fail(error, "cannot write: " + SystemMessage(created));
    }
    if (replacing) {
        ::fchmod(fd.Get(), info.st_mode & 07777);
    }
    std::u16string temporaryPath;
    ProgramPath(temporary.Path(), temporaryPath);
    if (!document.SaveFile(temporaryPath)) {
        const std::string message = LoggedFileError(document);
        return Fail(error,
                    "cannot write: " + (message.empty() ? "the file was not saved" : message));
    }
    // SaveFile has closed its own handle; this one still names the same file and can flush it.
    if (::fsync(fd.Get()) != 0 || !fd.Close()) {
        return Fail(error, "cannot write: " + SystemMessage(errno));
    }
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
        return Fail(error, "cannot write: " + SystemMessage(errno));
    }
    temporary.Keep();
    SyncFolder(target.parent_path());
    return true;
}
