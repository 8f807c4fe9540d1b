#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Whole-file reads and writes for small files the program keeps for itself. Errors are returned as
// errno values (0 for success); nothing throws.

namespace platform {

// Reads at most `limit` bytes from the start of a file into `out` (emptied first).
int ReadFileBytes(const std::filesystem::path& path, std::size_t limit, std::string& out);

// Replaces `target` with `bytes` so that a reader sees either the old file or the complete new one,
// never a mix, even if the program dies or the disk fills up on the way: the bytes go to a
// temporary file in the same folder, which is flushed to the disk and then renamed over the target.
// On failure the temporary file is removed and the old file is left as it was. A new file is
// readable by its owner only (0600); a replaced file keeps the permission bits of the old one.
int WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Creates `path` with `bytes` only if nothing exists there yet (EEXIST otherwise), so two
// creators never overwrite each other. Mode 0600.
int CreateFileExclusive(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
