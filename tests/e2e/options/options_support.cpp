#include "options_support.h"

#include <commctrl.h>

#include <vector>

#include "view_options_dialog_ids.h"

HWND OptionsScenario::Start(const char* ini) {
    session_ = std::make_unique<QuibexSession>(ini);
    return StartAgain();
}

HWND OptionsScenario::StartAgain() {
    w = nullptr;
    if (!q().start()) return nullptr;
    shot.setProcess(q().pid());
    e2e::waitUntil([&] {
        for (HWND found :
             e2e::findWindows(e2e::WindowQuery().withCaption(L"Quibex").withClass(L"#32770").inProcess(q().pid())))
            if (GetDlgItem(found, IDC_OPTIONS_CHKBEEP)) w = found;
        return w != nullptr;
    });
    if (w) q().process().waitForInputIdle();
    return w;
}

HWND OptionsScenario::OpenViewOptions() {
    if (!e2e::pressButtonById(w, IDC_OPTIONS_BTNVIEWER)) return nullptr;
    HWND v = WaitDialogWith(q().pid(), IDC_VIEWOPT_CHKSCK0);
    if (v) q().process().waitForInputIdle();
    return v;
}

void OptionsScenario::CloseAndExpectExit() {
    e2e::closeWindow(w);
    EXPECT_EQ(q().process().waitForExit(), std::optional<DWORD>(0));
}

bool ChooseFile(QuibexSession& q, const std::wstring& title, const std::wstring& path) {
    HWND chooser = q.waitWindow(title);
    if (!chooser) return false;
    q.process().waitForInputIdle();
    HWND name = e2e::childById(chooser, 0x47C);  // the file name box (cmb13), or its edit (edt1)
    if (!name) name = e2e::childById(chooser, 0x480);
    if (!name || !e2e::setWindowText(name, path)) return false;
    // The dialog may still be setting itself up: ask again until it goes.
    return e2e::waitUntil([&] {
        if (IsWindow(chooser)) PostMessageW(chooser, WM_COMMAND, IDOK, 0);
        return e2e::waitForWindowGone(chooser, std::chrono::seconds(1));
    });
}

HWND WaitDialogWith(DWORD processId, int id) {
    HWND dialog = nullptr;
    e2e::waitUntil([&] {
        for (HWND found : e2e::findWindows(e2e::WindowQuery().withClass(L"#32770").inProcess(processId)))
            if (GetDlgItem(found, id)) dialog = found;
        return dialog != nullptr;
    });
    return dialog;
}

HWND Item(HWND options, int id) { return GetDlgItem(options, id); }

bool Enabled(HWND options, int id) { return IsWindowEnabled(Item(options, id)) != FALSE; }

bool Click(HWND options, int id) {
    // Not clickCenter: seen from another process, the group boxes lie over
    // the controls they frame, so its check for a covering window fails.
    RECT r{};
    if (!GetWindowRect(Item(options, id), &r) || !e2e::bringToFront(options)) return false;
    return e2e::clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

int SpinPosition(HWND options) {
    DWORD_PTR pos = 0;
    SendMessageTimeoutW(Item(options, IDC_OPTIONS_VSCROLL1), UDM_GETPOS32, 0, 0, SMTO_ABORTIFHUNG, 5000, &pos);
    return static_cast<int>(pos);
}

HWND WaitHelpPopup(DWORD processId) {
    return e2e::waitForWindow(e2e::WindowQuery().withClass(L"QuibexHelpPopup").inProcess(processId),
                              std::chrono::milliseconds(5000));
}

HWND HoverForTooltip(DWORD processId, HWND control, const std::wstring& text) {
    RECT r{};
    GetWindowRect(control, &r);
    if (!e2e::moveMouseTo({r.left + 40, (r.top + r.bottom) / 2})) return nullptr;
    e2e::moveMouseTo({r.left + 42, (r.top + r.bottom) / 2});  // hovering means moving a little
    HWND tip = nullptr;
    e2e::waitUntil(
        [&] {
            for (HWND t : e2e::findWindows(e2e::WindowQuery().withClass(TOOLTIPS_CLASSW).inProcess(processId)))
                if (e2e::windowText(t) == text) tip = t;
            return tip != nullptr;
        },
        std::chrono::seconds(10));
    return tip;
}

std::string IniBytes(QuibexSession& q) {
    auto bytes = e2e::readFileBytes(q.folder().file(L"Quibex.ini"));
    return std::string(bytes.begin(), bytes.end());
}

std::string Cp932(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    int m = WideCharToMultiByte(932, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(932, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}
