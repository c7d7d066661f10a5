// The about window with our libraries, with an old and a missing one; its
// links open through the "https" association.
#include <gtest/gtest.h>

#include <algorithm>

#include <e2e/gtest_support.h>

#include "about_dialog_ids.h"
#include "shell_places.h"
#include "ui/about_version.h"
#include "version.h"
#include "window_host_run.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kIni = "[Viewer]\nShortCutKey=111110111\n";
const std::wstring kCaption = L"Quibex バージョン情報";

std::wstring Text(HWND about, int id) { return e2e::windowText(e2e::childById(about, id)); }
bool Visible(HWND about, int id) { return IsWindowVisible(e2e::childById(about, id)) != FALSE; }

// The darkest pixel of a label as drawn: its text colour, near enough.
int DarkestLevel(HWND label) {
    e2e::Image image = e2e::captureWindow(label);
    int darkest = 255;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.pixel(x, y);
            darkest = std::min(darkest, static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
        }
    }
    return darkest;
}

// Whether the window sets the pointer itself over `control`: the question a
// child's default handling asks its parent on every mouse move. (Wine does
// not report another process's pointer reliably enough to read it back.)
bool SetsOwnPointerOver(HWND about, HWND control) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                        SMTO_ABORTIFHUNG, 5000, &answer);
    return answer != 0;
}

std::vector<std::wstring> RecorderLines(e2e::ProgramFolder& folder) {
    auto bytes = e2e::readFileBytes(folder.file(L"recorder.log"));
    std::wstring text = e2e::fromUtf8(std::string(bytes.begin(), bytes.end()));
    std::vector<std::wstring> lines;
    for (size_t at = 0, nl; (nl = text.find(L'\n', at)) != std::wstring::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at));
    return lines;
}

TEST(E2eAbout, OurLibrariesTheProgramVersionAndLinksThroughTheAssociation) {
    WindowHostRun run(kIni, {L"UNLHA32.DLL", L"UNZIP32.DLL", L"CAB32.DLL"});
    run.folder().copyFrom({L"e2e_recorder.exe"});
    HttpsHandler browser(run.folder().file(L"e2e_recorder.exe"));
    HWND about = run.open(L"about", kCaption);
    ASSERT_TRUE(about);

    EXPECT_EQ(Text(about, IDC_ABOUT_LBLTITLE), L"Quibex");
    // The build's version (1.0.0 shows "1.00").
    EXPECT_EQ(Text(about, IDC_ABOUT_LBLMYVER),
              quibex::ProgramVersionText(QUIBEX_VERSION_MAJOR, QUIBEX_VERSION_MINOR, QUIBEX_VERSION_PATCH));
    EXPECT_EQ(Text(about, IDC_ABOUT_LBLCOPYRIGHT), L"Copyright (C) 2026 Quibex Project");
    const std::wstring home = Text(about, IDC_ABOUT_LBLHP);
    EXPECT_TRUE(home.starts_with(L"https://")) << e2e::toUtf8(home);
    const int dll[] = {IDC_ABOUT_LBLLHADLL, IDC_ABOUT_LBLZIPDLL, IDC_ABOUT_LBLCABDLL};
    const int ver[] = {IDC_ABOUT_LBLLHAVER, IDC_ABOUT_LBLZIPVER, IDC_ABOUT_LBLCABVER};
    const int author[] = {IDC_ABOUT_LBLLHACOPYR, IDC_ABOUT_LBLZIPCOPYR, IDC_ABOUT_LBLCABCOPYR};
    const wchar_t* names[] = {L"Unlha32.dll", L"Unzip32.dll", L"Cab32.dll"};
    const wchar_t* versions[] = {L"Ver 3.30", L"Ver 6.00", L"Ver 1.00"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Text(about, dll[i]), names[i]);
        EXPECT_EQ(Text(about, ver[i]), versions[i]);
        EXPECT_FALSE(Text(about, author[i]).empty());
    }
    // Nothing is outdated: every line stays on screen.
    for (int n = 0; n < 12; ++n, Sleep(100))
        for (int id : dll) ASSERT_TRUE(Visible(about, id)) << "blinked";

    // Every line but the copyright shows the hand; the library lines carry the project's name as a tip.
    for (int id : {IDC_ABOUT_IMGQUIBEX, IDC_ABOUT_LBLHP, dll[0], ver[0], author[0], dll[1], ver[1], author[1], dll[2],
                   ver[2], author[2]})
        EXPECT_TRUE(SetsOwnPointerOver(about, e2e::childById(about, id))) << id;
    for (int id : {IDC_ABOUT_LBLCOPYRIGHT, IDC_ABOUT_LBLTITLE, IDC_ABOUT_LBLMYVER})
        EXPECT_FALSE(SetsOwnPointerOver(about, e2e::childById(about, id))) << id;
    HWND zipVersion = e2e::childById(about, IDC_ABOUT_LBLZIPVER);
    ASSERT_TRUE(e2e::bringToFront(about));
    RECT zipAt{};
    GetWindowRect(zipVersion, &zipAt);
    // From outside the label onto it, so the target sees the pointer arrive.
    e2e::moveMouseTo(POINT{zipAt.left - 40, zipAt.top - 40});
    e2e::moveMouseTo(POINT{(zipAt.left + zipAt.right) / 2, (zipAt.top + zipAt.bottom) / 2});
    HWND tip = e2e::waitForWindow(e2e::WindowQuery().withClass(L"tooltips_class32").inProcess(run.process().id()));
    ASSERT_TRUE(tip);
    EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(tip) == L"統合ｱｰｶｲﾊﾞﾌﾟﾛｼﾞｪｸﾄ"; }))
        << e2e::toUtf8(e2e::windowText(tip));

    // A library line opens the download page, the picture the home page.
    ASSERT_TRUE(e2e::clickCenter(zipVersion));
    ASSERT_TRUE(e2e::waitUntil([&] { return RecorderLines(run.folder()).size() == 1; }, 15s));
    ASSERT_TRUE(e2e::clickCenter(e2e::childById(about, IDC_ABOUT_IMGQUIBEX)));
    ASSERT_TRUE(e2e::waitUntil([&] { return RecorderLines(run.folder()).size() == 2; }, 15s));
    std::vector<std::wstring> opened = RecorderLines(run.folder());
    EXPECT_NE(opened[0].find(L"\"https://"), std::wstring::npos) << e2e::toUtf8(opened[0]);
    EXPECT_EQ(opened[0].find(L"\"" + home + L"\""), std::wstring::npos) << "the download page, not the home page";
    EXPECT_NE(opened[1].find(L"\"" + home + L"\""), std::wstring::npos) << e2e::toUtf8(opened[1]);

    e2e::saveScreenshot(L"about-our-libraries");
    ASSERT_TRUE(e2e::pressButton(about, L"OK"));
    EXPECT_EQ(run.process().waitForExit(), std::optional<DWORD>(0));
}

TEST(E2eAbout, AnOldLibraryBlinksAndAMissingOneIsGreyedAsNotInstalled) {
    WindowHostRun run(kIni, {L"UNZIP32.DLL"});
    ASSERT_TRUE(run.folder().copyFrom({L"UNLHA32.DLL"}, e2e::hostToWinePath(QUIBEX_OLD_UNLHA32_DIR)));
    HWND about = run.open(L"about", kCaption);
    ASSERT_TRUE(about);

    EXPECT_EQ(Text(about, IDC_ABOUT_LBLLHAVER), L"Ver 1.98.2.3");
    EXPECT_EQ(Text(about, IDC_ABOUT_LBLZIPVER), L"Ver 6.00");
    EXPECT_EQ(Text(about, IDC_ABOUT_LBLCABVER), L"not installed");

    // The old library's three labels go and come back together; the others
    // stay. A sample taken while the three are being switched is skipped.
    bool seenHidden = false, seenShown = false;
    e2e::waitUntil([&] {
        EXPECT_TRUE(Visible(about, IDC_ABOUT_LBLZIPVER));
        EXPECT_TRUE(Visible(about, IDC_ABOUT_LBLCABVER));
        const bool dll = Visible(about, IDC_ABOUT_LBLLHADLL), version = Visible(about, IDC_ABOUT_LBLLHAVER),
                   author = Visible(about, IDC_ABOUT_LBLLHACOPYR);
        if (dll != version || dll != author) return false;
        (dll ? seenShown : seenHidden) = true;
        return seenShown && seenHidden && dll;
    }, 5s);
    EXPECT_TRUE(seenHidden) << "the old library's line never blinked";
    EXPECT_TRUE(seenShown);
    e2e::saveScreenshot(L"about-old-and-missing");  // the old line just came back

    // "not installed" in the grey of disabled text; the present library in the text colour.
    run.process().waitForInputIdle();
    const int grey = DarkestLevel(e2e::childById(about, IDC_ABOUT_LBLCABVER));
    const int black = DarkestLevel(e2e::childById(about, IDC_ABOUT_LBLZIPVER));
    COLORREF greyText = GetSysColor(COLOR_GRAYTEXT);
    const int greyLevel = (GetRValue(greyText) + GetGValue(greyText) + GetBValue(greyText)) / 3;
    EXPECT_LT(black, 40);
    EXPECT_NEAR(grey, greyLevel, 30);
    EXPECT_NEAR(DarkestLevel(e2e::childById(about, IDC_ABOUT_LBLCABDLL)), greyLevel, 30);
    ASSERT_TRUE(e2e::pressButton(about, L"OK"));
    EXPECT_EQ(run.process().waitForExit(), std::optional<DWORD>(0));
}

// Whether two rectangles share any pixel.
bool Overlap(const RECT& a, const RECT& b) {
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE;
}

TEST(E2eAbout, FiveLibrariesEachOnALineOfItsOwnInsideTheWindow) {
    WindowHostRun run(kIni, {L"UNLHA32.DLL", L"UNZIP32.DLL", L"CAB32.DLL", L"7-ZIP32.DLL", L"UNRAR32.DLL"});
    HWND about = run.open(L"about", kCaption);
    ASSERT_TRUE(about);

    const int rows[5][3] = {{IDC_ABOUT_LBLLHADLL, IDC_ABOUT_LBLLHAVER, IDC_ABOUT_LBLLHACOPYR},
                            {IDC_ABOUT_LBLZIPDLL, IDC_ABOUT_LBLZIPVER, IDC_ABOUT_LBLZIPCOPYR},
                            {IDC_ABOUT_LBLCABDLL, IDC_ABOUT_LBLCABVER, IDC_ABOUT_LBLCABCOPYR},
                            {IDC_ABOUT_LBL7ZDLL, IDC_ABOUT_LBL7ZVER, IDC_ABOUT_LBL7ZCOPYR},
                            {IDC_ABOUT_LBLRARDLL, IDC_ABOUT_LBLRARVER, IDC_ABOUT_LBLRARCOPYR}};
    const wchar_t* names[] = {L"Unlha32.dll", L"Unzip32.dll", L"Cab32.dll", L"7-zip32.dll", L"Unrar32.dll"};
    const wchar_t* versions[] = {L"Ver 3.30", L"Ver 6.00", L"Ver 1.00", L"Ver 9.20", L"Ver 1.00"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(e2e::toUtf8(names[i]));
        EXPECT_EQ(Text(about, rows[i][0]), names[i]);
        EXPECT_EQ(Text(about, rows[i][1]), versions[i]);
        EXPECT_FALSE(Text(about, rows[i][2]).empty());
        EXPECT_TRUE(SetsOwnPointerOver(about, e2e::childById(about, rows[i][1])));
    }
    EXPECT_NE(Text(about, IDC_ABOUT_LBL7ZCOPYR).find(L"7Z"), std::wstring::npos);
    EXPECT_NE(Text(about, IDC_ABOUT_LBLRARCOPYR).find(L"RAR"), std::wstring::npos);
    // Our libraries are current: no line blinks.
    for (int n = 0; n < 12; ++n, Sleep(100))
        for (const auto& row : rows) ASSERT_TRUE(Visible(about, row[0])) << "blinked";

    // Every label lies inside the client area, apart from every other label,
    // and above the OK button.
    RECT client{};
    GetClientRect(about, &client);
    MapWindowPoints(about, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT ok{};
    GetWindowRect(e2e::childById(about, IDC_ABOUT_COMMAND1), &ok);
    std::vector<RECT> labels;
    for (const auto& row : rows) {
        for (int id : row) {
            RECT r{};
            GetWindowRect(e2e::childById(about, id), &r);
            EXPECT_TRUE(r.left >= client.left && r.right <= client.right && r.top >= client.top &&
                        r.bottom <= client.bottom)
                << id;
            EXPECT_LE(r.bottom, ok.top) << id;
            for (const RECT& other : labels) EXPECT_FALSE(Overlap(r, other)) << id;
            labels.push_back(r);
        }
    }
    EXPECT_LE(ok.bottom, client.bottom);
    e2e::saveScreenshot(L"about-five-libraries");
    ASSERT_TRUE(e2e::pressButton(about, L"OK"));
    EXPECT_EQ(run.process().waitForExit(), std::optional<DWORD>(0));
}

}  // namespace
