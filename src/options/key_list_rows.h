// The rows of the shortcut-key list as the current settings show them.
#pragma once

#include <string>
#include <vector>

namespace quibex {

enum class KeyListGroup { Move, Text, General };

struct KeyListRow {
    std::wstring key;
    std::wstring description;
    bool enabled = true;
};

// The rows of one group, in order: greyed by the digits of `shortCutKey`
// that are "0", the archive-opening rows worded by `exitAfterOpen`.
std::vector<KeyListRow> KeyListRows(KeyListGroup group, const std::wstring& shortCutKey, int exitAfterOpen);

}  // namespace quibex
