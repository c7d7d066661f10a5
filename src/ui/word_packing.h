// Two 16-bit values in one 32-bit message parameter, as the tooltip's delay
// and tracking messages take them: high × 65536 + low, and a sum of 2^31 or
// more wraps to the negative half (65535:65535 is −1). Anything that still
// does not fit in 32 signed bits is an overflow.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace quibex {

inline int32_t PackWords(int32_t high, int32_t low) {
    double value = static_cast<double>(high) * 65536.0 + static_cast<double>(low);
    if (value >= 2147483648.0) value -= 4294967296.0;
    value = std::nearbyint(value);
    if (value < -2147483648.0 || value > 2147483647.0) throw std::overflow_error("packed value out of range");
    return static_cast<int32_t>(value);
}

}  // namespace quibex
