#include "viewer_support.h"

#include <commctrl.h>
#include <richedit.h>

#include <e2e/remote_memory.h>
#include <gtest/gtest.h>

std::wstring ViewerArchive(const std::wstring& name) {
    return e2e::hostToWinePath(QUIBEX_VIEWER_DATA) + L"\\" + name;
}

std::string IniWith(std::initializer_list<std::string> changes) {
    // One entry per line, so a change is a search and an assignment.
    std::vector<std::string> lines;
    const std::string base = kDefaultIni;
    for (size_t at = 0; at < base.size();) {
        size_t nl = base.find('\n', at);
        if (nl == std::string::npos) nl = base.size();
        lines.push_back(base.substr(at, nl - at));
        at = nl + 1;
    }
    for (const std::string& change : changes) {
        const size_t dot = change.find('.');
        std::string section = "[";
        section.append(change, 0, dot).append("]");
        const std::string line = change.substr(dot + 1);
        const std::string key = line.substr(0, line.find('=') + 1);
        size_t s = 0;
        while (s < lines.size() && lines[s] != section) ++s;
        if (s == lines.size()) lines.push_back(section);
        size_t i = s + 1;
        while (i < lines.size() && !lines[i].starts_with("[") && !lines[i].starts_with(key)) ++i;
        if (i < lines.size() && lines[i].starts_with(key)) {
            lines[i] = line;
        } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), line);
        }
    }
    std::string ini;
    for (const std::string& l : lines) ini += l + "\n";
    return ini;
}

LRESULT SendWithTimeout(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    constexpr UINT kTimeoutMs = 5000;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kTimeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

ViewerParts StartViewer(QuibexSession& q, e2e::ScreenshotAtEnd& shot, const std::wstring& archive) {
    if (!q.start(L"\"" + ViewerArchive(archive) + L"\"")) return {};
    shot.setProcess(q.pid());
    return WaitBuiltViewer(q);
}

ViewerParts WaitBuiltViewer(QuibexSession& q) {
    ViewerParts v;
    v.window = e2e::waitForWindow(e2e::WindowQuery().withCaptionPart(L" - Quibex").inProcess(q.pid()));
    if (!v.window) return {};
    HWND tabs = e2e::waitForChild(v.window, e2e::WindowQuery().withClass(WC_TABCONTROLW));
    HWND status = e2e::waitForChild(v.window, e2e::WindowQuery().withClass(STATUSCLASSNAMEW));
    if (!tabs || !status) return {};
    bool built = e2e::waitUntil([&] {
        std::vector<std::wstring> panels = e2e::statusBarTexts(status);
        return panels.size() == 3 && !panels[2].empty();
    });
    if (!built) return {};
    v.tabs = tabs;
    v.status = status;
    return v;
}

HWND TextBox(const ViewerParts& v, int index) { return e2e::childById(v.window, 1000 + index); }

std::vector<std::wstring> WorkFolderTexts(QuibexSession& q) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(q.folder().file(L"temp\\*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring name = fd.cFileName;
        size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos && _wcsicmp(name.c_str() + dot, L".txt") == 0) names.push_back(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

std::optional<std::map<UINT_PTR, std::wstring>> TabTooltips(HWND tabs) {
    auto tooltip = reinterpret_cast<HWND>(SendWithTimeout(tabs, TCM_GETTOOLTIPS, 0, 0));
    if (!tooltip) return std::nullopt;
    std::map<UINT_PTR, std::wstring> tips;
    constexpr size_t kChars = 256;
    e2e::RemoteBuffer buf(tooltip, sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
    if (!buf.ok()) return std::nullopt;
    const auto count = static_cast<int>(SendWithTimeout(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        // The tool as the tab strip registered it, then its text (a callback
        // tool asks the strip's owner, as a hovering mouse would).
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        buf.write(&info, sizeof info);
        if (!SendWithTimeout(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), buf.lparam()) || !buf.read(&info, sizeof info))
            continue;
        info.lpszText = static_cast<wchar_t*>(buf.remote(sizeof info));
        const wchar_t empty = 0;
        buf.write(&empty, sizeof empty, sizeof info);
        buf.write(&info, sizeof info);
        SendWithTimeout(tooltip, TTM_GETTEXTW, kChars, buf.lparam());
        std::wstring text(kChars, L'\0');
        buf.read(text.data(), kChars * sizeof(wchar_t), sizeof info);
        text.resize(wcsnlen(text.c_str(), kChars));
        tips[info.uId] = text;
    }
    return tips;
}

COLORREF CharColour(HWND box, LONG position) {
    SendWithTimeout(box, EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position + 1));
    e2e::RemoteBuffer buf(box, sizeof(CHARFORMAT2W));
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof cf;
    if (!buf.ok() || !buf.write(&cf, sizeof cf)) return CLR_INVALID;
    SendWithTimeout(box, EM_GETCHARFORMAT, SCF_SELECTION, buf.lparam());
    if (!buf.read(&cf, sizeof cf) || !(cf.dwMask & CFM_COLOR)) return CLR_INVALID;
    if (cf.dwEffects & CFE_AUTOCOLOR) return GetSysColor(COLOR_WINDOWTEXT);
    return cf.crTextColor;
}

std::pair<DWORD, DWORD> Selection(HWND box) {
    auto packed = static_cast<DWORD>(SendWithTimeout(box, EM_GETSEL, 0, 0));
    return {LOWORD(packed), HIWORD(packed)};
}

std::optional<DWORD> CloseAndWait(QuibexSession& q, HWND viewer) {
    e2e::closeWindow(viewer);
    return q.process().waitForExit();
}

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

namespace {
RECT ClientRectOf(HWND child, HWND top) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

// The tab strip, the shown text box and the status bar lie inside the
// client area, in that order from the top, without overlapping.
void ExpectLaidOut(const ViewerParts& v, HWND box) {
    RECT client{};
    GetClientRect(v.window, &client);
    const RECT tabs = ClientRectOf(v.tabs, v.window);
    const RECT text = ClientRectOf(box, v.window);
    const RECT status = ClientRectOf(v.status, v.window);
    EXPECT_TRUE(IsWindowVisible(v.tabs) && IsWindowVisible(box) && IsWindowVisible(v.status));
    EXPECT_GE(tabs.left, 0);
    EXPECT_LE(tabs.right, client.right);
    EXPECT_LE(tabs.bottom, status.top) << "the tab strip ends above the status bar";
    EXPECT_GE(text.top, tabs.top);
    EXPECT_LE(text.bottom, status.top) << "the text ends above the status bar";
    EXPECT_LE(text.right, client.right);
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_GT(text.bottom - text.top, 0) << "some text stays visible";
}

