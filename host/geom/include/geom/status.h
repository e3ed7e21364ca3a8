// GeomStatus: the outcome of a kernel operation that can fail. Operations
// return it (or carry it in their result) instead of throwing.
#pragma once

namespace tarn::geom {

enum class GeomStatus {
  Ok,
  InvalidInput,     // NaN, infinite or malformed data
  Degenerate,       // zero-length direction, zero radius, coincident points
  NegativeRadius,   // an offset would make a radius zero or negative
  NotPlanar,        // the operation needs a planar curve
  NotCoplanar,      // the two curves do not share a plane
  Parallel,         // no intersection because the curves are parallel
  NoIntersection,
  NeedTwoCuts,      // a closed curve needs two cuts to be trimmed
  NothingToTrim,    // the pick does not lie between cuts on the curve
  Singular,         // a matrix cannot be inverted
  Unsupported,      // the transform or operation cannot keep the curve's type
  OnCurve,          // a side point lies on the curve, so no side is chosen
};

const char* statusName(GeomStatus s);

}  // namespace tarn::geom
