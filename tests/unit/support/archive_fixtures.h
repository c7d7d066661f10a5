// Shared helpers for engine tests: the team's real archives and their oracle
// (expected.tsv), MD5 of decoded data, and an in-memory extraction target.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive.h"

namespace fixtures {

// Folder of the shared real archives, or "" when it is not present.
std::string testdataDir();

struct ExpectedFile {
    std::string member;  // path as the reference tool extracted it ('/' separated)
    uint64_t size;
    std::string md5;
};
// archive path relative to testdataDir() -> files the reference tool extracted.
const std::map<std::string, std::vector<ExpectedFile>>& expectedFiles();

struct ManifestRow {
    std::string archive, format, methods, features, notes;
    bool broken;
};
const std::vector<ManifestRow>& manifest();

std::vector<uint8_t> readFile(const std::string& path);
std::string md5Hex(const std::vector<uint8_t>& data);

// Collects every extracted member in memory with its final status.
class MemoryTarget : public arc::ExtractTarget {
public:
    struct Result {
        std::vector<uint8_t> data;
        arc::Status status = arc::Status::Ok;
        bool ended = false;
    };
    std::map<size_t, Result> results;

    arc::OutputSink* begin(size_t index) override;
    void end(size_t index, arc::Status status) override;

private:
    struct Sink : arc::OutputSink {
        std::vector<uint8_t>* out = nullptr;
        bool write(const uint8_t* data, size_t n) override {
            out->insert(out->end(), data, data + n);
            return true;
        }
    };
    std::map<size_t, Sink> sinks_;
};

// Extracts every non-folder member of an archive into memory.
arc::Status extractAll(arc::Archive& archive, MemoryTarget& target);

}  // namespace fixtures
