// The viewer moved to a monitor of another scale: its fonts, toolbar images,
// panels and minimum size follow, and the window takes the size Windows
// suggests for the new monitor.
#include <windows.h>

#include "viewer/viewer_form.h"

namespace quibex {

UniqueFont MakeViewerUiFont(int dpi) {
    return UniqueFont(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                  L"MS UI Gothic"));
}

void OnViewerDpiChanged(ViewerForm& f, int dpi, const RECT& suggested) {
    if (dpi <= 0) return;
    int old = ViewerDpi(f);
    f.dpi = dpi;
    if (old > 0 && f.initialTabHeight > 0) f.initialTabHeight = MulDiv(f.initialTabHeight, dpi, old);
    // The controls take the new font before the old one is deleted.
    if (UniqueFont font = MakeViewerUiFont(dpi)) {
        for (HWND control : {f.tabs.strip, f.status.bar})
            if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        f.uiFont = std::move(font);
    }
    if (f.toolbar.bar) RescaleToolbar(f);
    if (f.status.bar) SendMessageW(f.status.bar, WM_SIZE, 0, 0);  // its height follows the font
    SetWindowPos(f.hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SizeStatusPanels(f);
    if (f.built) LayoutViewer(f);
}

}  // namespace quibex
