#include "setuptool/setup_dialog.h"

#include <commctrl.h>

#include <utility>

#include "setup_resource.h"
#include "setuptool/apply_rules.h"
#include "setuptool/menu_entry.h"
#include "setuptool/setup_message.h"
#include "setuptool/setup_texts.h"

namespace quibexsetup {

namespace {
int CheckBoxId(size_t index) { return IDC_CHKEXT + static_cast<int>(index); }

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}
}  // namespace

SetupDialog::SetupDialog(HKEY root, std::wstring viewerPath) : root_(root), viewerPath_(std::move(viewerPath)) {}

bool SetupDialog::OnInit() {
    ShowIcon();
    AddTooltips();
    DetectEntries();
    return true;  // the dialog manager focuses the item name and selects it
}

void SetupDialog::ShowIcon() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        const int size = GetSystemMetrics(metric);
        HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUIBEXSETUP), IMAGE_ICON, size, size, LR_SHARED);
        SendMessageW(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

static_assert(texts::kExtensionTips.size() == kExtensionSlots.size(), "one tip per check box");

void SetupDialog::AddTooltips() {
    // Owned by the dialog, so it goes when the dialog does.
    HWND tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip) return;
    for (size_t i = 0; i < kExtensionSlots.size(); ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(Item(CheckBoxId(i)));
        tool.lpszText = const_cast<wchar_t*>(texts::kExtensionTips[i]);
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Detection only ticks the boxes: the item name stays the default text, so
// that OK on an update never copies one extension's item text to the others.
void SetupDialog::DetectEntries() {
    for (size_t i = 0; i < kExtensionSlots.size(); ++i) {
        entries_[i] = DetectMenuEntry(root_, kExtensionSlots[i]);
        if (entries_[i].exists) CheckDlgButton(hwnd(), CheckBoxId(i), BST_CHECKED);
    }
}

bool SetupDialog::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_BTNOK: Apply(); return true;
    case IDC_BTNCANCEL: End(IDCANCEL); return true;
    }
    return false;
}

bool SetupDialog::Ticked(size_t index) const { return IsDlgButtonChecked(hwnd(), CheckBoxId(index)) == BST_CHECKED; }

void SetupDialog::Warn(const wchar_t* text) {
    ShowSetupMessage(hwnd(), text, texts::kTitle, MB_OK | MB_ICONEXCLAMATION);
    // Through the dialog manager, so the name is selected as when tabbed into.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_TXTITEMNAME)), TRUE);
}

void SetupDialog::Apply() {
    const std::wstring itemName = WindowText(Item(IDC_TXTITEMNAME));
    switch (CheckItemName(itemName)) {
    case ItemNameProblem::Empty: return Warn(texts::kItemNameEmpty);
    case ItemNameProblem::ControlCharacter: return Warn(texts::kItemNameInvalid);
    case ItemNameProblem::None: break;
    }
    std::wstring report;
    for (size_t i = 0; i < kExtensionSlots.size(); ++i) {
        const std::wstring_view caption = kExtensionSlots[i].caption;
        const EntryAction action = ChooseAction(Ticked(i), entries_[i].exists);
        bool succeeded = false;
        if (action == EntryAction::Add || action == EntryAction::Update) {
            succeeded = AddMenuItem(root_, caption, itemName, entries_[i].fileClass, viewerPath_);
        } else if (action == EntryAction::Remove) {
            succeeded = RemoveMenuItem(root_, entries_[i].fileClass);
        }
        report += ReportLine(caption, action, succeeded);
    }
    ShowSetupMessage(hwnd(), report, texts::kReportTitle, MB_OK | MB_ICONINFORMATION);
    End(IDOK);
}

}  // namespace quibexsetup
