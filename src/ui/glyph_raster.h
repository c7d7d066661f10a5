// Small images drawn from shapes at any pixel size: the shapes sit on a
// 16 × 16 design grid, and each pixel takes the share of 4 × 4 sample
// points a shape covers. An edge on a whole grid unit falls on a pixel
// edge at 16, 32, 48 and 64 pixels, so straight edges stay sharp at 100,
// 150 and 200 % DPI; slanted and round edges are smoothed. Pure arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quibex {

inline constexpr int kGlyphGrid = 16;
inline constexpr uint32_t kNoFill = 0xFF000000u;

struct GlyphPoint {
    float x, y;
};

struct GlyphShape {
    enum class Kind {
        Polygon,  // points: the corners, in order
        Ellipse,  // points[0]: centre, points[1]: radii
        Line,     // points[0] to points[1], `width` wide, square ends
    };
    Kind kind = Kind::Polygon;
    std::vector<GlyphPoint> points;
    uint32_t fill = kNoFill;  // 0xRRGGBB, or kNoFill
    uint32_t edge = kNoFill;  // an edge along the inside of a polygon or an ellipse
    float width = 0;          // a line's width, in grid units
};

// Straight (not premultiplied) alpha, 0xAARRGGBB, rows from the top.
struct GlyphBitmap {
    int size = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(size) + x]; }
};

// The shapes drawn in order, each over the ones before, at size × size
// pixels. Edges are one pixel wide per 32 pixels of size, at least one.
GlyphBitmap RasteriseGlyph(const std::vector<GlyphShape>& shapes, int size);

}  // namespace quibex
