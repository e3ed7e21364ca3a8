// Draws drawing entities into a metafile as a view shows them: each entity
// flattened to polylines, polygons, ellipses, pixels and texts in the
// metafile's logical units, clipped to the view's frame. Block references
// and dimensions draw their blocks' contents, nested to any depth.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/database.h"
#include "geom/curve.h"
#include "geom/matrix4.h"
#include "wmf_format.h"

namespace tarn::commands::wmf {

// World coordinates to the metafile's logical units: a world-to-display
// map, then the view's upper-left corner to (0,0), `unitsPerDrawingUnit`
// logical units for one drawing unit and Y downwards.
struct ViewMapping {
  geom::Matrix4 worldToLogical;
  double width = 0, height = 0;  // the frame, in logical units
  double unitsPerDrawingUnit = 1;
};

// What an entity in a block takes from the reference that shows it.
struct Inherited {
  uint32_t colour = 0;  // BYBLOCK colour as a colour reference
  std::string layer;    // the reference's layer, for entities on layer "0"
};

class Painter {
 public:
  Painter(const db::Database& db, const ViewMapping& view, Writer& out, bool textAsOutlines);
  // Draws a main entity of a space; false when nothing of it was in the view.
  bool draw(uint32_t id);

 private:
  bool drawEntity(uint32_t id, const geom::Matrix4& m, const Inherited& from, int depth);
  bool drawInsert(uint32_t id, const geom::Matrix4& m, const Inherited& here, int depth);
  bool drawBlock(uint32_t block, const geom::Matrix4& m, const Inherited& here, int depth);
  bool drawText(uint32_t id, const geom::Matrix4& m, uint32_t colour);
  bool drawMText(uint32_t id, const geom::Matrix4& m, uint32_t colour);
  bool drawHatch(uint32_t id, const geom::Matrix4& m, uint32_t colour);
  bool drawShape(uint32_t id, const geom::Matrix4& m, uint32_t colour);
  bool drawCurve(const geom::Curve& c, const geom::Matrix4& m, uint32_t colour);

  // A text laid out in its own frame, placed by `toWorld` (block coordinates).
  struct PlacedText;
  bool writeText(const PlacedText& t, const geom::Matrix4& m, uint32_t colour);

  bool polyline(const std::vector<geom::Vec3>& logical);
  bool polygons(const std::vector<std::vector<geom::Vec3>>& logical, std::optional<uint32_t> fill);

  // The colour an entity is drawn in and whether its layer shows; nullopt
  // when the entity is on a layer that is off or frozen, or invisible.
  std::optional<uint32_t> colourOf(uint32_t id, const Inherited& from, std::string& layer) const;

  const db::Database& db_;
  const ViewMapping& view_;
  Writer& out_;
  bool textAsOutlines_;
};

// Points of a curve in logical units, close enough that no chord strays
// from the curve by more than half a logical unit.
std::vector<geom::Vec3> flatten(const geom::Curve& c, const geom::Matrix4& toLogical);

// The parts of a polyline inside the frame [0,w] x [0,h], and a polygon
// clipped to it (empty when it lies outside).
std::vector<std::vector<geom::Vec3>> clipPolyline(const std::vector<geom::Vec3>& points, double w, double h);
std::vector<geom::Vec3> clipPolygon(const std::vector<geom::Vec3>& points, double w, double h);

}  // namespace tarn::commands::wmf
