// The logo mask: "Brindlewick" in a stroke font of our own, drawn as distances to its strokes.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "drawing.h"
#include "masks.h"

namespace {

struct Point {
    double x, y;
};
using Stroke = std::vector<Point>;
struct Glyph {
    double width;
    std::vector<Stroke> strokes;
};

// Points along an elliptical arc, angles in degrees, counter-clockwise from `from` to `to`.
Stroke arc(double cx, double cy, double rx, double ry, double from, double to)
{
    Stroke points;
    const int steps = 32;
    for (int i = 0; i <= steps; ++i) {
        const double a = (from + (to - from) * i / steps) * kPi / 180.0;
        points.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
    }
    return points;
}

// Joins strokes end to end into one.
Stroke join(std::initializer_list<Stroke> parts)
{
    Stroke joined;
    for (const Stroke &p : parts)
        joined.insert(joined.end(), p.begin(), p.end());
    return joined;
}

// Glyphs on a grid with the baseline at y 0, x-height 6.5 and cap height 10.
Glyph glyph(char c)
{
    switch (c) {
    case 'B':
        return {6.2, {{{0, 0}, {0, 10}},
                      join({{{0, 10}}, arc(3.2, 7.6, 2.4, 2.4, 90, -90), {{0, 5.2}}}),
                      join({{{0, 5.2}}, arc(3.6, 2.6, 2.6, 2.6, 90, -90), {{0, 0}}})}};
    case 'r': return {3.4, {{{0, 0}, {0, 6.5}}, arc(3.2, 3.3, 3.2, 3.2, 180, 75)}};
    case 'i': return {0, {{{0, 0}, {0, 6.5}}, {{0, 8.6}, {0, 8.9}}}};
    case 'n':
        return {5, {{{0, 0}, {0, 6.5}}, join({arc(2.5, 4, 2.5, 2.5, 180, 0), {{5, 0}}})}};
    case 'd': return {5.2, {arc(2.6, 3.25, 2.6, 3.25, 0, 360), {{5.2, 0}, {5.2, 10}}}};
    case 'l': return {0, {{{0, 0}, {0, 10}}}};
    case 'e': return {5.2, {join({{{0, 3.25}, {5.2, 3.25}}, arc(2.6, 3.25, 2.6, 3.25, 0, 315)})}};
    case 'w': return {6.8, {{{0, 6.5}, {1.6, 0}, {3.4, 5}, {5.2, 0}, {6.8, 6.5}}}};
    case 'c': return {5.0, {arc(2.6, 3.25, 2.6, 3.25, 45, 315)}};
    case 'k': return {4.6, {{{0, 0}, {0, 10}}, {{4.4, 6.5}, {0, 2.6}}, {{1.5, 3.9}, {4.6, 0}}}};
    default: return {3, {}};
    }
}

// Distance from p to the segment a-b.
double segmentDistance(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

// Lays the glyphs out centred on a 512 x 32 strip and shades each pixel by its distance to
// the nearest stroke.
Grey drawLogo()
{
    const int width = 512, height = 32;
    const char text[] = "Brindlewick";
    const double scale = 2.3, tracking = 5.5, halfStroke = 0.6;  // pixels per unit, units
    std::vector<Stroke> strokes;
    double pen = 0;
    for (const char *c = text; *c; ++c) {
        const Glyph g = glyph(*c);
        for (Stroke s : g.strokes) {
            for (Point &p : s)
                p.x += pen;
            strokes.push_back(s);
        }
        pen += g.width + tracking;
    }
    pen -= tracking;
    const double left = (width - pen * scale) / 2, baseline = (height + 10 * scale) / 2;
    Grey logo{width, height, std::vector<double>(size_t(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Point p = {(x + 0.5 - left) / scale, (baseline - (y + 0.5)) / scale};
            double nearest = 1e9;
            for (const Stroke &s : strokes)
                for (size_t i = 0; i + 1 < s.size(); ++i)
                    nearest = std::min(nearest, segmentDistance(p, s[i], s[i + 1]));
            // One pixel of soft edge around a stroke of 2 x halfStroke units.
            logo.at(x, y) = std::clamp((halfStroke - nearest) * scale + 0.5, 0.0, 1.0);
        }
    return logo;
}

