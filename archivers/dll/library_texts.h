// The texts the libraries show to the user, side by side for review.
#pragma once

namespace arcdll::text {

inline constexpr wchar_t kProgressCaption[] = L"展開中...";

inline constexpr wchar_t kPasswordCaption[] = L"パスワードの入力";
// The question is kPasswordQuestionHead + member name + kPasswordQuestionTail.
inline constexpr wchar_t kPasswordQuestionHead[] = L"「";
inline constexpr wchar_t kPasswordQuestionTail[] =
    L"」はパスワードで保護されています。\r\nパスワードを入力してください。";
inline constexpr wchar_t kPasswordWrong[] = L"パスワードが違います。もう一度入力してください。";
inline constexpr wchar_t kOk[] = L"OK";
inline constexpr wchar_t kCancel[] = L"キャンセル";

}  // namespace arcdll::text
