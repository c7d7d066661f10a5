// LZX decode speed against cabextract on one cabinet made by the test writer
// (32 MiB of mixed Japanese/English text, window 2^21). Not part of any build;
// from the repository root, compile this file with tests/support/lzx_encoder.cpp,
// tests/support/cab_writer.cpp and archivers/engine/cab_lzx_{decoder,huffman}.cpp
// (-std=c++20 -O2 -Iarchivers/engine -Itests/support -lz) and run it.
// Prints our time divided by the peer's: CPU seconds (the machine is shared,
// so wall time is noisy), best of five runs each; the peer's includes its
// start-up and its CFDATA checksums.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "cab_block_decoder.h"
#include "cab_writer.h"

namespace {

std::vector<uint8_t> corpus(size_t n) {
    static const char* words[] = {"the ", "archive ", "window ", "of ", "viewer ", "and ", "text ",
                                  "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "\xe3\x81\xae", "\xe6\x96\x87\xe6\x9b\xb8",
                                  "\xe3\x80\x82\r\n", ",\r\n", "2024 ", "file "};
    std::mt19937 rng(1);
    std::vector<uint8_t> out;
    out.reserve(n);
    while (out.size() < n) {
        const char* w = words[(rng() % 14 + rng() % 14) / 2];
        while (*w && out.size() < n) out.push_back(static_cast<uint8_t>(*w++));
    }
    return out;
}

double cpuSeconds(int who) {
    rusage ru{};
    getrusage(who, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
    std::vector<uint8_t> data = corpus(32u << 20);
    cabtest::WriterOptions opt;
    opt.lzx.windowBits = 21;
    opt.lzx.blockSize = 1 << 20;
    std::vector<uint8_t> cab = cabtest::writeCab({{"corpus.txt", data}}, opt);
    const char* path = "/tmp/quibex_lzx_bench.cab";
    FILE* f = std::fopen(path, "wb");
    std::fwrite(cab.data(), 1, cab.size(), f);
    std::fclose(f);
    cabtest::ParsedCab parsed;
    if (!cabtest::parseCab(cab, parsed)) return 1;

    double ours = 1e9, peer = 1e9;
    std::vector<uint8_t> out(32768);
    for (int run = 0; run < 5; ++run) {
        double t0 = cpuSeconds(RUSAGE_SELF);
        auto dec = arc::makeLzxDecoder(21);
        size_t total = 0;
        unsigned sum = 0;
        for (const auto& b : parsed.folders[0].blocks) {
            if (dec->decodeBlock(b.payload.data(), b.payload.size(), out.data(), b.uncompressed) != arc::Status::Ok) return 2;
            total += b.uncompressed;
            sum += out[b.uncompressed / 2];
        }
        ours = std::min(ours, cpuSeconds(RUSAGE_SELF) - t0);
        if (total != data.size()) return 3;
        if (run == 0) std::printf("decoded %zu bytes (check %u)\n", total, sum);
        t0 = cpuSeconds(RUSAGE_CHILDREN);
        if (std::system((std::string("cabextract -q -p ") + path + " >/dev/null").c_str()) != 0) return 4;
        peer = std::min(peer, cpuSeconds(RUSAGE_CHILDREN) - t0);
    }
    std::printf("cab %zu bytes; ours %.3f s, cabextract %.3f s, ratio %.2f\n", cab.size(), ours, peer, ours / peer);
    std::remove(path);
    return 0;
}
