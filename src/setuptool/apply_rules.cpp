#include "setuptool/apply_rules.h"

#include "setuptool/menu_entry_plan.h"
#include "setuptool/setup_texts.h"

namespace quibexsetup {

ItemNameProblem CheckItemName(std::wstring_view itemName) {
    if (TrimSpaces(itemName).empty()) return ItemNameProblem::Empty;
    if (itemName.find_first_of(L"\t\n\r") != std::wstring_view::npos) return ItemNameProblem::ControlCharacter;
    return ItemNameProblem::None;
}

EntryAction ChooseAction(bool ticked, bool exists) {
    if (ticked) return exists ? EntryAction::Update : EntryAction::Add;
    return exists ? EntryAction::Remove : EntryAction::Skip;
}

std::wstring ReportLine(std::wstring_view caption, EntryAction action, bool succeeded) {
    std::wstring line =
        std::wstring(texts::kReportExtension) + L"\"" + std::wstring(caption) + L"\"" + texts::kReportItemOf;
    switch (action) {
    case EntryAction::Add: line += texts::kReportAdding; break;
    case EntryAction::Update: line += texts::kReportUpdating; break;
    case EntryAction::Remove: line += texts::kReportRemoving; break;
    case EntryAction::Skip: return line + texts::kReportSkipped + L"\r\n\r\n";
    }
    return line + (succeeded ? texts::kReportSucceeded : texts::kReportFailed) + L"\r\n\r\n";
}

}  // namespace quibexsetup
