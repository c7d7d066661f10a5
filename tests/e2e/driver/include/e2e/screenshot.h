// Screenshots of the Wine desktop as PNG files, for the record of each scenario.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// 24-bit RGB pixels, rows top to bottom, no padding.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  // The pixel at (x, y) as 0xRRGGBB.
  std::uint32_t pixel(int x, int y) const;
};

// An image from top-down 32-bit DIB pixels (B, G, R, unused).
Image imageFromDibPixels(const void* bits, int width, int height);
// Captures the whole (virtual) desktop; empty image on failure.
Image captureScreen();
// Captures the screen rectangle a window occupies (as shown, overlaps included).
Image captureWindow(HWND hwnd);
// Captures a rectangle in screen coordinates.
Image captureRect(const RECT& screenRect);
// The folder screenshots go to (build/screenshots as a Windows path).
std::wstring screenshotFolder();
// Saves a capture of the desktop (or of one window) as <folder>/<name>.png; returns the path, empty on failure.
std::wstring saveScreenshot(const std::wstring& name, HWND window = nullptr);

}  // namespace e2e
