#include "lzh_adaptive_encoder.h"

#include <algorithm>
#include <memory>

#include "lzh_adaptive.h"

namespace lzhtest {

std::vector<Token> tokenize(const Bytes& data, size_t maxDist, size_t maxLen) {
    constexpr size_t kHashBits = 15, kChain = 48;
    std::vector<int64_t> head(size_t{1} << kHashBits, -1), prev(data.size(), -1);
    auto hash = [&](size_t i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((size_t{1} << kHashBits) - 1);
    };
    auto insert = [&](size_t i) {
        if (i + 3 > data.size()) return;
        size_t h = hash(i);
        prev[i] = head[h];
        head[h] = static_cast<int64_t>(i);
    };
    std::vector<Token> out;
    for (size_t i = 0; i < data.size();) {
        size_t bestLen = 0, bestDist = 0;
        if (i + 3 <= data.size()) {
            int64_t cand = head[hash(i)];
            for (size_t k = 0; k < kChain && cand >= 0 && i - static_cast<size_t>(cand) <= maxDist; ++k) {
                size_t c = static_cast<size_t>(cand), len = 0, limit = std::min(maxLen, data.size() - i);
                while (len < limit && data[c + len] == data[i + len]) ++len;
                if (len > bestLen) bestLen = len, bestDist = i - c;
                cand = prev[c];
            }
        }
        if (bestLen >= 3) {
            out.push_back({-1, bestLen, bestDist});
            for (size_t k = 0; k < bestLen; ++k) insert(i + k);
            i += bestLen;
        } else {
            out.push_back({data[i], 0, 0});
            insert(i);
            ++i;
        }
    }
    return out;
}

Packed encodeAdaptive(const std::vector<Token>& toks, bool lh2) {
    auto trees = std::make_unique<arc::LzhAdaptiveTrees>();
    trees->startChars(lh2 ? 286 : 314);
    if (lh2) trees->startPositions(13);
    // The -lh1- position code: lengths 3 (1 code), 4 (3), 5 (8), 6 (12), 7 (24), 8 (16).
    std::vector<int> plen;
    for (int i = 0; i < 64; ++i) plen.push_back(i < 1 ? 3 : i < 4 ? 4 : i < 12 ? 5 : i < 24 ? 6 : i < 48 ? 7 : 8);
    std::vector<uint32_t> pcode(64);
    uint32_t code = 0;
    for (int len = 1; len <= 16; ++len, code <<= 1)
        for (int i = 0; i < 64; ++i)
            if (plen[i] == len) pcode[i] = code++;
    BitWriter w;
    size_t bits = 0;
    auto put = [&](uint32_t v, int n) {
        w.put(v, n);
        bits += static_cast<size_t>(n);
    };
    uint64_t produced = 0;
    uint8_t path[arc::LzhAdaptiveTrees::kCodeRoom];
    auto send = [&](int len) {
        for (int i = 0; i < len; ++i) put(path[i], 1);
    };
    for (auto& t : toks) {
        int sym = t.literal >= 0 ? t.literal : static_cast<int>(t.len - 3 + 256);
        int coded = lh2 && sym >= 285 ? 285 : sym;
        send(trees->charCode(coded, path));
        trees->countChar(coded);
        if (lh2 && coded == 285) put(static_cast<uint32_t>(sym - 285), 8);  // even for length 32
        if (t.literal >= 0) {
            ++produced;
            continue;
        }
        uint32_t d = static_cast<uint32_t>(t.dist - 1);
        int hi = static_cast<int>(d >> 6);
        if (lh2) {
            send(trees->positionCode(produced, hi, path));
            trees->countPosition(hi);
        } else {
            put(pcode[hi], plen[hi]);
        }
        put(d & 63, 6);
        produced += t.len;
    }
    return {w.finish(), bits};
}

}  // namespace lzhtest
