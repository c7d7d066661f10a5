// Shared staging for the launching tests: a temporary folder, the recorder
// program and its log, and file classes written into HKEY_CLASSES_ROOT for the
// length of one test.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../core/test_folder.h"

std::wstring RecorderPath();  // the recorder built beside this test program
std::string Utf8(const std::wstring& text);

// Keys created below HKEY_CLASSES_ROOT, removed with their sub-keys at the end.
class ClassesStaging {
public:
    ClassesStaging() = default;
    ClassesStaging(const ClassesStaging&) = delete;
    ClassesStaging& operator=(const ClassesStaging&) = delete;
    ~ClassesStaging();
    // Sets the default value of HKCR\subKey, creating keys as needed; the
    // first path component is removed again afterwards.
    void SetDefault(const std::wstring& subKey, const std::wstring& value);
    // ext (".qxa") -> className, with the given verbs' commands and, when not
    // empty, the shell key's default verb.
    void RegisterClass(const std::wstring& ext, const std::wstring& className,
                       const std::vector<std::pair<std::wstring, std::wstring>>& verbCommands,
                       const std::wstring& defaultVerb = L"");

private:
    std::vector<std::wstring> roots_;
};

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A recorder command for the registry: `"recorder" <tag> "%1"`.
    static std::wstring RecorderCommand(const std::wstring& tag);
    // Writes a small file into the test folder and returns its full path.
    std::wstring MakeFile(const std::wstring& name);
    // Waits until the log holds `count` lines (or a time-out) and returns them.
    std::vector<std::string> WaitForLines(size_t count);
    // Proves that nothing else was started: runs the recorder directly with a
    // marker and returns every line logged before the marker's.
    std::vector<std::string> LinesBeforeSentinel();

    std::unique_ptr<TestFolder> folder_;
    std::wstring log_;
    ClassesStaging classes_;
};
