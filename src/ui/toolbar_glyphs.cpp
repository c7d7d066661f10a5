// The drawings, on the 16 × 16 grid (x right, y down). Straight edges lie
// on whole units so that they stay sharp.
#include "ui/toolbar_glyphs.h"

#include <algorithm>

namespace quibex {
namespace {

using Kind = GlyphShape::Kind;

// Normal images are the pointed-at ones with their colours moved towards
// a light grey, so the pointer brings them to life.
uint32_t Soften(uint32_t rgb) {
    auto mix = [](uint32_t c, uint32_t grey) { return (c * 45 + grey * 55) / 100; };
    const uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    const uint32_t grey = std::min<uint32_t>(255, (r * 30 + g * 59 + b * 11) / 100 + 24);
    return mix(r, grey) << 16 | mix(g, grey) << 8 | mix(b, grey);
}

class Drawing {
public:
    explicit Drawing(bool pointedAt) : vivid_(pointedAt) {}

    void Polygon(std::vector<GlyphPoint> corners, uint32_t fill, uint32_t edge = kNoFill) {
        shapes_.push_back({Kind::Polygon, std::move(corners), Tone(fill), Tone(edge), 0});
    }
    void Rect(float x0, float y0, float x1, float y1, uint32_t fill, uint32_t edge = kNoFill) {
        Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, fill, edge);
    }
    void Ellipse(float cx, float cy, float rx, float ry, uint32_t fill, uint32_t edge = kNoFill) {
        shapes_.push_back({Kind::Ellipse, {{cx, cy}, {rx, ry}}, Tone(fill), Tone(edge), 0});
    }
    void Line(float x0, float y0, float x1, float y1, float width, uint32_t colour) {
        shapes_.push_back({Kind::Line, {{x0, y0}, {x1, y1}}, Tone(colour), kNoFill, width});
    }
    std::vector<GlyphShape> Take() { return std::move(shapes_); }

private:
    uint32_t Tone(uint32_t rgb) const { return rgb == kNoFill || vivid_ ? rgb : Soften(rgb); }
    bool vivid_;
    std::vector<GlyphShape> shapes_;
};

constexpr uint32_t kPaper = 0xFFFFFF, kPaperEdge = 0x5A6470, kInk = 0x2F66B3;

// A thick arrow; `right` mirrors it.
void Arrow(Drawing& d, bool right) {
    std::vector<GlyphPoint> corners = {{1, 8}, {8, 1}, {8, 5}, {15, 5}, {15, 11}, {8, 11}, {8, 15}};
    if (right)
        for (GlyphPoint& p : corners) p.x = kGlyphGrid - p.x;
    d.Polygon(corners, 0x3AA545, 0x1C6424);
}

// A page with a folded corner and lines of text.
void Page(Drawing& d) {
    d.Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, kPaper, kPaperEdge);
    d.Polygon({{10, 1}, {10, 4}, {13, 4}}, 0xD5DCE4, kPaperEdge);
    d.Rect(5, 6, 11, 7, kInk);
    d.Rect(5, 8, 11, 9, kInk);
    d.Rect(5, 10, 11, 11, kInk);
    d.Rect(5, 12, 9, 13, kInk);
}

// A printer: a sheet going in at the top, the body, a printed sheet below.
void Printer(Drawing& d) {
    d.Rect(4, 1, 12, 7, kPaper, kPaperEdge);
    d.Rect(1, 6, 15, 12, 0x8D98A3, 0x434B53);
    d.Rect(3, 9, 13, 10, 0x434B53);
    d.Ellipse(12.5f, 7.5f, 1, 1, 0x35C247);
    d.Rect(4, 10, 12, 15, kPaper, kPaperEdge);
    d.Rect(6, 12, 10, 13, kInk);
}

// A parcel: the archive, taped shut.
void Parcel(Drawing& d) {
    constexpr uint32_t kEdge = 0x6B4518, kTape = 0xF2DDAF;
    const std::vector<GlyphPoint> front = {{1, 6}, {11, 6}, {11, 15}, {1, 15}};
    const std::vector<GlyphPoint> top = {{1, 6}, {5, 2}, {15, 2}, {11, 6}};
    const std::vector<GlyphPoint> side = {{11, 6}, {15, 2}, {15, 11}, {11, 15}};
    d.Polygon(front, 0xCB8B3C);
    d.Polygon(top, 0xE5B064);
    d.Polygon(side, 0xA56823);
    d.Rect(5, 6, 7, 15, kTape);
    d.Polygon({{5, 6}, {9, 2}, {11, 2}, {7, 6}}, kTape);
    // The edges last, over the tape.
    d.Polygon(front, kNoFill, kEdge);
    d.Polygon(top, kNoFill, kEdge);
    d.Polygon(side, kNoFill, kEdge);
}

// A red disc with a white cross: end.
void Exit(Drawing& d) {
    d.Ellipse(8, 8, 7, 7, 0xDB3A2E, 0x8E1B14);
    d.Line(5, 5, 11, 11, 2, 0xFFFFFF);
    d.Line(11, 5, 5, 11, 2, 0xFFFFFF);
}

// A magnifying glass.
void Magnifier(Drawing& d) {
    d.Line(10.5f, 10.5f, 14.5f, 14.5f, 3, 0x6A4320);
    d.Ellipse(6.5f, 6.5f, 5.5f, 5.5f, 0x55606B);
    d.Ellipse(6.5f, 6.5f, 4, 4, 0xCDE6FF);
    d.Ellipse(5, 5, 1.25f, 1.25f, 0xFFFFFF);
}

}  // namespace

std::vector<GlyphShape> ToolbarGlyphShapes(ToolbarGlyph glyph, bool pointedAt) {
    Drawing d(pointedAt);
    switch (glyph) {
    case ToolbarGlyph::Left: Arrow(d, false); break;
    case ToolbarGlyph::Right: Arrow(d, true); break;
    case ToolbarGlyph::Text: Page(d); break;
    case ToolbarGlyph::Print: Printer(d); break;
    case ToolbarGlyph::Open: Parcel(d); break;
    case ToolbarGlyph::Exit: Exit(d); break;
    case ToolbarGlyph::Search: Magnifier(d); break;
    }
    return d.Take();
}

GlyphBitmap DrawToolbarGlyph(ToolbarGlyph glyph, bool pointedAt, int size) {
    return RasteriseGlyph(ToolbarGlyphShapes(glyph, pointedAt), size);
}

int ToolbarImageSize(int dpi) { return std::max(16, (32 * std::max(dpi, 48) + 48) / 96); }

}  // namespace quibex
