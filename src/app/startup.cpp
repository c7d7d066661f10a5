#include "app/startup.h"

#include <string>

#include "app/archive_session.h"
#include "app/startup_texts.h"
#include "archive/archive_detection.h"
#include "archive/archiver_library.h"
#include "archive/work_folders.h"
#include "core/app_state.h"
#include "core/app_window.h"
#include "core/init_window.h"
#include "core/message_pump.h"
#include "core/path_text.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/settings_rules.h"
#include "core/message_box.h"
#include "core/win_profile_store.h"
#include "install/welcome_window.h"
#include "options/main_options_window.h"
#include "viewer/viewer_window.h"

namespace quibex {

namespace {

HANDLE g_instanceMutex = nullptr;
bool g_sideBySide = false;  // "PrevInstance" 1: instances may run beside each other

// One name per executable path, so copies in different folders are separate programs.
std::wstring InstanceMutexName() {
    std::wstring exe = ToLower(ProgramFolderFile(L""));
    uint32_t hash = 2166136261u;  // FNV-1a
    for (wchar_t c : exe) {
        hash ^= static_cast<uint32_t>(c);
        hash *= 16777619u;
    }
    return L"Local\\Quibex-" + std::to_wstring(hash);
}

// The platform's "is another instance of this executable running" test. The
// first call leaves this instance's own mark for later starts to find.
bool AnotherInstanceRuns() {
    static const bool another = [] {
        g_instanceMutex = CreateMutexW(nullptr, FALSE, InstanceMutexName().c_str());
        return g_instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
    }();
    return another;
}

// The single-instance rule, with the hand-over from a running viewer.
bool InstanceMayStart(WinProfileStore& ini) {
    AnotherInstanceRuns();  // every start leaves its mark, side by side or not
    g_sideBySide = ini.readInt(kOptionSection, L"PrevInstance", 0) == 1;
    if (g_sideBySide) return true;
    if (ini.readInt(kOptionSection, L"DroppedArcFile", 0) != 0) {
        ini.write(kOptionSection, L"DroppedArcFile", std::wstring(L"0"));
        return true;
    }
    return !CheckPrevInstance();
}

}  // namespace

bool CheckPrevInstance() {
    if (!AnotherInstanceRuns()) return false;
    std::wstring title = kAppTitle;
    SetAppTitle(L"");  // keep the search below from finding this instance
    MessageBoxW(nullptr, (title + startup_text::kAlreadyRunningSuffix).c_str(), title.c_str(),
                MB_ICONINFORMATION | MB_SETFOREGROUND);
    HWND other = FindWindowW(kAppWindowClass, title.c_str());
    if (other) {
        HWND popup = GetLastActivePopup(other);
        if (IsIconic(popup)) ShowWindow(popup, SW_RESTORE);
        SetForegroundWindow(popup);
        PumpPendingMessages();
    }
    return true;
}

StartResult Main(HINSTANCE instance, const std::wstring& commandLine) {
    AppState& app = App();
    Settings& settings = AppSettings();
    CreateAppWindow(instance);

    app.IniPath = IniPathFor(ApplicationFolder());
    WinProfileStore ini(app.IniPath);
    if (!InstanceMayStart(ini)) return StartResult::Exit;
    app.BuiltInHelp = true;  // the help topics are compiled in; no help file to look for

    std::wstring iniPath = app.IniPath;
    if (!FileExists(iniPath)) {
        ShowSetupWindowModal();
        WriteFirstRunDefaults(ini);
    }
    LoadSettings(ini, settings);

    // The library versions are read where they are needed (the archive
    // kind, the about window): an LZH start never loads the other libraries.

    std::wstring archivePath = commandLine;
    if (archivePath.empty()) {
        if (settings.ArcSelect != 1) {
            ShowMainOptionsWindow();
            return StartResult::RunMessageLoop;
        }
        int answer = ShowPlainMessage(startup_text::kAskSelectArchive, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDNO) {
            ShowMainOptionsWindow();
            return StartResult::RunMessageLoop;
        }
        if (answer != IDYES) return StartResult::Exit;
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(static_cast<DWORD>(std::size(current)), current);
        std::wstring filter(startup_text::kArchiveFilter, std::size(startup_text::kArchiveFilter));
        archivePath = SelectArchiveFile(GetDesktopWindow(), filter, current, startup_text::kSelectDialogTitle);
        if (archivePath.empty()) return StartResult::Exit;
    }

    app.BuiltInHelp = false;
    if (settings.InitDialog == 1) ShowInitWindow();

    if (!FileExists(archivePath)) {
        UnloadInitWindow();
        ShowPlainMessage(archivePath + startup_text::kMissingFileSuffix, MB_ICONERROR);
        return StartResult::Exit;
    }

    // From here on a failing file-system step is skipped, not fatal.
    PrepareWorkFolders(g_sideBySide);

    std::optional<OpenedArchive> archive = DetectArchiveKind(archivePath, app.CabWorkFolder);
    if (!archive) {
        RemoveCabWorkFolder();
        return StartResult::Exit;
    }
    return ReadDetectedArchive(*archive);
}

StartResult ReadDetectedArchive(const OpenedArchive& archive) {
    AppState& app = App();
    const Settings& settings = AppSettings();
    // The viewer is loaded hidden: its handle owns the library calls. Without
    // it nothing can be shown; the process must not linger holding the
    // instance mark.
    app.LibraryOwner = LoadViewer(archive);
    if (!app.LibraryOwner) {
        UnloadInitWindow();
        ShowPlainMessage(startup_text::kViewerNotCreated, MB_ICONERROR);
        DeleteWorkFiles();
        RemoveCabWorkFolder();
        return StartResult::Exit;
    }

    app.ReadFailed = false;
    ArchiverLibrary& library = LibraryOf(archive.kind);
    while (library.GetRunning()) {}
    if (!library.GetCursorMode()) library.SetCursorMode(TRUE);
    app.ReadFailed = !ShowArchive(archive);

    if (app.ReadFailed || settings.InsideViewer != 1) {
        UnloadViewer();
        return StartResult::Exit;
    }
    return StartResult::RunMessageLoop;
}

}  // namespace quibex
