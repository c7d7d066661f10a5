// The What's This help topics, numbered as the windows refer to them; the
// texts are compiled into the program (help_topics.cpp).
#pragma once

namespace quibex {

// The text of a topic, or nullptr when there is no such topic.
const wchar_t* HelpTopicText(int topic);

}  // namespace quibex
