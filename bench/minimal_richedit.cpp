// The second yardstick of the viewer benchmark: the least a rich-edit viewer
// pays before its first text is on screen (one window, one read-only rich-edit
// box of Msftedit.dll showing one line, shown at once).
#include <windows.h>

#include <richedit.h>

#include "yardstick_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (!LoadLibraryW(L"Msftedit.dll")) return 1;
    return yardstick::Run(
        instance, show, L"QuibexBenchRichEdit", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), [instance](HWND window) {
            HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, MSFTEDIT_CLASS, L"",
                                       WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 8, 8, 600, 400,
                                       window, nullptr, instance, nullptr);
            return box && SetWindowTextW(box, yardstick::kLine);
        });
}
