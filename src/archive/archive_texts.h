// Texts that reading an archive shows, exactly as users see them.
#pragma once

#include <string>

namespace quibex::archive_text {

inline constexpr const wchar_t* kNotAnArchive =
    L"このファイルは書庫ではないか、未知の書庫かもしれません。\r\n\r\n"
    L"書庫である事が確実なら対応のDLLをインストールしてください。";

// The reader's first line when nothing matched, per format.
inline constexpr const wchar_t* kNoTextLha = L"このLHA形式書庫には指定された条件に合うドキュメントがみつかりません。";
inline constexpr const wchar_t* kNoTextZip = L"このZIP形式書庫には指定された条件に合うドキュメントがみつかりません。";
inline constexpr const wchar_t* kNoTextCab = L"このCAB形式書庫には指定された条件に合うドキュメントがみつかりません。";
inline constexpr const wchar_t* kNoText7z = L"この7Z形式書庫には指定された条件に合うドキュメントがみつかりません。";
inline constexpr const wchar_t* kNoTextRar = L"このRAR形式書庫には指定された条件に合うドキュメントがみつかりません。";

// "UNLHA32.DLL がみつかりません。"
inline std::wstring MissingLibrary(const std::wstring& dll) { return dll + L" がみつかりません。"; }

// A system error without a text of its own.
inline std::wstring SystemError(unsigned long code) { return L"エラー " + std::to_wstring(code); }

// "UNLHA32.DLL からエラー(8010)が報告されました。"; `hexCode` in upper-case hexadecimal.
inline std::wstring LibraryError(const std::wstring& dll, const std::wstring& hexCode) {
    return dll + L" からエラー(" + hexCode + L")が報告されました。";
}

}  // namespace quibex::archive_text
