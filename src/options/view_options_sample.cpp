// The sample of the viewer's font and colours: the text label centred on its
// coloured area, and the buttons that change it. The settings take the
// sample's values when the window closes.
#include <windows.h>

#include <commdlg.h>

#include "core/message_box.h"
#include "core/settings.h"
#include "core/settings_rules.h"
#include "options/font_colour_dialogs.h"
#include "options/view_option_rules.h"
#include "options/view_options_form.h"
#include "options/view_options_texts.h"
#include "resource.h"

namespace quibex {
namespace {

constexpr int32_t kWindowColour = static_cast<int32_t>(0x80000005u);      // COLOR_WINDOW
constexpr int32_t kWindowTextColour = static_cast<int32_t>(0x80000008u);  // COLOR_WINDOWTEXT
constexpr COLORREF kLegendColour = RGB(0, 0, 255);

// The sample text lies inside its area; the area passes the text's colour
// question on to the window.
HWND SampleText(const ViewOptionsForm& f) { return GetDlgItem(f.Item(IDC_VIEWOPT_LBLBACK), IDC_VIEWOPT_LBLTEXT); }

bool ForwardColours(HWND area, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR, LRESULT& result) {
    if (msg != WM_CTLCOLORSTATIC) return false;
    result = SendMessageW(GetParent(area), msg, wp, lp);
    return true;
}

void Repaint(const ViewOptionsForm& f) {
    RedrawWindow(f.Item(IDC_VIEWOPT_LBLBACK), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

COLORREF Resolve(int32_t colour) {
    const auto v = static_cast<uint32_t>(colour);
    return v >= 0x80000000u ? GetSysColor(static_cast<int>(v & 0xFF)) : static_cast<COLORREF>(v);
}

// A new font or colour for the sample's controls.
void Restyle(ViewOptionsForm& f) {
    Sample& s = f.sample;
    HWND text = SampleText(f);
    HDC dc = GetDC(text);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(text, dc);
    s.font.reset(CreateFontW(-MulDiv(s.fontSize, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             s.fontName.c_str()));
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(s.font.get()), FALSE);
    s.backBrush.reset(CreateSolidBrush(Resolve(s.backColour)));
    Repaint(f);
}

// The caption of the sample text, the label sized to it and centred on the
// area; with `fit` a label larger than the area is first cut to 0.9 of it.
void LayOut(ViewOptionsForm& f, bool fit) {
    HWND text = SampleText(f);
    HWND back = f.Item(IDC_VIEWOPT_LBLBACK);
    const std::wstring caption = SampleCaption(f.sample.fontName, f.sample.fontSize);
    SetWindowTextW(text, caption.c_str());

    RECT extent{};
    HDC dc = GetDC(text);
    if (dc) {
        HGDIOBJ old = SelectObject(dc, f.sample.font.get());
        DrawTextW(dc, caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(text, dc);
    }
    RECT area{};
    GetClientRect(back, &area);
    const SampleRect placed = PlaceSample({area.left, area.top, area.right - area.left, area.bottom - area.top},
                                          extent.right, extent.bottom, fit);
    SetWindowPos(text, nullptr, placed.left, placed.top, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint(f);
}

}  // namespace

void LoadSample(ViewOptionsForm& f, const Settings& s) {
    HWND back = f.Item(IDC_VIEWOPT_LBLBACK);
    SetParent(f.Item(IDC_VIEWOPT_LBLTEXT), back);
    FilterMessages(back, ForwardColours);
    f.sample.backColour = UsableColour(s.BackColor, kWindowColour);
    f.sample.textColour = UsableColour(s.TextColor, kWindowTextColour);
    f.sample.fontName = UsableFontName(s.FontName);
    f.sample.fontSize = ClampFontSize(s.FontSize);
    Restyle(f);
    LayOut(f, true);
}

void ChooseSampleFont(ViewOptionsForm& f) {
    HWND text = SampleText(f);
    FontSpec font;
    font.FaceName = f.sample.fontName;
    font.PointSize = f.sample.fontSize;
    font.FontColor = static_cast<COLORREF>(f.sample.textColour);
    ShowWindow(text, SW_HIDE);
    const int32_t result = ShowFontDialog(f.hwnd(), font, CF_NOVERTFONTS);
    if (result == 0) {
        f.sample.fontName = UsableFontName(font.FaceName);
        f.sample.fontSize = ClampFontSize(font.PointSize);
        f.sample.textColour = static_cast<int32_t>(font.FontColor);
        Restyle(f);
        LayOut(f, true);
    }
    ShowWindow(text, SW_SHOW);
    if (result != 0 && result != kFontDialogCancelled)
        ShowMessage(view_options_text::kFontFailedBefore + std::to_wstring(result) + view_options_text::kFontFailedAfter,
                    MB_OK | MB_ICONEXCLAMATION);
}

void ChooseSampleBackColour(ViewOptionsForm& f) {
    const int32_t result = ShowColorDialog(f.hwnd(), static_cast<COLORREF>(f.sample.backColour), 0);
    if (result == kColourDialogFailed) {
        ShowMessage(view_options_text::kColourFailed, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (result == kColourDialogCancelled) return;
    f.sample.backColour = result;
    Restyle(f);
}

void ResetSample(ViewOptionsForm& f) {
    if (ShowMessage(view_options_text::kAskReset, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    HWND text = SampleText(f);
    ShowWindow(text, SW_HIDE);
    f.sample.backColour = kWindowColour;
    f.sample.fontName = kDefaultFontName;
    f.sample.fontSize = 9;
    f.sample.textColour = kWindowTextColour;
    Restyle(f);
    LayOut(f, false);
    ShowWindow(text, SW_SHOW);
}

HBRUSH SampleColours(ViewOptionsForm& f, HWND control, HDC dc) {
    switch (GetDlgCtrlID(control)) {
    case IDC_VIEWOPT_LBLTEXT:
        SetTextColor(dc, Resolve(f.sample.textColour));
        SetBkColor(dc, Resolve(f.sample.backColour));
        return f.sample.backBrush.get();
    case IDC_VIEWOPT_LBLBACK: return f.sample.backBrush.get();
    case IDC_VIEWOPT_LABEL1:
        SetTextColor(dc, kLegendColour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    default: return nullptr;
    }
}

}  // namespace quibex
