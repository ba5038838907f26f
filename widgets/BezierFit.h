// The curve fit of the smooth segment style: one cubic Bézier from the first
// to the last point of a fit list, with control points chosen so that the
// curve passes near the sample points in between. Coordinates are device
// pixels as real numbers. Deterministic: the same list always gives the same
// control points, so fitting once per layout equals fitting at every paint.
#pragma once

#include <vector>

namespace sentinax {

struct RealPoint {
    double x = 0;
    double y = 0;
};

class BezierFit {
public:
    // A cubic from p0 to p3 with controls c1, c2, parameterised over t in -1..1:
    // value(t) = a0 + a1 t + a2 t^2 + a3 t^3 per coordinate.
    struct Curve {
        Curve(RealPoint p0, RealPoint c1, RealPoint c2, RealPoint p3);
        RealPoint At(double t) const;
        RealPoint Tangent(double t) const; // d value / d t
        RealPoint a0, a1, a2, a3;
    };

    struct Controls {
        RealPoint c1;
        RealPoint c2;
    };

    // Result of the coarse search for the point of a curve nearest a sample.
    struct CoarseResult {
        double bestT = -1;
        double bestDistance = 0; // squared distance at bestT
        double bestSlope = 0;    // (curve - sample) . tangent at bestT
        int evaluations = 0;
        double lastT = -1; // the last t evaluated
    };

    // Steps t = -1, -1 + h, ... while t <= 1.01 with h = 2 / (2 m), keeping the
    // first smallest squared distance; stops at an exact zero.
    static CoarseResult CoarseSearch(const Curve& curve, RealPoint sample, int m);

    // Squared distance from the sample to the curve: the coarse search, then a
    // secant refinement on the slope. m is the length of the fit list.
    static double SquaredDistance(const Curve& curve, RealPoint sample, int m);

    // Sum of the squared distances of the inner points of the fit list.
    static double Error(const std::vector<RealPoint>& fitList, RealPoint c1, RealPoint c2);

    // The control points for a fit list of at least three points (first, the
    // samples, last). Shorter lists get the straight-line controls (the end
    // points themselves).
    static Controls Fit(const std::vector<RealPoint>& fitList);

    // Upper bound on the secant steps of one refinement. The refinement always
    // settles within a handful of steps on real outlines; the bound only keeps a
    // degenerate curve (NaN, an endless oscillation) from hanging the display.
    static constexpr int kMaxRefineSteps = 100;
};

} // namespace sentinax
