// The letter case of a tab name by the "TabName" setting, shared by the
// viewer's tabs and the viewer options window's preview. Pure string work.
#pragma once

#include <string>

namespace quibex {

// 0 as is, 1 upper, 2 lower, 3 first character upper and the rest lower.
// Other values leave the name as is.
std::wstring ApplyTabNameStyle(const std::wstring& name, int style);

}  // namespace quibex
