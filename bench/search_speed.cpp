// search_speed TEXT [ROUNDS]: how fast the viewer searches a large text.
// Loads TEXT into a large-text view (the view every text over 512 KiB gets)
// and times EM_FINDTEXTEXW over the whole text for strings that are not in
// it, as the search window sends it: the median of ROUNDS (default 7) for
// each string. One line per string:
//   label  milliseconds  file-MB/s  UTF-16-MB/s
// MB are 10^6 bytes: of the file as it is on disk, and of its text in memory.
#include <windows.h>

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "viewer/text_view/large_text_view.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_speed TEXT [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 7;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(argv[1], GetFileExInfoStandard, &data)) {
        std::fprintf(stderr, "search_speed: cannot read the text\n");
        return 1;
    }
    const double fileBytes = static_cast<double>(data.nFileSizeLow) + 4294967296.0 * data.nFileSizeHigh;
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    RECT r{0, 0, 800, 600};
    HWND view = quibex::CreateLargeTextView(parent, 1, r);
    if (!view || !quibex::LoadLargeText(view, argv[1], true)) {
        std::fprintf(stderr, "search_speed: the view could not load the text\n");
        return 1;
    }
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const double chars = static_cast<double>(SendMessageW(view, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0));
    std::printf("text: %.0f bytes on disk, %.0f characters\n", fileBytes, chars);

    const struct {
        const char* label;
        const wchar_t* what;
        WPARAM flags;
    } cases[] = {
        {"ascii", L"Quibex-absent", FR_DOWN},
        {"ascii-matchcase", L"Quibex-absent", FR_DOWN | FR_MATCHCASE},
        {"japanese", L"のない語句", FR_DOWN},  // "の" starts many places: the scan stops often
    };
    for (const auto& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < rounds; ++i) {
            FINDTEXTEXW find{{0, -1}, c.what, {0, 0}};
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            const LRESULT found = SendMessageW(view, EM_FINDTEXTEXW, c.flags, reinterpret_cast<LPARAM>(&find));
            QueryPerformanceCounter(&t1);
            if (found >= 0) {
                std::fprintf(stderr, "search_speed: %s was found\n", c.label);
                return 1;
            }
            times.push_back(Seconds(t0, t1));
        }
        std::sort(times.begin(), times.end());
        const double s = times[times.size() / 2];
        std::printf("%s %.1f %.0f %.0f\n", c.label, s * 1000, fileBytes / s / 1e6, chars * 2 / s / 1e6);
    }
    DestroyWindow(parent);
    return 0;
}
