// The viewer options window: loading, the commands of its controls, its
// tooltips and help, and closing, which copies the controls back into the
// settings in memory (never into the INI file).
#include "options/view_options_window.h"

#include "core/app_state.h"
#include "options/view_options_form.h"
#include "options/view_options_texts.h"
#include "resource.h"

namespace quibex {

const ControlTopic kViewOptionsTopics[] = {
    {IDC_VIEWOPT_CHKSPACECONTINUE, 201},
    {IDC_VIEWOPT_CHKTOPMOST, 202},
    {IDC_VIEWOPT_CHKEXITAFTEROPEN, 203},
    {IDC_VIEWOPT_CHKREADME, 204},
    {IDC_VIEWOPT_CHKSIZE, 205},
    {IDC_VIEWOPT_CHKPOSITION, 206},
    {IDC_VIEWOPT_CHKTEXTLOAD, 207},
    {IDC_VIEWOPT_CHKHIPERLINK, 208},
    {IDC_VIEWOPT_CHKHIPERLINKCONFIRM, 209},
    {IDC_VIEWOPT_GRPSHORTCUT, 210},
    {IDC_VIEWOPT_PICXPSTYLE2, 210},
    {IDC_VIEWOPT_LABEL1, 210},
    {IDC_VIEWOPT_CHKSCK0, 211},
    {IDC_VIEWOPT_CHKSCK1, 212},
    {IDC_VIEWOPT_CHKSCK2, 213},
    {IDC_VIEWOPT_CHKSCK6, 214},
    {IDC_VIEWOPT_CHKSCK4, 215},
    {IDC_VIEWOPT_CHKSCK5, 216},
    {IDC_VIEWOPT_CHKNOTTOOLBAR, 217},
    {IDC_VIEWOPT_BTNICON, 218},
    {IDC_VIEWOPT_LABEL2, 219},
    {IDC_VIEWOPT_LABEL3, 219},
    {IDC_VIEWOPT_OPTTABPOS0, 220},
    {IDC_VIEWOPT_OPTTABPOS1, 220},
    {IDC_VIEWOPT_CHKHIGHLIGHTTAB, 221},
    {IDC_VIEWOPT_CHKMULTIROW, 222},
    {IDC_VIEWOPT_CHKNOEXT, 223},
    {IDC_VIEWOPT_BTNFONTCOLOR, 224},
    {IDC_VIEWOPT_BTNBACKCOLOR, 225},
    {IDC_VIEWOPT_BTNINITVALUE, 226},
};
const size_t kViewOptionsTopicCount = std::size(kViewOptionsTopics);

namespace {

void AddTips(ViewOptionsForm& f) {
    namespace t = view_options_text;
    f.twoLineTips = {CreateControlTip(f.Item(IDC_VIEWOPT_CHKSCK5), t::kTipJump, 200),
                     CreateControlTip(f.Item(IDC_VIEWOPT_BTNINITVALUE), t::kTipInitValue, 200),
                     CreateControlTip(f.Item(IDC_VIEWOPT_CHKHIGHLIGHTTAB), t::kTipHighLightTab, 200),
                     CreateControlTip(f.Item(IDC_VIEWOPT_CHKREADME), t::kTipReadme, 300)};
    f.tips = std::make_unique<ControlTips>();
    const struct {
        int id;
        const wchar_t* text;
    } oneLine[] = {
        {IDC_VIEWOPT_CHKTEXTLOAD, t::kTipTextLoad},   {IDC_VIEWOPT_CHKHIPERLINK, t::kTipHiperLink},
        {IDC_VIEWOPT_CHKHIPERLINKCONFIRM, t::kTipHiperLinkConfirm},
        {IDC_VIEWOPT_BTNICON, t::kTipIcon},           {IDC_VIEWOPT_OPTTABPOS0, t::kTipTabPosTop},
        {IDC_VIEWOPT_OPTTABPOS1, t::kTipTabPosBottom}, {IDC_VIEWOPT_CHKNOEXT, t::kTipNoExt},
    };
    for (const auto& tip : oneLine) f.tips->Add(f.hwnd(), f.Item(tip.id), tip.text);
}

// The window closes: every control goes back into the settings.
void Close(ViewOptionsForm& f) {
    TakeViewerSettings(f, AppSettings());
    f.End(IDCANCEL);
}

}  // namespace

bool ViewOptionsForm::OnInit() {
    for (const wchar_t* entry : view_options_text::kTabNameEntries)
        SendDlgItemMessageW(hwnd(), IDC_VIEWOPT_CMBTABNAME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    const Settings& s = AppSettings();
    PutViewerSettings(*this, s);
    LoadSample(*this, s);
    AddTips(*this);
    return true;
}

bool ViewOptionsForm::OnCommand(int id, int code, HWND) {
    if (id == IDCANCEL || id == IDOK) {
        // Esc while the "?" pointer is out ends only that.
        if (help.Picking())
            help.StopPicking();
        else
            Close(*this);
        return true;
    }
    if (id == IDC_VIEWOPT_CMBTABNAME) {
        if (code == CBN_SELCHANGE) UpdateTabNameSample(*this);
        return code == CBN_SELCHANGE;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_VIEWOPT_CHKHIPERLINK: UpdateHiperLinkConfirm(*this); return true;
    case IDC_VIEWOPT_CHKNOTTOOLBAR: UpdateIconButton(*this); return true;
    case IDC_VIEWOPT_CHKNOEXT: UpdateTabNameSample(*this); return true;
    case IDC_VIEWOPT_BTNICON: OpenIconCustomisation(hwnd()); return true;
    case IDC_VIEWOPT_BTNFONTCOLOR: ChooseSampleFont(*this); return true;
    case IDC_VIEWOPT_BTNBACKCOLOR: ChooseSampleBackColour(*this); return true;
    case IDC_VIEWOPT_BTNINITVALUE: ResetSample(*this); return true;
    default: return false;
    }
}

bool ViewOptionsForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = SampleColours(*this, reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp))) {
            result = reinterpret_cast<INT_PTR>(brush);
            return true;
        }
        return false;
    case WM_DESTROY:
        for (auto& tip : twoLineTips) tip.reset();
        tips.reset();
        return false;
    default: return help.HandleMessage(hwnd(), msg, wp, lp, result);
    }
}

void ShowViewerOptions(HWND owner) {
    ViewOptionsForm form;
    form.RunModal(IDD_VIEWOPT, owner);
}

}  // namespace quibex
