// Links in the viewer in process: colours in a rich-edit box and in the
// large-text view, text arriving page by page, the link pointer, clicks
// that open the link under the pointer (through a URL scheme registered to
// the recorder for the test) far down a long text, the question before.
#include <windows.h>

#include <richedit.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "viewer/text_view/large_text_view.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_form.h"
#include "viewer/viewer_window.h"
#include "next_box.h"
#include "viewer_fixture.h"

#ifdef VIEWER_SCREENSHOTS
#include "e2e/png.h"
#include "e2e/screenshot.h"
#endif

using namespace quibex;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 128, 0);
constexpr const wchar_t* kScheme = L"qxlinktest";

std::wstring ProgramFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.rfind(L'\\'));
}

// The URL scheme kScheme opens the recorder for the length of a test; the
// recorder writes each command line it gets to `log`.
class SchemeToRecorder {
public:
    explicit SchemeToRecorder(const std::wstring& log) {
        SetEnvironmentVariableW(L"QX_RECORDER_LOG", log.c_str());
        std::wstring command = L"\"" + ProgramFolder() + L"\\qxrecorder.exe\" \"%1\"";
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CLASSES_ROOT, kScheme, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExW(key, L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        RegCloseKey(key);
        RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kScheme) + L"\\shell\\open\\command").c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    ~SchemeToRecorder() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kScheme);
        SetEnvironmentVariableW(L"QX_RECORDER_LOG", nullptr);
    }
    SchemeToRecorder(const SchemeToRecorder&) = delete;
    SchemeToRecorder& operator=(const SchemeToRecorder&) = delete;
};

class ViewerLinks : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        AppSettings().HiperLink = 1000;
        log_ = work + L"..\\recorder.log";
    }
    // The target of every link the recorder was started on, in order.
    std::vector<std::wstring> Opened() {
        std::string bytes = ReadBytes(log_);
        std::wstring text(bytes.size(), L'\0');
        text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                            text.data(), static_cast<int>(text.size()))));
        std::vector<std::wstring> targets;
        for (size_t at = 0, nl; (nl = text.find(L'\n', at)) != std::wstring::npos; at = nl + 1) {
            std::wstring line = text.substr(at, nl - at);
            size_t open = line.rfind(L" \"");
            targets.push_back(open == std::wstring::npos ? line : line.substr(open + 2, line.size() - open - 3));
        }
        return targets;
    }
    bool WaitOpened(size_t count) {
        return PumpUntil([&] { return Opened().size() >= count; }, 10000);
    }
    // Where character `pos` of a box is drawn, a little inside it.
    static POINT PointOf(HWND box, LONG pos) {
        POINTL at{};
        SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), pos);
        return POINT{at.x + 2, at.y + 4};
    }
    static void Move(HWND box, POINT p) { SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    static void Click(HWND box, POINT p) {
        Move(box, p);
        SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    static bool HandShown() { return GetCursor() == LoadCursorW(nullptr, IDC_HAND); }
    // The colour of one character: the link colours, or the text's own.
    static COLORREF ColourAt(HWND box, LONG pos) {
        SendMessageW(box, EM_SETSEL, pos, pos + 1);
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof cf;
        SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf.dwEffects & CFE_AUTOCOLOR ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
    }
    void WaitLoaded(int tab) {
        ASSERT_TRUE(PumpUntil([&] { return !TabTextPending(tab); }, 20000));
    }

    std::wstring log_;
};

// Lines of 63 characters and CR LF: 64 characters each in a box, which
// keeps one CR per line break.
std::string Lines(size_t count, const std::vector<std::pair<size_t, std::string>>& starts) {
    std::string text;
    for (size_t line = 0; line < count; ++line) {
        std::string row(63, 'x');
        for (const auto& [at, link] : starts)
            if (at == line) row.replace(0, link.size() + 1, link + " ");
        text += row + "\r\n";
    }
    return text;
}

TEST_F(ViewerLinks, ColoursInARichEditBoxAndNothingElseMoves) {
    const std::string text =
        "See http://example.jp/a?b=1 and \x93\xfa\x96\x7b\x8c\xea mail taro@example.jp or mailto:m@x.jp.\r\n"
        "(ftp://u@host/p) end\r\n";
    AddText(L"a.txt", text);
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    const std::wstring shown = BoxText(0);
    auto at = [&](const wchar_t* what) { return static_cast<LONG>(shown.find(what)); };
    CHARRANGE sel{};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 0);
    EXPECT_EQ(sel.cpMax, 0) << "marking leaves the caret at the start";
    struct {
        const wchar_t* what;
        int offset;
        COLORREF colour;
    } cases[] = {
        {L"http://", 0, kBlue},
        {L"b=1", 2, kBlue},
        {L" and", 0, GetSysColor(COLOR_WINDOWTEXT)},
        {L"taro@", 0, kGreen},
        {L"jp or", 1, kGreen},
        {L"jp or", 2, GetSysColor(COLOR_WINDOWTEXT)},
        {L"mailto:", 0, kGreen},
        {L"m@x", 2, kGreen},
        {L"ftp://", 0, kBlue},
        {L"host/p", 5, kBlue},
        {L"(ftp", 0, GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourAt(box, at(c.what) + c.offset), c.colour) << "at " << at(c.what) + c.offset;
    Screenshot(L"viewer-links");
}

TEST_F(ViewerLinks, LinksKeepTheirColoursOverATextColourAndAreOffAtZero) {
    AppSettings().TextColor = RGB(128, 0, 0);
    AddText(L"a.txt", "x http://a.jp y\r\n");
    Open({L"a.txt"});
    EXPECT_EQ(ColourAt(ViewerTextBox(0), 0), RGB(128, 0, 0));
    EXPECT_EQ(ColourAt(ViewerTextBox(0), 3), kBlue);
    CloseAndWait();
    AppSettings().HiperLink = 0;
    AddText(L"a.txt", "x http://a.jp y\r\n");
    Open({L"a.txt"});
    EXPECT_EQ(ColourAt(ViewerTextBox(0), 3), RGB(128, 0, 0));
    Move(ViewerTextBox(0), PointOf(ViewerTextBox(0), 4));
    EXPECT_FALSE(HandShown());
}

// The text comes into its box page by page; the links of each page are
// marked as it arrives, one cut by a page boundary too, and the reader's
// selection and place stay as they were.
TEST_F(ViewerLinks, TextArrivingPageByPageIsMarkedWithoutMovingTheReader) {
    // The first page is 32 KiB: line 504 (bytes 32,760 to 32,824 of the
    // file) crosses it, and so does the link it starts with.
    std::string text = Lines(3000, {{2, "http://first.jp/"}, {504, "http://cut.jp/abcdef"}, {2500, "far@example.jp"}});
    AddText(L"a.txt", text);
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    ASSERT_TRUE(TabTextPending(0)) << "the test needs a text that arrives in pages";
    SendMessageW(box, EM_SETSEL, 70, 75);
    SendMessageW(box, EM_LINESCROLL, 0, 1);
    const auto firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    WaitLoaded(0);
    CHARRANGE sel{};
    SendMessageW(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, 70);
    EXPECT_EQ(sel.cpMax, 75);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
    EXPECT_EQ(ColourAt(box, 2 * 64), kBlue);
    EXPECT_EQ(ColourAt(box, 504 * 64), kBlue);
    EXPECT_EQ(ColourAt(box, 504 * 64 + 19), kBlue) << "the part of the cut link on the second page";
    EXPECT_EQ(ColourAt(box, 504 * 64 + 21), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColourAt(box, 2500 * 64), kGreen);
    const LinkTable* links = LinksOf(*Form(), 0);
    ASSERT_NE(links, nullptr);
    EXPECT_EQ(links->Count(), 3u);
}

TEST_F(ViewerLinks, PointerOverALinkAndBackAndTheRightButtonResetsIt) {
    AddText(L"a.txt", "plain http://a.jp/x plain\r\n");
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    Move(box, PointOf(box, 1));
    EXPECT_FALSE(HandShown());
    Move(box, PointOf(box, 8));
    EXPECT_TRUE(HandShown());
    Move(box, PointOf(box, 22));
    EXPECT_FALSE(HandShown());
    Move(box, PointOf(box, 8));
    ASSERT_TRUE(HandShown());
    POINT p = PointOf(box, 8);
    SendMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_FALSE(HandShown()) << "the right button opens nothing and resets the pointer";
    Pump(100);
    EXPECT_TRUE(Opened().empty());
}

// Far down a text of more than 65,535 characters a click opens the link
// under the pointer, not the one 65,536 characters before it.
TEST_F(ViewerLinks, AClickFarDownALongTextOpensTheLinkUnderThePointer) {
    SchemeToRecorder scheme(log_);
    // Link A at character 640, link B at 640 + 65,536.
    AddText(L"a.txt", Lines(1100, {{10, "qxlinktest://a/near-the-top"}, {1034, "qxlinktest://b/far-down"}}));
    Open({L"a.txt"});
    WaitLoaded(0);
    HWND box = ViewerTextBox(0);
    ASSERT_EQ(BoxText(0).substr(640 + 65536, 12), L"qxlinktest:/");
    SendMessageW(box, EM_LINESCROLL, 0, 1030);
    const POINT farPoint = PointOf(box, 640 + 65536 + 3);
    Move(box, farPoint);
    ASSERT_TRUE(HandShown());
#ifdef VIEWER_SCREENSHOTS
    // The pointer is not in a screen capture: draw it where it is.
    {
        Pump(200);
        RedrawWindow(ViewerWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(200);
        RECT r{};
        GetWindowRect(ViewerWindow(), &r);
        e2e::Image image = e2e::captureWindow(ViewerWindow());
        POINT screen = farPoint;
        ClientToScreen(box, &screen);
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        auto* px = static_cast<uint32_t*>(bits);
        for (int i = 0; i < image.width * image.height; ++i)
            px[i] = image.rgb[3 * i] << 16 | image.rgb[3 * i + 1] << 8 | image.rgb[3 * i + 2];
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib);
        DrawIconEx(dc, screen.x - r.left - 6, screen.y - r.top, GetCursor(), 0, 0, 0, nullptr, DI_NORMAL);
        GdiFlush();
        for (int i = 0; i < image.width * image.height; ++i) {
            image.rgb[3 * i] = static_cast<uint8_t>(px[i] >> 16);
            image.rgb[3 * i + 1] = static_cast<uint8_t>(px[i] >> 8);
            image.rgb[3 * i + 2] = static_cast<uint8_t>(px[i]);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(dib);
        e2e::writePng(e2e::screenshotFolder() + L"\\viewer-link-pointer.png", image);
    }
#endif
    Click(box, farPoint);
    ASSERT_TRUE(WaitOpened(1));
    EXPECT_EQ(Opened(), std::vector<std::wstring>{L"qxlinktest://b/far-down"});
}

TEST_F(ViewerLinks, TheQuestionComesFirstWhenConfirmationIsOn) {
    SchemeToRecorder scheme(log_);
    AppSettings().HiperLinkConfirm = 1;
    AddText(L"a.txt", "go qxlinktest://asked/first now\r\n");
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    {
        NextBox no(IDNO);
        Click(box, PointOf(box, 6));
        Pump(50);  // the link opens once the click is over
        EXPECT_EQ(no.Text(), L"選択されたURLまたはメールアドレスを開きますか？");
    }
    Pump(300);
    EXPECT_TRUE(Opened().empty());
    {
        NextBox yes(IDYES, L"viewer-link-question");
        Click(box, PointOf(box, 6));
        Pump(50);
        EXPECT_EQ(yes.Text(), L"選択されたURLまたはメールアドレスを開きますか？");
    }
    ASSERT_TRUE(WaitOpened(1));
    EXPECT_EQ(Opened(), std::vector<std::wstring>{L"qxlinktest://asked/first"});
}

// A selection dragged from plain text onto a link is no click on it.
TEST_F(ViewerLinks, ADragEndingOnALinkOpensNothing) {
    SchemeToRecorder scheme(log_);
    AddText(L"a.txt", "plain text qxlinktest://dragged/onto end\r\n");
    Open({L"a.txt"});
    HWND box = ViewerTextBox(0);
    POINT from = PointOf(box, 1), to = PointOf(box, 14);
    Move(box, from);
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(box, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    Pump(500);
    EXPECT_TRUE(Opened().empty());
    Click(box, to);
    ASSERT_TRUE(WaitOpened(1));
    EXPECT_EQ(Opened(), std::vector<std::wstring>{L"qxlinktest://dragged/onto"});
}

// A text over 512 KiB goes to the large-text view: the same colours, the
// same pointer and clicks, links found in the parts read later too.
TEST_F(ViewerLinks, TheLargeTextViewMarksAndOpensLinksAlike) {
    SchemeToRecorder scheme(log_);
    AddText(L"big.txt",
            Lines(9000, {{1, "qxlinktest://large/top"}, {3, "mail@example.jp"}, {8000, "qxlinktest://large/far"}}));
    Open({L"big.txt"});
    WaitLoaded(0);
    HWND view = ViewerTextBox(0);
    ASSERT_TRUE(IsLargeTextView(view));
    const LinkTable* links = LargeTextLinks(view);
    ASSERT_NE(links, nullptr);
    EXPECT_EQ(links->Count(), 3u);
    EXPECT_EQ(ColourAt(view, 64 + 2), kBlue);
    EXPECT_EQ(ColourAt(view, 3 * 64 + 1), kGreen);
    EXPECT_EQ(ColourAt(view, 3 * 64 + 20), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColourAt(view, 8000 * 64 + 5), kBlue);
    SendMessageW(view, EM_SETSEL, 0, 0);
    SendMessageW(view, EM_LINESCROLL, 0, 7995);
    const POINT farPoint = PointOf(view, 8000 * 64 + 5);
    Screenshot(L"viewer-large-links");  // before the recorder's console comes up
    Move(view, farPoint);
    EXPECT_TRUE(HandShown());
    Move(view, PointOf(view, 8001 * 64 + 5));
    EXPECT_FALSE(HandShown());
    Click(view, farPoint);
    ASSERT_TRUE(WaitOpened(1));
    EXPECT_EQ(Opened(), std::vector<std::wstring>{L"qxlinktest://large/far"});
}

}  // namespace
