// Status codes of the entity geometry component: every result carries one.
#pragma once

namespace tarn::entgeom {

enum class EntStatus {
  Ok,
  NotFound,        // no such object, or it is erased
  NotGeometric,    // the object is no entity, or its type has no geometry here (REGION, 3DSOLID)
  InvalidData,     // the entity's groups do not make a valid shape (NaN, missing points)
  Empty,           // a valid entity without extents (an empty block, an empty text)
  Cyclic,          // a block reference that contains itself
  NonUniform,      // the matrix scales non-uniformly and the type cannot follow
  Unsupported,     // the matrix cannot be expressed by the entity (shear, degenerate)
  FontFailure,     // the text's font could not be measured
  Refused,         // the operation is refused for this object (the result says why)
};

const char* entStatusName(EntStatus s);

}  // namespace tarn::entgeom
