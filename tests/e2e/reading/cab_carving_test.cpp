// Self-extracting cabinets with a CAB library too old to read them: Quibex
// cuts the cabinet out at the last "MSCF" into a hidden folder of the
// temporary folder, reads it, and removes the folder when the viewer closes.
#include <gtest/gtest.h>

#include "reading_support.h"

namespace {

std::wstring TempCabFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"~quibex.tmp";
}

TEST(E2eCabCarving, OldLibraryMakesQuibexCutTheCabinetAtTheLastSignature) {
    e2e::ProgramFolder folder;
    ASSERT_TRUE(folder.copyFrom({L"Quibex.exe"}));
    ASSERT_TRUE(folder.copyFrom({L"CAB32.DLL"}, e2e::hostToWinePath(QUIBEX_OLD_CAB32_DIR)));
    folder.writeIni(kDefaultIni);
    e2e::ProgramFolder::removeTree(TempCabFolder());

    e2e::Process p;
    // The stub holds a decoy "MSCF" before the real cabinet.
    ASSERT_TRUE(p.start(folder.file(L"Quibex.exe"), ReadingArchive(L"sfx_texts_cab.exe"), folder.path()));
    e2e::WindowQuery query;
    query.captionPart = L"sfx_texts_cab.exe - Quibex";
    query.processId = p.id();
    HWND viewer = e2e::waitForWindow(query);
    ASSERT_TRUE(viewer) << e2e::describeTopLevel(p.id());

    std::wstring carved = TempCabFolder() + L"\\sfx_texts_cab.cab";
    DWORD attributes = GetFileAttributesW(TempCabFolder().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    auto cut = e2e::readFileBytes(carved);
    auto whole = e2e::readFileBytes(ReadingArchive(L"texts.cab"));
    EXPECT_EQ(cut, whole) << "the carved cabinet starts at the real signature";
    EXPECT_EQ(FilesIn(folder.file(L"temp")), (std::set<std::wstring>{L"readme.txt", L"説明.txt"}));

    e2e::closeWindow(viewer);
    EXPECT_TRUE(p.waitForExit().has_value()) << e2e::describeTopLevel(p.id());
    EXPECT_EQ(GetFileAttributesW(TempCabFolder().c_str()), INVALID_FILE_ATTRIBUTES) << "removed when the viewer closes";
}

TEST(E2eCabCarving, ProgramWithoutAnySignatureIsNotAnArchive) {
    e2e::ProgramFolder folder;
    ASSERT_TRUE(folder.copyFrom({L"Quibex.exe"}));
    ASSERT_TRUE(folder.copyFrom({L"CAB32.DLL"}, e2e::hostToWinePath(QUIBEX_OLD_CAB32_DIR)));
    folder.writeIni(kDefaultIni);
    std::wstring exe = folder.file(L"plain.exe");
    e2e::writeFileBytes(exe, std::string("MZ") + std::string(5000, '\0'));
    e2e::Process p;
    ASSERT_TRUE(p.start(folder.file(L"Quibex.exe"), exe, folder.path()));
    HWND box = e2e::waitForMessageBox(p.id());
    ASSERT_TRUE(box);
    EXPECT_EQ(e2e::readMessageBox(box).text,
              L"このファイルは書庫ではないか、未知の書庫かもしれません。\r\n\r\n"
              L"書庫である事が確実なら対応のDLLをインストールしてください。");
    e2e::answerMessageBox(box, L"OK");
    EXPECT_TRUE(p.waitForExit().has_value());
}

}  // namespace
