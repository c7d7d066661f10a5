// The windows the main options window opens, and the Readme.
#include <windows.h>

#include <string>

#include "actions/association.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "options/icon_customisation_window.h"
#include "options/main_options_form.h"
#include "options/options_texts.h"
#include "options/view_options_form.h"
#include "options/view_options_window.h"
#include "ui/about_window.h"

namespace quibex {

void OpenViewerOptions(HWND owner) { ShowViewerOptions(owner); }

void OpenIconCustomisation(HWND owner) { ShowIconCustomisationWindow(owner); }

void OpenAboutWindow(HWND owner) { ShowAboutWindow(owner); }

void OpenReadme() {
    const std::wstring folder = ApplicationFolder();
    std::wstring path = folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + L"Readme.txt";
    const std::wstring shown = path;
    if (!OpenByAssociation(path, VerbModeFromSettings()))
        ShowMessage(shown + options_text::kReadmeFailedSuffix, MB_OK | MB_ICONERROR);
}

}  // namespace quibex
