#include "viewer/viewer_geometry.h"

namespace quibex {

namespace {
constexpr int kTwipsPerInch = 1440;
}

int TwipsToPixels(int twips, int dpi) {
    if (dpi <= 0) return 0;
    long long v = static_cast<long long>(twips) * dpi;
    return static_cast<int>(v >= 0 ? (v + kTwipsPerInch / 2) / kTwipsPerInch : (v - kTwipsPerInch / 2) / kTwipsPerInch);
}

int PixelsToTwips(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    return static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi);
}

TwipRect ClampToScreen(TwipRect r, int screenWidth, int screenHeight) {
    // A window larger than the screen (the design size at 200 %, a smaller
    // screen than last time) would keep its title bar out of reach.
    if (screenWidth > 0 && r.width > screenWidth) r.width = screenWidth;
    if (screenHeight > 0 && r.height > screenHeight) r.height = screenHeight;
    if (r.left < 0) r.left = 0;
    if (r.left + r.width > screenWidth) r.left = screenWidth - r.width;
    if (r.top < 0) r.top = 0;
    if (r.top + r.height > screenHeight) {
        r.top = screenHeight - r.height;
        // 90 %, rounded as the value is stored whole.
        long long t = static_cast<long long>(r.top) * 9;
        r.top = static_cast<int>(t >= 0 ? (t + 5) / 10 : (t - 5) / 10);
    }
    return r;
}

int MinimumWidth(int toolbarWidth) { return toolbarWidth + 400; }

int MinimumHeight(int statusHeight, int initialTabHeight, int toolbarHeight) {
    return statusHeight + initialTabHeight + toolbarHeight + 200;
}

ViewerLayout ComputeLayout(int clientWidth, int clientHeight, int statusHeight, bool withToolbar, int toolbarWidth,
                           int toolbarHeight, int gap) {
    ViewerLayout l;
    l.tabWidth = clientWidth;
    if (withToolbar) {
        l.toolbarLeft = (clientWidth - toolbarWidth) / 2;
        l.toolbarTop = clientHeight - statusHeight - toolbarHeight - gap;
        l.tabHeight = clientHeight - statusHeight - toolbarHeight - 2 * gap;
    } else {
        l.tabHeight = clientHeight - statusHeight;
    }
    if (l.tabHeight < 0) l.tabHeight = 0;
    if (l.tabWidth < 0) l.tabWidth = 0;
    return l;
}

int CentreOffset(int area, int item) { return (area - item) / 2; }

}  // namespace quibex
