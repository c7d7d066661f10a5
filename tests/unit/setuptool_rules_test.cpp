// Quibexsetup's registry-free rules: the writes that add an entry, finding an
// entry, the item-name check, the report.
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
std::optional<Writes> Plan(const Classes& classes, std::wstring_view ext, std::wstring_view name = L"閲覧(&L)",
                           std::wstring_view cls = L"LzhFile") {
    auto plan = PlanMenuItem(ext, name, cls, L"C:\\Tools\\Quibex.exe", Reader(classes));
    if (!plan) return std::nullopt;
    Writes writes;
    for (const KeyWrite& w : *plan) writes.emplace_back(w.key, w.text);
    return writes;
}

const std::wstring kCommand = L"\"C:\\Tools\\Quibex.exe\" \"%1\"";

TEST(SetupPlan, NewExtensionGetsItsClassDescribedThenTheVerb) {
    EXPECT_EQ(Plan({}, L"LZH", L"  閲覧(&L) "),
              (Writes{{L".lzh", L"LzhFile"},
                      {L"LzhFile", L"LzhFile"},
                      {L"LzhFile\\shell\\Quibex", L"閲覧(&L)"},
                      {L"LzhFile\\shell\\Quibex\\command", kCommand}}));
}

TEST(SetupPlan, AnExistingClassIsUsedAndItsDescriptionKept) {
    EXPECT_EQ(Plan({{L".zip", L"Other.zip"}, {L"Other.zip", L"ZIP 書庫"}}, L"ZIP", L"閲覧", L"Other.zip"),
              (Writes{{L"Other.zip\\shell\\Quibex", L"閲覧"}, {L"Other.zip\\shell\\Quibex\\command", kCommand}}));
    // A class named by the extension but without a description gets one.
    EXPECT_EQ(Plan({{L".cab", L"Cabs"}}, L"CAB", L"閲覧", L"Cabs"),
              (Writes{{L"Cabs", L"Cabs"}, {L"Cabs\\shell\\Quibex", L"閲覧"}, {L"Cabs\\shell\\Quibex\\command", kCommand}}));
}

TEST(SetupPlan, ExecutablesNeverGetAClassMadeOrDescribed) {
    EXPECT_EQ(Plan({}, L"EXE", L"閲覧", L"exefile"), std::nullopt);
    EXPECT_EQ(Plan({{L".exe", L"exefile"}}, L"EXE", L"閲覧", L"exefile"), std::nullopt);
    EXPECT_EQ(Plan({{L".exe", L"exefile"}, {L"exefile", L"Application"}}, L"EXE", L"閲覧", L"exefile"),
              (Writes{{L"exefile\\shell\\Quibex", L"閲覧"}, {L"exefile\\shell\\Quibex\\command", kCommand}}));
}

TEST(SetupPlan, AnEmptyArgumentWritesNothing) {
    EXPECT_EQ(Plan({}, L" ", L"閲覧"), std::nullopt);
    EXPECT_EQ(Plan({}, L"LZH", L"   "), std::nullopt);
    EXPECT_EQ(Plan({}, L"LZH", L"閲覧", L""), std::nullopt);
    EXPECT_EQ(PlanMenuItem(L"LZH", L"閲覧", L"LzhFile", L" ", Reader({})), std::nullopt);
}

TEST(SetupDetect, OnlyAVerbWithTextCounts) {
    const ExtensionSlot lzh = kExtensionSlots[0];
    DetectedEntry none = DetectEntry(lzh, Reader({}));
    EXPECT_EQ(none.fileClass, L"LzhFile");
    EXPECT_FALSE(none.exists);
    Classes emptyVerb{{L".lzh", L"Lha"}, {L"Lha\\shell\\Quibex", L""}};
    DetectedEntry blank = DetectEntry(lzh, Reader(emptyVerb));
    EXPECT_EQ(blank.fileClass, L"Lha");
    EXPECT_FALSE(blank.exists);
    // A verb under the built-in class name is not ours to find: the extension names no class.
    EXPECT_FALSE(DetectEntry(lzh, Reader({{L"LzhFile\\shell\\Quibex", L"x"}})).exists);
    DetectedEntry found = DetectEntry(lzh, Reader({{L".lzh", L"Lha"}, {L"Lha\\shell\\Quibex", L"見る"}}));
    EXPECT_TRUE(found.exists);
    EXPECT_EQ(found.itemName, L"見る");
}

TEST(SetupApply, ItemNameNeedsTextOnOneLine) {
    EXPECT_EQ(CheckItemName(L""), ItemNameProblem::Empty);
    EXPECT_EQ(CheckItemName(L"   "), ItemNameProblem::Empty);
    EXPECT_EQ(CheckItemName(L"  閲覧  "), ItemNameProblem::None);
    for (const wchar_t* bad : {L"a\tb", L"a\nb", L"a\rb", L"閲覧\r\n"})
        EXPECT_EQ(CheckItemName(bad), ItemNameProblem::ControlCharacter) << bad;
}

TEST(SetupApply, ReportLinesPerAction) {
    EXPECT_EQ(ChooseAction(true, false), EntryAction::Add);
    EXPECT_EQ(ChooseAction(true, true), EntryAction::Update);
    EXPECT_EQ(ChooseAction(false, true), EntryAction::Remove);
    EXPECT_EQ(ChooseAction(false, false), EntryAction::Skip);
    EXPECT_EQ(ReportLine(L"LZH", EntryAction::Add, true), L"拡張子\"LZH\"に対する項目の追加処理に成功しました。\r\n\r\n");
    EXPECT_EQ(ReportLine(L"ZIP", EntryAction::Update, false), L"拡張子\"ZIP\"に対する項目の更新処理に失敗しました。\r\n\r\n");
    EXPECT_EQ(ReportLine(L"CAB", EntryAction::Remove, true), L"拡張子\"CAB\"に対する項目の削除処理に成功しました。\r\n\r\n");
    EXPECT_EQ(ReportLine(L"EXE", EntryAction::Skip, false), L"拡張子\"EXE\"に対する項目の処理をスキップしました。\r\n\r\n");
}

TEST(SetupPaths, ViewerBesideTheToolAndTheQuotedCommand) {
    EXPECT_EQ(ViewerPathBeside(L"C:\\Program Files\\ツール\\Quibexsetup.exe"), L"C:\\Program Files\\ツール\\Quibex.exe");
    EXPECT_EQ(ViewerPathBeside(L"C:\\Quibexsetup.exe"), L"C:\\Quibex.exe");
    EXPECT_EQ(VerbCommand(L"C:\\a b\\Quibex.exe"), L"\"C:\\a b\\Quibex.exe\" \"%1\"");
}

}  // namespace
