// Round trips through a peer archiver: jlha packs generated texts (with a
// Japanese file name) at several header levels and methods, and we must
// list the names and decode exactly the input bytes. Skipped without jlha.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "archive.h"
#include "support/archive_fixtures.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const char* const kJapaneseName = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88.txt";  // 日本語テキスト.txt

Bytes englishText(size_t n, uint32_t seed) {
    static const char* words[] = {"the",   "archive", "viewer", "shows", "text",  "inside", "of",
                                  "files", "quickly", "and",    "never", "writes", "a",      "window"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += words[rng() % 14];
        s += rng() % 11 == 0 ? ".\r\n" : " ";
    }
    s.resize(n);
    return Bytes(s.begin(), s.end());
}

Bytes japaneseText(size_t n, uint32_t seed) {
    // Hiragana and a few kanji in UTF-8, with line breaks.
    static const char* parts[] = {"\xe3\x81\x82", "\xe3\x81\x84", "\xe3\x81\x86", "\xe6\x97\xa5", "\xe6\x9c\xac",
                                  "\xe8\xaa\x9e", "\xe3\x80\x82\n"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) s += parts[rng() % 7];
    return Bytes(s.begin(), s.end());
}

Bytes noisyBinary(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = i > 300 && rng() % 3 ? b[i - 1 - rng() % 300] : static_cast<uint8_t>(rng());
    return b;
}

void writeFile(const fs::path& p, const Bytes& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

class LzhJlha : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v jlha >/dev/null 2>&1") != 0) GTEST_SKIP() << "jlha is not installed";
        char tmpl[] = "/tmp/lzh_jlha_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        inputs_ = {{"english.txt", englishText(150000, 1)},
                   {kJapaneseName, japaneseText(100000, 2)},
                   {"noise.bin", noisyBinary(120000, 3)},
                   {"empty.txt", {}},
                   {"one.txt", {'!'}}};
        for (auto& [name, data] : inputs_) writeFile(dir_ / fs::u8path(name), data);
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    fs::path dir_;
    std::vector<std::pair<std::string, Bytes>> inputs_;
};

TEST_F(LzhJlha, DecodesWhatJlhaPacks) {
    struct Case {
        const char* options;  // jlha command letters: header level, method
        const char* method;   // what the large text must be packed with
    } cases[] = {{"c0o5", "-lh5-"}, {"c1o6", "-lh6-"}, {"c2o7", "-lh7-"},
                 {"c1z", "-lh0-"},  {"c0o7", "-lh7-"}};
    for (auto& c : cases) {
        const fs::path out = dir_ / (std::string(c.options) + ".lzh");
        std::string cmd = "cd '" + dir_.string() + "' && LC_ALL=ja_JP.UTF-8 jlha " + c.options + "q '" +
                          out.filename().string() + "'";
        for (auto& [name, data] : inputs_) cmd += " '" + name + "'";
        cmd += " >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

        auto src = arc::openFileSource(out.string());
        ASSERT_TRUE(src) << c.options;
        arc::Status st;
        auto archive = arc::openLzh(*src, &st);
        ASSERT_TRUE(archive) << c.options << " status " << static_cast<int>(st);
        fixtures::MemoryTarget target;
        EXPECT_EQ(fixtures::extractAll(*archive, target), arc::Status::Ok) << c.options;
        const auto& members = archive->members();
        ASSERT_EQ(members.size(), inputs_.size()) << c.options;
        for (size_t i = 0; i < members.size(); ++i) {
            auto it = std::find_if(inputs_.begin(), inputs_.end(),
                                   [&](const auto& in) { return in.first == members[i].name; });
            ASSERT_NE(it, inputs_.end()) << c.options << ": unexpected name " << members[i].name;
            EXPECT_EQ(target.results[i].status, arc::Status::Ok) << c.options << " " << it->first;
            EXPECT_EQ(target.results[i].data.size(), it->second.size()) << c.options << " " << it->first;
            EXPECT_TRUE(target.results[i].data == it->second) << c.options << " " << it->first;
            if (it->first == "english.txt") {
                EXPECT_EQ(members[i].method, c.method) << c.options;
            }
        }
    }
}

}  // namespace
