// The toolbar's built-in images: drawn inside their square at every DPI
// size, straight edges sharp at 100, 150 and 200 %, the pointed-at state
// unlike the normal one, each key unlike the others.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/toolbar_glyphs.h"

using namespace quibex;

namespace {

constexpr ToolbarGlyph kAll[] = {ToolbarGlyph::Left, ToolbarGlyph::Right, ToolbarGlyph::Text,  ToolbarGlyph::Print,
                                 ToolbarGlyph::Open, ToolbarGlyph::Exit,  ToolbarGlyph::Search};

uint32_t Alpha(uint32_t argb) { return argb >> 24; }

// How far a colour is from grey.
int Saturation(uint32_t argb) {
    int r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF;
    return std::max({r, g, b}) - std::min({r, g, b});
}

TEST(ToolbarGlyphs, EveryImageFillsItsSquareAtEverySize) {
    for (int size : {16, 32, 40, 48, 64}) {
        for (ToolbarGlyph g : kAll) {
            for (bool pointed : {false, true}) {
                GlyphBitmap image = DrawToolbarGlyph(g, pointed, size);
                ASSERT_EQ(image.size, size);
                ASSERT_EQ(image.pixels.size(), static_cast<size_t>(size * size));
                EXPECT_EQ(Alpha(image.At(0, 0)), 0u) << "the corner stays clear";
                int opaque = 0;
                for (uint32_t p : image.pixels) opaque += Alpha(p) == 255;
                EXPECT_GT(opaque, size * size / 5) << "size " << size << " image " << static_cast<int>(g);
            }
        }
    }
}

// The page's left edge lies on grid unit 3: at 32, 48 and 64 pixels it is a
// sharp column of edge colour, one pixel wide per 32 pixels, with paper
// right of it and nothing left of it.
TEST(ToolbarGlyphs, StraightEdgesAreSharpAtWholeScales) {
    for (int size : {32, 48, 64}) {
        GlyphBitmap page = DrawToolbarGlyph(ToolbarGlyph::Text, true, size);
        const int edge = 3 * size / 16, width = std::max(1, size / 32), row = 9 * size / 16;
        EXPECT_EQ(Alpha(page.At(edge - 1, row)), 0u) << size;
        for (int x = edge; x < edge + width; ++x) EXPECT_EQ(page.At(x, row), 0xFF5A6470u) << size << " x " << x;
        EXPECT_EQ(page.At(edge + width, row), 0xFFFFFFFFu) << size;
        // Every pixel of the column is either clear or solid: no blur.
        int partial = 0;
        for (int y = 0; y < size; ++y)
            for (int x : {edge - 1, edge}) partial += Alpha(page.At(x, y)) != 0 && Alpha(page.At(x, y)) != 255;
        EXPECT_EQ(partial, 0) << size;
    }
}

TEST(ToolbarGlyphs, PointedAtImagesDifferAndShowFullColour) {
    for (ToolbarGlyph g : kAll) {
        GlyphBitmap normal = DrawToolbarGlyph(g, false, 32), pointed = DrawToolbarGlyph(g, true, 32);
        EXPECT_NE(normal.pixels, pointed.pixels) << static_cast<int>(g);
        long saturation[2] = {0, 0};
        for (size_t i = 0; i < normal.pixels.size(); ++i) {
            saturation[0] += Saturation(normal.pixels[i]);
            saturation[1] += Saturation(pointed.pixels[i]);
        }
        EXPECT_LT(saturation[0], saturation[1]) << "normal images are the softer ones: " << static_cast<int>(g);
    }
    for (size_t a = 0; a < std::size(kAll); ++a)
        for (size_t b = a + 1; b < std::size(kAll); ++b)
            EXPECT_NE(DrawToolbarGlyph(kAll[a], false, 32).pixels, DrawToolbarGlyph(kAll[b], false, 32).pixels);
}

TEST(ToolbarGlyphs, RightArrowMirrorsTheLeftOne) {
    GlyphBitmap left = DrawToolbarGlyph(ToolbarGlyph::Left, true, 48),
                right = DrawToolbarGlyph(ToolbarGlyph::Right, true, 48);
    // Alike up to one sample of sixteen where a slanted edge runs through sample points.
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            ASSERT_LE(std::abs(static_cast<int>(Alpha(left.At(x, y))) - static_cast<int>(Alpha(right.At(47 - x, y)))),
                      16)
                << x << "," << y;
}

TEST(ToolbarGlyphs, SizesFollowTheDpi) {
    EXPECT_EQ(ToolbarImageSize(96), 32);
    EXPECT_EQ(ToolbarImageSize(120), 40);
    EXPECT_EQ(ToolbarImageSize(144), 48);
    EXPECT_EQ(ToolbarImageSize(192), 64);
    EXPECT_EQ(ToolbarImageSize(0), 16) << "a DPI that cannot be read still gives an image";
    EXPECT_TRUE(RasteriseGlyph({}, 0).pixels.empty());
    EXPECT_EQ(RasteriseGlyph({GlyphShape{}}, 8).pixels, std::vector<uint32_t>(64, 0u))
        << "a shape without points draws nothing";
}

}  // namespace
