// Stands in for an editor or archiver tool: appends its command line, as
// UTF-8, to recorder.log beside itself, then ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self);
    log = log.substr(0, log.rfind(L'\\') + 1) + L"recorder.log";
    std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n, nullptr, nullptr);
    // Several recorders may start at once: retry while another one writes.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE h = CreateFileW(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD put = 0;
            WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &put, nullptr);
            CloseHandle(h);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}
