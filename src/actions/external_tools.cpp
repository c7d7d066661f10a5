#include "actions/external_tools.h"

#include <vector>

#include "actions/action_messages.h"
#include "core/app_state.h"
#include "core/handle.h"
#include "core/lazy_shell.h"
#include "core/message_box.h"

namespace quibex {

namespace {

constexpr UINT kErrorStyle = MB_ICONERROR | MB_OK;

// The archive routine reports in a plain box; the text routines centre theirs.
void ShowPlainError(const std::wstring& text) { ShowPlainMessage(text, kErrorStyle); }

bool UserDeclinesPrinting() {
    return AppSettings().PrtConfirm == 1 && ShowMessage(action_text::kAskPrint, MB_ICONQUESTION | MB_YESNO) == IDNO;
}

}  // namespace

DWORD StartCommandLine(const std::wstring& commandLine) {
    try {
        std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
        line.push_back(L'\0');  // CreateProcessW may write into the command line
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
        UniqueHandle thread(pi.hThread), process(pi.hProcess);
        return pi.dwProcessId;
    } catch (...) {
        return 0;
    }
}

DWORD OpenArchiveWithTool(const std::wstring& archivePath) {
    const std::wstring tool = AppSettings().ArcAplPath;
    if (tool.empty()) {
        ShowPlainError(action_text::kArchiverToolNotSet);
        return 0;
    }
    if (NamesQuibex(tool)) {
        ShowPlainError(action_text::kArchiverToolIsSelf);
        return 0;
    }
    DWORD pid = StartCommandLine(ToolCommandLine(tool, archivePath));
    if (pid == 0) ShowPlainError(action_text::ToolStartFailed(tool));
    return pid;
}

DWORD OpenTextWithEditor(const std::wstring& textPath) {
    const std::wstring tool = AppSettings().TxtEdtPath;
    if (tool.empty()) {
        ShowMessage(action_text::kEditorNotSet, kErrorStyle);
        return 0;
    }
    DWORD pid = StartCommandLine(ToolCommandLine(tool, textPath));
    if (pid == 0) ShowMessage(action_text::ToolStartFailed(tool), kErrorStyle);
    return pid;
}

DWORD PrintTextByAssociation(const std::wstring& textPath) {
    if (UserDeclinesPrinting()) return 0;
    // Always "print": the open-verb setting is about opening only.
    HINSTANCE result = lazy::ShellExecuteW(GetDesktopWindow(), L"print", textPath.c_str(), L"", L"", SW_SHOW);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        ShowMessage(action_text::PrintByAssociationFailed(textPath), kErrorStyle);
    return static_cast<DWORD>(reinterpret_cast<INT_PTR>(result));
}

DWORD PrintTextWithTool(const std::wstring& textPath) {
    // The question comes before the tool check: the user hears about a
    // missing tool only after agreeing to print.
    if (UserDeclinesPrinting()) return 0;
    const Settings& settings = AppSettings();
    const std::wstring tool = settings.PrtToolPath;
    if (tool.empty()) {
        ShowMessage(action_text::kPrintToolNotSet, kErrorStyle);
        return 0;
    }
    DWORD pid = StartCommandLine(PrintToolCommandLine(tool, textPath, settings.PrtToolParam, settings.ParamAfterFile));
    if (pid == 0) ShowMessage(action_text::ToolStartFailed(tool), kErrorStyle);
    return pid;
}

}  // namespace quibex
