// The browse buttons of the tool paths. The archiver tool gets a notice
// first, and again with a new chooser while Quibex itself is picked: an
// archive without texts would be handed back to Quibex, and so on forever.
#include <windows.h>

#include <string>

#include "core/message_box.h"
#include "core/paths.h"
#include "options/chooser_folder.h"
#include "options/main_options_form.h"
#include "options/option_rules.h"
#include "options/options_texts.h"
#include "resource.h"

namespace quibex {
namespace {

constexpr int kToolBoxes[] = {IDC_OPTIONS_TXTAPLPATH, IDC_OPTIONS_TXTEDTPATH, IDC_OPTIONS_TXTPRTPATH};

}  // namespace

void BrowseForTool(MainOptionsForm& f, int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kToolBoxes))) return;
    const int box = kToolBoxes[index];
    const bool archiverTool = index == 0;
    const std::wstring folder = ChooserStartFolder(f.Text(box));
    const std::wstring filter(options_text::kToolFilter, std::size(options_text::kToolFilter));
    for (;;) {
        if (archiverTool) ShowMessage(options_text::kArchiverToolNotice, MB_OK | MB_ICONEXCLAMATION);
        const std::wstring chosen = SelectArchiveFile(f.hwnd(), filter, folder, options_text::kBrowseTitles[index]);
        if (chosen.empty()) return;
        if (archiverTool && IsQuibexItself(chosen)) continue;
        SetDlgItemTextW(f.hwnd(), box, chosen.c_str());
        return;
    }
}

}  // namespace quibex
