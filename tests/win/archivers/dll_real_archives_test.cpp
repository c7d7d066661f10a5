// The team's real LZH and CAB archives through the libraries' command routine:
// what lands in the folder must be what the reference tools extracted
// (compared as a multiset of size and MD5, since extraction here is flat),
// and broken archives must leave no temporary or partial file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "dll_fixture.h"

#include <wincrypt.h>  // after windows.h, which the fixture brings

namespace dlltest {
namespace {

std::string testdataPath(const std::string& relative) {
    std::string p = std::string("Z:") + QUIBEX_TESTDATA + "/" + relative;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::vector<std::vector<std::string>> readTsv(const std::string& path) {
    auto bytes = readFile(path);
    std::stringstream in(std::string(bytes.begin(), bytes.end()));
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cols;
        std::stringstream ss(line);
        std::string col;
        while (std::getline(ss, col, '\t')) cols.push_back(col);
        rows.push_back(cols);
    }
    return rows;
}

std::string md5Hex(const std::string& data) {
    HCRYPTPROV prov = 0;
    HCRYPTHASH hash = 0;
    std::string hex;
    if (CryptAcquireContextW(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
        if (CryptCreateHash(prov, CALG_MD5, 0, 0, &hash)) {
            BYTE digest[16];
            DWORD len = sizeof digest;
            if (CryptHashData(hash, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), 0) &&
                CryptGetHashParam(hash, HP_HASHVAL, digest, &len, 0)) {
                char buf[3];
                for (DWORD i = 0; i < len; ++i) {
                    snprintf(buf, sizeof buf, "%02x", digest[i]);
                    hex += buf;
                }
            }
            CryptDestroyHash(hash);
        }
        CryptReleaseContext(prov, 0);
    }
    return hex;
}

TEST(DllRealArchives, MatchReferenceExtractionAndLeaveNoDebris) {
    if (readFile(testdataPath("manifest.tsv")).empty()) GTEST_SKIP() << "shared test archives not present";
    std::map<std::string, std::vector<std::string>> expected;  // archive -> "size md5" sorted
    for (auto& r : readTsv(testdataPath("expected.tsv")))
        if (r.size() >= 4) expected[r[0]].push_back(r[2] + " " + r[3]);
    int matched = 0, brokenClean = 0;
    for (auto& row : readTsv(testdataPath("manifest.tsv"))) {
        if (row.size() < 6 || (row[1] != "lzh" && row[1] != "cab")) continue;
        const std::string& name = row[0];
        const bool broken = row[5] == "yes";
        ArchiverDll& dll = library(row[1]);
        ASSERT_NE(dll.command, nullptr);
        TempFolder out;
        std::string arc = testdataPath(name);
        std::string cmd = row[1] == "lzh" ? "E \"" + arc + "\" -y -c -a1 -n \"" + out.path() + "\""
                                          : "-x -j -o -i \"" + arc + "\" \"" + out.path() + "\"";
        std::string report;
        int result = dll.run(cmd, &report);
        EXPECT_FALSE(dll.getRunning());
        auto files = out.files();
        for (auto& [file, _] : files) EXPECT_EQ(file.rfind("~qbx", 0), std::string::npos) << name << ": " << file;
        auto want = expected.find(name);
        if (broken) {
            if (result != 0) ++brokenClean;
            continue;
        }
        if (want == expected.end()) continue;  // the reference tool failed too: no oracle
        if (name.find("/maclha_") != std::string::npos) {
            // The reference strips MacLHA's MacBinary wrapper; the reader delivers the stored bytes.
            EXPECT_EQ(result, 0) << name;
            continue;
        }
        std::vector<std::string> exp;
        for (const std::string& e : want->second)
            if (e.rfind("symlink ", 0) != 0) exp.push_back(e);  // Unix links are not files here
        std::vector<std::string> got;
        for (auto& [file, data] : files)
            if (data != "<dir>") got.push_back(std::to_string(data.size()) + " " + md5Hex(data));
        std::sort(got.begin(), got.end());
        std::sort(exp.begin(), exp.end());
        EXPECT_EQ(result, 0) << name << "\n" << report;
        EXPECT_EQ(got, exp) << name;
        if (result == 0 && got == exp) ++matched;
    }
    printf("real archives matching the reference: %d of %zu; broken ones refused: %d\n", matched, expected.size(),
           brokenClean);
    EXPECT_GT(matched, 100);
}

}  // namespace
}  // namespace dlltest
