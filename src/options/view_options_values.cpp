// What the viewer options window shows of the settings, and what it takes
// back when it closes.
#include <windows.h>

#include "options/view_option_rules.h"
#include "options/view_options_form.h"
#include "resource.h"

namespace quibex {
namespace {

// The shortcut boxes, in the order of kShortCutBoxes.
constexpr int kShortCutBoxIds[] = {IDC_VIEWOPT_CHKSCK0, IDC_VIEWOPT_CHKSCK1, IDC_VIEWOPT_CHKSCK2,
                                   IDC_VIEWOPT_CHKSCK6, IDC_VIEWOPT_CHKSCK4, IDC_VIEWOPT_CHKSCK5};
static_assert(std::size(kShortCutBoxIds) == kShortCutBoxes.size());

int TabNameIndex(const ViewOptionsForm& f) {
    return static_cast<int>(SendDlgItemMessageW(f.hwnd(), IDC_VIEWOPT_CMBTABNAME, CB_GETCURSEL, 0, 0));
}

int16_t Flag(const ViewOptionsForm& f, int id) { return f.Checked(id) ? 1 : 0; }

}  // namespace

void PutViewerSettings(ViewOptionsForm& f, const Settings& s) {
    f.Check(IDC_VIEWOPT_CHKMULTIROW, s.MultiRow != 0);
    f.Check(IDC_VIEWOPT_CHKHIGHLIGHTTAB, s.HighLightTab != 0);
    f.Check(IDC_VIEWOPT_CHKNOEXT, s.NoExt != 0);
    SendDlgItemMessageW(f.hwnd(), IDC_VIEWOPT_CMBTABNAME, CB_SETCURSEL, static_cast<WPARAM>(s.TabName), 0);
    UpdateTabNameSample(f);
    f.Check(IDC_VIEWOPT_CHKNOTTOOLBAR, s.NotToolbar != 0);
    UpdateIconButton(f);
    f.Check(IDC_VIEWOPT_CHKPOSITION, s.StartUpPos != 0);
    f.Check(IDC_VIEWOPT_CHKSIZE, s.StartUpSize != 0);
    f.Check(IDC_VIEWOPT_CHKREADME, s.ReadmeFirst != 0);
    f.Check(IDC_VIEWOPT_CHKTEXTLOAD, s.TextLoadMode != 0);
    f.Check(IDC_VIEWOPT_CHKHIPERLINK, s.HiperLink != 0);
    UpdateHiperLinkConfirm(f);
    f.Check(IDC_VIEWOPT_CHKHIPERLINKCONFIRM, s.HiperLinkConfirm == 1);
    f.Check(IDC_VIEWOPT_CHKEXITAFTEROPEN, s.ExitAfterOpen == 1);
    f.Check(IDC_VIEWOPT_CHKTOPMOST, s.TopMost == 1);
    f.Check(IDC_VIEWOPT_CHKSPACECONTINUE, s.SpaceContinue == 1);
    CheckRadioButton(f.hwnd(), IDC_VIEWOPT_OPTTABPOS0, IDC_VIEWOPT_OPTTABPOS1,
                     s.TabPos == 0 ? IDC_VIEWOPT_OPTTABPOS0 : IDC_VIEWOPT_OPTTABPOS1);
    const ShortCutTicks ticks = ShortCutTicksOf(s.ShortCutKey);
    for (size_t i = 0; i < ticks.size(); ++i) f.Check(kShortCutBoxIds[i], ticks[i]);
}

void TakeViewerSettings(const ViewOptionsForm& f, Settings& s) {
    s.MultiRow = Flag(f, IDC_VIEWOPT_CHKMULTIROW);
    s.HighLightTab = Flag(f, IDC_VIEWOPT_CHKHIGHLIGHTTAB);
    s.NoExt = Flag(f, IDC_VIEWOPT_CHKNOEXT);
    if (const int index = TabNameIndex(f); index >= 0) s.TabName = static_cast<int16_t>(index);
    s.NotToolbar = Flag(f, IDC_VIEWOPT_CHKNOTTOOLBAR);
    s.StartUpPos = Flag(f, IDC_VIEWOPT_CHKPOSITION);
    s.StartUpSize = Flag(f, IDC_VIEWOPT_CHKSIZE);
    s.ReadmeFirst = Flag(f, IDC_VIEWOPT_CHKREADME);
    s.TextLoadMode = Flag(f, IDC_VIEWOPT_CHKTEXTLOAD);
    s.HiperLink = HiperLinkAfter(f.Checked(IDC_VIEWOPT_CHKHIPERLINK), s.HiperLink);
    s.HiperLinkConfirm = Flag(f, IDC_VIEWOPT_CHKHIPERLINKCONFIRM);
    s.ExitAfterOpen = Flag(f, IDC_VIEWOPT_CHKEXITAFTEROPEN);
    s.TopMost = Flag(f, IDC_VIEWOPT_CHKTOPMOST);
    s.SpaceContinue = Flag(f, IDC_VIEWOPT_CHKSPACECONTINUE);
    s.TabPos = f.Checked(IDC_VIEWOPT_OPTTABPOS0) ? 0 : 1;
    ShortCutTicks ticks{};
    for (size_t i = 0; i < ticks.size(); ++i) ticks[i] = f.Checked(kShortCutBoxIds[i]);
    s.ShortCutKey = ShortCutKeyWith(s.ShortCutKey, ticks);
    s.BackColor = f.sample.backColour;
    s.TextColor = f.sample.textColour;
    s.FontName = f.sample.fontName;
    s.FontSize = static_cast<int16_t>(f.sample.fontSize);
}

void UpdateTabNameSample(ViewOptionsForm& f) {
    const int index = TabNameIndex(f);
    if (index < 0) return;
    const std::wstring text = TabNameSample(index, f.Checked(IDC_VIEWOPT_CHKNOEXT));
    SetDlgItemTextW(f.hwnd(), IDC_VIEWOPT_OPTTABPOS0, text.c_str());
    SetDlgItemTextW(f.hwnd(), IDC_VIEWOPT_OPTTABPOS1, text.c_str());
}

void UpdateHiperLinkConfirm(ViewOptionsForm& f) {
    EnableWindow(f.Item(IDC_VIEWOPT_CHKHIPERLINKCONFIRM), f.Checked(IDC_VIEWOPT_CHKHIPERLINK));
}

void UpdateIconButton(ViewOptionsForm& f) {
    ShowWindow(f.Item(IDC_VIEWOPT_BTNICON), f.Checked(IDC_VIEWOPT_CHKNOTTOOLBAR) ? SW_HIDE : SW_SHOW);
}

}  // namespace quibex
