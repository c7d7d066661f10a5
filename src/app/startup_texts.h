// Texts that start-up and the reading that follows show, exactly as users see them.
#pragma once

namespace quibex::startup_text {

inline constexpr const wchar_t* kAlreadyRunningSuffix = L" は既に起動されています";
inline constexpr const wchar_t* kMissingFileSuffix = L" は存在しないファイルです。";
inline constexpr const wchar_t* kAskSelectArchive =
    L"書庫を選択しますか？\r\n\r\n「いいえ」でオプション画面を表示します。";
inline constexpr const wchar_t* kSelectDialogTitle = L"書庫ﾌｧｲﾙの選択";
// Filter pairs, each part ended by a NUL (the final NUL ends the list).
inline constexpr wchar_t kArchiveFilter[] =
    L"全ての書庫(*.lzh;*.zip;*.cab;*.7z;*.rar;*.exe)\0*.lzh;*.zip;*.cab;*.7z;*.rar;*.exe\0"
    L"LHA形式書庫(*.lzh)\0*.lzh\0"
    L"ZIP形式書庫(*.zip)\0*.zip\0"
    L"CAB形式書庫(*.cab)\0*.cab\0"
    L"7Z形式書庫(*.7z)\0*.7z\0"
    L"RAR形式書庫(*.rar)\0*.rar\0"
    L"自己解凍書庫(*.exe)\0*.exe\0";

// The no-text reaction's questions and notice, after the reader's own sentence.
inline constexpr const wchar_t* kAskOpenArchive = L"書庫ファイルを開きますか？\r\n\r\n";
inline constexpr const wchar_t* kAskOpenSelfExtracting =
    L"書庫ファイルを開きますか？\r\n\r\n"
    L"この操作には、オプションでアーカイバツールが登録されている必要があります。";
inline constexpr const wchar_t* kCheckWithArchiverTool = L"アーカイバツールで確認してください。";
// The viewer window could not be made: nothing can be shown.
inline constexpr const wchar_t* kViewerNotCreated =
    L"ビューアのウィンドウを作成できませんでした。\r\n\r\n"
    L"メモリやシステムリソースが不足している可能性があります。他のプログラムを終了してから、もう一度お試しください。";

}  // namespace quibex::startup_text
