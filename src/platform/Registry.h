#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// One per-user key of named text values, the stand-in for a registry key under HKEY_CURRENT_USER.
//
// Layout: the key "SOFTWARE\<name>" (sub-keys "SOFTWARE\<name>\<sub>") is the file
//
//     $XDG_CONFIG_HOME/<name>/registry.ini        ($XDG_CONFIG_HOME defaults to ~/.config)
//     $XDG_CONFIG_HOME/<name>/<sub>/registry.ini
//
// A leading "SOFTWARE" is dropped (any case); each further part of the key name becomes a folder.
// A part that is empty, "." or "..", or holds "/" or a control character, names no key: such a key
// can neither be opened nor created. The key exists exactly when its file does.
//
// The file is UTF-8 text, one value per line as name=value, after a comment and a section line
// naming the key:
//
//     ; Values of the key SOFTWARE\Kestrel, kept by Kestrel. One name=value per line.
//     [SOFTWARE\Kestrel]
//     LCID=2052
//     DeviceType=101
//
// Reading never fails because of what is in the file. Lines that are empty, start with ";", "#"
// or "[", hold no "=", hold a zero byte or are not valid UTF-8 are skipped, and so is a last line
// without its line break (the remains of an interrupted write by some other program); such values
// read as absent. Value names are matched without regard to ASCII case, as Windows does; the first
// line with a name wins. Blanks around a name are ignored; a value is taken exactly as written.
//
// Every write rewrites the whole file atomically (FileIo.h), keeping the readable values in their
// order, so a reader never sees a half-written key. Writes from the threads of this process are
// serialised by one lock, so concurrent writes of different values are all kept.
class Registry {
public:
    enum class Disposition {
        kOpenExisting,     // fail with kMissing when the key does not exist
        kCreateIfMissing,  // create the key (and the folders above it) when it does not exist
    };
    enum class Status {
        kOpened,   // the key existed and is readable and writable
        kCreated,  // the key did not exist and has been created, empty
        kMissing,  // the key does not exist (kOpenExisting only)
        kFailed,   // anything else: an invalid name, no home folder, no access, a creation failure
    };

    static Registry Open(std::u16string_view keyName, Disposition disposition);

    // The file that holds a key; empty when the name names no key or no config folder is known.
    static std::filesystem::path KeyFile(std::u16string_view keyName);

    Status GetStatus() const { return status_; }
    bool IsOpen() const { return status_ == Status::kOpened || status_ == Status::kCreated; }
    const std::filesystem::path& FilePath() const { return file_; }

    // The stored text of a value; nullopt when the key is not open, the value is absent or its line
    // cannot be read.
    std::optional<std::u16string> ReadValue(std::u16string_view name) const;

    // Stores a value, replacing an earlier one of the same name. False when the key is not open or
    // no longer exists (writes never create a key), when the file cannot be replaced, or when the
    // name or text cannot be kept in a line: a name must be non-empty, without "=", line breaks,
    // zero characters or blanks at either end, and must not start with ";", "#" or "["; a text
    // must hold no line breaks or zero characters.
    bool WriteValue(std::u16string_view name, std::u16string_view text);

private:
    Registry(std::u16string keyName, std::filesystem::path file, Status status)
        : keyName_(std::move(keyName)), file_(std::move(file)), status_(status) {}

    std::u16string keyName_;
    std::filesystem::path file_;
    Status status_ = Status::kFailed;
};

}  // namespace platform
