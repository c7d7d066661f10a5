#include "lzh_crc16.h"

#include <array>

namespace arc {

namespace {

// Eight 256-entry tables let the loop fold eight bytes per step ("slicing"),
// which keeps the CRC well below the decoder's own cost. t[s][i] is the CRC
// of byte i followed by s zero bytes.
struct Crc16Tables {
    std::array<std::array<uint16_t, 256>, 8> t{};
    constexpr Crc16Tables() {
        for (unsigned i = 0; i < 256; ++i) {
            unsigned c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
            t[0][i] = static_cast<uint16_t>(c);
        }
        for (unsigned i = 0; i < 256; ++i)
            for (int s = 1; s < 8; ++s)
                t[s][i] = static_cast<uint16_t>((t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF]);
    }
};

constexpr Crc16Tables kTables{};

}  // namespace

uint16_t lzhCrc16(uint16_t crc, const uint8_t* data, size_t n) {
    const auto& t = kTables.t;
    while (n >= 8) {
        unsigned c = crc ^ (data[0] | (data[1] << 8));
        crc = static_cast<uint16_t>(t[7][c & 0xFF] ^ t[6][c >> 8] ^ t[5][data[2]] ^ t[4][data[3]] ^ t[3][data[4]] ^
                                    t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]]);
        data += 8;
        n -= 8;
    }
    while (n >= 4) {
        unsigned c = crc ^ (data[0] | (data[1] << 8));
        crc = static_cast<uint16_t>(t[3][c & 0xFF] ^ t[2][c >> 8] ^ t[1][data[2]] ^ t[0][data[3]]);
        data += 4;
        n -= 4;
    }
    while (n--) crc = static_cast<uint16_t>((crc >> 8) ^ t[0][(crc ^ *data++) & 0xFF]);
    return crc;
}

}  // namespace arc
