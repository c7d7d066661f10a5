// What Quibex.exe carries for Windows: a manifest asking for the common
// controls 6 look, per-monitor DPI awareness and the supported systems, and
// the version set once in the build, in its version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring ProgramPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + L"Quibex.exe";
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override { FreeLibrary(module_); }
    std::string Resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (!found) return {};
        const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return data ? std::string(data, SizeofResource(module_, found)) : std::string();
    }
    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ManifestAsksForVisualStylesPerMonitorDpiAndTheSupportedSystems) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    for (const char* wanted : {"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "PerMonitorV2", "true/pm",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                               "processorArchitecture=\"*\"", "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
}

TEST_F(ProgramResources, VersionResourceHoldsTheBuildVersion) {
    DWORD ignored = 0;
    const std::wstring path = ProgramPath();
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), QUIBEX_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), QUIBEX_VERSION_MINOR);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), QUIBEX_VERSION_PATCH);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\FileVersion", reinterpret_cast<void**>(&text),
                               &length));
    EXPECT_STREQ(text, QUIBEX_VERSION_WTEXT);
}

}  // namespace
