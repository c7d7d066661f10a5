// viewer_launch PLAN: start-up time and peak memory of Windows programs, as a
// user sees them. PLAN is a UTF-8 file with one run a line, tab-separated:
//   label  folder  program  arguments  window-class  text-class
// Each run starts `program` in `folder`, times from just before the process
// is created until a visible top-level window of that process, of
// window-class, shows text on the screen in its first visible child of
// text-class ("A|B" for either), then waits until the process's peak working
// set stops growing, reads its peak memory, closes the window and waits for
// the process to end. "Shows text" is read from the screen, as a user sees
// it: the child is on top at its centre and enough of its pixels differ from
// its background, which a custom-drawn view and a caret alone do not fake.
// One line a run:
//   label  milliseconds  peak-working-set-bytes  peak-pagefile-bytes
// or "label FAIL reason". All runs share this one process, so Wine is
// already up for each of them.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <e2e/screenshot.h>

namespace {

constexpr DWORD kShowTimeoutMs = 120000;  // the 50 MiB case under a busy machine stays far below
constexpr DWORD kSettleMs = 500;          // no growth for this long counts as settled
constexpr DWORD kSettleCapMs = 15000;
constexpr DWORD kExitTimeoutMs = 30000;
// A caret is at most a few dozen pixels; a short line of text has hundreds.
constexpr int kInkPixels = 100;

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find(L'\t', start);
        parts.push_back(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
        if (tab == std::wstring::npos) return parts;
        start = tab + 1;
    }
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, static_cast<int>(std::size(name)));
    return name;
}

bool ClassIn(HWND w, const std::wstring& classes) {
    std::wstring name = ClassOf(w);
    size_t start = 0;
    for (;;) {
        size_t bar = classes.find(L'|', start);
        std::wstring one = classes.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
        if (_wcsicmp(one.c_str(), name.c_str()) == 0) return true;
        if (bar == std::wstring::npos) return false;
        start = bar + 1;
    }
}

struct Search {
    DWORD processId;
    const std::wstring* windowClass;
    const std::wstring* textClasses;
    HWND window = nullptr;
    HWND box = nullptr;
};

BOOL CALLBACK FirstTextBox(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(child) || !ClassIn(child, *s->textClasses)) return TRUE;
    s->box = child;
    return FALSE;
}

BOOL CALLBACK ShownWindow(HWND w, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->processId || !IsWindowVisible(w) || _wcsicmp(ClassOf(w).c_str(), s->windowClass->c_str()) != 0)
        return TRUE;
    s->window = w;
    s->box = nullptr;
    EnumChildWindows(w, FirstTextBox, param);
    return s->box ? FALSE : TRUE;
}

// Pixels of the box's client area on the screen that differ from its
// background (the commonest of its four corners).
int InkPixels(HWND box) {
    RECT rc{};
    GetClientRect(box, &rc);
    if (rc.right < 2 || rc.bottom < 2) return 0;
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    e2e::Image shot = e2e::captureRect(rc);
    int w = shot.width, h = shot.height;
    if (w < 2 || h < 2) return 0;
    uint32_t corners[4] = {shot.pixel(0, 0), shot.pixel(w - 1, 0), shot.pixel(0, h - 1), shot.pixel(w - 1, h - 1)};
    uint32_t background = corners[3];
    for (int i = 0; i < 4; ++i) {
        int same = 0;
        for (uint32_t c : corners) same += c == corners[i];
        if (same >= 2) background = corners[i];
    }
    int ink = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ink += shot.pixel(x, y) != background;
    return ink;
}

// The window once its first visible text box shows text on the screen, else nullptr.
HWND TextShown(DWORD processId, const std::wstring& windowClass, const std::wstring& textClasses) {
    Search s{processId, &windowClass, &textClasses};
    EnumWindows(ShownWindow, reinterpret_cast<LPARAM>(&s));
    if (!s.box) return nullptr;
    RECT rc{};
    GetWindowRect(s.box, &rc);
    HWND top = WindowFromPoint(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    if (top != s.box && !IsChild(s.box, top)) return nullptr;  // covered, e.g. by a splash
    return InkPixels(s.box) >= kInkPixels ? s.window : nullptr;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Peak figures once the working set's peak has not grown for kSettleMs: a
// viewer that goes on loading after the first page counts with that work.
PROCESS_MEMORY_COUNTERS SettledPeak(HANDLE process) {
    PROCESS_MEMORY_COUNTERS now{};
    now.cb = sizeof now;
    GetProcessMemoryInfo(process, &now, sizeof now);
    DWORD start = GetTickCount(), steady = start;
    while (GetTickCount() - steady < kSettleMs && GetTickCount() - start < kSettleCapMs) {
        Sleep(50);
        PROCESS_MEMORY_COUNTERS later{};
        later.cb = sizeof later;
        if (!GetProcessMemoryInfo(process, &later, sizeof later)) break;
        if (later.PeakWorkingSetSize != now.PeakWorkingSetSize || later.PeakPagefileUsage != now.PeakPagefileUsage)
            steady = GetTickCount();
        now = later;
    }
    return now;
}

void Report(const std::wstring& label, const char* text) {
    std::printf("%ls %s\n", label.c_str(), text);
    std::fflush(stdout);
}

void RunOne(const std::vector<std::wstring>& f) {
    const std::wstring &label = f[0], &folder = f[1], &program = f[2], &arguments = f[3];
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER frequency, start, shown;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi)) {
        Report(label, "FAIL cannot start");
        return;
    }
    CloseHandle(pi.hThread);
    HWND window = nullptr;
    const char* failure = nullptr;
    for (;;) {
        window = TextShown(pi.dwProcessId, f[4], f[5]);
        QueryPerformanceCounter(&shown);
        if (window) break;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            failure = "FAIL ended before showing text";
            break;
        }
        if (Seconds(start, shown, frequency) * 1000 > kShowTimeoutMs) {
            failure = "FAIL no text within the time limit";
            break;
        }
        Sleep(2);
    }
    if (window) {
        PROCESS_MEMORY_COUNTERS peak = SettledPeak(pi.hProcess);
        char line[128];
        std::snprintf(line, sizeof line, "%.1f %lu %lu", Seconds(start, shown, frequency) * 1000,
                      static_cast<unsigned long>(peak.PeakWorkingSetSize),
                      static_cast<unsigned long>(peak.PeakPagefileUsage));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, 1);
            failure = "FAIL did not end after WM_CLOSE";
        } else {
            Report(label, line);
        }
    } else {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, kExitTimeoutMs);
    }
    if (failure) Report(label, failure);
    CloseHandle(pi.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: viewer_launch PLAN\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "viewer_launch: cannot read the plan\n");
        return 2;
    }
    std::string line;
    int bad = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::wstring> fields = SplitTabs(Wide(line));
        if (fields.size() != 6) {
            std::fprintf(stderr, "viewer_launch: a plan line needs 6 fields: %s\n", line.c_str());
            ++bad;
            continue;
        }
        RunOne(fields);
    }
    return bad ? 1 : 0;
}
