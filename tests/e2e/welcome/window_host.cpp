// Test host: loads the settings and the library versions of its own folder
// the way start-up does, then shows the key list ("keylist") or the about
// window ("about") modally over a plain window, and ends when it closes.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/app_state.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/settings_rules.h"
#include "core/win_profile_store.h"
#include "options/key_list_window.h"
#include "ui/about_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    quibex::AppState& app = quibex::App();
    app.IniPath = quibex::IniPathFor(quibex::ApplicationFolder());
    quibex::WinProfileStore ini(app.IniPath);
    quibex::LoadSettings(ini, quibex::AppSettings());

    HWND owner = CreateWindowExW(0, L"STATIC", L"Quibex テスト", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 120, 760, 520,
                                 nullptr, nullptr, nullptr, nullptr);
    const std::wstring which = commandLine ? commandLine : L"";
    if (which == L"keylist")
        quibex::ShowKeyListWindow(owner);
    else if (which == L"about")
        quibex::ShowAboutWindow(owner);
    else
        return 2;
    DestroyWindow(owner);
    return 0;
}
