// What the main options window shows of the settings, and what OK takes back.
#include <windows.h>

#include <commctrl.h>

#include "core/path_text.h"
#include "core/settings_rules.h"
#include "options/main_options_form.h"
#include "options/option_rules.h"
#include "options/options_texts.h"
#include "resource.h"

namespace quibex {
namespace {

void Check(MainOptionsForm& f, int id, int value) {
    CheckDlgButton(f.hwnd(), id, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int16_t Flag(const MainOptionsForm& f, int id) { return f.Checked(id) ? 1 : 0; }

void ShowOpenMax(MainOptionsForm& f, int value) {
    SetDlgItemTextW(f.hwnd(), IDC_OPTIONS_TXTOPENMAX, std::to_wstring(value).c_str());
    SendDlgItemMessageW(f.hwnd(), IDC_OPTIONS_VSCROLL1, UDM_SETPOS32, 0, value);
}

// Typed characters other than the digits and Backspace never reach the box.
bool DigitsOnly(HWND, UINT msg, WPARAM wp, LPARAM, DWORD_PTR, LRESULT& result) {
    if (msg != WM_CHAR || OpenMaxAcceptsChar(static_cast<wchar_t>(wp))) return false;
    result = 0;
    return true;
}

}  // namespace

std::wstring MainOptionsForm::Text(int id) const {
    HWND control = GetDlgItem(hwnd(), id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void PutSettings(MainOptionsForm& f, const Settings& s) {
    HWND dlg = f.hwnd();
    CheckRadioButton(dlg, IDC_OPTIONS_OPTION1_1, IDC_OPTIONS_OPTION1_0,
                     s.AllText != 0 ? IDC_OPTIONS_OPTION1_1 : IDC_OPTIONS_OPTION1_0);
    // Values past the list (kept raw in the file) mean the beep, its last entry.
    const int lastEntry = static_cast<int>(std::size(options_text::kNoTextEntries)) - 1;
    const int noText = s.NoText >= 0 && s.NoText <= lastEntry ? s.NoText : lastEntry;
    SendDlgItemMessageW(dlg, IDC_OPTIONS_CMBNOTEXT, CB_SETCURSEL, static_cast<WPARAM>(noText), 0);
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTAPLPATH, s.ArcAplPath.c_str());
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTEDTPATH, s.TxtEdtPath.c_str());
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTPRTPATH, s.PrtToolPath.c_str());
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTPRTPARAM, s.PrtToolParam.c_str());
    Check(f, IDC_OPTIONS_CHKPARAMAFTERFILE, s.ParamAfterFile);
    Check(f, IDC_OPTIONS_CHKPRTCONFIRM, s.PrtConfirm);
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTTXTTYPE, s.TxtType.c_str());
    SetDlgItemTextW(dlg, IDC_OPTIONS_TXTDOCTYPE, s.DocType.c_str());
    SendDlgItemMessageW(dlg, IDC_OPTIONS_VSCROLL1, UDM_SETRANGE32, 1, 10);
    ShowOpenMax(f, s.OpenMax);
    Check(f, IDC_OPTIONS_CHKPROGRESS, s.Progress);
    Check(f, IDC_OPTIONS_CHKINIT, s.InitDialog);
    Check(f, IDC_OPTIONS_CHKSELECT, s.ArcSelect);
    // Setting a box sends no click, so loading never starts the beep test.
    Check(f, IDC_OPTIONS_CHKBEEP, s.PcBeep);
    Check(f, IDC_OPTIONS_CHKVIEWER, s.InsideViewer);
    Check(f, IDC_OPTIONS_CHKSHELLEXECOPEN, s.ShellExecOpen);
    UpdateEnabledStates(f);
}

void TakeSettings(const MainOptionsForm& f, Settings& s) {
    s.AllText = f.Checked(IDC_OPTIONS_OPTION1_0) ? 0 : 1;
    const auto entry = SendDlgItemMessageW(f.hwnd(), IDC_OPTIONS_CMBNOTEXT, CB_GETCURSEL, 0, 0);
    if (entry >= 0) s.NoText = static_cast<int16_t>(entry);
    s.ArcAplPath = TrimSpaces(f.Text(IDC_OPTIONS_TXTAPLPATH));
    s.TxtEdtPath = TrimSpaces(f.Text(IDC_OPTIONS_TXTEDTPATH));
    s.PrtToolPath = TrimSpaces(f.Text(IDC_OPTIONS_TXTPRTPATH));
    s.PrtToolParam = TrimSpaces(f.Text(IDC_OPTIONS_TXTPRTPARAM));
    s.TxtType = TrimSpaces(f.Text(IDC_OPTIONS_TXTTXTTYPE));
    s.DocType = TrimSpaces(f.Text(IDC_OPTIONS_TXTDOCTYPE));
    s.ParamAfterFile = Flag(f, IDC_OPTIONS_CHKPARAMAFTERFILE);
    s.PrtConfirm = Flag(f, IDC_OPTIONS_CHKPRTCONFIRM);
    s.Progress = Flag(f, IDC_OPTIONS_CHKPROGRESS);
    s.InitDialog = Flag(f, IDC_OPTIONS_CHKINIT);
    s.ArcSelect = Flag(f, IDC_OPTIONS_CHKSELECT);
    s.PcBeep = Flag(f, IDC_OPTIONS_CHKBEEP);
    s.InsideViewer = Flag(f, IDC_OPTIONS_CHKVIEWER);
    s.ShellExecOpen = Flag(f, IDC_OPTIONS_CHKSHELLEXECOPEN);
    // The box may still hold what was typed: the focus never left it.
    s.OpenMax = static_cast<int16_t>(OpenMaxFromText(f.Text(IDC_OPTIONS_TXTOPENMAX)));
}

void UpdateEnabledStates(MainOptionsForm& f) {
    // A disabled edit box draws on the button face colour by itself.
    const bool allTexts = f.Checked(IDC_OPTIONS_OPTION1_1);
    EnableWindow(f.Item(IDC_OPTIONS_LBLTXTTYPE), allTexts);
    EnableWindow(f.Item(IDC_OPTIONS_TXTTXTTYPE), allTexts);
    const bool viewer = f.Checked(IDC_OPTIONS_CHKVIEWER);
    EnableWindow(f.Item(IDC_OPTIONS_BTNVIEWER), viewer);
    EnableWindow(f.Item(IDC_OPTIONS_LBLDOCTYPE), viewer);
    EnableWindow(f.Item(IDC_OPTIONS_TXTDOCTYPE), viewer);
}

void LimitOpenMaxBox(MainOptionsForm& f) {
    HWND box = f.Item(IDC_OPTIONS_TXTOPENMAX);
    SendMessageW(box, EM_LIMITTEXT, 2, 0);
    FilterMessages(box, DigitsOnly);
}

void CorrectOpenMax(MainOptionsForm& f) { ShowOpenMax(f, OpenMaxFromText(f.Text(IDC_OPTIONS_TXTOPENMAX))); }

void StepOpenMax(MainOptionsForm& f, int delta) {
    ShowOpenMax(f, ClampOpenMax(OpenMaxFromText(f.Text(IDC_OPTIONS_TXTOPENMAX)) + delta));
}

}  // namespace quibex
