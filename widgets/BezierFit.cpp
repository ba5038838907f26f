#include "BezierFit.h"

#include <cmath>

namespace sentinax {

namespace {

struct Probe {
    double distance; // squared
    double slope;    // half the derivative of the squared distance in t
};

Probe Evaluate(const BezierFit::Curve& curve, RealPoint sample, double t) {
    const RealPoint p = curve.At(t);
    const RealPoint d{p.x - sample.x, p.y - sample.y};
    const RealPoint tangent = curve.Tangent(t);
    return {d.x * d.x + d.y * d.y, d.x * tangent.x + d.y * tangent.y};
}

} // namespace

BezierFit::Curve::Curve(RealPoint p0, RealPoint c1, RealPoint c2, RealPoint p3) {
    auto coefficients = [](double p0, double c1, double c2, double p3, double* a) {
        a[3] = (p3 - p0 + 3 * (c1 - c2)) / 8;
        a[2] = 3 * (p0 + p3 - c1 - c2) / 8;
        a[1] = (p3 - p0) / 2 - a[3];
        a[0] = (p0 + p3) / 2 - a[2];
    };
    double x[4];
    double y[4];
    coefficients(p0.x, c1.x, c2.x, p3.x, x);
    coefficients(p0.y, c1.y, c2.y, p3.y, y);
    a0 = {x[0], y[0]};
    a1 = {x[1], y[1]};
    a2 = {x[2], y[2]};
    a3 = {x[3], y[3]};
}

RealPoint BezierFit::Curve::At(double t) const {
    return {a0.x + t * (a1.x + t * (a2.x + t * a3.x)), a0.y + t * (a1.y + t * (a2.y + t * a3.y))};
}

RealPoint BezierFit::Curve::Tangent(double t) const {
    return {a1.x + t * (2 * a2.x + t * 3 * a3.x), a1.y + t * (2 * a2.y + t * 3 * a3.y)};
}

BezierFit::CoarseResult BezierFit::CoarseSearch(const Curve& curve, RealPoint sample, int m) {
    const double h = 2.0 / (2.0 * m);
    CoarseResult result;
    for (double t = -1; t <= 1.01; t += h) {
        const Probe probe = Evaluate(curve, sample, t);
        ++result.evaluations;
        result.lastT = t;
        if (result.evaluations == 1 || probe.distance < result.bestDistance) {
            result.bestT = t;
            result.bestDistance = probe.distance;
            result.bestSlope = probe.slope;
        }
        if (probe.distance == 0)
            break;
    }
    return result;
}

double BezierFit::SquaredDistance(const Curve& curve, RealPoint sample, int m) {
    const CoarseResult coarse = CoarseSearch(curve, sample, m);
    if (coarse.bestDistance == 0)
        return 0;
    const double h = 2.0 / (2.0 * m);
    double refT = coarse.bestT;
    double refSlope = coarse.bestSlope;
    double t = coarse.bestT + h;
    if (t > 1)
        t = 1 - h;
    double distance = coarse.bestDistance;
    for (int step = 0; step < kMaxRefineSteps; ++step) {
        const Probe probe = Evaluate(curve, sample, t);
        distance = probe.distance;
        if (probe.distance == 0 || probe.slope == 0)
            break;
        double next = probe.slope == refSlope
                          ? (refT + t) / 2
                          : t - probe.slope * (t - refT) / (probe.slope - refSlope);
        next = std::fmin(1.0, std::fmax(-1.0, next));
        if (std::fabs(next - t) < 0.001)
            break;
        refT = t;
        refSlope = probe.slope;
        t = next;
    }
    return distance;
}

double BezierFit::Error(const std::vector<RealPoint>& fitList, RealPoint c1, RealPoint c2) {
    const int m = static_cast<int>(fitList.size());
    const Curve curve(fitList.front(), c1, c2, fitList.back());
    double sum = 0;
    for (int i = 1; i + 1 < m; ++i)
        sum += SquaredDistance(curve, fitList[i], m);
    return sum;
}

BezierFit::Controls BezierFit::Fit(const std::vector<RealPoint>& fitList) {
    if (fitList.size() < 3) {
        if (fitList.empty())
            return {};
        return {fitList.front(), fitList.back()};
    }
    const RealPoint p0 = fitList.front();
    const RealPoint p3 = fitList.back();
    const RealPoint s1 = fitList[1];
    const RealPoint sn = fitList[fitList.size() - 2];
    // Start from the end points reflected through the nearest samples.
    Controls controls{{2 * s1.x - p0.x, 2 * s1.y - p0.y}, {2 * sn.x - p3.x, 2 * sn.y - p3.y}};
    double best = Error(fitList, controls.c1, controls.c2);

    struct Coordinate {
        double* value;
        double anchor;
    };
    const Coordinate coordinates[] = {{&controls.c1.x, p0.x},
                                      {&controls.c1.y, p0.y},
                                      {&controls.c2.x, p3.x},
                                      {&controls.c2.y, p3.y}};
    for (int pass = 0; pass < 2; ++pass) {
        for (const Coordinate& c : coordinates) {
            double step = 0.5;
            while (std::fabs(step) >= 0.01) {
                const double previous = *c.value;
                *c.value += (*c.value - c.anchor) * step;
                const double error = Error(fitList, controls.c1, controls.c2);
                if (error == best)
                    break;
                if (error < best) {
                    best = error;
                } else {
                    // Larger, or not a number: undo and search back in finer steps.
                    *c.value = previous;
                    step = -step / 3;
                }
            }
        }
    }
    return controls;
}

} // namespace sentinax
