// Quibex: shows the texts inside an archive without unpacking it.
#include <windows.h>
#include <commctrl.h>

#include "core/path_text.h"
#include "app/startup.h"
#include "viewer/ole_session.h"

namespace {

// Keyboard navigation for modeless dialogs.
bool IsDialogKey(MSG& msg) {
    HWND active = GetActiveWindow();
    if (!active) return false;
    wchar_t cls[16] = {};
    GetClassNameW(active, cls, static_cast<int>(std::size(cls)));
    return wcscmp(cls, L"#32770") == 0 && IsDialogMessageW(active, &msg);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    // The whole argument text is the archive path.
    std::wstring argument = quibex::TrimSpaces(commandLine ? commandLine : L"");
    if (quibex::Main(instance, argument) == quibex::StartResult::Exit) {
        quibex::EndOle();
        return 0;
    }

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogKey(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The viewer starts OLE once its first text is shown.
    quibex::EndOle();
    return static_cast<int>(msg.wParam);
}
