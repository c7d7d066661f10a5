#include "box_answerer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

struct Search {
    DWORD thread;
    const std::set<HWND>* answered;
    HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (GetWindowThreadProcessId(hwnd, nullptr) != s->thread || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[32];
    if (!GetClassNameW(hwnd, cls, static_cast<int>(std::size(cls))) || std::wstring(cls) != L"#32770") return TRUE;
    if (s->answered->count(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
}

std::wstring TextOf(HWND hwnd) {
    if (!hwnd) return L"";
    int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
    return s;
}

bool ShowsIcon(HWND box, LPCWSTR id) {
    // The icon Static of the system message box: id 20 on Windows, 1088 in Wine.
    HWND icon = GetDlgItem(box, 20);
    if (!icon) icon = GetDlgItem(box, 1088);
    if (!icon) return false;
    auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    return shown && shown == LoadIconW(nullptr, id);
}

// The centring hook moves a box while it is being activated; wait for the
// activation to complete before reading its place.
void WaitUntilActive(HWND box, DWORD thread) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    while (GetTickCount64() < deadline) {
        if (GetGUIThreadInfo(thread, &info) && info.hwndActive == box) return;
        Sleep(5);
    }
}

SeenBox Read(HWND box) {
    SeenBox seen;
    GetWindowRect(box, &seen.rect);
    seen.title = TextOf(box);
    seen.text = TextOf(GetDlgItem(box, 0xFFFF));
    seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
    seen.hasYes = GetDlgItem(box, IDYES) != nullptr;
    seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
    seen.errorIcon = ShowsIcon(box, IDI_HAND);
    seen.questionIcon = ShowsIcon(box, IDI_QUESTION);
    return seen;
}

}  // namespace

std::vector<SeenBox> RunAnsweringBoxes(const std::function<void()>& action, std::vector<int> answers,
                                       DWORD timeoutMs) {
    std::atomic<bool> done{false};
    std::atomic<DWORD> workerId{0};
    std::thread worker([&] {
        workerId = GetCurrentThreadId();
        action();
        done = true;
    });
    while (workerId == 0) Sleep(1);

    std::vector<SeenBox> boxes;
    std::set<HWND> answered;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done) {
        Search search{workerId, &answered};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            HWND box = search.found;
            WaitUntilActive(box, workerId);
            boxes.push_back(Read(box));
            int answer = boxes.size() <= answers.size() ? answers[boxes.size() - 1] : IDOK;
            answered.insert(box);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
        } else if (GetTickCount64() > deadline) {
            ADD_FAILURE() << "the code under test did not finish in time";
            break;
        }
        Sleep(10);
    }
    if (!done) {  // do not leave the thread blocked in a box: close whatever it shows
        while (!done) {
            std::set<HWND> none;
            Search search{workerId, &none};
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
            if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
            Sleep(10);
        }
    }
    worker.join();
    return boxes;
}
