#include "resources/artwork/eye_motif.h"

#include <algorithm>
#include <cmath>

namespace taliven::artwork {
namespace {

Point cubic(Point a, Point b, Point c, Point d, double t) {
    const double u = 1.0 - t;
    const double wa = u * u * u;
    const double wb = 3.0 * u * u * t;
    const double wc = 3.0 * u * t * t;
    const double wd = t * t * t;
    return {wa * a.x + wb * b.x + wc * c.x + wd * d.x, wa * a.y + wb * b.y + wc * c.y + wd * d.y};
}

// A cubic Bezier curve as a polyline of `segments` pieces.
std::vector<Point> curve(Point a, Point b, Point c, Point d, int segments = 48) {
    std::vector<Point> points;
    for (int k = 0; k <= segments; ++k) {
        points.push_back(cubic(a, b, c, d, static_cast<double>(k) / segments));
    }
    return points;
}

void append(std::vector<Point>& to, const std::vector<Point>& more) {
    to.insert(to.end(), more.begin() + (to.empty() ? 0 : 1), more.end());
}

// The lids, shared by the linework and the inside test.
constexpr Point innerCorner{11.0, 29.0};
constexpr Point outerCorner{46.0, 27.0};
std::vector<Point> upperLid() {
    return curve(innerCorner, {19.0, 15.5}, {36.0, 14.5}, outerCorner);
}
std::vector<Point> lowerLid() {
    return curve(innerCorner, {20.0, 39.0}, {37.0, 37.5}, outerCorner);
}

double lidY(const std::vector<Point>& lid, double x) {
    for (std::size_t k = 1; k < lid.size(); ++k) {
        if ((lid[k - 1].x <= x && x <= lid[k].x) || (lid[k].x <= x && x <= lid[k - 1].x)) {
            const double span = lid[k].x - lid[k - 1].x;
            const double t = span == 0.0 ? 0.0 : (x - lid[k - 1].x) / span;
            return lid[k - 1].y + t * (lid[k].y - lid[k - 1].y);
        }
    }
    return lid.back().y;
}

} // namespace

Motif eyeOfHorus() {
    Motif motif;
    // The brow: a heavy band over the eye, thinning towards the temple.
    motif.lines.push_back({curve({9.0, 15.5}, {18.0, 7.0}, {40.0, 6.5}, {58.0, 12.5}), 5.0, 2.2});
    motif.lines.push_back({upperLid(), 2.6, 2.6});
    motif.lines.push_back({lowerLid(), 2.2, 2.2});
    // The cosmetic line running back from the outer corner.
    motif.lines.push_back({curve(outerCorner, {50.0, 26.8}, {54.0, 26.8}, {59.0, 27.5}), 2.6, 3.4});
    // The falcon's teardrop marking, straight down from under the eye.
    motif.lines.push_back(
        {curve({23.5, 36.5}, {23.0, 42.0}, {22.0, 47.0}, {21.0, 54.0}), 3.0, 4.2});
    // The spiral curl: down and back, winding inwards.
    std::vector<Point> spiral = curve({33.0, 36.5}, {38.0, 50.0}, {50.0, 57.0}, {54.0, 48.0});
    append(spiral, curve({54.0, 48.0}, {56.0, 42.0}, {48.0, 40.5}, {46.5, 45.5}, 32));
    append(spiral, curve({46.5, 45.5}, {45.5, 49.0}, {50.5, 49.5}, {50.5, 46.5}, 24));
    motif.lines.push_back({spiral, 2.8, 1.6});

    motif.irisCentre = {27.0, 26.5};
    motif.irisRadius = 7.0;
    motif.pupilRadius = 3.0;
    motif.highlight = {25.6, 25.0};
    motif.highlightRadius = 1.3;
    motif.secondHighlight = {30.2, 30.6};
    return motif;
}

double strokeProfile(const Stroke& stroke, Point at) {
    // Distance to the nearest point of the polyline, and how far along the
    // stroke that point is (0..1), which sets the width there.
    double length = 0.0;
    std::vector<double> running{0.0};
    for (std::size_t k = 1; k < stroke.points.size(); ++k) {
        const double dx = stroke.points[k].x - stroke.points[k - 1].x;
        const double dy = stroke.points[k].y - stroke.points[k - 1].y;
        length += std::sqrt(dx * dx + dy * dy);
        running.push_back(length);
    }
    double best = 1e300;
    double bestAlong = 0.0;
    for (std::size_t k = 1; k < stroke.points.size(); ++k) {
        const Point a = stroke.points[k - 1];
        const Point b = stroke.points[k];
        const double vx = b.x - a.x;
        const double vy = b.y - a.y;
        const double squared = vx * vx + vy * vy;
        double t = squared == 0.0 ? 0.0 : ((at.x - a.x) * vx + (at.y - a.y) * vy) / squared;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = at.x - (a.x + t * vx);
        const double dy = at.y - (a.y + t * vy);
        const double distance = std::sqrt(dx * dx + dy * dy);
        if (distance < best) {
            best = distance;
            bestAlong = (running[k - 1] + t * (running[k] - running[k - 1])) / length;
        }
    }
    const double halfWidth =
        0.5 * (stroke.startWidth + bestAlong * (stroke.endWidth - stroke.startWidth));
    const double r = best / halfWidth;
    return r >= 1.0 ? 0.0 : std::sqrt(1.0 - r * r);
}

bool insideEye(Point at) {
    if (at.x <= innerCorner.x || at.x >= outerCorner.x) {
        return false;
    }
    return at.y > lidY(upperLid(), at.x) && at.y < lidY(lowerLid(), at.x);
}

} // namespace taliven::artwork
