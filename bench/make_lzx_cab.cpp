// make_lzx_cab OUT.cab FILE...: packs the files (stored under their base
// names, in the order given) into one LZX folder with a 2 MiB window, using
// the test-only encoder. gcab writes no LZX, so the benchmark makes its own.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cab_writer.h"

namespace {

bool readFile(const std::string& path, std::vector<uint8_t>& out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.clear();
    uint8_t buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    bool good = !std::ferror(f);
    std::fclose(f);
    return good;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_lzx_cab OUT.cab FILE...\n");
        return 2;
    }
    std::vector<cabtest::FileEntry> files;
    for (int i = 2; i < argc; ++i) {
        cabtest::FileEntry e;
        e.name = baseName(argv[i]);
        if (!readFile(argv[i], e.data)) {
            std::fprintf(stderr, "make_lzx_cab: cannot read %s\n", argv[i]);
            return 1;
        }
        files.push_back(std::move(e));
    }
    cabtest::WriterOptions opt;
    opt.method = cabtest::Method::Lzx;
    opt.lzx.windowBits = 21;       // the largest window, as cabinet makers use for big payloads
    opt.lzx.blockSize = 1u << 20;  // fresh trees every MiB
    std::vector<uint8_t> cab;
    try {
        cab = cabtest::writeCab(files, opt);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_lzx_cab: %s\n", e.what());
        return 1;
    }
    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(cab.data(), 1, cab.size(), f) != cab.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "make_lzx_cab: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
