// Texts of the about window, exactly as users see them, and the data of the
// release it points to.
#pragma once

namespace quibex::about_text {

inline constexpr const wchar_t* kVersionPrefix = L"Ver ";
inline constexpr const wchar_t* kNotInstalled = L"not installed";
inline constexpr const wchar_t* kLibraryTip = L"統合ｱｰｶｲﾊﾞﾌﾟﾛｼﾞｪｸﾄ";
inline constexpr const wchar_t* kTitleFont = L"Comic Sans MS";

// Release data: the author's home page (shown, and opened by a click on it
// or on the picture), the archiver libraries' download page (opened by a
// click on a library line) and the libraries' author lines.
inline constexpr const wchar_t* kHomePage = L"https://quibex.example/";
inline constexpr const wchar_t* kArchiverDownloadPage = L"https://quibex.example/archivers/";
inline constexpr const wchar_t* kLhaAuthor = L"LZH 形式の書庫を扱うライブラリ";
inline constexpr const wchar_t* kZipAuthor = L"ZIP 形式の書庫を扱うライブラリ";
inline constexpr const wchar_t* kCabAuthor = L"CAB 形式の書庫を扱うライブラリ";
inline constexpr const wchar_t* k7zAuthor = L"7Z 形式の書庫を扱うライブラリ";
inline constexpr const wchar_t* kRarAuthor = L"RAR 形式の書庫を扱うライブラリ";

}  // namespace quibex::about_text
