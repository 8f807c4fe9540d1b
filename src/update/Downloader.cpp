#include "update/Downloader.h"

#include <algorithm>

#include <curl/curl.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <system_error>

#include "platform/UniqueFd.h"
#include "text/Utf.h"

namespace {

constexpr const char* kUserAgent = "IIC2.0/PC 5.5.0000";
// File progress is counted in chunks of this size, and curl hands the body over in pieces no
// larger, so the progress of a download looks the same whatever the network does.
constexpr std::int64_t kChunkBytes = 10240;

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// curl_global_init is not thread-safe and must run once before any handle is made; fetches may
// start on any thread. It is never undone: the library stays usable until the program ends.
bool InitialiseCurlOnce() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

// A handle set up for one GET of `address`, or nothing when curl cannot make one. `headers` must
// outlive the handle's transfer.
CurlHandle OpenRequest(const std::string& address, const FetchLimits& limits, std::int64_t maxBytes,
                       HeaderList& headers) {
    if (!InitialiseCurlOnce()) {
        return nullptr;
    }
    CurlHandle handle(curl_easy_init());
    if (!handle) {
        return nullptr;
    }
    curl_slist* list = nullptr;
    for (const char* line : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
        curl_slist* grown = curl_slist_append(list, line);
        if (!grown) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = grown;
    }
    headers.reset(list);

    CURL* h = handle.get();
    bool ok = curl_easy_setopt(h, CURLOPT_URL, address.c_str()) == CURLE_OK;
    // Fetches run on worker threads, where a SIGALRM-based resolver time-out would be unsafe.
    ok = ok && curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_HTTPHEADER, list) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_MAXREDIRS, limits.maxRedirects) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    ok =
        ok && curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds) == CURLE_OK;
    ok = ok && curl_easy_setopt(h, CURLOPT_BUFFERSIZE, static_cast<long>(kChunkBytes)) == CURLE_OK;
    // Refuses an announced length over the limit before any byte arrives; the write callbacks
    // still enforce it for bodies whose length is not announced.
    ok = ok && curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes)) ==
                   CURLE_OK;
    if (!ok) {
        return nullptr;
    }
    return handle;
}

struct TextSink {
    std::string bytes;
    std::int64_t limit = 0;
};

size_t AppendText(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<TextSink*>(user);
    size_t length = size * count;
    if (static_cast<std::int64_t>(sink->bytes.size() + length) > sink->limit) {
        return 0;  // Anything but `length` makes curl fail the transfer.
    }
    try {
        sink->bytes.append(data, length);
    } catch (...) {
        return 0;
    }
    return length;
}

// Reports a progress value unless it equals the last one reported.
class ProgressReporter {
public:
    explicit ProgressReporter(std::function<void(int)> report) : report_(std::move(report)) {}
    void Report(int percent) {
        if (report_ && percent != last_) {
            last_ = percent;
            report_(percent);
        }
    }

private:
    std::function<void(int)> report_;
    int last_ = -1;
};

// The file side of FetchFile: a temporary file beside the target, removed unless it was renamed
// over the target.
class FileSink {
public:
    FileSink(CURL* handle, std::filesystem::path target, std::int64_t limit,
             ProgressReporter& progress)
        : handle_(handle), target_(std::move(target)), limit_(limit), progress_(progress) {}
    ~FileSink() {
        if (!temporary_.empty()) {
            fd_.Close();
            ::unlink(temporary_.c_str());
        }
    }
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    // Called once the server has answered with a body (or at the end for an empty one): creates
    // the temporary file and learns the announced length.
    bool Begin() {
        if (begun_) {
            return fd_.IsValid();
        }
        begun_ = true;
        progress_.Report(8);
        std::string pattern = target_.string() + ".part-XXXXXX";
        int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        fd_ = platform::UniqueFd(fd);
        temporary_ = pattern;
        curl_off_t length = -1;
        if (curl_easy_getinfo(handle_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
            length > 0) {
            chunks_ = length / kChunkBytes;
        }
        progress_.Report(10);
        return true;
    }

    bool Write(const char* data, size_t length) {
        if (!Begin()) {
            return false;
        }
        received_ += static_cast<std::int64_t>(length);
        if (received_ > limit_) {
            return false;
        }
        while (length > 0) {
            ssize_t written = ::write(fd_.Get(), data, length);
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            data += written;
            length -= static_cast<size_t>(written);
        }
        // Progress moves only when a whole chunk is complete; Finish counts a last partial one.
        while (countedChunks_ < received_ / kChunkBytes) {
            ++countedChunks_;
            ReportChunk();
        }
        return true;
    }

    // Counts a last partial chunk, then moves the finished file over the target.
    bool Finish() {
        if (!Begin()) {
            return false;
        }
        if (received_ % kChunkBytes != 0) {
            ++countedChunks_;
            ReportChunk();
        }
        // The bytes must be on the disk before the rename makes them the target's.
        if (::fsync(fd_.Get()) != 0 || !fd_.Close()) {
            return false;
        }
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            return false;
        }
        temporary_.clear();
        return true;
    }

private:
    void ReportChunk() {
        if (chunks_ != 0) {
            // A last partial chunk counts as one more than the length's whole chunks: the value
            // stops at 100 rather than showing more than done.
            progress_.Report(static_cast<int>(
                std::min<std::int64_t>(100, 10 + (90 * countedChunks_) / chunks_)));
        }
    }

    CURL* handle_;
    std::filesystem::path target_;
    std::int64_t limit_;
    ProgressReporter& progress_;
    bool begun_ = false;
    platform::UniqueFd fd_;
    std::string temporary_;  // Empty once renamed or when never created.
    std::int64_t chunks_ = 0;
    std::int64_t received_ = 0;
    std::int64_t countedChunks_ = 0;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
    size_t length = size * count;
    try {
        return static_cast<FileSink*>(user)->Write(data, length) ? length : 0;
    } catch (...) {
        return 0;
    }
}

}  // namespace

int FetchText(const std::string& address, std::u16string& text, const FetchLimits& limits) {
    HeaderList headers;
    CurlHandle handle = OpenRequest(address, limits, limits.maxTextBytes, headers);
    if (!handle) {
        return 0;
    }
    TextSink sink;
    sink.limit = limits.maxTextBytes;
    if (curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, AppendText) != CURLE_OK ||
        curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &sink) != CURLE_OK) {
        return 0;
    }
    if (curl_easy_perform(handle.get()) != CURLE_OK) {
        return -1;
    }
    std::string::size_type end = sink.bytes.find('\0');
    if (end != std::string::npos) {
        sink.bytes.resize(end);
    }
    text = FromUtf8(sink.bytes);
    return 1;
}

int FetchFile(const std::string& address, const std::filesystem::path& path,
              std::function<void(int percent)> progress, const FetchLimits& limits) {
    ProgressReporter reporter(std::move(progress));
    reporter.Report(0);
    HeaderList headers;
    CurlHandle handle = OpenRequest(address, limits, limits.maxFileBytes, headers);
    if (!handle) {
        return 0;
    }
    reporter.Report(2);
    FileSink sink(handle.get(), path, limits.maxFileBytes, reporter);
    if (curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, WriteToFile) != CURLE_OK ||
        curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &sink) != CURLE_OK) {
        return 0;
    }
    if (curl_easy_perform(handle.get()) != CURLE_OK || !sink.Finish()) {
        return -1;
    }
    reporter.Report(100);
    return 1;
}
