// The viewer's window object and the routines its source files share. Not
// for use outside src/viewer (tests excepted: viewer_control.h is their door).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/opened_archive.h"
#include "core/handle.h"
#include "core/window_base.h"
#include "ui/toolbar_images.h"
#include "viewer/text_view/link_table.h"
#include "viewer/text_view/text_view.h"

namespace quibex {

// One text of the tab list: tab k+1 shows files[k] in views[k].
struct TabFile {
    std::wstring Path;
    short Loaded = 0;
};

// The tab strip and the text of each tab: viewer_tabs.cpp moves between
// them, viewer_text.cpp loads and shows them, viewer_build.cpp fills them.
struct ViewerTabs {
    HWND strip = nullptr;  // TabStrip1
    std::vector<TabFile> files;
    std::vector<std::unique_ptr<TextView>> views;  // made hidden at build; a large text swaps its view on loading
    std::vector<std::wstring> tips;
    int lastIndex = -1;
    int selected = 0;       // the tab being left while the selection changes
    bool ownTools = false;  // the tab tooltips are ours (see tab_tooltips.cpp)

    bool Has(int index) const { return index >= 0 && static_cast<size_t>(index) < views.size(); }
    HWND BoxAt(int index) const { return Has(index) ? views[static_cast<size_t>(index)]->Box() : nullptr; }
    // The tab whose text `box` shows, or -1.
    int TabOf(HWND box) const;
};

// The link pointer over a text box and the click that opens a link (viewer_links.cpp).
struct LinkPointer {
    HWND box = nullptr;                // the text box showing the link pointer
    size_t scanPos = 0;                // the character under the pointer
    std::optional<LinkRange> pressed;  // the marked run the left button went down on
    bool failed = false;               // the pointer test failed once and is off
    std::wstring pending;              // waiting for kMsgOpenLink
};

// Toolbar1 (viewer_toolbar.cpp).
struct ToolbarState {
    HWND bar = nullptr;  // built by the toolbar code when present
    bool shiftAtClick = false;
    std::array<std::wstring, 7> hints;  // status panel 1 while the pointer is over button i
    UniqueImageList images[2];          // the images shown, the pointed-at ones for hovering
};

// StatusBar1 (viewer_status.cpp, viewer_layout.cpp).
struct StatusBarState {
    HWND bar = nullptr;
    std::wstring path;       // the archive's path as panel 1 shows it, before fitting
    std::wstring savedText;  // panel 1's text while a toolbar hint covers it
};

// Private messages of the viewer window.
inline constexpr UINT_PTR kProgressTimer = 90;  // the caption's progress of a large text being read
inline constexpr UINT kMsgDeferredClose = WM_APP + 41;
inline constexpr UINT kMsgDroppedArchive = WM_APP + 42;  // wParam: drop modifiers; path in droppedPath
inline constexpr UINT kMsgOpenLink = WM_APP + 43;        // the link in pendingLink, after the click is done
inline constexpr UINT kMsgFirstTextShown = WM_APP + 44;  // what start-up left for after the first paint

// The viewer window's object; it lives as long as its window.
struct ViewerForm : Window {
    // Creates the window hidden.
    bool Make();

    OpenedArchive archive;                 // what the viewer shows, from LoadViewer on
    std::vector<DocumentEntry> documents;  // the archive's other documents, from BuildViewer on
    ViewerTabs tabs;
    LinkPointer linkPointer;
    ToolbarState toolbar;
    StatusBarState status;
    HWND frame1 = nullptr;                              // holds the text boxes
    HWND frame2 = nullptr;                              // splash cover with the engraved name (picLogo drawn on it)
    std::unique_ptr<Window> frameWindow, splashWindow;  // the objects of frame1 and frame2
    HWND dummy = nullptr;                               // target of the deferred Esc close
    int keySource = 0;
    int allowSecondInstance = 0;
    int closingByEsc = 0;
    int initialTabHeight = 0;  // pixels
    bool startMaximized = false;
    bool built = false;
    bool closing = false;
    bool inSysCommand = false;  // a system-menu item is being handled
    int dropMode = 1;           // 0 while another window of the program is open over the viewer
    std::wstring droppedPath;   // an OLE drop waiting for kMsgDroppedArchive
    int dpi = 0;                // the parts' scale: the screen's, then the monitor's after a move
    UniqueFont uiFont;          // kept until the object goes, after every control using it
    UniqueFont logoFont;
    HMODULE richEditLibrary = nullptr;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override;
};

// The one viewer of the process, or nullptr.
ViewerForm* Form();

// viewer_text.cpp
// Makes tab `index`'s text view: a hidden rich-edit box filling Frame1.
bool CreateTextBox(ViewerForm& f, int index);
// Loads files[i] into views[i]: its first part at once, the rest at once
// when `complete`, else from the message loop. A large text puts a
// large-text view in place of the box.
void LoadTabText(ViewerForm& f, int index, bool complete);
bool TextPending(const ViewerForm& f, int index);
// The caption shows how far the selected tab's large text has been read,
// while any large text is still being read.
void ShowLoadingProgress(ViewerForm& f);
std::wstring ViewerCaption(const ViewerForm& f);
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
// The DPI the viewer's parts are sized for.
int ViewerDpi(const ViewerForm& f);

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
// The two system-menu items (key list, about), each once at a time.
void OnViewerSysCommand(ViewerForm& f, WPARAM id);

// viewer_toolbar.cpp: Toolbar1. Made hidden at load (only when "NotToolbar"
// is 0) with its images; BuildViewer sets the hints and the document menu.
HWND CreateToolbar(ViewerForm& f);
void SetToolbarHints(ViewerForm& f);
void OnToolbarCommand(ViewerForm& f, int id);
LRESULT OnToolbarNotify(ViewerForm& f, NMHDR* hdr);
// Images and size again at the viewer's DPI.
void RescaleToolbar(ViewerForm& f);
// The pointed-at images, built once the first text is on screen.
void LoadHoverImages(ViewerForm& f);

// viewer_dpi.cpp
UniqueFont MakeViewerUiFont(int dpi);
void OnViewerDpiChanged(ViewerForm& f, int dpi, const RECT& suggested);

// viewer_links.cpp: follows the pointer over a text box and opens the
// link clicked (the text views find and mark the links).
void WatchLinks(HWND box);
void OpenPendingLink(ViewerForm& f);
// The links of tab `index`'s text, or nullptr.
const LinkTable* LinksOf(ViewerForm& f, int index);

// viewer_drop.cpp
void OnDropFiles(ViewerForm& f, HDROP drop);

}  // namespace quibex
