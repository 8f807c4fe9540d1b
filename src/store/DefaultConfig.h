#pragma once

#include <span>
#include <string_view>

// One configuration key of a profile with the text a new profile receives.
struct ConfigKeyDefault {
    std::u16string_view key;
    std::u16string_view value;
};

// Every key of a profile in the order a new profile receives them ("version" first,
// "doubleclick_time" last). Keys exist only through this list: updates never add a key.
std::span<const ConfigKeyDefault> DefaultConfigKeys();
