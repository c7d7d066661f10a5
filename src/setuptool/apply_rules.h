// What OK decides before and after touching the registry: whether the item
// name can be used, what happens to each extension, and the report line
// that says how it went.
#pragma once

#include <string>
#include <string_view>

namespace quibexsetup {

enum class ItemNameProblem { None, Empty, ControlCharacter };
// Empty after trimming spaces, or holding a tab, line feed or carriage return
// (the menu text is one line).
ItemNameProblem CheckItemName(std::wstring_view itemName);

enum class EntryAction { Add, Update, Remove, Skip };
// A ticked box adds or updates; unticking a found entry removes it.
EntryAction ChooseAction(bool ticked, bool exists);

// The report paragraph for one extension (its caption as shown), ending in a
// blank line; `succeeded` is ignored for Skip.
std::wstring ReportLine(std::wstring_view caption, EntryAction action, bool succeeded);

}  // namespace quibexsetup
