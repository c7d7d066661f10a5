// Quibexsetup: adds, updates or removes Quibex in the Explorer context menu
// of LZH, ZIP, CAB, 7Z, RAR and executable files. Takes no arguments.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "setup_resource.h"
#include "setuptool/menu_entry_plan.h"
#include "setuptool/setup_dialog.h"
#include "setuptool/setup_message.h"
#include "setuptool/setup_texts.h"

namespace {

// The tool's own path, however long.
std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    // The entries start the viewer beside the tool; without it they would be dead.
    const std::wstring viewerPath = quibexsetup::ViewerPathBeside(ModulePath());
    if (!FileExists(viewerPath)) {
        quibexsetup::ShowSetupMessage(nullptr, viewerPath + quibexsetup::texts::kViewerMissing,
                                      quibexsetup::texts::kTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
    quibexsetup::SetupDialog dialog(HKEY_CLASSES_ROOT, viewerPath);
    return dialog.RunModal(IDD_QUIBEXSETUP, nullptr) == -1 ? 1 : 0;
}
