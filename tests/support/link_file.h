// Reads one field of a .lnk file straight from its header, for the tests:
// Wine's link object does not load the show command back (it always answers 1).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

// The header's ShowCommand (the 32-bit value at 0x3C); 0 when the file is too short.
inline uint32_t LinkShowCommand(std::string_view fileBytes) {
    constexpr size_t kOffset = 0x3C;
    uint32_t value = 0;
    if (fileBytes.size() >= kOffset + sizeof value) std::memcpy(&value, fileBytes.data() + kOffset, sizeof value);
    return value;
}
