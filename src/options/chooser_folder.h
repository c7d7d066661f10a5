// Where the option windows' open-file dialogs start.
#pragma once

#include <string>

namespace quibex {

// The folder part of a box's text or a stored path (see BrowseFolderOf),
// only when that folder exists; otherwise empty (the dialog's own choice).
std::wstring ChooserStartFolder(const std::wstring& path);

}  // namespace quibex
