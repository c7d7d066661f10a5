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

// After the caption while the selected tab's large text is read, before "37%".
inline constexpr const wchar_t* kLoadingCaption = L" - 読み込み中 ";

// The product name drawn engraved while the tabs are built.
inline constexpr const wchar_t* kLogoText = L"Quibex";

// Opening a self-extracting archive needs the archiver tool.
inline constexpr const wchar_t* kSfxNeedsArchiverTool =
    L"自己解凍書庫を関連付けで開くことはできません。\r\nアーカイバツールを登録してください。";
// The toolbar's hints (status panel 1 while the pointer is over a button),
// left to right as set at design time; BuildViewer rebuilds those of "Text",
// "Print" and "Open" from the settings.
inline constexpr const wchar_t* kToolbarHints[7] = {L"前のテキストに戻る (Alt + ←)",
                                                    L"次のテキストに進む (Alt + →)",
                                                    L"文字列の検索 (Ctrl + F)",
                                                    L"テキストファイルを開く (Ctrl + T)",
                                                    L"テキストを印刷する (Ctrl + P)",
                                                    L"書庫ファイルを開く (Ctrl + O)",
                                                    L"終了 (Esc)"};
inline constexpr const wchar_t* kHintTextWithTool = L"テキストファイルを外部ツールで開く (Ctrl + T)";
inline constexpr const wchar_t* kHintTextByAssociation = L"テキストファイルを関連付けで開く (Ctrl + T)";
inline constexpr const wchar_t* kHintPrintWithTool = L"テキストを外部ツールで印刷する (Ctrl + P)";
inline constexpr const wchar_t* kHintPrintByAssociation = L"テキストを関連付けで印刷する (Ctrl + P)";
inline constexpr const wchar_t* kHintOpenWithTool = L"書庫ファイルを外部ツールで";
inline constexpr const wchar_t* kHintOpenByAssociation = L"書庫ファイルを関連付けで";
inline constexpr const wchar_t* kHintOpenAndExit = L"開いて終了する";
inline constexpr const wchar_t* kHintOpenOnly = L"開く";
inline constexpr const wchar_t* kHintOpenKey = L" (Ctrl + O)";

// The system-menu items while the window is always on top.
inline constexpr const wchar_t* kTopMostBlocksWindows =
    L"ウィンドウが最前面に表示されています。\r\n[Alt] + [A] で一旦解除してください。";

// Links: the question before opening one, and what the three handlers say
// when they fail (the error, the handler's line, the request to report it).
inline constexpr const wchar_t* kAskOpenLink = L"選択されたURLまたはメールアドレスを開きますか？";
inline constexpr const wchar_t* kLinkMarkFailed = L"アドレス解析処理に失敗しました。";
inline constexpr const wchar_t* kLinkOpenFailed = L"アドレス認識処理に失敗しました。";
inline constexpr const wchar_t* kLinkPointerFailed = L"ポインター座標取得処理に失敗しました。";
inline constexpr const wchar_t* kReportBug =
    L"プログラムのバグと思われますので、申し訳ありませんが\r\n詳しい状況を作者までメールでお知らせください。";
// The error's description in those messages.
inline constexpr const wchar_t* kErrorOutOfMemory = L"メモリが不足しています。";
inline constexpr const wchar_t* kErrorUnexpected = L"予期しないエラーが発生しました。";
inline std::wstring LinkFailureText(const wchar_t* description, const wchar_t* handlerLine) {
    return std::wstring(description) + L"\r\n\r\n" + handlerLine + L"\r\n" + kReportBug;
}

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
