// A viewer opened in this process over a work folder the test fills.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/opened_archive.h"
#include "test_folder.h"

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a text into the work folder.
    void AddText(const std::wstring& name, const std::string& bytes);
    // Opens the viewer of `archive` as the archive reader does, with these
    // texts extracted in the given order and the documents in `documents`.
    void Open(const std::vector<std::wstring>& order);
    // Opens `count` one-line texts a.txt, b.txt, ... in that order.
    void OpenTexts(int count);
    // Lets window messages run for about `ms` milliseconds.
    static void Pump(int ms = 0);
    // Runs messages until `done` is true or `ms` pass; returns `done()`.
    template <typename F>
    static bool PumpUntil(F done, int ms = 5000) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (static_cast<int>(GetTickCount() - start) > ms) return false;
            Pump(5);
        }
        return true;
    }
    void CloseAndWait();

    static std::vector<std::wstring> Captions();
    static std::wstring Panel(int panel);
    static std::wstring BoxText(int index);
    static std::wstring Ini(const wchar_t* section, const wchar_t* key);
    void Screenshot(const std::wstring& name);

    std::wstring iniPath;
    std::wstring work;                     // ends in "\"
    quibex::OpenedArchive archive;         // an LZH archive, sample.lzh
    std::vector<quibex::DocumentEntry> documents;

private:
    TestFolder root_{L"qxviewer"};
};

// What drops did while the recording hooks are in place: the command lines
// they would have started and how often they would have ended the process.
extern std::vector<std::wstring> g_dropStarted;
extern int g_dropEnded;
// Clears that record and puts the recording hooks in place; with
// `startsSucceed` false every start fails, as when the new process cannot run.
void RecordDrops(bool startsSucceed = true);

// The same text as the box keeps it: CR LF becomes CR.
std::wstring AsBoxText(std::wstring text);
