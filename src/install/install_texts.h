// Texts of the welcome window and its shortcuts, exactly as users see them.
#pragma once

namespace quibex::install_text {

inline constexpr const wchar_t* kDefaultShortcutName = L"書庫内のテキストを閲覧";
inline constexpr const wchar_t* kLinkDescription = L"書庫ファイル内のテキストを閲覧します";

// The welcome, one paragraph each; shown with an empty line between them.
inline constexpr const wchar_t* kWelcomeParagraphs[] = {
    L"このメッセージは初めて起動されたときのみ表示されます。",
    L"Quibex はエクスプローラの右クリックメニューの「送る」や、"
    L"デスクトップのショートカットに書庫ファイルをドロップして、"
    L"書庫内のテキストファイルを直接閲覧するプログラムです。",
    L"ここではショートカットの作成しか行いませんが、同梱のツールを"
    L"使用すれば右クリックメニュー内に直接項目を追加することもできます。"
    L"詳細はドキュメントをご覧ください。",
    L"Quibex のショートカットを作成しますか？",
};

// Names the shell cannot take, and names with line breaks or tabs.
inline constexpr const wchar_t* kForbiddenCharacters = L"ショートカット名に \\ / : * ? \" < > | は使えません。";
inline constexpr const wchar_t* kControlCharacters = L"ショートカット名に不正な文字（改行コード等）が含まれています。";

// The places, as the start of "…に「name」…".
inline constexpr const wchar_t* kBothPlaces = L"デスクトップと「送る」メニューに「";
inline constexpr const wchar_t* kDesktopPlace = L"デスクトップに「";
inline constexpr const wchar_t* kSendToPlace = L"「送る」メニューに「";

inline constexpr const wchar_t* kCreated = L"」という名前でショートカットを作成しました。";
inline constexpr const wchar_t* kNotCreated = L"」という名前のショートカットを作成できませんでした。";
inline constexpr const wchar_t* kAlreadyThere = L"」という名前のショートカットが既にあります。\r\n置き換えますか？";
inline constexpr const wchar_t* kNextScreen = L"次の画面で適当なオプションを選択して「OK」をクリックしてください。";
inline constexpr const wchar_t* kUseBySendToBefore =
    L"Quibex を使用するにはエクスプローラで書庫ファイルを選択して右クリックメニューの「送る」→「";
inline constexpr const wchar_t* kUseBySendToAfter =
    L"」をクリックするか、デスクトップのショートカットに書庫ファイルをドロップしてください。";
inline constexpr const wchar_t* kDeclined = L"「いいえ」が選択されたので Quibex のショートカットを作成しませんでした。";
inline constexpr const wchar_t* kUseByArgument =
    L"Quibex を使用するには書庫ファイルのフルパスを引数として起動してください。";

}  // namespace quibex::install_text
