// What the viewer does with an archive dropped on it: which paths it refuses,
// the command that starts a new instance on it, the drag effect, and whether
// this instance ends. Pure rules; the window side is viewer_drop.cpp.
#pragma once

#include <string>

namespace quibex {

// Modifier bits of a drop, as the rules use them.
inline constexpr int kDropShift = 1, kDropCtrl = 2, kDropAlt = 4;
inline constexpr int kDropEffectCopy = 1, kDropEffectMove = 2;

// True for a path inside a recycle bin folder ("C:\RECYCLED\..", "C:\RECYCLER\..").
bool IsRecycleBinPath(const std::wstring& path);
// The quoted program path followed by the quoted dropped path.
std::wstring DropCommandLine(const std::wstring& programFolder, const std::wstring& droppedPath);
// Move when this instance will end, copy when it stays beside the new one.
int DropEffect(bool allowSecondInstance, int modifiers);
// Whether this instance ends after starting the new one.
bool DropEndsInstance(bool allowSecondInstance, int modifiers);

}  // namespace quibex
