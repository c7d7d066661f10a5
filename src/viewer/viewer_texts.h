// The viewer's own texts, side by side.
#pragma once

#include <string>

namespace quibex {

// System-menu items added at load; their commands.
inline constexpr unsigned kSysMenuKeyList = 256;
inline constexpr unsigned kSysMenuAbout = 257;
inline constexpr const wchar_t* kSysMenuKeyListText = L"ショートカットキーの一覧表示(&K)...";
inline constexpr const wchar_t* kSysMenuAboutText = L"バージョン情報(&A)...";

// Tooltips of the status bar panels 1 to 3.
inline constexpr const wchar_t* kStatusTips[3] = {L"書庫ﾌｧｲﾙのﾌﾙﾊﾟｽ", L"書庫の形式", L"表示中のﾃｷｽﾄﾌｧｲﾙの個数"};

// The single tab shown when the archive holds documents but no text.
inline constexpr const wchar_t* kNoTextCaption = L"これはテキストファイルではありません";
inline constexpr const wchar_t* kNoTextBody =
    L"\r\n"
    L"　指定された条件に合うテキストファイルは見つかりませんでしたが、"
    L"他の形式のドキュメントファイルが格納されています。"
    L"\r\n\r\n"
    L"　ツールバーの▼ボタンをクリックしたらメニューが"
    L"表示されますので、閲覧したいファイルを"
    L"クリックしてください。";
// The red sentence: 25 characters from position 34, CR LF counted as two.
inline constexpr int kNoTextRedStart = 34;
inline constexpr int kNoTextRedLength = 25;

// Said at the end of a large text cut at the room the process had.
inline constexpr wchar_t kCutNote[] = L"\r\r（テキストが大きすぎるため、ここから先は表示していません）";

// The product name drawn engraved while the tabs are built.
inline constexpr const wchar_t* kLogoText = L"Quibex";

// Opening a self-extracting archive needs the archiver tool.
inline constexpr const wchar_t* kSfxNeedsArchiverTool =
    L"自己解凍書庫を関連付けで開くことはできません。\r\nアーカイバツールを登録してください。";
// Alt+A asks before the window changes its always-on-top state.
inline constexpr const wchar_t* kAskTopMostOn = L"ウィンドウを常に手前にしますか？";
inline constexpr const wchar_t* kAskTopMostOff = L"ウィンドウを常に手前を解除しますか？";

// The viewer could not be built; it closes after saying so.
inline constexpr const wchar_t* kBuildOutOfMemory =
    L"メモリが不足しているため、書庫内のテキストを表示できませんでした。\r\n\r\n"
    L"他のプログラムを終了してから、もう一度開いてください。";
inline constexpr const wchar_t* kBuildFailed =
    L"書庫内のテキストを表示できませんでした。\r\n\r\n"
    L"システムリソースが不足している可能性があります。他のプログラムを終了してから、もう一度開いてください。";

// A dropped archive whose new instance could not be started.
inline std::wstring HandOverFailedText(const std::wstring& path) {
    return path + L"\r\n\r\nこの書庫を開くための Quibex を起動できませんでした。";
}

}  // namespace quibex
