// The built-in images of the viewer's seven toolbar keys, our own simple
// drawings, in two states: normal (softer colours) and pointed at (full
// colours). Drawn at run time at the size the screen's DPI asks for.
// Pure arithmetic; ui/toolbar_images.h turns them into image lists.
#pragma once

#include <array>
#include <vector>

#include "ui/glyph_raster.h"

namespace quibex {

// The image keys, in the order of the icon-path settings (Back, Forward,
// Text, Print, Open, Exit, Search).
enum class ToolbarGlyph { Left, Right, Text, Print, Open, Exit, Search };
inline constexpr int kToolbarGlyphCount = 7;
inline constexpr std::array<const wchar_t*, kToolbarGlyphCount> kToolbarImageKeys = {
    L"LEFT", L"RIGHT", L"TEXT", L"PRINT", L"OPEN", L"EXIT", L"SEARCH"};

// The shapes of one image.
std::vector<GlyphShape> ToolbarGlyphShapes(ToolbarGlyph glyph, bool pointedAt);
GlyphBitmap DrawToolbarGlyph(ToolbarGlyph glyph, bool pointedAt, int size);

// The image size in pixels at `dpi`: 32 at 96 DPI, scaled.
int ToolbarImageSize(int dpi);

}  // namespace quibex
