#include "SegmentTables.h"

namespace sentinax {

namespace {

constexpr CellPoint M(int x, int y) {
    return {x, y, PointKind::Move};
}
constexpr CellPoint L(int x, int y) {
    return {x, y, PointKind::Line};
}
constexpr CellPoint S(int x, int y) {
    return {x, y, PointKind::Sample};
}

// Base shapes. Plain shapes are polygons; smooth ones round their ends with
// sampled curves. T* build the seven-segment character, F* the fourteen.
struct BaseShapes {
    CellOutline T1, T2, T3, T4, F1, F2, F3, F4, F5;
};

const BaseShapes& PlainShapes() {
    static const BaseShapes shapes{
        // T1 horizontal bar
        {M(5, 4), L(12, 11), L(36, 11), L(43, 4)},
        // T2 left vertical
        {M(4, 6), L(4, 40), L(11, 36), L(11, 13)},
        // T3: the plain right vertical is T2 mirrored, so there is no own shape
        {},
        // T4 middle bar
        {M(6, 41), L(14, 45), L(34, 45), L(42, 41), L(34, 37), L(14, 37)},
        // F1 centre vertical
        {M(20, 13), L(20, 36), L(24, 40), L(28, 36), L(28, 13)},
        // F2 diagonal
        {M(5, 5), L(15, 35), L(20, 37), L(18, 25)},
        // F3 half middle bar
        {M(6, 41), L(14, 45), L(18, 45), L(22, 41), L(18, 37), L(14, 37)},
        // F4 outer vertical
        {M(4, 7), L(4, 40), L(11, 36), L(11, 26)},
        // F5 top bar
        {M(6, 4), L(11, 11), L(37, 11), L(42, 4)},
    };
    return shapes;
}

const BaseShapes& SmoothShapes() {
    static const BaseShapes shapes{
        {M(6, 4), S(5, 5), S(5, 6), S(8, 9), L(12, 11), L(36, 11), L(39, 4)},
        {M(4, 9), L(4, 39), S(6, 40), S(7, 40), S(9, 38), L(11, 36), L(11, 12)},
        {M(37, 36), S(39, 38), S(41, 40), L(42, 40), L(44, 39), L(44, 6), S(42, 4), S(41, 4),
         S(39, 8), L(37, 12)},
        {M(8, 41), L(12, 45), L(36, 45), L(40, 41), L(36, 37), L(12, 37)},
        {M(20, 12), L(20, 25), S(22, 36), S(23, 39), S(24, 40), S(25, 39), S(26, 36), L(28, 25),
         L(28, 12), S(26, 10), S(24, 9), S(22, 10), L(20, 12)},
        {M(10, 10), S(10, 13), S(11, 20), S(13, 28), L(21, 38), L(21, 37), S(19, 26), S(15, 16),
         S(11, 10), L(10, 10)},
        {M(8, 41), L(12, 45), L(16, 45), L(23, 41), L(16, 37), L(12, 37)},
        {M(4, 7), L(4, 39), S(5, 40), S(6, 40), S(9, 37), S(11, 33), L(11, 25), S(9, 14), S(5, 6),
         L(4, 7)},
        {M(8, 4), S(7, 5), S(7, 6), S(9, 8), S(12, 9), L(14, 11), L(19, 11), S(21, 9), S(24, 7),
         S(27, 9), L(29, 11), L(34, 11), S(36, 9), S(39, 8), S(41, 6), S(41, 5), L(40, 4)},
    };
    return shapes;
}

std::vector<CellOutline> BuildSevenSegment(bool smooth) {
    const BaseShapes& b = smooth ? SmoothShapes() : PlainShapes();
    using enum CellTransform;
    // The smooth right verticals differ from the left ones (their curves sit
    // at the other corners), hence T3 instead of a mirrored T2.
    return {
        b.T1,                                            // 0 top
        b.T2,                                            // 1 upper left
        smooth ? b.T3 : TransformOutline(b.T2, MirrorX), // 2 upper right
        b.T4,                                            // 3 middle
        TransformOutline(b.T2, MirrorY),                 // 4 lower left
        smooth ? TransformOutline(b.T3, MirrorY) : TransformOutline(b.T2, PointReflect), // 5
        TransformOutline(b.T1, MirrorY),                                                 // 6 bottom
    };
}

std::vector<CellOutline> BuildFourteenSegment(bool smooth) {
    const BaseShapes& b = smooth ? SmoothShapes() : PlainShapes();
    using enum CellTransform;
    return {
        b.F1,                                 // 0 centre, upper half
        b.F2,                                 // 1 diagonal to the upper left
        TransformOutline(b.F2, MirrorX),      // 2 diagonal to the upper right
        TransformOutline(b.F2, MirrorY),      // 3 diagonal to the lower left
        TransformOutline(b.F2, PointReflect), // 4 diagonal to the lower right
        TransformOutline(b.F1, MirrorY),      // 5 centre, lower half
        b.F3,                                 // 6 middle bar, left half
        TransformOutline(b.F3, MirrorX),      // 7 middle bar, right half
        b.F4,                                 // 8 upper left
        TransformOutline(b.F4, MirrorY),      // 9 lower left
        TransformOutline(b.F5, MirrorY),      // 10 bottom
        TransformOutline(b.F4, PointReflect), // 11 lower right
        TransformOutline(b.F4, MirrorX),      // 12 upper right
        b.F5,                                 // 13 top
    };
}

std::vector<CellOutline> BuildColon() {
    // Three square dots: upper and lower colon dot, decimal point.
    auto square = [](int y1, int y2) {
        return CellOutline{M(4, y1), L(4, y2), L(13, y2), L(13, y1)};
    };
    return {square(23, 32), square(50, 59), square(68, 77)};
}

} // namespace

CellOutline TransformOutline(const CellOutline& outline, CellTransform transform) {
    const bool mirrorX =
        transform == CellTransform::MirrorX || transform == CellTransform::PointReflect;
    const bool mirrorY =
        transform == CellTransform::MirrorY || transform == CellTransform::PointReflect;
    CellOutline result = outline;
    for (CellPoint& p : result) {
        if (mirrorX)
            p.x = 48 - p.x;
        if (mirrorY)
            p.y = 82 - p.y;
    }
    return result;
}

const std::vector<CellOutline>& SegmentOutlines(DigitCharKind kind, bool smooth) {
    static const std::vector<CellOutline> sevenPlain = BuildSevenSegment(false);
    static const std::vector<CellOutline> sevenSmooth = BuildSevenSegment(true);
    static const std::vector<CellOutline> fourteenPlain = BuildFourteenSegment(false);
    static const std::vector<CellOutline> fourteenSmooth = BuildFourteenSegment(true);
    static const std::vector<CellOutline> colon = BuildColon();
    switch (kind) {
    case DigitCharKind::SevenSegment:
        return smooth ? sevenSmooth : sevenPlain;
    case DigitCharKind::FourteenSegment:
        return smooth ? fourteenSmooth : fourteenPlain;
    case DigitCharKind::Colon:
        break;
    }
    return colon;
}

} // namespace sentinax
