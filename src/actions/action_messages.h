// Texts that opening and printing by association or with the user's tools
// show, exactly as users see them.
#pragma once

#include <string>

namespace quibex::action_text {

inline constexpr const wchar_t* kNoAssociationHead = L"関連付けされた実行ファイルが存在しないため";
inline constexpr const wchar_t* kNoAssociationTail = L" を開けませんでした。";
inline constexpr const wchar_t* kLaunchFailedTail = L" の関連付け起動に失敗しました。";
inline constexpr const wchar_t* kArchiveAssociatedWithSelf =
    L"<<警告>>\r\n\r\n"
    L"Quibex 自身が書庫ファイルに関連付けされています。\r\n"
    L"このままでは永久ループするため処理を打ち切ります。\r\n\r\n"
    L"オプションを変更するか、もしくは Quibex の関連付けを解除してください。";

// A document of the archive: "<name> の解凍に失敗しました。(<hex>)".
inline constexpr const wchar_t* kDocumentExtractFailed = L" の解凍に失敗しました。(";
inline constexpr const wchar_t* kDocumentOpenFailed = L" の関連付けオープンに失敗しました。(";

inline constexpr const wchar_t* kArchiverToolNotSet =
    L"アーカイバツールが登録されていません。\r\n\r\nオプションの指定を確認してください。";
inline constexpr const wchar_t* kEditorNotSet =
    L"テキストエディタが登録されていません。\r\n\r\nオプションの指定を確認してください。";
inline constexpr const wchar_t* kPrintToolNotSet =
    L"印刷ツールが登録されていません。\r\n\r\nオプションの指定を確認してください。";
inline constexpr const wchar_t* kToolStartFailedTail =
    L" を実行できません。\r\n\r\nオプションの指定を確認してください。";
inline constexpr const wchar_t* kArchiverToolIsSelf =
    L"<<警告>>\r\n\r\n"
    L"オプションに Quibex 自身が登録されています。\r\n"
    L"このままでは永久ループするため処理を打ち切ります。\r\n\r\n"
    L"オプションのアーカイバツールを変更してください。";
inline constexpr const wchar_t* kPrintByAssociationFailedTail = L" の関連付け印刷に失敗しました。";
inline constexpr const wchar_t* kAskPrint = L"このテキストを印刷しますか？";

inline std::wstring NoAssociation(const std::wstring& path) {
    return std::wstring(kNoAssociationHead) + L"\r\n" + path + kNoAssociationTail;
}
inline std::wstring LaunchFailed(const std::wstring& path) { return path + kLaunchFailedTail; }
inline std::wstring ToolStartFailed(const std::wstring& toolPath) { return toolPath + kToolStartFailedTail; }
inline std::wstring PrintByAssociationFailed(const std::wstring& path) { return path + kPrintByAssociationFailedTail; }

}  // namespace quibex::action_text
