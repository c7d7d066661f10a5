// Quibexsetup's registry-free rules where the scenarios under Wine do not
// reach: classes of other programs, executables with a class, empty input.
#include <gtest/gtest.h>

#include <map>

#include "setuptool/apply_rules.h"
#include "setuptool/menu_entry_plan.h"

namespace {

using namespace quibexsetup;

// Default texts of keys below the classes root, as the registry would hold them.
using Classes = std::map<std::wstring, std::wstring>;
DefaultTextReader Reader(const Classes& classes) {
    return [&classes](const std::wstring& key) {
        auto it = classes.find(key);
        return it == classes.end() ? std::wstring() : it->second;
    };
}

using Writes = std::vector<std::pair<std::wstring, std::wstring>>;
std::optional<Writes> Plan(const Classes& classes, std::wstring_view ext, std::wstring_view cls,
                           std::wstring_view name = L"閲覧") {
    auto plan = PlanMenuItem(ext, name, cls, L"C:\\Tools\\Quibex.exe", Reader(classes));
    if (!plan) return std::nullopt;
    Writes writes;
    for (const KeyWrite& w : *plan) writes.emplace_back(w.key, w.text);
    return writes;
}

const std::wstring kCommand = L"\"C:\\Tools\\Quibex.exe\" \"%1\"";

TEST(SetupPlan, ClassesOfOtherProgramsAreUsedAndOnlyDescribedWhenBare) {
    EXPECT_EQ(Plan({{L".zip", L"Other.zip"}, {L"Other.zip", L"ZIP 書庫"}}, L"ZIP", L"Other.zip"),
              (Writes{{L"Other.zip\\shell\\Quibex", L"閲覧"}, {L"Other.zip\\shell\\Quibex\\command", kCommand}}));
    EXPECT_EQ(
        Plan({{L".cab", L"Cabs"}}, L" CAB ", L"Cabs"),
        (Writes{{L"Cabs", L"Cabs"}, {L"Cabs\\shell\\Quibex", L"閲覧"}, {L"Cabs\\shell\\Quibex\\command", kCommand}}));
}

// 7Z (and like it RAR) files without a class of their own get the tool's
// classes, as LZH files do.
TEST(SetupPlan, SevenZipGetsItsBuiltInClassWhenBare) {
    EXPECT_EQ(Plan({}, L"7Z", L"7zFile"), (Writes{{L".7z", L"7zFile"},
                                                  {L"7zFile", L"7zFile"},
                                                  {L"7zFile\\shell\\Quibex", L"閲覧"},
                                                  {L"7zFile\\shell\\Quibex\\command", kCommand}}));
}

TEST(SetupPlan, ExecutablesGetOnlyTheVerbAndOnlyUnderADescribedClass) {
    EXPECT_EQ(Plan({}, L"EXE", L"exefile"), std::nullopt);
    EXPECT_EQ(Plan({{L".exe", L"exefile"}}, L"EXE", L"exefile"), std::nullopt);
    EXPECT_EQ(Plan({{L".exe", L"exefile"}, {L"exefile", L"Application"}}, L"exe", L"exefile"),
              (Writes{{L"exefile\\shell\\Quibex", L"閲覧"}, {L"exefile\\shell\\Quibex\\command", kCommand}}));
}

TEST(SetupPlan, AnEmptyArgumentWritesNothing) {
    EXPECT_EQ(Plan({}, L" ", L"LzhFile"), std::nullopt);
    EXPECT_EQ(Plan({}, L"LZH", L"LzhFile", L"   "), std::nullopt);
    EXPECT_EQ(Plan({}, L"LZH", L""), std::nullopt);
    EXPECT_EQ(PlanMenuItem(L"LZH", L"閲覧", L"LzhFile", L" ", Reader({})), std::nullopt);
}

TEST(SetupDetect, OnlyAVerbWithTextUnderTheExtensionsClassCounts) {
    const ExtensionSlot lzh = kExtensionSlots[0];
    EXPECT_EQ(DetectEntry(lzh, Reader({})).fileClass, L"LzhFile");
    // The extension names no class, so a verb under the built-in name is not looked at.
    EXPECT_FALSE(DetectEntry(lzh, Reader({{L"LzhFile\\shell\\Quibex", L"x"}})).exists);
    DetectedEntry found = DetectEntry(lzh, Reader({{L".lzh", L"Lha"}, {L"Lha\\shell\\Quibex", L"見る"}}));
    EXPECT_TRUE(found.exists);
    EXPECT_EQ(found.fileClass, L"Lha");
    EXPECT_EQ(found.itemName, L"見る");
}

TEST(SetupApply, ItemNameNeedsTextOnOneLine) {
    EXPECT_EQ(CheckItemName(L""), ItemNameProblem::Empty);
    EXPECT_EQ(CheckItemName(L"  閲覧  "), ItemNameProblem::None);
    EXPECT_EQ(CheckItemName(L"閲覧\n"), ItemNameProblem::ControlCharacter);
    EXPECT_EQ(ViewerPathBeside(L"C:\\Quibexsetup.exe"), L"C:\\Quibex.exe");
}

}  // namespace
