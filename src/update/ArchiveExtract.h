#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Unpacks a downloaded zip archive (an installer or a firmware image) into a folder. The archive
// comes from the network, so its entry names and sizes are not trusted: no entry is written
// outside the folder, no link is created or followed, and the unpacked size is capped.

// Caps on one extraction. Real update archives hold a handful of files of a few megabytes.
struct ArchiveLimits {
    std::uint64_t maxTotalBytes = std::uint64_t{512} << 20;  // unpacked bytes, all entries together
    std::uint64_t maxEntries = 10000;
};

// Why an extraction returned false (None when it returned true).
enum class ArchiveStop {
    None,
    CannotOpen,  // not a zip archive, damaged beyond its entries, or unreadable
    CannotMakeFolder,
    TooManyEntries,  // more entries than maxEntries; nothing was written
    TooLarge,        // the unpacked bytes reached maxTotalBytes; the entry being written is removed
};

// What an extraction did, for tests and logs.
struct ArchiveReport {
    ArchiveStop stop = ArchiveStop::None;
    std::size_t filesWritten = 0;
    // Entries left out: unsafe names, links, encrypted or damaged data, files that could not be
    // written.
    std::size_t entriesSkipped = 0;
};

// Extracts every entry of `archive`, in archive order, to `folder` joined with the entry's cleaned
// name, creating the folder and missing sub-folders. An existing file of the same name is
// replaced. Returns false when the archive cannot be opened, the folder cannot be created or a
// limit is reached (which ends the extraction); errors on single entries only skip them. Any
// thread; the caller keeps other writers out of `folder` meanwhile.
bool ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& folder);
bool ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& folder,
                    const ArchiveLimits& limits, ArchiveReport* report);

// The name an entry is stored under after cleaning, repeated until nothing changes: a drive prefix
// (any character followed by ':') is dropped, then one leading '\' or '/', then everything up to
// and including the first "\..\", "\../", "/../" or "/..\". This alone does not make a name safe
// ("..\x" passes unchanged); the extraction also refuses any ".." that is left.
std::u16string CleanArchiveEntryName(std::u16string_view name);
