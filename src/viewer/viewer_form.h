// The viewer's window object and the routines its source files share. Not
// for use outside src/viewer (tests excepted: viewer_control.h is their door).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "core/handle.h"
#include "core/window_base.h"
#include "viewer/text_window.h"

namespace quibex {

// One text of the tab list: tab k+1 and txtView[k].
struct TabFile {
    std::wstring Path;
    short Loaded = 0;
};

// Private messages of the viewer window.
inline constexpr UINT_PTR kLoadTimer = 100;  // + tab index: the next page of that tab's text
inline constexpr UINT kMsgDeferredClose = WM_APP + 41;
inline constexpr UINT kMsgDroppedArchive = WM_APP + 42;  // wParam: drop modifiers; path in droppedPath

// The viewer window's object; it lives as long as its window.
struct ViewerForm : Window {
    // Creates the window hidden.
    bool Make();

    HWND tabStrip = nullptr;                            // TabStrip1
    HWND frame1 = nullptr;                              // holds the text boxes
    HWND frame2 = nullptr;                              // splash cover with the engraved name (picLogo drawn on it)
    std::unique_ptr<Window> frameWindow, splashWindow;  // the objects of frame1 and frame2
    HWND statusBar = nullptr;                           // StatusBar1
    HWND dummy = nullptr;                               // target of the deferred Esc close
    HWND toolbar = nullptr;                             // Toolbar1, built by the toolbar code when present
    std::vector<HWND> txtView;
    std::vector<TabFile> tabFiles;
    std::vector<std::wstring> tabTips;
    std::vector<std::unique_ptr<TextWindow>> windows;  // per tab, null until loaded
    int lastTabIndex = -1;
    int selectedText = 0;
    int keySource = 0;
    int allowSecondInstance = 0;
    int closingByEsc = 0;
    int initialTabHeight = 0;  // pixels
    bool startMaximized = false;
    bool built = false;
    bool closing = false;
    std::wstring statusPath;
    std::wstring savedStatusText;
    bool shiftAtToolbarClick = false;
    bool ownTabTools = false;  // the tab tooltips are ours (see tab_tooltips.cpp)
    std::wstring droppedPath;  // an OLE drop waiting for kMsgDroppedArchive
    UniqueFont uiFont;         // kept until the object goes, after every control using it
    UniqueFont logoFont;
    HMODULE richEditLibrary = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override;
};

// The one viewer of the process, or nullptr.
ViewerForm* Form();

// viewer_text.cpp
HWND CreateTextBox(ViewerForm& f, int index);
// Loads TabFiles[i] into txtView[i]: its first part at once, the rest at
// once when `complete`, else from the message loop. A large text puts a
// large-text view in place of the box.
void LoadTabText(ViewerForm& f, int index, bool complete);
void ContinueLoading(ViewerForm& f, int index);
bool TextPending(ViewerForm& f, int index);
void SetBoxText(HWND box, const std::wstring& text);
void ColourRange(HWND box, LONG start, LONG length, COLORREF colour);
COLORREF ResolveColour(int32_t value);
bool IsDefaultTextColour(int32_t value);
void OnTabChanging(ViewerForm& f);
void OnTabChanged(ViewerForm& f);

// tab_tooltips.cpp: tooltip tools for the tabs where the tab control keeps none.
void SyncTabTooltips(ViewerForm& f);

// viewer_layout.cpp
void LayoutViewer(ViewerForm& f);
std::wstring FitPathToStatus(ViewerForm& f, const std::wstring& path);
void RefreshStatusPath(ViewerForm& f);
void ApplyMinimumSize(ViewerForm& f, MINMAXINFO& info);
// Widens or heightens a window made smaller than the minimum; true when it did.
bool EnforceMinimumSize(ViewerForm& f);
void ReadGeometry(ViewerForm& f);
void WriteGeometry(ViewerForm& f);
void WriteWindowState(ViewerForm& f);
int ScreenDpi();

// viewer_status.cpp
HWND CreateStatusBar(ViewerForm& f);
void SetStatusPanel(ViewerForm& f, int panel, const std::wstring& text);
std::wstring StatusPanelText(ViewerForm& f, int panel);
void SizeStatusPanels(ViewerForm& f);
// Panel 1 back to the text a toolbar hint replaced, when one did.
void RestoreStatusText();
// The same whenever the mouse moves over `control`.
void RestoreStatusTextOverControl(HWND control);

// viewer_window.cpp: Frame1, the borderless holder of the text boxes.
HWND CreateFrame(ViewerForm& f);

// viewer_splash.cpp
HWND CreateSplash(ViewerForm& f);
void ShowSplash(ViewerForm& f);

// viewer_keys.cpp: passes `control`'s key presses to the key table;
// `keySource` 1 for a text box, 2 for the tab strip.
void RouteViewerKeys(HWND control, int keySource);

// viewer_commands.cpp: always-on-top on or off, the window shown.
void SetViewerTopMost(ViewerForm& f, bool on);

// viewer_drop.cpp
void OnDropFiles(ViewerForm& f, HDROP drop);

}  // namespace quibex
