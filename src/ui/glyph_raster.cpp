#include "ui/glyph_raster.h"

#include <algorithm>
#include <cmath>

namespace quibex {
namespace {

constexpr int kSamples = 4;  // per pixel and axis
// Samples sit a little below the centres of their cells, so that none lies
// exactly on a 45° edge (there a point on the left and on the right edge
// of a shape would be judged differently, and a mirrored drawing would not
// come out mirrored). The shift keeps every sample inside its pixel.
constexpr float kSampleShift = 1.0f / 97;

struct Colour {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
};

float DistanceToSegment(GlyphPoint p, GlyphPoint a, GlyphPoint b) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float x = a.x + t * dx - p.x, y = a.y + t * dy - p.y;
    return std::sqrt(x * x + y * y);
}

bool InsidePolygon(const std::vector<GlyphPoint>& poly, GlyphPoint p) {
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const GlyphPoint a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

float EdgeDistance(const std::vector<GlyphPoint>& poly, GlyphPoint p) {
    float d = 1e9f;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        d = std::min(d, DistanceToSegment(p, poly[j], poly[i]));
    return d;
}

// Whether `p` lies in the ellipse with its radii shortened by `inset`.
bool InsideEllipse(GlyphPoint c, GlyphPoint r, float inset, GlyphPoint p) {
    const float rx = r.x - inset, ry = r.y - inset;
    if (rx <= 0 || ry <= 0) return false;
    const float x = (p.x - c.x) / rx, y = (p.y - c.y) / ry;
    return x * x + y * y <= 1;
}

bool InsideLine(const GlyphShape& s, GlyphPoint p) {
    const GlyphPoint a = s.points[0], b = s.points[1];
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return false;
    const float along = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length;
    const float across = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / length;
    return along >= 0 && along <= length && across <= s.width / 2;
}

// What a sample point is: 0 outside, 1 in the fill, 2 in the edge.
int Classify(const GlyphShape& s, GlyphPoint p, float edge) {
    switch (s.kind) {
    case GlyphShape::Kind::Polygon:
        if (!InsidePolygon(s.points, p)) return 0;
        return s.edge != kNoFill && EdgeDistance(s.points, p) <= edge ? 2 : 1;
    case GlyphShape::Kind::Ellipse:
        if (!InsideEllipse(s.points[0], s.points[1], 0, p)) return 0;
        return s.edge != kNoFill && !InsideEllipse(s.points[0], s.points[1], edge, p) ? 2 : 1;
    case GlyphShape::Kind::Line: return InsideLine(s, p) ? 1 : 0;
    }
    return 0;
}

// The part of the grid a shape can touch.
void Bounds(const GlyphShape& s, float& x0, float& y0, float& x1, float& y1) {
    if (s.kind == GlyphShape::Kind::Ellipse) {
        x0 = s.points[0].x - s.points[1].x, x1 = s.points[0].x + s.points[1].x;
        y0 = s.points[0].y - s.points[1].y, y1 = s.points[0].y + s.points[1].y;
        return;
    }
    x0 = y0 = 1e9f, x1 = y1 = -1e9f;
    for (GlyphPoint p : s.points)
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    const float pad = s.kind == GlyphShape::Kind::Line ? s.width : 0;
    x0 -= pad, y0 -= pad, x1 += pad, y1 += pad;
}

void Blend(Colour& dst, uint32_t rgb, float alpha) {
    if (alpha <= 0) return;
    const float r = static_cast<float>(rgb >> 16 & 0xFF) / 255, g = static_cast<float>(rgb >> 8 & 0xFF) / 255,
                b = static_cast<float>(rgb & 0xFF) / 255;
    dst.r = r * alpha + dst.r * (1 - alpha);
    dst.g = g * alpha + dst.g * (1 - alpha);
    dst.b = b * alpha + dst.b * (1 - alpha);
    dst.a = alpha + dst.a * (1 - alpha);
}

uint32_t Straight(const Colour& c) {
    if (c.a <= 0) return 0;
    auto channel = [&](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v / c.a, 0.0f, 1.0f) * 255)); };
    const uint32_t a = static_cast<uint32_t>(std::lround(std::clamp(c.a, 0.0f, 1.0f) * 255));
    return a << 24 | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

}  // namespace

GlyphBitmap RasteriseGlyph(const std::vector<GlyphShape>& shapes, int size) {
    GlyphBitmap out;
    if (size <= 0) return out;
    out.size = size;
    std::vector<Colour> canvas(static_cast<size_t>(size) * static_cast<size_t>(size));
    const float unit = static_cast<float>(size) / kGlyphGrid;  // pixels per grid unit
    const float edge = static_cast<float>(std::max(1, size / 32)) / unit;
    for (const GlyphShape& s : shapes) {
        if (s.points.size() < 2) continue;
        float x0, y0, x1, y1;
        Bounds(s, x0, y0, x1, y1);
        const int px0 = std::max(0, static_cast<int>(std::floor(x0 * unit)));
        const int py0 = std::max(0, static_cast<int>(std::floor(y0 * unit)));
        const int px1 = std::min(size, static_cast<int>(std::ceil(x1 * unit)));
        const int py1 = std::min(size, static_cast<int>(std::ceil(y1 * unit)));
        for (int py = py0; py < py1; ++py) {
            for (int px = px0; px < px1; ++px) {
                int fill = 0, rim = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const GlyphPoint p{(static_cast<float>(px) + (sx + 0.5f) / kSamples) / unit,
                                           (static_cast<float>(py) + (sy + 0.5f) / kSamples + kSampleShift) / unit};
                        switch (Classify(s, p, edge)) {
                        case 1: ++fill; break;
                        case 2: ++rim; break;
                        default: break;
                        }
                    }
                }
                Colour& c = canvas[static_cast<size_t>(py) * static_cast<size_t>(size) + static_cast<size_t>(px)];
                constexpr float kAll = kSamples * kSamples;
                // A shape without a fill keeps what lies under its inside.
                if (s.fill != kNoFill) Blend(c, s.fill, static_cast<float>(fill) / kAll);
                if (rim > 0) Blend(c, s.edge != kNoFill ? s.edge : s.fill, static_cast<float>(rim) / kAll);
            }
        }
    }
    out.pixels.reserve(canvas.size());
    for (const Colour& c : canvas) out.pixels.push_back(Straight(c));
    return out;
}

}  // namespace quibex
