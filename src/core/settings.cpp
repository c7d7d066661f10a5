#include "core/settings.h"

#include "core/settings_rules.h"

namespace quibex {

const std::array<const wchar_t*, kIconCount> kIconKeys = {
    L"Back1IconPath", L"Back2IconPath",  L"Forward1IconPath", L"Forward2IconPath", L"Text1IconPath",
    L"Text2IconPath", L"Print1IconPath", L"Print2IconPath",   L"Open1IconPath",    L"Open2IconPath",
    L"Exit1IconPath", L"Exit2IconPath",  L"Search1IconPath",  L"Search2IconPath"};

namespace {

constexpr size_t kPathChars = 512;   // paths and extension lists
constexpr size_t kShortChars = 100;  // parameters, flags, font name

class Reader {
public:
    explicit Reader(ProfileStore& ini) : ini_(ini) {}
    int32_t Int(const wchar_t* section, const wchar_t* key, int32_t fallback) {
        return ini_.readInt(section, key, fallback);
    }
    std::wstring Str(const wchar_t* section, const wchar_t* key, const wchar_t* fallback, size_t chars) {
        return TrimAtNul(ini_.readString(section, key, fallback, chars));
    }

private:
    ProfileStore& ini_;
};

std::wstring Num(int32_t v) { return std::to_wstring(v); }

// A legacy key, when present, replaces its successor once and is deleted.
int32_t MigrateLegacy(ProfileStore& ini, const wchar_t* legacyKey, const wchar_t* newKey, int32_t newDefault,
                      int32_t (*map)(int32_t)) {
    constexpr int32_t kAbsent = 9;  // the legacy keys never held 9
    int32_t legacy = ini.readInt(kOptionSection, legacyKey, kAbsent);
    if (legacy == kAbsent) return ini.readInt(kOptionSection, newKey, newDefault);
    int32_t value = map(legacy);
    ini.write(kOptionSection, legacyKey, std::nullopt);
    ini.write(kOptionSection, newKey, Num(value));
    return value;
}

}  // namespace

void LoadSettings(ProfileStore& ini, Settings& s) {
    const wchar_t* O = kOptionSection;
    const wchar_t* V = kViewerSection;
    Reader r(ini);

    s.AllText = NonZero(MigrateLegacy(ini, L"Option1", L"AllText", 1, [](int32_t v) { return v; }));
    s.NoText = static_cast<int16_t>(MigrateLegacy(ini, L"Option3", L"NoText", 0,
                                                  [](int32_t v) { return static_cast<int32_t>(MapLegacyNoText(v)); }));

    s.ArcAplPath = r.Str(O, L"ArcAplPath", L"", kPathChars);
    s.TxtEdtPath = r.Str(O, L"TxtEdtPath", L"", kPathChars);
    s.PrtToolPath = r.Str(O, L"PrtToolPath", L"", kPathChars);
    s.PrtToolParam = r.Str(O, L"PrtToolParam", L"", kShortChars);
    s.ParamAfterFile = ExactlyOne(r.Int(O, L"ParamAfterFile", 0));
    s.PrtConfirm = NonZero(r.Int(O, L"PrtConfirm", 1));
    s.TxtType = r.Str(O, L"TxtType", L"", kPathChars);
    s.DocType = r.Str(O, L"DocType", L"HLP DOC HTM HTML CHM", kPathChars);
    s.OpenMax = ClampOpenMax(r.Int(O, L"OpenMax", 5));
    s.Progress = ExactlyOne(r.Int(O, L"Progress", 0));
    s.InitDialog = NonZero(r.Int(O, L"InitDialog", 1));
    s.ArcSelect = ExactlyOne(r.Int(O, L"ArcSelect", 0));
    s.PcBeep = ExactlyOne(r.Int(O, L"PcBeep", 0));
    s.ShellExecOpen = ExactlyOne(r.Int(O, L"ShellExecOpen", 0));

    s.InsideViewer = NonZero(r.Int(V, L"InsideViewer", 1));
    s.MultiRow = ExactlyOne(r.Int(V, L"MultiRow", 0));
    s.HighLightTab = NonZero(r.Int(V, L"HighLightTab", 1));
    s.NoExt = ExactlyOne(r.Int(V, L"NoExt", 0));
    s.TabName = NormaliseTabName(r.Int(V, L"TabName", 0));
    s.NotToolbar = ExactlyOne(r.Int(V, L"NotToolbar", 0));
    s.StartUpPos = NonZero(r.Int(V, L"StartUpPos", 1));
    s.StartUpSize = NonZero(r.Int(V, L"StartUpSize", 1));
    s.ReadmeFirst = NonZero(r.Int(V, L"ReadmeFirst", 1));
    s.TextLoadMode = NonZero(r.Int(V, L"TextLoadMode", 1));
    s.HiperLink = r.Int(V, L"HiperLink", 0);
    s.HiperLinkConfirm = ExactlyOne(r.Int(V, L"HiperLinkConfirm", 0));
    s.ExitAfterOpen = ExactlyOne(r.Int(V, L"ExitAfterOpen", 0));
    s.TopMost = ExactlyOne(r.Int(V, L"TopMost", 0));
    s.ShortCutKey = NormaliseShortCutKey(r.Str(V, L"ShortCutKey", L"111110111", kShortChars));
    s.TabPos = NonZero(r.Int(V, L"TabPos", 1));
    s.BackColor = r.Int(V, L"BackColor", static_cast<int32_t>(0x80000005u));
    s.TextColor = r.Int(V, L"TextColor", static_cast<int32_t>(0x80000008u));
    s.FontName = r.Str(V, L"FontName", kDefaultFontName, kShortChars);
    for (size_t i = 0; i < kIconCount; ++i) s.IconPaths[i] = r.Str(V, kIconKeys[i], L"", kPathChars);
    s.FontSize = ClampFontSize(r.Int(V, L"FontSize", 9));
    s.HotImage = ExactlyOne(r.Int(V, L"HotImage", 0));
    s.SpaceContinue = ExactlyOne(r.Int(V, L"SpaceContinue", 0));
}

void SaveSettings(ProfileStore& ini, const Settings& s) {
    auto o = [&](const wchar_t* key, const std::wstring& v) { ini.write(kOptionSection, key, v); };
    auto v = [&](const wchar_t* key, const std::wstring& val) { ini.write(kViewerSection, key, val); };

    o(L"AllText", Num(s.AllText));
    o(L"NoText", Num(s.NoText));
    o(L"ArcAplPath", s.ArcAplPath);
    o(L"TxtEdtPath", s.TxtEdtPath);
    o(L"PrtToolPath", s.PrtToolPath);
    o(L"PrtToolParam", s.PrtToolParam);
    o(L"ParamAfterFile", Num(s.ParamAfterFile));
    o(L"PrtConfirm", Num(s.PrtConfirm));
    o(L"TxtType", s.TxtType);
    o(L"DocType", s.DocType);
    o(L"OpenMax", Num(s.OpenMax));
    o(L"Progress", Num(s.Progress));
    o(L"InitDialog", Num(s.InitDialog));
    o(L"ArcSelect", Num(s.ArcSelect));
    o(L"PcBeep", Num(s.PcBeep));
    o(L"ShellExecOpen", Num(s.ShellExecOpen));

    v(L"InsideViewer", Num(s.InsideViewer));
    v(L"MultiRow", Num(s.MultiRow));
    v(L"HighLightTab", Num(s.HighLightTab));
    v(L"NoExt", Num(s.NoExt));
    v(L"TabName", Num(s.TabName));
    v(L"NotToolbar", Num(s.NotToolbar));
    v(L"StartUpPos", Num(s.StartUpPos));
    v(L"StartUpSize", Num(s.StartUpSize));
    v(L"ReadmeFirst", Num(s.ReadmeFirst));
    v(L"TextLoadMode", Num(s.TextLoadMode));
    v(L"HiperLink", Num(s.HiperLink));
    v(L"HiperLinkConfirm", Num(s.HiperLinkConfirm));
    v(L"ExitAfterOpen", Num(s.ExitAfterOpen));
    v(L"TopMost", Num(s.TopMost));
    v(L"SpaceContinue", Num(s.SpaceContinue));
    v(L"ShortCutKey", s.ShortCutKey);
    v(L"TabPos", Num(s.TabPos));
    v(L"BackColor", Num(s.BackColor));
    v(L"TextColor", Num(s.TextColor));
    v(L"FontName", s.FontName);
    for (size_t i = 0; i < kIconCount; ++i) v(kIconKeys[i], s.IconPaths[i]);
    v(L"FontSize", Num(s.FontSize));
    v(L"HotImage", Num(s.HotImage));
}

void WriteFirstRunDefaults(ProfileStore& ini) {
    auto o = [&](const wchar_t* key, const wchar_t* val) { ini.write(kOptionSection, key, std::wstring(val)); };
    auto v = [&](const wchar_t* key, const wchar_t* val) { ini.write(kViewerSection, key, std::wstring(val)); };

    o(L"AllText", L"1");
    o(L"NoText", L"0");
    o(L"OpenMax", L"5");
    o(L"Progress", L"0");
    o(L"InitDialog", L"1");
    o(L"ArcSelect", L"0");
    o(L"ArcAplPath", L"");
    o(L"TxtEdtPath", L"");
    o(L"PrtToolPath", L"");
    o(L"PrtToolParam", L"");
    o(L"ParamAfterFile", L"");  // empty on purpose: reads back as the default 0
    o(L"PrtConfirm", L"");      // empty on purpose: reads back as the default 1
    o(L"TxtType", L"");
    o(L"DocType", L"HLP DOC HTM HTML CHM");
    o(L"ShellExecOpen", L"0");

    v(L"InsideViewer", L"1");
    v(L"MultiRow", L"0");
    v(L"HighLightTab", L"1");
    v(L"NoExt", L"0");
    v(L"TabName", L"0");
    v(L"NotToolbar", L"0");
    v(L"StartUpPos", L"1");
    v(L"StartUpSize", L"1");
    v(L"ReadmeFirst", L"1");
    v(L"TextLoadMode", L"1");
    v(L"HiperLink", L"0");
    v(L"HiperLinkConfirm", L"0");
    v(L"ExitAfterOpen", L"0");
    v(L"ShortCutKey", L"111110111");
    v(L"TabPos", L"1");
    v(L"BackColor", L"-2147483643");
    v(L"TextColor", L"-2147483640");
    v(L"FontName", kDefaultFontName);
    v(L"FontSize", L"9");
    for (const wchar_t* key : kIconKeys) v(key, L"");
    v(L"HotImage", L"0");
}

}  // namespace quibex
