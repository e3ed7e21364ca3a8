// The boundary of a HATCH (its polyline and edge paths) read as curves in
// world coordinates, and the role of each group of its data, so that a
// transformation knows which groups are points, vectors, lengths or angles.
#pragma once

#include <vector>

#include "entgeom/status.h"
#include "geom/curve.h"
#include "groups.h"

namespace tarn::entgeom {

// PairPoint and PairVector: a real and the real after it are x and y.
// Arc edge angles are stored mirrored (360 minus the angle) on clockwise
// edges: ArcAngleCw. Ellipse edge angles are parameters about the major axis.
enum class GroupRole {
  OcsPoint, OcsVector, PairPoint, PairVector, Length, AngleDegrees,
  ArcAngleCcw, ArcAngleCw, EllipseParam, ArcSense, Bulge
};

struct RoledGroup {
  size_t index;
  GroupRole role;
};

struct HatchBoundary {
  std::vector<geom::CurvePtr> edges;  // world coordinates
  std::vector<RoledGroup> roles;      // boundary, pattern and seed groups
};

EntStatus readHatchBoundary(const Groups& g, HatchBoundary& out);

}  // namespace tarn::entgeom
