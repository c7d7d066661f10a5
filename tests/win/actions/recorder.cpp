// A stand-in for the programs Quibex launches: appends its own command line,
// as UTF-8 and ended by a line feed, to the file named by QX_RECORDER_LOG
// (or "recorder.log" beside itself), then exits.
#include <windows.h>

#include <string>

namespace {

std::wstring LogPath() {
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"QX_RECORDER_LOG", buffer, static_cast<DWORD>(std::size(buffer)));
    if (n > 0 && n < std::size(buffer)) return buffer;
    n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::wstring self(buffer, n);
    return self.substr(0, self.rfind(L'\\') + 1) + L"recorder.log";
}

}  // namespace

int main() {
    const wchar_t* line = GetCommandLineW();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), bytes, nullptr, nullptr);
    text += '\n';
    // Several recorders may finish together: retry while another holds the file.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE h = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD put = 0;
            WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
            CloseHandle(h);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
