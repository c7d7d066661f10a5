#include "ui/about_window.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "actions/association.h"
#include "archive/archiver_library.h"
#include "core/app_state.h"
#include "core/handle.h"
#include "core/window_base.h"
#include "resource.h"
#include "ui/about_texts.h"
#include "ui/about_version.h"
#include "ui/program_version.h"

namespace quibex {

namespace {

constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kBlinkMs = 500;

// One library's three labels and what the window found out about it.
struct LibraryLine {
    int dllId, versionId, authorId;
    const wchar_t* author;
    bool missing = false;
    bool outdated = false;
    bool Holds(int id) const { return id == dllId || id == versionId || id == authorId; }
};

class AboutDialog : public Dialog {
protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

private:
    void ShowLibraries();
    void ShowProgram();
    void ShowTitle();
    RECT ChildRect(HWND child) const;
    void AddTooltips();
    bool IsLink(int id) const;
    void Blink();
    INT_PTR ColourLabel(HDC dc, int id);

    // One line per library, in the order of kReaderKinds.
    LibraryLine lines_[5] = {
        {IDC_ABOUT_LBLLHADLL, IDC_ABOUT_LBLLHAVER, IDC_ABOUT_LBLLHACOPYR, about_text::kLhaAuthor},
        {IDC_ABOUT_LBLZIPDLL, IDC_ABOUT_LBLZIPVER, IDC_ABOUT_LBLZIPCOPYR, about_text::kZipAuthor},
        {IDC_ABOUT_LBLCABDLL, IDC_ABOUT_LBLCABVER, IDC_ABOUT_LBLCABCOPYR, about_text::kCabAuthor},
        {IDC_ABOUT_LBL7ZDLL, IDC_ABOUT_LBL7ZVER, IDC_ABOUT_LBL7ZCOPYR, about_text::k7zAuthor},
        {IDC_ABOUT_LBLRARDLL, IDC_ABOUT_LBLRARVER, IDC_ABOUT_LBLRARCOPYR, about_text::kRarAuthor},
    };
    static_assert(std::size(kReaderKinds) == 5);
    UniqueFont titleFont_;
};

bool AboutDialog::OnInit() {
    ShowProgram();
    ShowLibraries();
    AddTooltips();
    return true;
}

void AboutDialog::ShowProgram() {
    ProgramVersion version = ReadProgramVersion();
    SetDlgItemTextW(hwnd_, IDC_ABOUT_LBLMYVER,
                    ProgramVersionText(version.major, version.minor, version.revision).c_str());
    SetDlgItemTextW(hwnd_, IDC_ABOUT_LBLCOPYRIGHT, version.copyright.c_str());
    SetDlgItemTextW(hwnd_, IDC_ABOUT_LBLHP, about_text::kHomePage);
    ShowTitle();
}

// The large title, with the version following it on the same line.
void AboutDialog::ShowTitle() {
    HWND title = Item(IDC_ABOUT_LBLTITLE);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    LOGFONTW font{};
    font.lfHeight = -MulDiv(20, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(font.lfFaceName, about_text::kTitleFont, std::size(font.lfFaceName) - 1);
    titleFont_.reset(CreateFontIndirectW(&font));
    if (!titleFont_) return;
    SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    HGDIOBJ old = SelectObject(dc.get(), titleFont_.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), L"Quibex", 6, &extent);
    SelectObject(dc.get(), old);
    RECT titleAt = ChildRect(title);
    HWND versionLabel = Item(IDC_ABOUT_LBLMYVER);
    RECT versionAt = ChildRect(versionLabel);
    int x = titleAt.left + extent.cx + extent.cy / 3;
    int y = titleAt.top + extent.cy - (versionAt.bottom - versionAt.top) - extent.cy / 8;  // near the baseline
    SetWindowPos(versionLabel, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT AboutDialog::ChildRect(HWND child) const {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void AboutDialog::ShowLibraries() {
    bool blink = false;
    for (size_t i = 0; i < std::size(lines_); ++i) {
        const ReaderKind kind = kReaderKinds[i];
        const int version = LibraryVersion(kind);
        LibraryLine& line = lines_[i];
        std::wstring text;
        switch (kind) {
        case ReaderKind::Lzh: {
            // Only the LZH library has a sub-version; it counts in its age.
            const int sub = version != 0 ? LibraryOf(kind).GetSubVersion() : 0;
            text = LibraryVersionText(version, sub);
            line.outdated = LhaOutdated(version, sub);
            break;
        }
        case ReaderKind::Zip: line.outdated = ZipOutdated(version); break;
        case ReaderKind::Cab: line.outdated = CabOutdated(version); break;
        case ReaderKind::SevenZip: line.outdated = SevenZipOutdated(version); break;
        case ReaderKind::Rar: line.outdated = RarOutdated(version); break;
        }
        if (text.empty()) text = LibraryVersionText(version);
        line.missing = version == 0;
        SetDlgItemTextW(hwnd_, line.versionId, text.c_str());
        SetDlgItemTextW(hwnd_, line.authorId, line.author);
        blink = blink || line.outdated;
    }
    if (blink) SetTimer(hwnd_, kBlinkTimer, kBlinkMs, nullptr);
}

void AboutDialog::AddTooltips() {
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tip) return;  // the window works without its tips
    for (const LibraryLine& line : lines_) {
        for (int id : {line.dllId, line.versionId, line.authorId}) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = hwnd_;
            tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
            tool.lpszText = const_cast<wchar_t*>(about_text::kLibraryTip);
            SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

bool AboutDialog::IsLink(int id) const {
    if (id == IDC_ABOUT_IMGQUIBEX || id == IDC_ABOUT_LBLHP) return true;
    for (const LibraryLine& line : lines_)
        if (line.Holds(id)) return true;
    return false;
}

bool AboutDialog::OnCommand(int id, int code, HWND) {
    if (id == IDC_ABOUT_COMMAND1 || id == IDOK || id == IDCANCEL) {
        End(IDOK);
        return true;
    }
    if (code != STN_CLICKED || !IsLink(id)) return false;
    // The shell's answer is not looked at: a missing browser is not the
    // about window's business.
    std::wstring address = about_text::kArchiverDownloadPage;
    if (id == IDC_ABOUT_IMGQUIBEX || id == IDC_ABOUT_LBLHP) {
        wchar_t text[256] = {};
        GetDlgItemTextW(hwnd_, IDC_ABOUT_LBLHP, text, static_cast<int>(std::size(text)));
        address = text;
    }
    OpenByAssociation(address, 0);
    return true;
}

void AboutDialog::Blink() {
    for (const LibraryLine& line : lines_) {
        if (!line.outdated) continue;
        for (int id : {line.dllId, line.versionId, line.authorId}) {
            HWND label = Item(id);
            ShowWindow(label, IsWindowVisible(label) ? SW_HIDE : SW_SHOW);
        }
    }
}

INT_PTR AboutDialog::ColourLabel(HDC dc, int id) {
    COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    for (const LibraryLine& line : lines_)
        if (line.missing && line.Holds(id)) colour = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

bool AboutDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
    switch (msg) {
    case WM_TIMER:
        if (wp != kBlinkTimer) return false;
        Blink();
        result = 0;
        return true;
    case WM_CTLCOLORSTATIC:
        result = ColourLabel(reinterpret_cast<HDC>(wp), GetDlgCtrlID(reinterpret_cast<HWND>(lp)));
        return true;
    case WM_SETCURSOR:
        if (!IsLink(GetDlgCtrlID(reinterpret_cast<HWND>(wp)))) return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    default: return false;
    }
}

}  // namespace

void ShowAboutWindow(HWND owner) {
    AboutDialog dialog;
    dialog.RunModal(IDD_ABOUT, owner);
}

}  // namespace quibex
