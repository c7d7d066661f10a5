// Tab captions, their order and tooltips, as another process reads them.
#include <gtest/gtest.h>

#include <e2e/gtest_support.h>
#include <e2e/input.h>

#include <windows.h>

#include <commctrl.h>

#include <map>

#include "viewer_support.h"

namespace {

struct CaptionCase {
    const char* what;
    const wchar_t* archive;
    std::initializer_list<std::string> ini;
    bool readmeFirst;                            // ReadMe.TXT leads, whatever the enumeration says
    size_t tabs;                                 // how many tabs come
    bool numbered;                               // "[n] " prefixes
    std::map<std::wstring, std::wstring> caption;  // real name -> caption; names not listed keep theirs
};

const std::wstring kReadme = L"ReadMe.TXT";

// The captions a case expects, from the order the work folder enumerates.
std::vector<std::wstring> Expected(const CaptionCase& c, const std::vector<std::wstring>& enumeration) {
    std::vector<std::wstring> names;
    if (c.readmeFirst) names.push_back(kReadme);
    for (const std::wstring& n : enumeration)
        if (!(c.readmeFirst && n == kReadme)) names.push_back(n);
    if (names.size() > c.tabs) names.resize(c.tabs);
    std::vector<std::wstring> captions;
    for (size_t i = 0; i < names.size(); ++i) {
        auto mapped = c.caption.find(names[i]);
        std::wstring caption = mapped == c.caption.end() ? names[i] : mapped->second;
        if (c.numbered && names.size() > 1) caption = L"[" + std::to_wstring(i) + L"] " + caption;
        captions.push_back(caption);
    }
    return captions;
}

TEST(E2eViewerTabs, CaptionsAndOrderFollowTheSettings) {
    e2e::ScreenshotAtEnd shot;
    const CaptionCase cases[] = {
        {"readme first with its own case", L"order.zip", {"Option.OpenMax=10"}, true, 5, false, {}},
        {"archive order without ReadmeFirst", L"order.zip", {"Option.OpenMax=10", "Viewer.ReadmeFirst=0"}, false, 5,
         false, {}},
        {"OpenMax 1 shows the readme alone under its placeholder name", L"order.zip", {"Option.OpenMax=1"}, true, 1,
         false, {{kReadme, L"Readme.txt"}}},
        {"OpenMax 5 of six texts", L"six.zip", {"Option.OpenMax=5"}, false, 5, false, {}},
        {"numbered by the sixth ShortCutKey digit", L"six.zip", {"Option.OpenMax=5", "Viewer.ShortCutKey=111111111"},
         false, 5, true, {}},
        {"numbered with the readme as [0]", L"order.zip", {"Option.OpenMax=10", "Viewer.ShortCutKey=000001000"}, true,
         5, true, {}},
        {"a single text is never numbered", L"single.zip", {"Viewer.ShortCutKey=111111111"}, false, 1, true, {}},
        {"NoExt 1 with TabName 3", L"order.zip", {"Option.OpenMax=10", "Viewer.NoExt=1", "Viewer.TabName=3"}, true, 5,
         false,
         {{kReadme, L"Readme"}, {L"alpha.txt", L"Alpha"}, {L"bravo.txt", L"Bravo"}, {L"charlie.txt", L"Charlie"},
          {L"Change.Log.TXT", L"Change.log"}}},
        {"TabName 1 upper case, extension kept", L"order.zip", {"Option.OpenMax=10", "Viewer.TabName=1"}, true, 5,
         false,
         {{kReadme, L"README.TXT"}, {L"alpha.txt", L"ALPHA.TXT"}, {L"bravo.txt", L"BRAVO.TXT"},
          {L"charlie.txt", L"CHARLIE.TXT"}, {L"Change.Log.TXT", L"CHANGE.LOG.TXT"}}},
        {"TabName 2 lower case", L"order.zip", {"Option.OpenMax=10", "Viewer.TabName=2"}, true, 5, false,
         {{kReadme, L"readme.txt"}, {L"Change.Log.TXT", L"change.log.txt"}}},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.what);
        QuibexSession q(IniWith(c.ini).c_str());
        ViewerParts v = StartViewer(q, shot, c.archive);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        const std::vector<std::wstring> expected = Expected(c, WorkFolderTexts(q));
        const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
        EXPECT_EQ(captions, expected);
        EXPECT_EQ(e2e::tabSelection(v.tabs), 0);
        EXPECT_EQ(e2e::statusBarTexts(v.status).at(2), std::to_wstring(c.tabs));

        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

// Five texts and "OpenMax" 5: the tab loop stops once five tabs exist, so
// the readme's tab carries its real name only when the enumeration meets
// ReadMe.TXT before the fifth text; otherwise the placeholder stays.
TEST(E2eViewerTabs, ReadmeNameComesFromTheEnumerationUpToOpenMax) {
    QuibexSession q(IniWith({"Option.OpenMax=5"}).c_str());
    e2e::ScreenshotAtEnd shot;
    ViewerParts v = StartViewer(q, shot, L"order.zip");
    ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
    const std::vector<std::wstring> captions = e2e::tabItems(v.tabs);
    ASSERT_EQ(captions.size(), 5u);
    const std::vector<std::wstring> order = WorkFolderTexts(q);
    size_t others = 0;  // texts enumerated before the readme
    while (others < order.size() && order[others] != kReadme) ++others;
    EXPECT_EQ(captions[0], others < 4 ? kReadme : L"Readme.txt") << others << " texts come before the readme";
    EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
}

// The "Alt + n" tooltips: a tool per tab with its text, and the tip that
// shows when the pointer rests on a tab.
TEST(E2eViewerTabs, NumberedTabsCarryAltTooltips) {
    e2e::ScreenshotAtEnd shot;
    const std::pair<const wchar_t*, size_t> cases[] = {{L"six.zip", 5}, {L"single.zip", 1}};
    for (auto [archive, tabs] : cases) {
        SCOPED_TRACE(e2e::toUtf8(archive));
        QuibexSession q(IniWith({"Viewer.ShortCutKey=111111111"}).c_str());
        ViewerParts v = StartViewer(q, shot, archive);
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        EXPECT_TRUE(GetWindowLongW(v.tabs, GWL_STYLE) & TCS_TOOLTIPS);
        auto tips = TabTooltips(v.tabs);
        ASSERT_TRUE(tips.has_value()) << "the tab strip has a tooltip control";
        for (size_t i = 0; i < tabs; ++i)
            EXPECT_EQ((*tips)[i], tabs > 1 ? L"Alt + " + std::to_wstring(i) : L"") << "tooltip of tab " << i;
        if (tabs > 1) {
            e2e::bringToFront(v.window);
            RECT tab = e2e::tabItemRect(v.tabs, 2);
            POINT middle{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};  // on the screen
            e2e::moveMouseTo(POINT{middle.x - 3, middle.y});
            e2e::moveMouseTo(middle);
            HWND tip = e2e::waitForWindow(e2e::WindowQuery().withClass(L"tooltips_class32").inProcess(q.pid()));
            ASSERT_TRUE(tip) << "no tooltip showed over tab 3";
            EXPECT_TRUE(e2e::waitUntil([&] { return e2e::windowText(tip) == L"Alt + 2"; })) << e2e::toUtf8(e2e::windowText(tip));
            e2e::saveScreenshot(L"viewer-tab-tooltip");
        }
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

// Keys pressed with real input move between the texts from the text box
// and from the tab strip; Alt+digits only with the sixth digit on.
TEST(E2eViewerTabs, KeysMoveBetweenTheTexts) {
    e2e::ScreenshotAtEnd shot;
    for (const char* shortCutKey : {"111110111", "111111111"}) {
        SCOPED_TRACE(shortCutKey);
        QuibexSession q(IniWith({"Option.OpenMax=5", std::string("Viewer.ShortCutKey=") + shortCutKey}).c_str());
        ViewerParts v = StartViewer(q, shot, L"six.zip");
        ASSERT_TRUE(v.window) << e2e::describeTopLevel(q.pid());
        ASSERT_TRUE(e2e::bringToFront(v.window));
        auto selected = [&] { return SendMessageW(v.tabs, TCM_GETCURSEL, 0, 0); };
        auto pressLeadsTo = [&](LRESULT tab, UINT key, UINT modifier = 0) {
            e2e::sendKey(key, modifier);
            return e2e::waitUntil([&] { return selected() == tab; });
        };
        EXPECT_TRUE(pressLeadsTo(1, VK_RETURN));
        EXPECT_TRUE(pressLeadsTo(2, VK_TAB, VK_CONTROL));
        EXPECT_TRUE(pressLeadsTo(1, VK_BACK));
        EXPECT_TRUE(pressLeadsTo(0, VK_LEFT, VK_MENU));
        EXPECT_TRUE(pressLeadsTo(4, VK_LEFT, VK_MENU)) << "from the first to the last";
        const bool altDigits = shortCutKey[5] == '1';
        e2e::sendKey('2', VK_MENU);
        EXPECT_TRUE(pressLeadsTo(altDigits ? 3 : 0, VK_RETURN)) << "Alt+2 then Enter";
        // A click on the selected tab gives the strip the focus; keys
        // pressed there move between the texts and leave the focus there.
        auto focus = [&] {
            GUITHREADINFO gui{};
            gui.cbSize = sizeof gui;
            return GetGUIThreadInfo(GetWindowThreadProcessId(v.window, nullptr), &gui) ? gui.hwndFocus : nullptr;
        };
        const LRESULT now = selected();
        RECT tab = e2e::tabItemRect(v.tabs, static_cast<int>(now));
        ASSERT_TRUE(e2e::clickAt(POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2}));
        ASSERT_TRUE(e2e::waitUntil([&] { return focus() == v.tabs; }));
        EXPECT_TRUE(pressLeadsTo((now + 1) % 5, VK_RETURN));
        EXPECT_EQ(focus(), v.tabs);
        EXPECT_EQ(CloseAndWait(q, v.window), std::optional<DWORD>(0));
    }
}

}  // namespace
