// Quibex: shows the texts inside an archive without unpacking it.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "core/path_text.h"
#include "app/startup.h"

namespace {

// Keyboard navigation for modeless dialogs.
bool IsDialogKey(MSG& msg) {
    HWND active = GetActiveWindow();
    if (!active) return false;
    wchar_t cls[16] = {};
    GetClassNameW(active, cls, static_cast<int>(std::size(cls)));
    return wcscmp(cls, L"#32770") == 0 && IsDialogMessageW(active, &msg);
}

// OLE for the whole life of the program: the viewer's drop target needs it on
// this thread before its window is made.
struct OleSession {
    OleSession() { ok = SUCCEEDED(OleInitialize(nullptr)); }
    ~OleSession() {
        if (ok) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    bool ok = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    OleSession ole;

    // The whole argument text is the archive path.
    std::wstring argument = quibex::TrimSpaces(commandLine ? commandLine : L"");
    if (quibex::Main(instance, argument) == quibex::StartResult::Exit) return 0;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
