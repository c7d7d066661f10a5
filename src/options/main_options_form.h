// The main options window's object and the routines its source files share.
// Not for use outside src/options (tests excepted).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/settings.h"
#include "core/window_base.h"
#include "ui/control_tips.h"
#include "ui/tool_tip.h"
#include "ui/whats_this.h"

namespace quibex {

// The controls' help topics (main_options_window.cpp).
extern const ControlTopic kMainOptionsTopics[];
extern const size_t kMainOptionsTopicCount;

struct MainOptionsForm : Dialog {
    MainOptionsForm() : help({kMainOptionsTopics, kMainOptionsTopicCount}) {}

    std::unique_ptr<ToolTip> tipSelect, tipBeep;  // the two-line tips
    std::unique_ptr<ControlTips> tips;            // the one-line tips
    WhatsThis help;

    std::wstring Text(int id) const;
    bool Checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& hdr, LRESULT& result) override;
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
    bool CentreOnOwner() const override { return false; }
    void OnDestroyed() override;
};

// main_options_values.cpp: the settings into the controls and back.
void PutSettings(MainOptionsForm& f, const Settings& s);
void TakeSettings(const MainOptionsForm& f, Settings& s);
// Enables what the option buttons and "ビューア" switch on.
void UpdateEnabledStates(MainOptionsForm& f);
// txtOpenMax: digits only; its number put right when it loses the focus;
// the spin arrows step from that number.
void LimitOpenMaxBox(MainOptionsForm& f);
void CorrectOpenMax(MainOptionsForm& f);
void StepOpenMax(MainOptionsForm& f, int delta);

// tool_browse.cpp: btnBr(index) — the archiver tool (0), editor (1), print tool (2).
void BrowseForTool(MainOptionsForm& f, int index);

// beep_test.cpp: after chkBeep is turned on by hand.
void RunBeepTest();

// main_options_links.cpp: the windows this one opens.
void OpenViewerOptions(HWND owner);
void OpenAboutWindow(HWND owner);
void OpenReadme();

}  // namespace quibex
