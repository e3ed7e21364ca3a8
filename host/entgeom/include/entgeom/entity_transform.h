// Transformation of entities by an affine matrix (move, rotate, uniform and
// non-uniform scale, mirror) as new tag lists, for MOVE, COPY, MIRROR, ARRAY
// and the transformation of selection sets.
#pragma once

#include <cstdint>
#include <vector>

#include "db/database.h"
#include "entgeom/status.h"
#include "geom/matrix4.h"

namespace tarn::entgeom {

struct TransformOptions {
  // MIRRTEXT: 0 keeps mirrored texts readable (their box is mirrored, their
  // glyphs are not); 1 mirrors them (written backwards).
  bool mirrorText = false;
};

struct TransformedObject {
  uint32_t id = 0;
  db::TagList tags;  // the object's complete new tags
};

// New tags for the entity and for the objects that move with it: the
// vertices of a POLYLINE, the attributes of an INSERT, and the entities of a
// DIMENSION's block. The entity comes first. Nothing is written to the
// database; the caller replaces the objects' tags (through its journal).
//
// NonUniform when the matrix scales non-uniformly and the entity cannot
// follow (circles, arcs, texts, bulged or wide polylines, references whose
// axes would shear); Unsupported for a singular matrix or a type this does
// not know (REGION, 3DSOLID, proxies).
EntStatus transformEntity(const db::Database& db, uint32_t id, const geom::Matrix4& m,
                          const TransformOptions& options, std::vector<TransformedObject>& out);

}  // namespace tarn::entgeom
