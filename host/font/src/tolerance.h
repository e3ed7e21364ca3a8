// Tolerances and limits of the text geometry component, in one place.
#ifndef TARN_FONT_SRC_TOLERANCE_H
#define TARN_FONT_SRC_TOLERANCE_H

namespace tarn::font::tol {

// Relative slack when a line's width is compared with the wrap width, so that
// a line that fits exactly is not broken by rounding.
inline constexpr double kWrapSlack = 1e-9;
// Lengths below this (relative to the text height) count as zero.
inline constexpr double kRelativeZero = 1e-12;
// The steepest oblique angle accepted (85 degrees), in radians.
inline constexpr double kMaxOblique = 85.0 * 3.14159265358979323846 / 180.0;
// Most segments one Bezier curve is flattened into.
inline constexpr int kMaxCurveSegments = 64;
// Heights and width factors the paragraph codes may set are kept in this range.
inline constexpr double kMinScale = 1e-6;
inline constexpr double kMaxScale = 1e6;

}  // namespace tarn::font::tol

#endif
