#include "viewer_fixture.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_window.h"

#ifdef VIEWER_SCREENSHOTS
#include "e2e/screenshot.h"
#endif

using namespace quibex;

namespace {
void DrainQuit() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
}  // namespace

void ViewerTest::SetUp() {
    CreateDirectoryW(root_.file(L"temp").c_str(), nullptr);
    work = root_.file(L"temp") + L"\\";
    iniPath = root_.file(L"Quibex.ini");
    AppState& app = App();
    app = AppState{};
    app.IniPath = iniPath;
    app.WorkFolder = work;
    archive = OpenedArchive{ReaderKind::Lzh, false, root_.file(L"sample.lzh"), root_.file(L"sample.lzh"), L"LZH"};
    WriteBytes(archive.path, "archive");
    documents.clear();
    AppSettings() = Settings{};
    SetDropHooks(nullptr, nullptr);
    DrainQuit();
}

void ViewerTest::TearDown() {
    if (ViewerWindow()) {
        UnloadViewer();
        PumpUntil([] { return ViewerWindow() == nullptr; });
    }
    DrainQuit();
}

void ViewerTest::AddText(const std::wstring& name, const std::string& bytes) { WriteBytes(work + name, bytes); }

void ViewerTest::Open(const std::vector<std::wstring>& order) {
    ArchiveContents contents{ReadVerdict::Found, order, documents};
    // The pointer waits in the screen's corner, away from the viewer: where an
    // earlier test left it, a window laid out under it would get its hints.
    SetCursorPos(0, 0);
    ASSERT_NE(LoadViewer(archive), nullptr);
    ShowViewerWindow();
    Pump();
    App().ViewerLoading = false;
    BuildViewer(contents);
    ASSERT_NE(ViewerWindow(), nullptr);
}

void ViewerTest::OpenTexts(int count) {
    std::vector<std::wstring> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L".txt");
        AddText(names.back(), "text\r\n");
    }
    Open(names);
}

void ViewerTest::Pump(int ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms > 0) Sleep(1);
    } while (static_cast<int>(GetTickCount() - start) < ms);
}

void ViewerTest::CloseAndWait() {
    SendMessageW(ViewerWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([] { return ViewerWindow() == nullptr; }));
    DrainQuit();
}

std::vector<std::wstring> ViewerTest::Captions() {
    std::vector<std::wstring> out;
    HWND tabs = ViewerTabStrip();
    int n = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[260] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        out.push_back(text);
    }
    return out;
}

std::wstring ViewerTest::Panel(int panel) {
    HWND bar = ViewerStatusBar();
    LRESULT r = SendMessageW(bar, SB_GETTEXTLENGTHW, panel - 1, 0);
    std::wstring text(LOWORD(r) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(r));
    return text;
}

std::wstring ViewerTest::BoxText(int index) {
    HWND box = ViewerTextBox(index);
    GETTEXTLENGTHEX q{GTL_NUMCHARS | GTL_PRECISE, 1200};
    auto len = SendMessageW(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&q), 0);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    GETTEXTEX g{static_cast<DWORD>((len + 1) * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    auto got = SendMessageW(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&g), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring ViewerTest::Ini(const wchar_t* section, const wchar_t* key) {
    wchar_t buf[256] = {};
    GetPrivateProfileStringW(section, key, L"(none)", buf, static_cast<DWORD>(std::size(buf)), App().IniPath.c_str());
    return buf;
}

void ViewerTest::Screenshot(const std::wstring& name) {
#ifdef VIEWER_SCREENSHOTS
    Pump(300);
    RedrawWindow(ViewerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(200);
    e2e::saveScreenshot(name, ViewerWindow());
#else
    (void)name;
#endif
}

std::vector<std::wstring> g_dropStarted;
int g_dropEnded = 0;

namespace {
bool g_dropStartsSucceed = true;
}

void RecordDrops(bool startsSucceed) {
    g_dropStarted.clear();
    g_dropEnded = 0;
    g_dropStartsSucceed = startsSucceed;
    SetDropHooks(
        [](const std::wstring& line) {
            g_dropStarted.push_back(line);
            return g_dropStartsSucceed;
        },
        [] { ++g_dropEnded; });
}

std::wstring AsBoxText(std::wstring text) {
    size_t at;
    while ((at = text.find(L"\r\n")) != std::wstring::npos) text.erase(at + 1, 1);
    return text;
}
