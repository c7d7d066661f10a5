// Every text Quibexsetup shows from its code, side by side. The window's own
// captions are in its dialog template (res/setuptool/quibexsetup.rc).
#pragma once

#include <array>

namespace quibexsetup::texts {

inline constexpr const wchar_t* kTitle = L"Quibex Setup";

// The tool runs only beside the viewer; the path it looked for comes first.
inline constexpr const wchar_t* kViewerMissing =
    L" が見つかりません。\r\n\r\nこのプログラムは Quibex.exe と同じ場所で実行してください。";

inline constexpr const wchar_t* kItemNameEmpty = L"項目名が入力されていません。";
inline constexpr const wchar_t* kItemNameInvalid = L"項目名に不正な文字（改行コード等）が含まれています。";

// One check box each, in the order of the extension table.
inline constexpr std::array<const wchar_t*, 6> kExtensionTips = {L"LHA形式書庫", L"ZIP形式書庫",
                                                                 L"CAB形式書庫", L"7Z形式書庫",
                                                                 L"RAR形式書庫", L"実行ﾌｧｲﾙ(自己解凍書庫に限りません)"};

// The report after OK: one paragraph per extension.
inline constexpr const wchar_t* kReportTitle = L"処理結果";
inline constexpr const wchar_t* kReportExtension = L"拡張子";
inline constexpr const wchar_t* kReportItemOf = L"に対する項目の";
inline constexpr const wchar_t* kReportAdding = L"追加処理に";
inline constexpr const wchar_t* kReportUpdating = L"更新処理に";
inline constexpr const wchar_t* kReportRemoving = L"削除処理に";
inline constexpr const wchar_t* kReportSucceeded = L"成功しました。";
inline constexpr const wchar_t* kReportFailed = L"失敗しました。";
inline constexpr const wchar_t* kReportSkipped = L"処理をスキップしました。";

}  // namespace quibexsetup::texts
