// The viewer options window's own texts, side by side.
#pragma once

namespace quibex::view_options_text {

// cmbTabName, in "TabName" order.
inline constexpr const wchar_t* kTabNameEntries[] = {L"そのまま", L"すべて大文字で", L"すべて小文字で",
                                                     L"先頭のみ大文字で"};

// One-line tooltips.
inline constexpr const wchar_t* kTipTextLoad = L"詳細は Readme を見てください";
inline constexpr const wchar_t* kTipHiperLink = L"環境によっては重たくなる場合があります";
inline constexpr const wchar_t* kTipHiperLinkConfirm = L"ﾊｲﾊﾟｰﾘﾝｸを開く前に確認します";
inline constexpr const wchar_t* kTipIcon = L"ﾂｰﾙﾊﾞｰのｶｽﾀﾏｲｽﾞ";
inline constexpr const wchar_t* kTipTabPosTop = L"ﾀﾌﾞを上に配置します";
inline constexpr const wchar_t* kTipTabPosBottom = L"ﾀﾌﾞを下に配置します";
inline constexpr const wchar_t* kTipNoExt = L"ﾀﾌﾞのﾌｧｲﾙ名から .txt をｶｯﾄします";
// The two-line tooltips, with their widths in pixels.
inline constexpr const wchar_t* kTipJump = L"ﾃｷｽﾄが複数あるとき、各ﾀﾌﾞの\r\n先頭に[数字]が表示されます";
inline constexpr const wchar_t* kTipInitValue = L"ﾌｫﾝﾄ・文字色・背景色を\r\n初期値に戻します";
inline constexpr const wchar_t* kTipHighLightTab = L"ﾃｷｽﾄが複数あるとき、ｶﾚﾝﾄ\r\nﾃｷｽﾄのﾀﾌﾞを強調表示します";
inline constexpr const wchar_t* kTipReadme = L"複数のﾃｷｽﾄ内に Readme.txt が\r\n存在すれば先頭のﾀﾌﾞに配置します";

// The font and colour dialogs' failures; the font's code goes between the parts.
inline constexpr const wchar_t* kFontFailedBefore = L"エラー(";
inline constexpr const wchar_t* kFontFailedAfter = L")により設定されませんでした。";
inline constexpr const wchar_t* kColourFailed = L"エラーにより設定されませんでした。";

// The reset question, and the font it resets to.
inline constexpr const wchar_t* kAskReset =
    L"初期値に設定しますか？\r\n"
    L"\r\n"
    L"背景色\t： ウィンドウの背景色(システムカラー)\r\n"
    L"文字色\t： ウィンドウの文字の色(システムカラー)\r\n"
    L"フォント\t： MS ゴシック 9ポイント";

}  // namespace quibex::view_options_text
