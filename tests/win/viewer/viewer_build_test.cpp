// Tabs, captions and status panels after BuildViewer.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "core/app_state.h"
#include "viewer/viewer_control.h"
#include "viewer/viewer_window.h"
#include "viewer_fixture.h"

using namespace quibex;
using Names = std::vector<std::wstring>;

namespace {

class ViewerBuild : public ViewerTest {
protected:
    void AddTexts(const Names& names) {
        for (const auto& n : names) AddText(n, "text of " + std::string(n.begin(), n.end()) + "\r\n");
    }
};

TEST_F(ViewerBuild, ReadmeFirstKeepsItsRealCase) {
    Names order = {L"b.txt", L"Readme.TXT", L"a.txt"};
    AddTexts(order);
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"Readme.TXT", L"b.txt", L"a.txt"}));
    EXPECT_EQ(LastTabIndex(), 2);
    EXPECT_EQ(TabFilePath(0), work + L"readme.txt");
    EXPECT_EQ(TabFilePath(1), work + L"b.txt");
    EXPECT_EQ(Panel(2), L"LHA");
    EXPECT_EQ(Panel(3), L"3");
    EXPECT_EQ(BoxText(0), L"text of Readme.TXT\r");
}

TEST_F(ViewerBuild, ReadmeTakesItsPlaceWhenNotFirst) {
    Names order = {L"b.txt", L"Readme.TXT", L"a.txt"};
    AddTexts(order);
    AppSettings().ReadmeFirst = 0;
    Open(order);
    EXPECT_EQ(Captions(), order);
}

TEST_F(ViewerBuild, OpenMaxOneKeepsThePlaceholderName) {
    Names order = {L"b.txt", L"README.TXT"};
    AddTexts(order);
    AppSettings().OpenMax = 1;
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"Readme.txt"}));
    EXPECT_EQ(Panel(3), L"1");
}

TEST_F(ViewerBuild, OpenMaxLimitsTheTabs) {
    Names order = {L"1.txt", L"2.txt", L"3.txt", L"4.txt", L"5.txt", L"6.txt"};
    AddTexts(order);
    AppSettings().OpenMax = 5;
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"1.txt", L"2.txt", L"3.txt", L"4.txt", L"5.txt"}));
    EXPECT_EQ(Panel(3), L"5");
}

TEST_F(ViewerBuild, OnlyTextNamesBecomeTabs) {
    Names order = {L"a.txt", L"b.doc", L"c.me"};
    AddTexts(order);
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"a.txt"}));
}

TEST_F(ViewerBuild, TxtTypeAddsExtensions) {
    Names order = {L"a.txt", L"b.doc", L"c.me"};
    AddTexts(order);
    AppSettings().TxtType = L"DOC ME";
    Open(order);
    EXPECT_EQ(Captions(), order);
}

TEST_F(ViewerBuild, NumberedCaptionsAndTooltips) {
    Names order = {L"readme.txt", L"b.txt", L"c.txt"};
    AddTexts(order);
    AppSettings().ShortCutKey = L"111111111";
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"[0] readme.txt", L"[1] b.txt", L"[2] c.txt"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(TabTooltipText(i), L"Alt + " + std::to_wstring(i));
}

TEST_F(ViewerBuild, SingleTextIsNeverNumbered) {
    AddTexts({L"only.txt"});
    AppSettings().ShortCutKey = L"111111111";
    Open({L"only.txt"});
    EXPECT_EQ(Captions(), (Names{L"only.txt"}));
    EXPECT_EQ(TabTooltipText(0), L"");
}

TEST_F(ViewerBuild, NoExtAndTabNameStyles) {
    Names order = {L"readme.txt", L"a.b.txt", L"README"};
    AddTexts(order);
    AppSettings().NoExt = 1;
    AppSettings().TxtType = L"ME";  // "README" has no extension: counts as a text with TxtType set
    AppSettings().ReadmeFirst = 0;
    Open(order);
    EXPECT_EQ(Captions(), (Names{L"readme", L"a.b", L"README"}));
}

TEST_F(ViewerBuild, TabNameThree) {
    AddTexts({L"README.TXT", L"x.TXT"});
    AppSettings().TabName = 3;
    Open({L"x.TXT", L"README.TXT"});
    EXPECT_EQ(Captions(), (Names{L"Readme.txt", L"X.txt"}));
}

TEST_F(ViewerBuild, NoTextShowsTheExplanation) {
    documents = {DocumentEntry{L"manual.htm", L"\\"}};
    Open({});
    EXPECT_EQ(Captions(), (Names{L"これはテキストファイルではありません"}));
    EXPECT_EQ(LastTabIndex(), -1);
    EXPECT_EQ(Panel(3), L"0");
    std::wstring text = BoxText(0);
    EXPECT_EQ(text,
              L"\r　指定された条件に合うテキストファイルは見つかりませんでしたが、他の形式のドキュメントファイルが格納されて"
              L"います。\r\r　ツールバーの▼ボタンをクリックしたらメニューが表示されますので、閲覧したいファイルをクリックし"
              L"てください。");
    Screenshot(L"viewer_no_text");
    // Exactly the second sentence is red.
    HWND box = ViewerTextBox(0);
    std::wstring red = L"他の形式のドキュメントファイルが格納されています。";
    auto start = static_cast<LONG>(text.find(red));
    auto colourAt = [box](LONG pos) {
        CHARRANGE r{pos, pos + 1};
        SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof cf;
        SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return (cf.dwEffects & CFE_AUTOCOLOR) ? COLORREF(0xFFFFFFFF) : cf.crTextColor;
    };
    EXPECT_EQ(colourAt(start), RGB(255, 0, 0));
    EXPECT_EQ(colourAt(start + static_cast<LONG>(red.size()) - 1), RGB(255, 0, 0));
    EXPECT_NE(colourAt(start - 1), RGB(255, 0, 0));
    EXPECT_NE(colourAt(start + static_cast<LONG>(red.size())), RGB(255, 0, 0));
}

TEST_F(ViewerBuild, CaptionAndStatusPath) {
    AddTexts({L"a.txt"});
    Open({L"a.txt"});
    wchar_t caption[260] = {};
    GetWindowTextW(ViewerWindow(), caption, 260);
    EXPECT_STREQ(caption, L"sample.lzh - Quibex");
    EXPECT_EQ(Panel(1), archive.path);  // short enough to show whole
}

TEST_F(ViewerBuild, LongPathGetsAnEllipsisAndIsRefitted) {
    std::wstring folder = work + L"a folder with a rather long name that will not fit";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\and another folder level with a long name as well";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\日本語の書庫.lzh";
    WriteBytes(path, "x");
    archive.path = archive.libraryPath = path;
    AddTexts({L"a.txt"});
    Open({L"a.txt"});
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    std::wstring shown = Panel(1);
    EXPECT_NE(shown.find(L"..."), std::wstring::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 11), L"\\日本語の書庫.lzh");
    EXPECT_EQ(shown.substr(0, 3), path.substr(0, 3));
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 1200, 400, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    EXPECT_GT(Panel(1).size(), shown.size());
    Screenshot(L"viewer_long_path");
}

TEST_F(ViewerBuild, ThreeJapaneseTexts) {
    AddText(L"readme.txt", "\x82\xB1\x82\xEA\x82\xCD\x90\xE0\x96\xBE\x8F\x91\x82\xC5\x82\xB7\x81\x42\x0D\x0A");
    AddText(L"使い方.txt", "\x8E\x67\x82\xA2\x95\xFB\x0D\x0A\x88\xEA\x81\x41\x8F\x91\x8C\xC9\x82\xF0\x83\x68\x83\x8D\x83\x62\x83\x76\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42\x0D\x0A");
    AddText(L"更新履歴.txt", "\x32\x30\x32\x36\x2F\x30\x31\x2F\x30\x31\x20\x8D\xC5\x8F\x89\x82\xCC\x94\xC5\x0D\x0A");
    AppSettings().ShortCutKey = L"111111111";
    Open({L"使い方.txt", L"readme.txt", L"更新履歴.txt"});
    EXPECT_EQ(Captions(), (Names{L"[0] readme.txt", L"[1] 使い方.txt", L"[2] 更新履歴.txt"}));
    EXPECT_EQ(BoxText(0), L"これは説明書です。\r");
    Screenshot(L"viewer_three_japanese_texts");
    SelectTab(1);
    EXPECT_EQ(BoxText(1), L"使い方\r一、書庫をドロップしてください。\r");
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 300, 320, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    Screenshot(L"viewer_narrow_window");
    // Smaller than the minimum: widened and heightened back so that the tab
    // strip and the status bar still fit.
    SetWindowPos(ViewerWindow(), nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    RECT r{}, client{};
    GetWindowRect(ViewerWindow(), &r);
    GetClientRect(ViewerWindow(), &client);
    RECT bar{};
    GetWindowRect(ViewerStatusBar(), &bar);
    EXPECT_GE(r.right - r.left, 26);
    EXPECT_GT(client.bottom, (bar.bottom - bar.top) + 20);
}

}  // namespace
