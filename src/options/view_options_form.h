// The viewer options window's object and the routines its source files
// share: view_options_window.cpp (loading, commands, tips and help),
// view_options_values.cpp (the settings into the controls and back),
// view_options_sample.cpp (the font and colour sample and its buttons).
// Not for use outside src/options (tests excepted).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/handle.h"
#include "core/settings.h"
#include "core/window_base.h"
#include "ui/control_tips.h"
#include "ui/tool_tip.h"
#include "ui/whats_this.h"

namespace quibex {

extern const ControlTopic kViewOptionsTopics[];
extern const size_t kViewOptionsTopicCount;

// What the sample shows; the settings take it back when the window closes.
struct Sample {
    int32_t backColour = 0;  // colour setting values: RGB or 0x80000000 + system colour
    int32_t textColour = 0;
    std::wstring fontName;
    int fontSize = 9;
    UniqueFont font;
    UniqueBrush backBrush;
};

struct ViewOptionsForm : Dialog {
    ViewOptionsForm() : help({kViewOptionsTopics, kViewOptionsTopicCount}) {}

    std::array<std::unique_ptr<ToolTip>, 4> twoLineTips;
    std::unique_ptr<ControlTips> tips;
    WhatsThis help;
    Sample sample;

    bool Checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
    void Check(int id, bool on) { CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED); }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
};

// view_options_values.cpp
void PutViewerSettings(ViewOptionsForm& f, const Settings& s);
void TakeViewerSettings(const ViewOptionsForm& f, Settings& s);
// Both tab-position options show the tab name as the chosen style makes it.
void UpdateTabNameSample(ViewOptionsForm& f);
void UpdateHiperLinkConfirm(ViewOptionsForm& f);
void UpdateIconButton(ViewOptionsForm& f);

// view_options_sample.cpp
// Takes the settings' font and colours (unusable ones replaced) and lays the
// sample out.
void LoadSample(ViewOptionsForm& f, const Settings& s);
void ChooseSampleFont(ViewOptionsForm& f);
void ChooseSampleBackColour(ViewOptionsForm& f);
void ResetSample(ViewOptionsForm& f);
// WM_CTLCOLORSTATIC of the sample and the legend; nullptr for other controls.
HBRUSH SampleColours(ViewOptionsForm& f, HWND control, HDC dc);

// Opens the toolbar icon customisation window (built apart).
void OpenIconCustomisation(HWND owner);

}  // namespace quibex
