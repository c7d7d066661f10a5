// Control ids and texts of the fixture program, shared with the tests that drive it.
#pragma once

namespace fixture {

inline constexpr wchar_t kCaption[] = L"テスト窓";
inline constexpr wchar_t kClass[] = L"E2eFixtureMain";

inline constexpr int kTabId = 100;
inline constexpr int kButtonId = 101;
inline constexpr int kCheckId = 102;
inline constexpr int kRichEditId = 103;
inline constexpr int kStatusId = 104;
inline constexpr int kListId = 105;
inline constexpr int kComboId = 106;
inline constexpr int kToolbarId = 107;
inline constexpr int kEditId = 108;
inline constexpr int kListViewId = 109;

inline constexpr int kOpenCommand = 201;
inline constexpr int kFindCommand = 202;

inline constexpr wchar_t kButtonText[] = L"押す(&P)";
inline constexpr wchar_t kCheckText[] = L"確認(&C)";
// What the fixture shows in status part 0 / 2 after an action.
inline constexpr wchar_t kOpenedStatus[] = L"開く";
inline constexpr wchar_t kTabStatusPrefix[] = L"タブ ";
inline constexpr wchar_t kEditStatusPrefix[] = L"変更 ";
inline constexpr wchar_t kRichText[] = L"日本語のテキストです。\r\n二行目：全角ＡＢＣ";

// "msgbox": Yes/No question; "msgbox warn": OK/Cancel warning. Exit code = the pressed button.
inline constexpr wchar_t kQuestionCaption[] = L"テスト確認";
inline constexpr wchar_t kQuestionText[] = L"ファイル「説明.txt」を開きますか？";
inline constexpr wchar_t kWarningCaption[] = L"テスト警告";
inline constexpr wchar_t kWarningText[] = L"容量が足りません。続けますか？";

// "ini": reads [Test] Name from Quibex.ini beside the exe, writes [Test] Echo = Name + kEchoSuffix, exits 0.
inline constexpr wchar_t kEchoSuffix[] = L"済";
// "exit N": exits at once with code N.

}  // namespace fixture
