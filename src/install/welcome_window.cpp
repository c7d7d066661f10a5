// The welcome window: it explains how the program is used and offers to make
// its shortcuts on the desktop and in the Send To folder. It writes nothing
// to the INI file; start-up does that once the window has closed.
#include "install/welcome_window.h"

#include <windowsx.h>

#include "core/app_window.h"
#include "core/message_box.h"
#include "core/path_text.h"
#include "core/paths.h"
#include "core/window_base.h"
#include "install/install_texts.h"
#include "install/welcome_rules.h"
#include "install/shell_link.h"
#include "resource.h"

namespace quibex {

namespace {

class SetupDialog : public Dialog {
protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool CentreOnOwner() const override { return false; }

private:
    std::wstring NameText() const;
    bool Ticked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void UpdateCreateButton();
    void FocusName();
    void CreateShortcuts();
    void Finish(const std::wstring& message);

    ShellLink shellLink_;
    bool answered_ = false;
};

bool SetupDialog::OnInit() {
    SetDlgItemTextW(hwnd_, IDC_SETUP_LBLMSG, WelcomeText().c_str());
    SetDlgItemTextW(hwnd_, IDC_SETUP_TXTSCNAME, install_text::kDefaultShortcutName);
    CheckDlgButton(hwnd_, IDC_SETUP_CHKSCDIR0, BST_CHECKED);
    CheckDlgButton(hwnd_, IDC_SETUP_CHKSCDIR1, BST_CHECKED);
    UpdateCreateButton();
    SetForegroundWindow(hwnd_);
    return true;  // the name box takes the focus with its text selected
}

bool SetupDialog::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_SETUP_TXTSCNAME:
        if (code == EN_CHANGE) UpdateCreateButton();
        return true;
    case IDC_SETUP_CHKSCDIR0:
    case IDC_SETUP_CHKSCDIR1: UpdateCreateButton(); return true;
    case IDC_SETUP_BTNYES:
        if (answered_)
            End(IDOK);
        else if (IsWindowEnabled(Item(IDC_SETUP_BTNYES)))  // Enter reaches here even when "yes" is greyed
            CreateShortcuts();
        return true;
    case IDC_SETUP_BTNNO:
        if (!answered_) Finish(DeclinedText());
        return true;
    case IDCANCEL: End(IDCANCEL); return true;
    default: return false;
    }
}

std::wstring SetupDialog::NameText() const {
    HWND box = Item(IDC_SETUP_TXTSCNAME);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetupDialog::UpdateCreateButton() {
    if (answered_) return;
    bool ready = !TrimSpaces(NameText()).empty() && (Ticked(IDC_SETUP_CHKSCDIR0) || Ticked(IDC_SETUP_CHKSCDIR1));
    EnableWindow(Item(IDC_SETUP_BTNYES), ready);
}

void SetupDialog::FocusName() {
    HWND box = Item(IDC_SETUP_TXTSCNAME);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    Edit_SetSel(box, 0, -1);
}

void SetupDialog::CreateShortcuts() {
    const std::wstring name = TrimSpaces(NameText());
    ShortcutNameProblem problem = CheckShortcutName(name);
    if (problem != ShortcutNameProblem::None) {
        ShowMessage(problem == ShortcutNameProblem::ForbiddenCharacter ? install_text::kForbiddenCharacters
                                                                       : install_text::kControlCharacters,
                    MB_ICONEXCLAMATION | MB_OK);
        FocusName();
        return;
    }

    // The link always starts Quibex.exe of this folder, as its files are
    // named on disk; without that file the target is empty and no link is made.
    ShellLinkFields link;
    link.ExeFile = LongPathName(LinkTargetIn(ApplicationFolder()));
    link.WorkDir = LongPathName(ApplicationFolder());
    link.IconIdx = 1;
    link.ShowCmd = SW_SHOW;
    link.Description = install_text::kLinkDescription;

    const ShortcutPlaces ticked{Ticked(IDC_SETUP_CHKSCDIR0), Ticked(IDC_SETUP_CHKSCDIR1)};
    std::wstring desktopLink, sendToLink;
    std::wstring folder;
    if (ticked.desktop && shellLink_.GetSystemFolderPath(hwnd_, kDesktopFolder, folder))
        desktopLink = folder + L"\\" + name + L".lnk";
    folder.clear();
    if (ticked.sendTo && shellLink_.GetSystemFolderPath(hwnd_, kSendToFolder, folder))
        sendToLink = folder + L"\\" + name + L".lnk";

    // A shortcut of that name may be the user's own: replace it only when asked to.
    ShortcutPlaces existing{!desktopLink.empty() && PathExists(desktopLink),
                            !sendToLink.empty() && PathExists(sendToLink)};
    if (existing.any() &&
        ShowMessage(ReplaceQuestion(name, existing), MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) != IDYES) {
        FocusName();
        return;
    }

    ShortcutPlaces created{ticked.desktop && shellLink_.CreateShellLink(desktopLink, link),
                           ticked.sendTo && shellLink_.CreateShellLink(sendToLink, link)};
    ShortcutPlaces failed{ticked.desktop && !created.desktop, ticked.sendTo && !created.sendTo};
    Finish(ShortcutsResultText(name, created, failed));
}

void SetupDialog::Finish(const std::wstring& message) {
    SetDlgItemTextW(hwnd_, IDC_SETUP_LBLMSG, message.c_str());
    answered_ = true;
    HWND yes = Item(IDC_SETUP_BTNYES);
    EnableWindow(yes, TRUE);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(yes), TRUE);
    for (int id : {IDC_SETUP_FRAME1, IDC_SETUP_LABEL1, IDC_SETUP_CHKSCDIR0, IDC_SETUP_CHKSCDIR1, IDC_SETUP_TXTSCNAME,
                   IDC_SETUP_BTNNO})
        EnableWindow(Item(id), FALSE);
}

}  // namespace

void ShowSetupWindowModal() {
    SetupDialog dialog;
    dialog.RunModal(IDD_SETUP, AppWindow());
}

}  // namespace quibex
