// The context-menu entry in a real registry, below `root`.
#pragma once

#include <windows.h>

#include <string_view>

#include "setuptool/menu_entry_plan.h"

namespace quibexsetup {

DetectedEntry DetectMenuEntry(HKEY root, const ExtensionSlot& slot);
// Adds or updates the entry; true only when every write of the plan
// succeeded. Writes made before a failing one stay.
bool AddMenuItem(HKEY root, std::wstring_view extension, std::wstring_view itemName, std::wstring_view fileClass,
                 std::wstring_view viewerPath);
// Deletes the verb (its command, then the verb key); the class, its other
// verbs and its "shell" key stay. True when the verb key was deleted.
bool RemoveMenuItem(HKEY root, std::wstring_view fileClass);

}  // namespace quibexsetup
