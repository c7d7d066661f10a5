// PMarc's -pm1- and -pm2- on hand-built streams: the literal recency list,
// copies (also from before the first byte), the odd range code of -pm1-, and
// the clean errors for impossible symbols and cut streams. The real archives
// are checked in lzh_testdata_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lzh_decoders.h"
#include "support/lzh_bit_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Field {
    uint32_t value;
    int bits;
};

Bytes pack(const std::vector<Field>& fields) {
    lzhtest::BitWriter w;
    for (auto f : fields) w.put(f.value, f.bits);
    return w.finish();
}

struct VecSink : arc::OutputSink {
    Bytes data;
    bool write(const uint8_t* d, size_t n) override {
        data.insert(data.end(), d, d + n);
        return true;
    }
};

struct Case {
    const char* name;
    const char* method;
    std::vector<Field> fields;
    size_t size;
    arc::Status status;
    Bytes want;  // checked when status is Ok
};

// -pm2- prologue: the unused bit, then a command code of one symbol (no bits per command).
std::vector<Field> pm2Single(int symbol, std::vector<Field> rest) {
    std::vector<Field> f = {{0, 1}, {static_cast<uint32_t>(symbol + 1), 5}, {0, 3}};
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

// -pm2- with commands 0 (literal ranks 0..7) = "0" and 8 (2-byte copy) = "1".
std::vector<Field> pm2LiteralAndCopy(std::vector<Field> rest) {
    std::vector<Field> f = {{0, 1}, {9, 5}, {1, 3}, {1, 3}};
    for (int s = 0; s < 9; ++s) f.push_back({s == 0 || s == 8 ? 1u : 0u, 1});
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

const Case kCases[] = {
    // Each byte moves to the front of the recency list once output. (The
    // list's starting order, group by group, is pinned by the real archives.)
    {"pm2 printable first", "-pm2-", pm2Single(0, {{0, 3}, {1, 3}, {1, 3}}), 3, arc::Status::Ok, {' ', '!', ' '}},
    // '!' once, copied twice from 1 back, then 2 bytes from 6 back (spaces
    // before the start); copied bytes move up in the list too: rank 1 is '!'.
    {"pm2 copies",
     "-pm2-",
     pm2LiteralAndCopy({{0, 1}, {1, 3}, {1, 1}, {0, 6}, {1, 1}, {5, 6}, {0, 1}, {1, 3}}),
     6,
     arc::Status::Ok,
     {'!', '!', '!', ' ', ' ', '!'}},
    {"pm2 command 29 is no copy", "-pm2-", pm2Single(29, {}), 4, arc::Status::BrokenData, {}},
    {"pm2 empty command code", "-pm2-", {{0, 1}, {0, 5}, {0, 3}, {0, 8}}, 4, arc::Status::BrokenData, {}},
    {"pm2 over-subscribed code",
     "-pm2-",
     {{0, 1}, {3, 5}, {1, 3}, {1, 3}, {1, 1}, {1, 1}, {1, 1}, {0, 8}},
     4,
     arc::Status::BrokenData,
     {}},
    {"pm2 stream cut short", "-pm2-", pm2Single(0, {{1, 3}, {2, 3}}), 40, arc::Status::UnexpectedEof, {}},

    // -pm1-: shape 31 sends no range bits (ranks 0..15 in 4 bits). A run of
    // 3 literals, then the copy that follows every shorter run: kind 0
    // (the only one before 64 bytes of output), 2 bytes from 3 back.
    {"pm1 run then copy",
     "-pm1-",
     {{31, 5}, {1, 1}, {2, 2}, {1, 4}, {1, 4}, {0, 4}, {0, 1}, {2, 6}},
     5,
     arc::Status::Ok,
     {'!', ' ', ' ', '!', ' '}},
    // Shape 17 codes range c as 01 and range d as 10 (and again as 000).
    {"pm1 odd range code",
     "-pm1-",
     {{17, 5}, {1, 1}, {1, 2}, {1, 2}, {1, 5}, {2, 2}, {1, 6}},
     2,
     arc::Status::Ok,
     {'A', 'a'}},
    {"pm1 copy before the first byte", "-pm1-", {{31, 5}, {0, 1}, {0, 1}, {0, 6}}, 4, arc::Status::BrokenData, {}},
    {"pm1 stream cut short", "-pm1-", {{31, 5}, {1, 1}, {2, 2}, {1, 4}}, 40, arc::Status::UnexpectedEof, {}},
};

TEST(LzhPmarc, HandBuiltStreams) {
    for (const Case& c : kCases) {
        Bytes packed = pack(c.fields);
        arc::MemorySource src(packed);
        VecSink sink;
        uint16_t crc = 0;
        arc::Status st = arc::lzhDecodeMember(c.method, src, 0, packed.size(), c.size, sink, &crc);
        EXPECT_EQ(st, c.status) << c.name;
        if (c.status == arc::Status::Ok) {
            EXPECT_EQ(sink.data, c.want) << c.name;
        } else {
            EXPECT_LT(sink.data.size(), c.size) << c.name;
        }
    }
}

}  // namespace
