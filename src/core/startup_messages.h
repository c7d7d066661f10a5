// Texts that start-up shows, exactly as users see them.
#pragma once

namespace quibex::startup_text {

inline constexpr const wchar_t* kAlreadyRunningSuffix = L" は既に起動されています";
inline constexpr const wchar_t* kMissingFileSuffix = L" は存在しないファイルです。";
inline constexpr const wchar_t* kAskSelectArchive =
    L"書庫を選択しますか？\r\n\r\n「いいえ」でオプション画面を表示します。";
inline constexpr const wchar_t* kSelectDialogTitle = L"書庫ﾌｧｲﾙの選択";
// Filter pairs, each part ended by a NUL (the final NUL ends the list).
inline constexpr wchar_t kArchiveFilter[] =
    L"全ての書庫(*.lzh;*.zip;*.cab;*.exe)\0*.lzh;*.zip;*.cab;*.exe\0"
    L"LHA形式書庫(*.lzh)\0*.lzh\0"
    L"ZIP形式書庫(*.zip)\0*.zip\0"
    L"CAB形式書庫(*.cab)\0*.cab\0"
    L"自己解凍書庫(*.exe)\0*.exe\0";

}  // namespace quibex::startup_text
