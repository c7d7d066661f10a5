// make_corpus OUTDIR [TOTAL_BYTES]: writes the benchmark corpus, deterministic
// pseudo-text: Japanese in Shift-JIS and English, CRLF lines, three large
// files and many small ones (1..64 KiB), 32 MiB in all by default.
// Words follow a Zipf-like frequency so the packers see text-like statistics.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "corpus_words.h"

namespace {

enum class Kind { Ja, En, Mix };

// Only the generator's raw output is used: std::mt19937_64 is fully specified,
// the standard distributions are not, and the corpus must not change with the library.
class Rng {
public:
    explicit Rng(uint64_t seed) : g_(seed) {}
    size_t below(size_t n) { return static_cast<size_t>(g_() % n); }
    int between(int lo, int hi) { return lo + static_cast<int>(below(static_cast<size_t>(hi - lo + 1))); }
    double unit() { return static_cast<double>(g_() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 g_;
};

class WordList {
public:
    template <size_t N>
    explicit WordList(const char* const (&words)[N]) : words_(words, words + N) {
        double sum = 0;
        for (size_t i = 0; i < N; ++i) cumulative_.push_back(sum += 1.0 / std::pow(static_cast<double>(i + 1), 0.9));
    }
    const char* uniform(Rng& rng) const { return words_[rng.below(words_.size())]; }
    const char* zipf(Rng& rng) const {
        double x = rng.unit() * cumulative_.back();
        size_t i = static_cast<size_t>(std::upper_bound(cumulative_.begin(), cumulative_.end(), x) - cumulative_.begin());
        return words_[std::min(i, words_.size() - 1)];
    }

private:
    std::vector<const char*> words_;
    std::vector<double> cumulative_;
};

const WordList kNouns(corpus::kJaNouns), kParticles(corpus::kJaParticles), kVerbs(corpus::kJaVerbs),
    kEnds(corpus::kJaEnds), kEnglish(corpus::kEnWords);
constexpr const char* kYear = "\x94\x4e";   // 年
constexpr const char* kMonth = "\x8c\x8e";  // 月

void japaneseParagraph(Rng& rng, std::string& out) {
    for (int s = rng.between(2, 8); s > 0; --s) {
        if (rng.unit() < 0.15)
            out += std::to_string(rng.between(1, 2030)) + kYear + std::to_string(rng.between(1, 12)) + kMonth;
        for (int k = rng.between(1, 4); k > 0; --k) {
            out += kNouns.zipf(rng);
            out += kParticles.uniform(rng);
        }
        out += kVerbs.zipf(rng);
        out += kEnds.uniform(rng);
    }
    out += "\r\n\r\n";
}

void englishParagraph(Rng& rng, std::string& out) {
    static const char* const kStops[] = {".", ".", ".", ",", "?", "!"};
    std::vector<std::string> words;
    for (int s = rng.between(2, 7); s > 0; --s) {
        size_t first = words.size();
        for (int k = rng.between(5, 18); k > 0; --k) words.emplace_back(kEnglish.zipf(rng));
        if (rng.unit() < 0.2) words.insert(words.begin() + static_cast<std::ptrdiff_t>(first + rng.below(words.size() - first)),
                                           std::to_string(rng.between(0, 99999)));
        words[first][0] = static_cast<char>(std::toupper(static_cast<unsigned char>(words[first][0])));
        words.back() += kStops[rng.below(6)];
    }
    // Wrapped at about 72 columns.
    size_t column = 0;
    for (const std::string& w : words) {
        if (column > 0 && column + 1 + w.size() > 72) {
            out += "\r\n";
            column = 0;
        }
        if (column > 0) {
            out += ' ';
            ++column;
        }
        out += w;
        column += w.size();
    }
    out += "\r\n\r\n";
}

// Whole lines up to `size`, the rest padded with ASCII so the size is exact.
std::string body(Kind kind, size_t size, uint64_t seed) {
    Rng rng(seed);
    std::string text;
    text.reserve(size + 4096);
    while (text.size() < size) {
        if (kind == Kind::Ja || (kind == Kind::Mix && rng.unit() < 0.5))
            japaneseParagraph(rng, text);
        else
            englishParagraph(rng, text);
    }
    size_t cut = 0;
    if (size >= 2) {
        size_t crlf = text.rfind("\r\n", size - 2);
        if (crlf != std::string::npos) cut = crlf + 2;
    }
    text.resize(cut);
    text.append(size - cut, '-');
    return text;
}

struct Planned {
    std::string name;
    Kind kind;
    size_t size;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_corpus OUTDIR [TOTAL_BYTES]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const size_t total = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : size_t{32} << 20;
    ::mkdir(dir.c_str(), 0777);

    // Large files take 9/16 of the total, small ones the rest.
    std::vector<Planned> plan = {{"big_ja_1.txt", Kind::Ja, total * 4 / 16},
                                 {"big_en_1.txt", Kind::En, total * 3 / 16},
                                 {"big_mix_1.txt", Kind::Mix, total * 2 / 16}};
    size_t left = total - plan[0].size - plan[1].size - plan[2].size;
    Rng rng(20261208);
    static const Kind kKinds[] = {Kind::Ja, Kind::Ja, Kind::En, Kind::Mix};
    static const char* const kPrefix[] = {"ja", "ja", "en", "mix"};
    for (unsigned i = 0; left > 0; ++i) {
        size_t k = rng.below(4);
        size_t size = std::min(left, static_cast<size_t>(rng.between(1 << 10, 64 << 10)));
        char name[32];
        std::snprintf(name, sizeof name, "%s_%04u.txt", kPrefix[k], i);
        plan.push_back({name, kKinds[k], size});
        left -= size;
    }
    for (size_t i = 0; i < plan.size(); ++i) {
        std::string data = body(plan[i].kind, plan[i].size, i + 1);
        std::string path = dir + "/" + plan[i].name;
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(data.data(), 1, data.size(), f) != data.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
