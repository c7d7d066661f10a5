// The in-memory copy of every user setting, and the routines that move it
// between the INI file and memory.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/profile_store.h"

namespace quibex {

inline constexpr size_t kIconCount = 14;

// The viewer's font until the user picks another: the default of "FontName",
// the reset of the viewer options and the face a new text view starts with.
inline constexpr wchar_t kDefaultFontName[] = L"ＭＳ ゴシック";

struct Settings {
    // Section "Option"
    int16_t AllText = 1;
    int16_t NoText = 0;  // kept as read: 0 ask, 1 open archive, 2 message, other beep
    std::wstring ArcAplPath;
    std::wstring TxtEdtPath;
    std::wstring PrtToolPath;
    std::wstring PrtToolParam;
    int16_t ParamAfterFile = 0;
    int16_t PrtConfirm = 1;
    std::wstring TxtType;
    std::wstring DocType = L"HLP DOC HTM HTML CHM";
    int16_t OpenMax = 5;
    int16_t Progress = 0;
    int16_t InitDialog = 1;
    int16_t ArcSelect = 0;
    int16_t PcBeep = 0;
    int16_t ShellExecOpen = 0;
    // Section "Viewer"
    int16_t InsideViewer = 1;
    int16_t MultiRow = 0;
    int16_t HighLightTab = 1;
    int16_t NoExt = 0;
    int16_t TabName = 0;
    int16_t NotToolbar = 0;
    int16_t StartUpPos = 1;
    int16_t StartUpSize = 1;
    int16_t ReadmeFirst = 1;
    int16_t TextLoadMode = 1;
    int32_t HiperLink = 0;
    int16_t HiperLinkConfirm = 0;
    int16_t ExitAfterOpen = 0;
    int16_t TopMost = 0;
    int16_t SpaceContinue = 0;
    std::wstring ShortCutKey = L"111110111";
    int16_t TabPos = 1;
    int32_t BackColor = static_cast<int32_t>(0x80000005u);
    int32_t TextColor = static_cast<int32_t>(0x80000008u);
    std::wstring FontName = kDefaultFontName;
    int16_t FontSize = 9;
    std::array<std::wstring, kIconCount> IconPaths;
    int16_t HotImage = 0;
};

// The INI keys of IconPaths, in index order.
extern const std::array<const wchar_t*, kIconCount> kIconKeys;

inline constexpr const wchar_t* kOptionSection = L"Option";
inline constexpr const wchar_t* kViewerSection = L"Viewer";

// Fills `s` from the store, migrating the legacy keys "Option1" and "Option3"
// (which writes to the store).
void LoadSettings(ProfileStore& ini, Settings& s);
// Writes every field back, section "Option" first.
void SaveSettings(ProfileStore& ini, const Settings& s);
// Writes the values a brand-new INI file starts with, one key at a time.
void WriteFirstRunDefaults(ProfileStore& ini);

}  // namespace quibex
