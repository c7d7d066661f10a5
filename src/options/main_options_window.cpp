// The main options window: loading, the commands of its controls, OK and
// the end of the program. What the controls show of the settings is in
// main_options_values.cpp; the browse buttons, the beep test and the
// windows it opens have their own files.
#include "options/main_options_window.h"

#include <commctrl.h>

#include "core/app_state.h"
#include "core/app_window.h"
#include "core/win_profile_store.h"
#include "options/main_options_form.h"
#include "options/options_texts.h"
#include "resource.h"

namespace quibex {

const ControlTopic kMainOptionsTopics[] = {
    {IDC_OPTIONS_CHKBEEP, 44},
    {IDC_OPTIONS_CHKVIEWER, 10},
    {IDC_OPTIONS_BTNVIEWER, 15},
    {IDC_OPTIONS_CHKSHELLEXECOPEN, 41},
    {IDC_OPTIONS_CHKPROGRESS, 8},
    {IDC_OPTIONS_CHKSELECT, 11},
    {IDC_OPTIONS_CHKINIT, 9},
    {IDC_OPTIONS_LBLAPL, 5},
    {IDC_OPTIONS_TXTAPLPATH, 5},
    {IDC_OPTIONS_LBLEDT, 6},
    {IDC_OPTIONS_TXTEDTPATH, 6},
    {IDC_OPTIONS_LBLPRT, 7},
    {IDC_OPTIONS_TXTPRTPATH, 7},
    {IDC_OPTIONS_LABEL4, 29},
    {IDC_OPTIONS_TXTPRTPARAM, 29},
    {IDC_OPTIONS_CHKPARAMAFTERFILE, 30},
    {IDC_OPTIONS_CHKPRTCONFIRM, 31},
    {IDC_OPTIONS_OPTION1_1, 2},
    {IDC_OPTIONS_OPTION1_0, 27},
    {IDC_OPTIONS_LABEL1, 3},
    {IDC_OPTIONS_TXTOPENMAX, 3},
    {IDC_OPTIONS_LABEL2, 3},
    {IDC_OPTIONS_LABEL3, 4},
    {IDC_OPTIONS_CMBNOTEXT, 4},
    {IDC_OPTIONS_LBLTXTTYPE, 28},
    {IDC_OPTIONS_TXTTXTTYPE, 28},
    {IDC_OPTIONS_LBLDOCTYPE, 35},
    {IDC_OPTIONS_TXTDOCTYPE, 35},
    {IDC_OPTIONS_BTNABOUT, 12},
    {IDC_OPTIONS_BTNREADME, 33},
    {IDOK, 13},
    {IDCANCEL, 14},
};
const size_t kMainOptionsTopicCount = std::size(kMainOptionsTopics);

namespace {

MainOptionsForm* g_options = nullptr;

}  // namespace

bool MainOptionsForm::OnInit() {
    for (const wchar_t* entry : options_text::kNoTextEntries)
        SendDlgItemMessageW(hwnd(), IDC_OPTIONS_CMBNOTEXT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    LimitOpenMaxBox(*this);
    PutSettings(*this, AppSettings());

    tipSelect = CreateControlTip(Item(IDC_OPTIONS_CHKSELECT), options_text::kTipSelect, 200);
    tipBeep = CreateControlTip(Item(IDC_OPTIONS_CHKBEEP), options_text::kTipBeep, 200);
    tips = std::make_unique<ControlTips>();
    const struct {
        int id;
        const wchar_t* text;
    } oneLine[] = {
        {IDC_OPTIONS_BTNVIEWER, options_text::kTipViewer},
        {IDC_OPTIONS_LBLAPL, options_text::kTipArchiverTool},
        {IDC_OPTIONS_TXTAPLPATH, options_text::kTipArchiverTool},
        {IDC_OPTIONS_BTNBR0, options_text::kTipArchiverTool},
        {IDC_OPTIONS_LABEL4, options_text::kTipPrintParam},
        {IDC_OPTIONS_TXTPRTPARAM, options_text::kTipPrintParam},
        {IDC_OPTIONS_CHKPARAMAFTERFILE, options_text::kTipParamAfterFile},
        {IDC_OPTIONS_CHKPRTCONFIRM, options_text::kTipPrintConfirm},
        {IDC_OPTIONS_LBLTXTTYPE, options_text::kTipExtensions},
        {IDC_OPTIONS_TXTTXTTYPE, options_text::kTipExtensions},
        {IDC_OPTIONS_LBLDOCTYPE, options_text::kTipExtensions},
        {IDC_OPTIONS_TXTDOCTYPE, options_text::kTipExtensions},
        {IDC_OPTIONS_BTNABOUT, options_text::kTipAbout},
        {IDC_OPTIONS_BTNREADME, options_text::kTipReadme},
    };
    for (const auto& tip : oneLine) tips->Add(hwnd(), Item(tip.id), tip.text);
    return true;
}

bool MainOptionsForm::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDOK: {
        Settings& s = AppSettings();
        TakeSettings(*this, s);
        WinProfileStore ini(App().IniPath);
        SaveSettings(ini, s);
        End(IDOK);
        return true;
    }
    case IDCANCEL:
        // Esc while the "?" pointer is out ends only that.
        if (help.Picking())
            help.StopPicking();
        else
            End(IDCANCEL);
        return true;
    case IDC_OPTIONS_TXTOPENMAX:
        if (code == EN_KILLFOCUS) CorrectOpenMax(*this);
        return code == EN_KILLFOCUS;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_OPTIONS_BTNBR0: BrowseForTool(*this, 0); return true;
    case IDC_OPTIONS_BTNBR1: BrowseForTool(*this, 1); return true;
    case IDC_OPTIONS_BTNBR2: BrowseForTool(*this, 2); return true;
    case IDC_OPTIONS_CHKBEEP:
        if (Checked(IDC_OPTIONS_CHKBEEP)) RunBeepTest();
        return true;
    case IDC_OPTIONS_OPTION1_0:
    case IDC_OPTIONS_OPTION1_1:
    case IDC_OPTIONS_CHKVIEWER: UpdateEnabledStates(*this); return true;
    case IDC_OPTIONS_BTNVIEWER: OpenViewerOptions(hwnd()); return true;
    case IDC_OPTIONS_BTNABOUT: OpenAboutWindow(hwnd()); return true;
    case IDC_OPTIONS_BTNREADME: OpenReadme(); return true;
    default: return false;
    }
}

bool MainOptionsForm::OnNotify(const NMHDR& hdr, LRESULT& result) {
    if (hdr.idFrom != IDC_OPTIONS_VSCROLL1 || hdr.code != UDN_DELTAPOS) return false;
    // The arrows step from the number in the box (as if it had lost the
    // focus first); the arrow control's own count is not used.
    StepOpenMax(*this, reinterpret_cast<const NMUPDOWN&>(hdr).iDelta > 0 ? 1 : -1);
    result = TRUE;
    return true;
}

bool MainOptionsForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
    if (msg == WM_DESTROY) {
        tipSelect.reset();
        tipBeep.reset();
        tips.reset();
        return false;
    }
    return help.HandleMessage(hwnd(), msg, wp, lp, result);
}

void MainOptionsForm::OnDestroyed() {
    if (g_options == this) g_options = nullptr;
    PostQuitMessage(0);  // this window was the program
    delete this;
}

void ShowMainOptionsWindow() {
    if (g_options) return;
    auto* form = new MainOptionsForm();
    if (!form->CreateModeless(IDD_OPTIONS, AppWindow())) {
        delete form;
        PostQuitMessage(0);
        return;
    }
    g_options = form;
    SetForegroundWindow(form->hwnd());
}

HWND MainOptionsWindow() { return g_options ? g_options->hwnd() : nullptr; }

}  // namespace quibex
