#include "options/key_list_rows.h"

#include <span>

#include "options/key_list_texts.h"

namespace quibex {

namespace {

std::span<const key_list_text::Row> RowsOf(KeyListGroup group) {
    switch (group) {
    case KeyListGroup::Move: return key_list_text::kMoveRows;
    case KeyListGroup::Text: return key_list_text::kTextRows;
    default: return key_list_text::kGeneralRows;
    }
}

bool SwitchedOff(const std::wstring& shortCutKey, int digit) {
    return digit > 0 && static_cast<size_t>(digit) <= shortCutKey.size() && shortCutKey[digit - 1] == L'0';
}

}  // namespace

std::vector<KeyListRow> KeyListRows(KeyListGroup group, const std::wstring& shortCutKey, int exitAfterOpen) {
    std::vector<KeyListRow> rows;
    for (const key_list_text::Row& row : RowsOf(group))
        rows.push_back({row.key, row.description, !SwitchedOff(shortCutKey, row.digit)});
    if (group == KeyListGroup::General && exitAfterOpen != 0) {
        rows[0].description = key_list_text::kOpenArchiveAndExit;
        rows[3].description = key_list_text::kOpenArchive;
    }
    return rows;
}

}  // namespace quibex
