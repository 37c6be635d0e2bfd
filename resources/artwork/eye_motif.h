#pragma once

// The eye emblem as geometry, after the ancient Egyptian Eye of Horus: brow,
// almond eye with its long cosmetic line, iris and pupil, the falcon's
// teardrop marking and the spiral curl. Coordinates are in the 64 x 64
// emblem's pixels (y down); the icon uses them at half scale.
//
// Only + - * / and sqrt are used, so every machine with IEEE doubles draws
// the same pixels.

#include <vector>

namespace taliven::artwork {

struct Point {
    double x;
    double y;
};

// A brush stroke: a polyline with a width that runs from start to end.
struct Stroke {
    std::vector<Point> points;
    double startWidth;
    double endWidth;
};

struct Motif {
    std::vector<Stroke> lines; // the grey linework
    Point irisCentre{};
    double irisRadius = 0;
    double pupilRadius = 0;
    Point highlight{}; // the main catch-light inside the pupil
    double highlightRadius = 0;
    Point secondHighlight{}; // a smaller one on the lower rim of the iris
};

[[nodiscard]] Motif eyeOfHorus();

// What a stroke covers at one point: 0 outside, 1 on its spine, falling
// smoothly to its edges (a rounded, brush-like profile).
[[nodiscard]] double strokeProfile(const Stroke& stroke, Point at);

// Whether a point lies inside the almond of the eye (between the lids).
[[nodiscard]] bool insideEye(Point at);

} // namespace taliven::artwork
