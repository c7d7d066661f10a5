#include "launch_fixture.h"

#include "actions/external_tools.h"
#include "core/app_state.h"

std::wstring RecorderPath() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::wstring self(buffer, n);
    return self.substr(0, self.rfind(L'\\') + 1) + L"qxrecorder.exe";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

ClassesStaging::~ClassesStaging() {
    for (const auto& root : roots_) RegDeleteTreeW(HKEY_CLASSES_ROOT, root.c_str());
}

void ClassesStaging::SetDefault(const std::wstring& subKey, const std::wstring& value) {
    std::wstring root = subKey.substr(0, subKey.find(L'\\'));
    bool known = false;
    for (const auto& r : roots_) known = known || r == root;
    if (!known) roots_.push_back(root);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS)
        << Utf8(subKey);
    ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void ClassesStaging::RegisterClass(const std::wstring& ext, const std::wstring& className,
                                   const std::vector<std::pair<std::wstring, std::wstring>>& verbCommands,
                                   const std::wstring& defaultVerb) {
    SetDefault(ext, className);
    SetDefault(className, L"Quibex test file");
    for (const auto& [verb, command] : verbCommands) SetDefault(className + L"\\shell\\" + verb + L"\\command", command);
    if (!defaultVerb.empty()) SetDefault(className + L"\\shell", defaultVerb);
}

void LaunchTest::SetUp() {
    // One folder per test, so a straggling recorder of an earlier test in the
    // same process cannot write into this test's log.
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("qx-") + info->name();
    folder_ = std::make_unique<TestFolder>(std::wstring(name.begin(), name.end()).c_str());
    log_ = folder_->file(L"recorder.log");
    SetEnvironmentVariableW(L"QX_RECORDER_LOG", log_.c_str());
    quibex::AppSettings() = quibex::Settings{};
    ASSERT_NE(GetFileAttributesW(RecorderPath().c_str()), INVALID_FILE_ATTRIBUTES) << "recorder not built";
}

void LaunchTest::TearDown() {
    SetEnvironmentVariableW(L"QX_RECORDER_LOG", nullptr);
}

std::wstring LaunchTest::RecorderCommand(const std::wstring& tag) {
    return L"\"" + RecorderPath() + L"\" " + tag + L" \"%1\"";
}

std::wstring LaunchTest::MakeFile(const std::wstring& name) {
    std::wstring path = folder_->file(name);
    WriteBytes(path, "text\r\n");
    return path;
}

std::vector<std::string> LaunchTest::WaitForLines(size_t count) {
    std::vector<std::string> lines;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    do {
        lines.clear();
        std::string all = ReadBytes(log_);
        size_t start = 0;
        for (size_t nl; (nl = all.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.push_back(all.substr(start, nl - start));
        if (lines.size() >= count) break;
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return lines;
}

std::vector<std::string> LaunchTest::LinesBeforeSentinel() {
    const std::string marker = "qx-sentinel";
    EXPECT_NE(quibex::StartCommandLine(L"\"" + RecorderPath() + L"\" qx-sentinel"), 0u);
    std::vector<std::string> lines;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetTickCount64() < deadline) {
        lines = WaitForLines(lines.size() + 1);
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].find(marker) != std::string::npos) return {lines.begin(), lines.begin() + i};
    }
    ADD_FAILURE() << "the sentinel recorder never ran";
    return lines;
}
