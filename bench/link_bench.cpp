// link_bench UTF8_TEXT SJIS_BYTES: the link scanner's own figures.
//   marking   LinkFinder over the first quarter, half and all of the text
//             (the viewer's scan with "HiperLink" 1000), median of 5 runs;
//             ms per MB of the text as stored (SJIS_BYTES is its size in
//             Shift-JIS), so linear work shows as an even ms per MB.
//   pointer   RunAt, the lookup of every mouse move, over tables of 10^3 to
//             10^6 links: ns per lookup, which grows with log(links).
// Prints; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "viewer/text_view/link_scanner.h"
#include "viewer/text_view/text_encoding.h"

using namespace quibex;
using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: link_bench UTF8_TEXT SJIS_BYTES\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const double sjisBytes = std::stod(argv[2]);
    std::wstring text;
    TextDecoder(TextEncoding::Utf8, nullptr)
        .Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), true, text);
    // A rich-edit box and the large-text view hold one CR per line break.
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    std::printf("text: %zu characters, %.1f MB as Shift-JIS\n", text.size(), sjisBytes / 1e6);

    for (int quarters : {1, 2, 4}) {
        const size_t n = text.size() * static_cast<size_t>(quarters) / 4;
        std::vector<double> ms;
        size_t links = 0;
        for (int run = 0; run < 5; ++run) {
            LinkTable table;
            LinkFinder finder(LinkScanLimit(1000));
            auto start = Clock::now();
            finder.Advance(text.data(), n, true, table);
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            links = table.Count();
        }
        const double mb = sjisBytes * quarters / 4 / 1e6;
        std::printf("marking %5.2f MB: %8.1f ms  %6.2f ms/MB  %zu links\n", mb, Median(ms), Median(ms) / mb, links);
    }

    unsigned seed = 12345;
    for (size_t count : {size_t{1000}, size_t{10000}, size_t{100000}, size_t{1000000}}) {
        LinkTable table;
        for (size_t i = 0; i < count; ++i) table.Add({i * 40 + 3, i * 40 + 20, i % 3 == 0});
        const size_t lookups = 2000000, span = count * 40;
        size_t hits = 0;
        auto start = Clock::now();
        for (size_t i = 0; i < lookups; ++i) {
            seed = seed * 1103515245u + 12345u;
            hits += table.RunAt(seed % span).has_value();
        }
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / lookups;
        std::printf("pointer %7zu links: %6.1f ns per lookup (%zu hits)\n", count, ns, hits);
    }
    return 0;
}
