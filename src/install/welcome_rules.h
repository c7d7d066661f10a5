// What the welcome window decides without touching a window or the shell:
// which names a shortcut may have, where the link points, and what the
// message area says before and after the answer.
#pragma once

#include <string>

namespace quibex {

// True when the text holds a line feed, a carriage return or a tab.
bool ContainsControlChars(const std::wstring& text);

enum class ShortcutNameProblem { None, ForbiddenCharacter, ControlCharacter };
// Checks a name already trimmed of surrounding spaces.
ShortcutNameProblem CheckShortcutName(const std::wstring& name);

// "Quibex.exe" in `folder`; a drive root such as "C:\" gets no second "\".
std::wstring LinkTargetIn(const std::wstring& folder);

// The two places a shortcut can go.
struct ShortcutPlaces {
    bool desktop = false;
    bool sendTo = false;
    bool any() const { return desktop || sendTo; }
};

// The start of "…に「name」…" naming the places (at least one of them).
const wchar_t* PlacesPhrase(ShortcutPlaces places);

std::wstring WelcomeText();
// After "yes": the links made in `created`, those that could not be made in
// `failed` (the places the user ticked are the two together).
std::wstring ShortcutsResultText(const std::wstring& name, ShortcutPlaces created, ShortcutPlaces failed);
// After "no".
std::wstring DeclinedText();
// The question before links of that name in `existing` are replaced.
std::wstring ReplaceQuestion(const std::wstring& name, ShortcutPlaces existing);

}  // namespace quibex
