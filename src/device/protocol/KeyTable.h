#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/protocol/KeyTableEntry.h"
#include "store/StoreRecords.h"

// The mouse's key table as the program builds it: 65 bytes, the entry of key code k at bytes 3k
// to 3k + 2, so key codes 0 to 20 have a place (bytes 63 and 64 stay zero). The request that
// carries it reaches the mouse with the entries of key codes 0 to 8.
class KeyTable {
public:
    static constexpr std::size_t kSize = 65;
    static constexpr int kEntryCount = 21;

    // Every key code with its default entry.
    KeyTable();

    // The entry of `keyCode`; a zero entry for a key code without a place.
    KeyTableEntry Entry(int keyCode) const;
    // False, and nothing written, for a key code without a place (below 0 or above 20).
    bool SetEntry(int keyCode, const KeyTableEntry& entry);

    // Lays each assignment over the table in the order given (a later row for the same key code
    // wins). A macro row takes its macro from `macros` by macro_id; a row whose macro is not there,
    // a row of an unknown kind and a row whose key code has no place leave the table as it was.
    void Apply(std::span<const KeyAssignmentRecord> assignments,
               std::span<const MacroRecord> macros);

    const std::array<std::uint8_t, kSize>& Bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, kSize> bytes_{};
};
