// The shared windows' own texts, side by side. The help topics have their own
// file (help_topics.cpp).
#pragma once

namespace quibex::ui_text {

// The What's This popup of a control that has no topic.
inline constexpr const wchar_t* kNoHelpTopic = L"この項目にはヘルプがありません。";

}  // namespace quibex::ui_text
