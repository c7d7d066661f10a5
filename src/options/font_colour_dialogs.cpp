#include "options/font_colour_dialogs.h"

#include <commdlg.h>

#include <array>

#include "core/lazy_comdlg32.h"
#include "options/view_option_rules.h"

namespace quibex {
namespace {

int PixelsPerInchY(HWND window) {
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(window, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int32_t ShowFontDialog(HWND owner, FontSpec& font, DWORD flags) {
    LOGFONTW lf{};
    // A positive height asks for the cell height of that many points.
    lf.lfHeight = MulDiv(font.PointSize, PixelsPerInchY(owner), 72);
    lf.lfWeight = font.Weight;
    lf.lfItalic = static_cast<BYTE>(font.Italic & 0xFF);
    lf.lfUnderline = static_cast<BYTE>(font.Underline & 0xFF);
    lf.lfStrikeOut = static_cast<BYTE>(font.StrikeOut & 0xFF);
    lstrcpynW(lf.lfFaceName, font.FaceName.c_str(), static_cast<int>(std::size(lf.lfFaceName)));

    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.hInstance = GetModuleHandleW(nullptr);
    cf.lpLogFont = &lf;
    cf.rgbColors = font.FontColor;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | flags;
    if (!lazy::ChooseFontW(&cf)) {
        const DWORD error = lazy::CommDlgExtendedError();
        return error != 0 ? static_cast<int32_t>(error) : kFontDialogCancelled;
    }
    font.FaceName = lf.lfFaceName;  // NUL-terminated by the dialog
    font.PointSize = PointSizeFromTenths(cf.iPointSize);
    font.Weight = lf.lfWeight;
    font.Italic = lf.lfItalic;
    font.Underline = lf.lfUnderline;
    font.StrikeOut = lf.lfStrikeOut;
    font.FontColor = cf.rgbColors;
    return 0;
}

int32_t ShowColorDialog(HWND owner, COLORREF initial, DWORD flags) {
    std::array<COLORREF, 16> custom{};  // fresh each time: nothing is kept
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
    cc.rgbResult = initial;
    cc.lpCustColors = custom.data();
    cc.Flags = CC_RGBINIT | flags;
    if (lazy::ChooseColorW(&cc)) return static_cast<int32_t>(cc.rgbResult);
    return lazy::CommDlgExtendedError() != 0 ? kColourDialogFailed : kColourDialogCancelled;
}

}  // namespace quibex
