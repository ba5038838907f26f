#include "BezierFit.h"
#include "DigitLayout.h"
#include "SegmentTables.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace sentinax {
namespace {

// --- An independent reference of the fit, written from the description: the
// curve in Bernstein form over u = (t + 1) / 2, parameters by index.
struct Ref {
    static RealPoint Bez(RealPoint p0, RealPoint c1, RealPoint c2, RealPoint p3, double t) {
        const double u = (t + 1) / 2, v = 1 - u;
        const double b0 = v * v * v, b1 = 3 * u * v * v, b2 = 3 * u * u * v, b3 = u * u * u;
        return {b0 * p0.x + b1 * c1.x + b2 * c2.x + b3 * p3.x,
                b0 * p0.y + b1 * c1.y + b2 * c2.y + b3 * p3.y};
    }
    // d/dt = (d/du) / 2
    static RealPoint Deriv(RealPoint p0, RealPoint c1, RealPoint c2, RealPoint p3, double t) {
        const double u = (t + 1) / 2, v = 1 - u;
        const double d0 = 3 * v * v, d1 = 6 * u * v, d2 = 3 * u * u;
        return {(d0 * (c1.x - p0.x) + d1 * (c2.x - c1.x) + d2 * (p3.x - c2.x)) / 2,
                (d0 * (c1.y - p0.y) + d1 * (c2.y - c1.y) + d2 * (p3.y - c2.y)) / 2};
    }
    static double Dist(const std::vector<RealPoint>& l, RealPoint c1, RealPoint c2, RealPoint s) {
        const RealPoint p0 = l.front(), p3 = l.back();
        const int m = static_cast<int>(l.size());
        const double h = 1.0 / m;
        auto probe = [&](double t, double& d, double& g) {
            const RealPoint b = Bez(p0, c1, c2, p3, t), db = Deriv(p0, c1, c2, p3, t);
            d = (b.x - s.x) * (b.x - s.x) + (b.y - s.y) * (b.y - s.y);
            g = (b.x - s.x) * db.x + (b.y - s.y) * db.y;
        };
        double bestT = -1, bestD = INFINITY, bestG = 0, t = -1;
        while (t <= 1.01) {
            double d, g;
            probe(t, d, g);
            if (d < bestD)
                bestT = t, bestD = d, bestG = g;
            if (d == 0)
                return 0;
            t += h;
        }
        double t0 = bestT, g0 = bestG;
        double t1 = bestT + h > 1 ? 1 - h : bestT + h;
        double d1 = bestD;
        for (int k = 0; k < 100; ++k) {
            double g1;
            probe(t1, d1, g1);
            if (d1 == 0 || g1 == 0)
                break;
            double t2 = g1 == g0 ? (t0 + t1) / 2 : t1 - g1 * (t1 - t0) / (g1 - g0);
            t2 = t2 < -1 ? -1 : t2 > 1 ? 1 : t2;
            if (std::fabs(t2 - t1) < 0.001)
                break;
            t0 = t1, g0 = g1, t1 = t2;
        }
        return d1;
    }
    static double Err(const std::vector<RealPoint>& l, RealPoint c1, RealPoint c2) {
        double e = 0;
        for (size_t i = 1; i + 1 < l.size(); ++i)
            e += Dist(l, c1, c2, l[i]);
        return e;
    }
    static void Fit(const std::vector<RealPoint>& l, RealPoint& c1, RealPoint& c2) {
        const size_t n = l.size();
        c1 = {2 * l[1].x - l[0].x, 2 * l[1].y - l[0].y};
        c2 = {2 * l[n - 2].x - l[n - 1].x, 2 * l[n - 2].y - l[n - 1].y};
        double best = Err(l, c1, c2);
        double* coord[4] = {&c1.x, &c1.y, &c2.x, &c2.y};
        const double anchor[4] = {l[0].x, l[0].y, l[n - 1].x, l[n - 1].y};
        for (int pass = 0; pass < 2; ++pass) {
            for (int k = 0; k < 4; ++k) {
                for (double s = 0.5; std::fabs(s) >= 0.01;) {
                    const double old = *coord[k];
                    *coord[k] = old + (old - anchor[k]) * s;
                    const double e = Err(l, c1, c2);
                    if (e == best)
                        break;
                    if (e < best)
                        best = e;
                    else
                        *coord[k] = old, s = -s / 3;
                }
            }
        }
    }
};

TEST(BezierFit, PowerFormMatchesBernsteinCurve) {
    const RealPoint p0{1, 2}, c1{7, -3}, c2{-4, 9}, p3{5, 5};
    const BezierFit::Curve curve(p0, c1, c2, p3);
    for (double t = -1; t <= 1; t += 0.125) {
        const RealPoint a = curve.At(t), b = Ref::Bez(p0, c1, c2, p3, t);
        EXPECT_NEAR(a.x, b.x, 1e-12) << t;
        EXPECT_NEAR(a.y, b.y, 1e-12) << t;
        const RealPoint da = curve.Tangent(t), db = Ref::Deriv(p0, c1, c2, p3, t);
        EXPECT_NEAR(da.x, db.x, 1e-12) << t;
        EXPECT_NEAR(da.y, db.y, 1e-12) << t;
    }
}

TEST(BezierFit, CoarseSearchStepsByOneOverMAndStopsPastOne) {
    const BezierFit::Curve line({0, 0}, {1, 0}, {2, 0}, {3, 0});
    for (int m = 3; m <= 18; ++m) {
        const auto r = BezierFit::CoarseSearch(line, {1.5, 2}, m);
        // t = -1, -1 + 1/m, ..., 1: 2m + 1 steps, the next one is beyond 1.01.
        EXPECT_EQ(r.evaluations, 2 * m + 1) << m;
        EXPECT_NEAR(r.lastT, 1.0, 1e-9) << m;
        EXPECT_NEAR(r.bestT, 0.0, 1e-9) << m; // (1.5, 0) is the curve's middle
        EXPECT_NEAR(r.bestDistance, 4.0, 1e-9) << m;
    }
    // A sample on the curve at a grid value of t ends the search there.
    const auto atStart = BezierFit::CoarseSearch(line, {0, 0}, 4);
    EXPECT_EQ(atStart.evaluations, 1);
    EXPECT_EQ(atStart.bestDistance, 0);
    const auto atSecond = BezierFit::CoarseSearch(line, line.At(-1 + 0.25), 4);
    EXPECT_EQ(atSecond.evaluations, 2);
    EXPECT_EQ(atSecond.bestT, -0.75);
    // Ties keep the first t.
    const BezierFit::Curve flat({0, 0}, {0, 0}, {0, 0}, {0, 0});
    const auto tie = BezierFit::CoarseSearch(flat, {0, 1}, 3);
    EXPECT_EQ(tie.bestT, -1);
    EXPECT_EQ(tie.evaluations, 7);
}

TEST(BezierFit, RefinementFindsTheNearestPointBetweenGridValues) {
    // Straight line along x from 0 to 3 at even speed: x(t) = 1.5 + 1.5 t.
    const BezierFit::Curve line({0, 0}, {1, 0}, {2, 0}, {3, 0});
    // Nearest point x = 1.7 lies between coarse steps; distance is the height.
    EXPECT_NEAR(BezierFit::SquaredDistance(line, {1.7, 0.5}, 3), 0.25, 1e-9);
    EXPECT_EQ(BezierFit::SquaredDistance(line, {3, 0}, 3), 0); // the end point itself
}

// The control points of the curved edges of smooth segments in a fixed box,
// as the layout rounds them, against the reference fit.
TEST(BezierFit, CurvedEdgesMatchTheReferenceFit) {
    const CharBox box{3.25, 1.5, 3.25 + 49 * 0.61, 1.5 + 83 * 0.61};
    const double xs = (box.right - box.left) / 49, ys = (box.bottom - box.top) / 83;
    struct Case {
        DigitCharKind kind;
        int segment;
        int curves;
    } cases[] = {
        {DigitCharKind::SevenSegment, 0, 1},    {DigitCharKind::SevenSegment, 2, 2},
        {DigitCharKind::SevenSegment, 5, 2},    {DigitCharKind::FourteenSegment, 0, 2},
        {DigitCharKind::FourteenSegment, 4, 2}, {DigitCharKind::FourteenSegment, 13, 3},
    };
    for (const Case& c : cases) {
        const CellOutline& outline = SegmentOutlines(c.kind, true)[c.segment];
        const auto path = DigitLayout::OutlinePath(outline, box, 49);
        std::vector<PathElement> cubics;
        for (const PathElement& e : path) {
            if (e.op == PathElement::Op::CubicTo)
                cubics.push_back(e);
        }
        ASSERT_EQ(static_cast<int>(cubics.size()), c.curves);
        // Walk the outline's sample runs and fit each with the reference.
        size_t curve = 0;
        for (size_t i = 1; i < outline.size(); ++i) {
            if (outline[i].kind != PointKind::Sample || outline[i - 1].kind == PointKind::Sample)
                continue;
            std::vector<RealPoint> list;
            size_t k = i - 1;
            do {
                list.push_back({box.left + outline[k].x * xs, box.top + outline[k].y * ys});
            } while (outline[k++].kind == PointKind::Sample || k == i);
            RealPoint c1, c2;
            Ref::Fit(list, c1, c2);
            const BezierFit::Controls fit = BezierFit::Fit(list);
            SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(c.kind) << " segment "
                                            << c.segment << " curve " << curve);
            EXPECT_NEAR(fit.c1.x, c1.x, 1e-6);
            EXPECT_NEAR(fit.c1.y, c1.y, 1e-6);
            EXPECT_NEAR(fit.c2.x, c2.x, 1e-6);
            EXPECT_NEAR(fit.c2.y, c2.y, 1e-6);
            EXPECT_EQ(cubics[curve].c1, (DevicePoint{int(c1.x + 0.5), int(c1.y + 0.5)}));
            EXPECT_EQ(cubics[curve].c2, (DevicePoint{int(c2.x + 0.5), int(c2.y + 0.5)}));
            const RealPoint end = list.back();
            EXPECT_EQ(cubics[curve].to, (DevicePoint{int(end.x + 0.5), int(end.y + 0.5)}));
            // The search only ever keeps improvements over the start values.
            EXPECT_LE(BezierFit::Error(list, fit.c1, fit.c2),
                      BezierFit::Error(list, {2 * list[1].x - list[0].x, 2 * list[1].y - list[0].y},
                                       {2 * list[list.size() - 2].x - list.back().x,
                                        2 * list[list.size() - 2].y - list.back().y}));
            ++curve;
        }
        EXPECT_EQ(static_cast<int>(curve), c.curves);
    }
}

TEST(BezierFit, DegenerateListsEndWithoutNumbersRunningAway) {
    // All points equal (a control of zero size): nothing can move.
    const std::vector<RealPoint> same(4, RealPoint{2, 2});
    const auto fit = BezierFit::Fit(same);
    EXPECT_EQ(fit.c1.x, 2);
    EXPECT_EQ(fit.c2.y, 2);
    // Not-a-number input ends, every move counting as worse: the finite start
    // coordinates come back unchanged.
    const std::vector<RealPoint> bad{{0, 0}, {NAN, 1}, {2, 2}};
    const auto kept = BezierFit::Fit(bad);
    EXPECT_EQ(kept.c1.y, 2);
    EXPECT_EQ(kept.c2.y, 0);
    // Fewer than three points: the straight line.
    const auto two = BezierFit::Fit({{0, 0}, {4, 1}});
    EXPECT_EQ(two.c2.x, 4);
}

} // namespace
} // namespace sentinax
