// The option windows' own texts, side by side.
#pragma once

namespace quibex::options_text {

// cmbNoText, in "NoText" order.
inline constexpr const wchar_t* kNoTextEntries[] = {L"確認する", L"書庫を開く", L"メッセージ", L"ビープ"};

// One-line tooltips of the main options window.
inline constexpr const wchar_t* kTipViewer = L"内蔵ﾋﾞｭｰｱに関するｵﾌﾟｼｮﾝ";
inline constexpr const wchar_t* kTipArchiverTool = L"Quibex 自身を登録しないでください";
inline constexpr const wchar_t* kTipPrintParam = L"/pなど（印刷ﾂｰﾙのﾄﾞｷｭﾒﾝﾄを参照）";
inline constexpr const wchar_t* kTipParamAfterFile = L"一般的には前（印刷ﾂｰﾙのﾄﾞｷｭﾒﾝﾄを参照）";
inline constexpr const wchar_t* kTipPrintConfirm = L"印刷前にﾒｯｾｰｼﾞで確認";
inline constexpr const wchar_t* kTipExtensions = L"半角ｽﾍﾟｰｽで区切って複数指定可能";
inline constexpr const wchar_t* kTipAbout = L"Quibex について...";
inline constexpr const wchar_t* kTipReadme = L"Readme を読む";
// The two-line tooltips.
inline constexpr const wchar_t* kTipSelect = L"引数なしで起動された時は書庫を\r\n選択するかどうか確認します";
inline constexpr const wchar_t* kTipBeep = L"OSの種類、及びハードウェアの\r\n構成に依存します";

// The browse buttons' open-file dialog: filter pairs, each part ended by NUL.
inline constexpr wchar_t kToolFilter[] = L"実行ﾌｧｲﾙ(*.exe)\0*.exe\0全てのﾌｧｲﾙ(*.*)\0*.*\0";
inline constexpr const wchar_t* kBrowseTitles[] = {L"ｱｰｶｲﾊﾞﾂｰﾙの選択", L"ﾃｷｽﾄｴﾃﾞｨﾀの選択", L"印刷ﾂｰﾙの選択"};

// Shown before the archiver tool is chosen, and again when Quibex itself was.
inline constexpr const wchar_t* kArchiverToolNotice =
    L"<<重要な注意事項>>\r\n"
    L"\r\n"
    L"アーカイバツールを登録する前に次のことに注意してください。\r\n"
    L"\r\n"
    L"1. Quibex 自身を登録しないでください。テキストがない場合に永久ループ\r\n"
    L"   する可能性があります。\r\n"
    L"2. Lhasa のような自動解凍型のアーカイバツールを登録するとテキストが\r\n"
    L"   ない場合自動的に解凍されてしまいます。\r\n"
    L"   また、通常のアーカイバツールでも書庫を渡した場合に自動解凍する\r\n"
    L"   ような設定をしている場合も同様です。\r\n"
    L"3. アーカイバツールによっては自己解凍書庫を渡された場合に一覧表示\r\n"
    L"   ではなく圧縮とみなすものもあります。\r\n"
    L"\r\n"
    L"ご不明の場合は、お使いのアーカイバツールのドキュメントを確認してください。";

// The beep test of chkBeep.
inline constexpr const wchar_t* kAskBeepTest =
    L"ビープ音の再生テストを実行しますか？\r\n"
    L"\r\n"
    L"[はい]をクリックしたら、パソコンの内蔵スピーカーでの再生を試みます。";
inline constexpr const wchar_t* kAskBeepAgain =
    L"ビープ音の再生を試みました。\r\n"
    L"もう一度再生テストを実行しますか？\r\n"
    L"\r\n"
    L"パソコンの内蔵スピーカーでビープ音が鳴らなかった場合は\r\n"
    L"[キャンセル]をクリックして、チェックをはずしてください。\r\n"
    L"[再試行]をクリックしたら、もう一度再生テストを実行します。";

// After the path of the Readme that could not be opened.
inline constexpr const wchar_t* kReadmeFailedSuffix = L" の関連付け起動に失敗しました。";

// The icon customisation window: the chooser of an image's icon file, and
// the question of a reset button, around the caption of the button's frame.
inline constexpr wchar_t kIconFilter[] = L"ｱｲｺﾝ(*.ico;*.cur)\0*.ico;*.cur\0";
inline constexpr const wchar_t* kIconChooserTitle = L"アイコンの選択";
inline constexpr const wchar_t* kResetQuestionBefore = L"「";
inline constexpr const wchar_t* kResetQuestionAfter = L"」ボタンを内蔵のイメージに戻しますか？";

}  // namespace quibex::options_text
