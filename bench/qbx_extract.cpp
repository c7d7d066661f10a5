// qbx_extract [-t lzh|zip|cab|7z|rar] [-P password] ARCHIVE OUTDIR: extracts
// every member of an LZH, ZIP, CAB, 7z or RAR archive flat into OUTDIR through the same
// folder extraction the archiver libraries use, so the benchmark times the
// shipped path end to end. -P opens encrypted ZIP members; without it they
// fail with PASSWORD_FILE, as the libraries' do without a password.
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "folder_extract.h"

namespace {

const char* formatName(arc::Format f) {
    switch (f) {
    case arc::Format::Lzh: return "LZH";
    case arc::Format::Zip: return "ZIP";
    case arc::Format::Cab: return "CAB";
    case arc::Format::SevenZip: return "7z";
    case arc::Format::Rar: return "RAR";
    }
    return "?";
}

// The signature at the very start decides when there is one; otherwise the
// readers' own checks (which also look past a self-extracting stub) do.
std::optional<arc::Format> detect(const std::string& path) {
    std::unique_ptr<arc::ByteSource> src = arc::openFileSource(path);
    if (!src) return std::nullopt;
    uint8_t head[7] = {};
    size_t n = src->readAt(0, head, sizeof head);
    if (n >= 4 && std::memcmp(head, "MSCF", 4) == 0) return arc::Format::Cab;
    if (n >= 4 && head[0] == 'P' && head[1] == 'K' && head[2] < 9 && head[3] < 9) return arc::Format::Zip;
    if (n >= 7 && head[2] == '-' && head[6] == '-') return arc::Format::Lzh;
    if (n >= 6 && std::memcmp(head, "7z\xBC\xAF\x27\x1C", 6) == 0) return arc::Format::SevenZip;
    if (n >= 7 && std::memcmp(head, "Rar!\x1A\x07", 6) == 0) return arc::Format::Rar;
    for (arc::Format f : {arc::Format::Cab, arc::Format::Zip, arc::Format::Lzh, arc::Format::SevenZip, arc::Format::Rar})
        if (arc::looksLikeArchive(*src, f)) return f;
    return std::nullopt;
}

int usage() {
    std::fprintf(stderr, "usage: qbx_extract [-t lzh|zip|cab|7z|rar] [-P password] ARCHIVE OUTDIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<arc::Format> format;
    std::optional<arc::GivenPassword> password;
    int arg = 1;
    while (arg + 1 < argc && argv[arg][0] == '-') {
        if (std::strcmp(argv[arg], "-t") == 0) {
            std::string t = argv[arg + 1];
            if (t == "lzh") format = arc::Format::Lzh;
            else if (t == "zip") format = arc::Format::Zip;
            else if (t == "cab") format = arc::Format::Cab;
            else if (t == "7z") format = arc::Format::SevenZip;
            else if (t == "rar") format = arc::Format::Rar;
            else return usage();
        } else if (std::strcmp(argv[arg], "-P") == 0) {
            password.emplace(argv[arg + 1]);
        } else {
            return usage();
        }
        arg += 2;
    }
    if (argc - arg != 2) return usage();
    const std::string archive = argv[arg], folder = argv[arg + 1];

    if (!format) format = detect(archive);
    if (!format) {
        std::fprintf(stderr, "qbx_extract: %s: not an LZH, ZIP, CAB, 7z or RAR archive (or unreadable)\n", archive.c_str());
        return 1;
    }
    arc::ExtractOptions options;  // the libraries' defaults: overwrite, restore times
    if (password) options.passwords = &*password;
    arc::ExtractResult r = arc::extractArchiveToFolder(archive, *format, {}, arc::defaultMatchRule(*format), folder,
                                                       options);
    for (const std::string& part : r.missingParts)
        std::fprintf(stderr, "qbx_extract: %s: part of the archive not found or not fitting: %s\n", archive.c_str(),
                     part.c_str());
    if (!arc::ok(r.status)) {
        std::fprintf(stderr, "qbx_extract: %s (%s): failed with status 0x%04X after %zu file(s)\n", archive.c_str(),
                     formatName(*format), static_cast<unsigned>(r.status), r.written.size());
        return 1;
    }
    return 0;
}
