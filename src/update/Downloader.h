#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// Downloads over HTTP(S) for the update checks: a short version text and an installer or firmware
// file. Every fetch is one GET on its own connection handle, with the proxy taken from the
// environment the way curl reads it, TLS verification on, and redirects followed only between
// http and https. Results: 1 done, 0 no connection handle could be made, -1 the address could not
// be fetched (refused, time-out, HTTP status 400 or above, too many redirects, too large) or a read
// or write failed.

// How long a fetch may wait and how much it may take. The defaults keep a dead server from holding
// the caller for much more than half a minute; tests shorten them.
struct FetchLimits {
    long connectTimeoutSeconds = 10;
    // A transfer slower than lowSpeedBytes per second for lowSpeedSeconds is given up.
    long lowSpeedBytes = 1;
    long lowSpeedSeconds = 20;
    long maxRedirects = 5;
    // The largest body accepted; a longer one fails the fetch instead of being cut short.
    std::int64_t maxTextBytes = 1 << 20;
    std::int64_t maxFileBytes = std::int64_t{256} << 20;
};

// Fetches `address` and sets `text` to its body decoded as UTF-8 up to the first zero byte.
// `text` is left as it was on failure.
int FetchText(const std::string& address, std::u16string& text, const FetchLimits& limits = {});

// Fetches `address` into the file at `path`, replacing any file there. The body goes to a
// temporary file beside `path` that is renamed over it only when the whole body has arrived, so a
// failure never leaves a partial file at `path` (a file already there is left as it was). The new
// file is readable and writable by its owner only. `progress` (may be empty) receives 0, 2, 8 and
// 10 while the request is made, 10 + 90*k/chunks after the k-th chunk of 10,240 bytes when the
// server announced a length of at least one chunk (never above 100: a last partial chunk counts
// as one more), and 100 at the end; a value equal to the last one reported is not reported again.
int FetchFile(const std::string& address, const std::filesystem::path& path,
              std::function<void(int percent)> progress, const FetchLimits& limits = {});
