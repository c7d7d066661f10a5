#include "install/welcome_rules.h"

#include "install/install_texts.h"

namespace quibex {

namespace {
constexpr const wchar_t* kParagraphBreak = L"\r\n\r\n";
}  // namespace

bool ContainsControlChars(const std::wstring& text) { return text.find_first_of(L"\n\r\t") != std::wstring::npos; }

ShortcutNameProblem CheckShortcutName(const std::wstring& name) {
    if (name.find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) return ShortcutNameProblem::ForbiddenCharacter;
    if (ContainsControlChars(name)) return ShortcutNameProblem::ControlCharacter;
    return ShortcutNameProblem::None;
}

std::wstring LinkTargetIn(const std::wstring& folder) {
    bool driveRoot = !folder.empty() && folder.back() == L'\\' && folder.size() <= 3;
    return folder + (driveRoot ? L"" : L"\\") + L"Quibex.exe";
}

const wchar_t* PlacesPhrase(ShortcutPlaces places) {
    if (places.desktop && places.sendTo) return install_text::kBothPlaces;
    return places.desktop ? install_text::kDesktopPlace : install_text::kSendToPlace;
}

std::wstring WelcomeText() {
    std::wstring text;
    for (const wchar_t* paragraph : install_text::kWelcomeParagraphs) {
        if (!text.empty()) text += kParagraphBreak;
        text += paragraph;
    }
    return text;
}

std::wstring ShortcutsResultText(const std::wstring& name, ShortcutPlaces created, ShortcutPlaces failed) {
    std::wstring text;
    if (created.any()) text = PlacesPhrase(created) + name + install_text::kCreated;
    if (failed.any()) {
        if (!text.empty()) text += L"\r\n";
        text += PlacesPhrase(failed) + name + install_text::kNotCreated;
    }
    text += kParagraphBreak;
    text += install_text::kNextScreen;
    text += kParagraphBreak;
    // Without any link the only way left is the command line.
    if (created.any())
        text += install_text::kUseBySendToBefore + name + install_text::kUseBySendToAfter;
    else
        text += install_text::kUseByArgument;
    return text;
}

std::wstring DeclinedText() {
    return std::wstring(install_text::kDeclined) + kParagraphBreak + install_text::kNextScreen + kParagraphBreak +
           install_text::kUseByArgument;
}

std::wstring ReplaceQuestion(const std::wstring& name, ShortcutPlaces existing) {
    return PlacesPhrase(existing) + name + install_text::kAlreadyThere;
}

}  // namespace quibex
