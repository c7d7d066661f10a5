// The shortcut-key list, exactly as users see it: each row's key, its
// description and the digit of "ShortCutKey" (counted from 1 at the left)
// that switches it off; 0 for rows that are always on.
#pragma once

namespace quibex::key_list_text {

struct Row {
    const wchar_t* key;
    const wchar_t* description;
    int digit;
};

inline constexpr Row kMoveRows[] = {
    {L"[Enter]", L"次のタブに進む", 1},
    {L"[Shift] + [Enter]", L"前のタブに戻る", 1},
    {L"[Ctrl] + [Tab]", L"次のタブに進む", 2},
    {L"[Shift] + [Ctrl] + [Tab]", L"前のタブに戻る", 2},
    {L"[Alt] + [→]", L"次のタブに進む", 3},
    {L"[Alt] + [←]", L"前のタブに戻る", 3},
    {L"[Shift] + [BS]", L"次のタブに進む", 7},
    {L"[BS]", L"前のタブに戻る", 7},
    {L"[Alt] + [数字]", L"数字のタブにジャンプ", 6},
};

inline constexpr Row kTextRows[] = {
    {L"[Ctrl] + [T]", L"テキストを開く", 0},
    {L"[Ctrl] + [P]", L"テキストを印刷する", 0},
    {L"[Ctrl] + [F]", L"文字列の検索", 0},
    {L"[F3]", L"検索次候補", 0},
    {L"[SPACE]", L"下にスクロール", 0},
    {L"[Shift] + [SPACE]", L"上にスクロール", 0},
};

inline constexpr const wchar_t* kOpenArchive = L"書庫を開く";
inline constexpr const wchar_t* kOpenArchiveAndExit = L"書庫を開いて終了";

// Rows 0 and 3 open the archive; which of them also ends the viewer
// follows "ExitAfterOpen" (the descriptions here are those for 0).
inline constexpr Row kGeneralRows[] = {
    {L"[Ctrl] + [O]", kOpenArchive, 0},
    {L"[Alt] + [A]", L"常に手前に表示／解除", 0},
    {L"[Esc]", L"終了", 5},
    {L"[Shift] + [Ctrl] + [O]", kOpenArchiveAndExit, 0},
};

}  // namespace quibex::key_list_text
