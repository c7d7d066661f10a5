// Shortening a path to a width by replacing part of its folders with "...",
// keeping the drive side and the file name, as the status bar shows it.
#pragma once

#include <functional>
#include <string>

namespace quibex {

// Width of a text in the caller's units (pixels of the status bar font).
using TextMeasure = std::function<int(const std::wstring&)>;

// The path itself when it fits `width`; else its start and its last part
// with "..." between ("C:\Program Fi...\file.txt"); when not even
// "...\name" fits, "..." and as much of the last part as fits.
std::wstring CompactPathText(const std::wstring& path, int width, const TextMeasure& measure);

}  // namespace quibex
