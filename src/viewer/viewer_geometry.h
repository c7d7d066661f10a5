// Window geometry arithmetic of the viewer: twips and pixels, keeping a saved
// position on the screen, the smallest size, and where the parts go.
// Window positions and sizes are kept in twips (1/1440 inch) in the INI file.
#pragma once

namespace quibex {

int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Pulls a saved window back onto a screen of the given size: one larger than
// the screen is made to fit it, a negative edge goes to 0, a window past the
// right edge ends at it, one past the bottom ends at it and then moves up to
// 90 % of that top.
TwipRect ClampToScreen(TwipRect r, int screenWidth, int screenHeight);

// The smallest window: toolbar width + 400 wide; status bar + first tab
// strip height + toolbar + 200 high (all twips).
int MinimumWidth(int toolbarWidth);
int MinimumHeight(int statusHeight, int initialTabHeight, int toolbarHeight);

// Where the tab strip and the toolbar go in the client area (pixels). With a
// toolbar, it is centred under the tab strip, `gap` above the status bar and
// `gap` below the tab strip.
struct ViewerLayout {
    int tabWidth = 0, tabHeight = 0;
    int toolbarLeft = 0, toolbarTop = 0;
};
ViewerLayout ComputeLayout(int clientWidth, int clientHeight, int statusHeight, bool withToolbar, int toolbarWidth,
                           int toolbarHeight, int gap);

// Top-left corner that centres an item of the given size in an area.
int CentreOffset(int area, int item);

}  // namespace quibex
