#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "core/settings.h"
#include "core/settings_rules.h"

namespace {

using quibex::Settings;

// An INI held in memory, parsed with the profile API's integer rules, that
// records every write in order.
class MemoryProfile : public quibex::ProfileStore {
public:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values;
    std::vector<std::pair<std::wstring, std::wstring>> writes;  // section, key (deletes too)

    int32_t readInt(const std::wstring& section, const std::wstring& key, int32_t fallback) override {
        auto it = values.find({section, key});
        if (it == values.end() || it->second.empty()) return fallback;
        const std::wstring& v = it->second;
        size_t i = 0;
        bool negative = false;
        if (i < v.size() && (v[i] == L'-' || v[i] == L'+')) negative = v[i++] == L'-';
        int64_t n = 0;
        for (; i < v.size() && v[i] >= L'0' && v[i] <= L'9'; ++i) n = n * 10 + (v[i] - L'0');
        return static_cast<int32_t>(negative ? -n : n);
    }
    std::wstring readString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback,
                            size_t chars) override {
        auto it = values.find({section, key});
        std::wstring v = it == values.end() ? fallback : it->second;
        return v.substr(0, chars - 1);
    }
    void write(const std::wstring& section, const std::wstring& key, const std::optional<std::wstring>& value) override {
        writes.emplace_back(section, key);
        if (value) values[{section, key}] = *value;
        else values.erase({section, key});
    }
    void set(const wchar_t* section, const wchar_t* key, const wchar_t* value) { values[{section, key}] = value; }
    bool has(const wchar_t* section, const wchar_t* key) const { return values.count({section, key}) != 0; }
    std::wstring get(const wchar_t* section, const wchar_t* key) const { return values.at({section, key}); }
};

Settings Load(MemoryProfile& ini) {
    Settings s;
    s.AllText = s.NoText = s.OpenMax = -77;  // make sure every field is really assigned
    quibex::LoadSettings(ini, s);
    return s;
}

TEST(SettingsLegacy, Option1ReplacesAllTextOnceAndIsDeleted) {
    MemoryProfile zero;
    zero.set(L"Option", L"Option1", L"0");
    EXPECT_EQ(Load(zero).AllText, 0);
    EXPECT_FALSE(zero.has(L"Option", L"Option1"));
    EXPECT_EQ(zero.get(L"Option", L"AllText"), L"0");

    MemoryProfile five;
    five.set(L"Option", L"Option1", L"5");
    five.set(L"Option", L"AllText", L"0");
    EXPECT_EQ(Load(five).AllText, 1);
    EXPECT_EQ(five.get(L"Option", L"AllText"), L"5");  // the raw value is stored, normalised only in memory
    EXPECT_FALSE(five.has(L"Option", L"Option1"));
}

TEST(SettingsLegacy, Option3MapsOntoNoText) {
    struct Case { const wchar_t* legacy; int16_t noText; const wchar_t* stored; };
    for (const Case& c : {Case{L"1", 1, L"1"}, Case{L"2", 2, L"2"}, Case{L"3", 1, L"1"}, Case{L"7", 0, L"0"},
                          Case{L"0", 0, L"0"}}) {
        MemoryProfile ini;
        ini.set(L"Option", L"Option3", c.legacy);
        EXPECT_EQ(Load(ini).NoText, c.noText) << c.legacy;
        EXPECT_EQ(ini.get(L"Option", L"NoText"), c.stored);
        EXPECT_FALSE(ini.has(L"Option", L"Option3"));
    }
}

TEST(SettingsLegacy, NoLegacyKeysMeansNoWrites) {
    MemoryProfile ini;
    ini.set(L"Option", L"NoText", L"5");
    EXPECT_EQ(Load(ini).NoText, 5);  // kept unnormalised: any other value means beep
    EXPECT_TRUE(ini.writes.empty());
}

TEST(SettingsNormalise, IntegerRulesAtTheirEdges) {
    struct Case { const wchar_t* section; const wchar_t* key; const wchar_t* value; int32_t (*field)(const Settings&); int32_t expected; };
    auto openMax = [](const Settings& s) -> int32_t { return s.OpenMax; };
    auto fontSize = [](const Settings& s) -> int32_t { return s.FontSize; };
    auto tabName = [](const Settings& s) -> int32_t { return s.TabName; };
    auto prtConfirm = [](const Settings& s) -> int32_t { return s.PrtConfirm; };
    auto paramAfter = [](const Settings& s) -> int32_t { return s.ParamAfterFile; };
    auto progress = [](const Settings& s) -> int32_t { return s.Progress; };
    auto initDialog = [](const Settings& s) -> int32_t { return s.InitDialog; };
    auto backColor = [](const Settings& s) -> int32_t { return s.BackColor; };
    auto hiperLink = [](const Settings& s) -> int32_t { return s.HiperLink; };
    const Case cases[] = {
        {L"Option", L"OpenMax", L"0", openMax, 1},      {L"Option", L"OpenMax", L"25", openMax, 10},
        {L"Option", L"OpenMax", L"7", openMax, 7},      {L"Viewer", L"FontSize", L"5", fontSize, 8},
        {L"Viewer", L"FontSize", L"100", fontSize, 72}, {L"Viewer", L"TabName", L"4", tabName, 0},
        {L"Viewer", L"TabName", L"-1", tabName, 0},     {L"Viewer", L"TabName", L"3", tabName, 3},
        {L"Option", L"PrtConfirm", L"", prtConfirm, 1}, {L"Option", L"ParamAfterFile", L"", paramAfter, 0},
        {L"Option", L"PrtConfirm", L"0", prtConfirm, 0}, {L"Option", L"Progress", L"2", progress, 0},
        {L"Option", L"InitDialog", L"2", initDialog, 1}, {L"Viewer", L"BackColor", L"-2147483643", backColor, -2147483643},
        {L"Viewer", L"HiperLink", L"7", hiperLink, 7},
    };
    for (const Case& c : cases) {
        MemoryProfile ini;
        ini.set(c.section, c.key, c.value);
        EXPECT_EQ(c.field(Load(ini)), c.expected) << c.key << "=" << testing::PrintToString(std::wstring(c.value));
    }
}

TEST(SettingsNormalise, ShortCutKeyGainsLeadingFlagsOrFallsBack) {
    struct Case { const wchar_t* stored; const wchar_t* loaded; };
    for (const Case& c : {Case{L"010101", L"111010101"}, Case{L"0000000", L"110000000"}, Case{L"00000000", L"100000000"},
                          Case{L"000000000", L"000000000"}, Case{L"1111101110", L"111110111"},
                          Case{L"abcdef", L"111110111"}, Case{L"01010", L"111110111"}, Case{L"  010101 ", L"111010101"}}) {
        MemoryProfile ini;
        ini.set(L"Viewer", L"ShortCutKey", c.stored);
        EXPECT_EQ(Load(ini).ShortCutKey, c.loaded) << testing::PrintToString(std::wstring(c.stored));
    }
}

TEST(SettingsNormalise, StringsAreCutAtNulTrimmedAndBounded) {
    MemoryProfile ini;
    ini.set(L"Option", L"ArcAplPath", L"  C:\\Tools\\lhaz.exe  ");
    ini.set(L"Option", L"PrtToolParam", std::wstring(300, L'x').c_str());
    ini.set(L"Viewer", L"Search2IconPath", L"icon.ico");
    Settings s = Load(ini);
    EXPECT_EQ(s.ArcAplPath, L"C:\\Tools\\lhaz.exe");
    EXPECT_EQ(s.PrtToolParam.size(), 99u);  // buffer of 100 characters
    EXPECT_EQ(s.IconPaths[13], L"icon.ico");
    EXPECT_EQ(s.DocType, L"HLP DOC HTM HTML CHM");
    EXPECT_EQ(s.FontName, L"ＭＳ ゴシック");
    EXPECT_EQ(quibex::TrimAtNul(std::wstring(L" ab \0cd", 7)), L"ab");
    EXPECT_EQ(quibex::TrimAtNul(L"   "), L"");
}

TEST(SettingsSave, RoundTripsEveryFieldInTheFixedOrder) {
    Settings s;
    s.AllText = 0, s.NoText = 3, s.ArcAplPath = L"a.exe", s.OpenMax = 9, s.HiperLink = 3, s.TabName = 2;
    s.ShortCutKey = L"101010101", s.BackColor = 0x00FF00, s.FontName = L"ＭＳ 明朝", s.FontSize = 12, s.SpaceContinue = 1;
    s.IconPaths[5] = L"t2.ico";
    MemoryProfile ini;
    quibex::SaveSettings(ini, s);
    Settings back = Load(ini);
    EXPECT_EQ(back.AllText, 0);
    EXPECT_EQ(back.NoText, 3);
    EXPECT_EQ(back.ArcAplPath, L"a.exe");
    EXPECT_EQ(back.OpenMax, 9);
    EXPECT_EQ(back.HiperLink, 3);
    EXPECT_EQ(back.TabName, 2);
    EXPECT_EQ(back.ShortCutKey, L"101010101");
    EXPECT_EQ(back.BackColor, 0x00FF00);
    EXPECT_EQ(back.FontName, L"ＭＳ 明朝");
    EXPECT_EQ(back.FontSize, 12);
    EXPECT_EQ(back.SpaceContinue, 1);
    EXPECT_EQ(back.IconPaths[5], L"t2.ico");
    EXPECT_EQ(ini.get(L"Viewer", L"TextColor"), L"-2147483640");
    ASSERT_EQ(ini.writes.size(), 16u + 22u + 14u);
    EXPECT_EQ(ini.writes.front(), (std::pair<std::wstring, std::wstring>{L"Option", L"AllText"}));
    EXPECT_EQ(ini.writes[15], (std::pair<std::wstring, std::wstring>{L"Option", L"ShellExecOpen"}));
    EXPECT_EQ(ini.writes[16], (std::pair<std::wstring, std::wstring>{L"Viewer", L"InsideViewer"}));
    EXPECT_EQ(ini.writes.back(), (std::pair<std::wstring, std::wstring>{L"Viewer", L"HotImage"}));
}

TEST(SettingsFirstRun, WritesExactlyTheStartingKeysAndTheyLoadAsDefaults) {
    MemoryProfile ini;
    quibex::WriteFirstRunDefaults(ini);
    std::vector<std::wstring> keys;
    for (auto& w : ini.writes) keys.push_back(w.first + L"." + w.second);
    std::vector<std::wstring> expected = {
        L"Option.AllText", L"Option.NoText", L"Option.OpenMax", L"Option.Progress", L"Option.InitDialog",
        L"Option.ArcSelect", L"Option.ArcAplPath", L"Option.TxtEdtPath", L"Option.PrtToolPath", L"Option.PrtToolParam",
        L"Option.ParamAfterFile", L"Option.PrtConfirm", L"Option.TxtType", L"Option.DocType", L"Option.ShellExecOpen",
        L"Viewer.InsideViewer", L"Viewer.MultiRow", L"Viewer.HighLightTab", L"Viewer.NoExt", L"Viewer.TabName",
        L"Viewer.NotToolbar", L"Viewer.StartUpPos", L"Viewer.StartUpSize", L"Viewer.ReadmeFirst", L"Viewer.TextLoadMode",
        L"Viewer.HiperLink", L"Viewer.HiperLinkConfirm", L"Viewer.ExitAfterOpen", L"Viewer.ShortCutKey", L"Viewer.TabPos",
        L"Viewer.BackColor", L"Viewer.TextColor", L"Viewer.FontName", L"Viewer.FontSize"};
    for (const wchar_t* k : quibex::kIconKeys) expected.push_back(std::wstring(L"Viewer.") + k);
    expected.push_back(L"Viewer.HotImage");
    EXPECT_EQ(keys, expected);

    Settings s = Load(ini);
    Settings defaults;
    EXPECT_EQ(s.PrtConfirm, 1);
    EXPECT_EQ(s.ParamAfterFile, 0);
    EXPECT_EQ(s.BackColor, defaults.BackColor);
    EXPECT_EQ(s.TextColor, defaults.TextColor);
    EXPECT_EQ(s.OpenMax, 5);
    EXPECT_EQ(s.ShortCutKey, L"111110111");
}

TEST(SettingsPath, DriveRootGetsNoDoubledBackslash) {
    EXPECT_EQ(quibex::IniPathFor(L"C:\\"), L"C:\\Quibex.ini");
    EXPECT_EQ(quibex::IniPathFor(L"C:\\Program Files\\Quibex"), L"C:\\Program Files\\Quibex\\Quibex.ini");
    EXPECT_EQ(quibex::IniPathFor(L"\\\\srv\\share"), L"\\\\srv\\share\\Quibex.ini");
}

}  // namespace
