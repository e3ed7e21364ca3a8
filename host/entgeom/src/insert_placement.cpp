// Placing matrices of block references: normal (OCS), insertion point,
// rotation, scales, block base point and the cells of a MINSERT.
#include <algorithm>
#include <cmath>

#include "entgeom/extents.h"
#include "geom/coord_system.h"
#include "groups.h"

namespace tarn::entgeom {

using geom::Matrix4;
using geom::Vec3;

namespace {

Vec3 blockBase(const db::Database& db, uint32_t block) {
  uint32_t begin = db.blocks()[block].begin;
  return begin == db::kNoObject ? Vec3{} : Groups(db, begin).point(10);
}

// Cell indices with the four corner cells first, then the rest in order.
std::vector<std::pair<long, long>> cellOrder(long cols, long rows, size_t maxCells) {
  if (cols == 1 && rows == 1) return {{0, 0}};
  std::vector<std::pair<long, long>> out = {{0, 0}, {cols - 1, 0}, {0, rows - 1}, {cols - 1, rows - 1}};
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  for (long r = 0; r < rows && out.size() < maxCells; ++r)
    for (long c = 0; c < cols && out.size() < maxCells; ++c) {
      bool corner = (c == 0 || c == cols - 1) && (r == 0 || r == rows - 1);
      if (!corner) out.push_back({c, r});
    }
  if (out.size() > maxCells) out.resize(maxCells);
  return out;
}

}  // namespace

namespace {

// The groups of a reference that place it, read in one pass.
struct InsertGroups {
  std::string_view name;
  Vec3 normal = geom::kZAxis, at, scale{1.0, 1.0, 1.0};
  double rotationDegrees = 0.0, dx = 0.0, dy = 0.0;
  int64_t cols = 1, rows = 1;
};

InsertGroups readInsert(const Groups& g) {
  InsertGroups r;
  bool named = false, normal = false, at = false;
  for (size_t i = 0; i < g.size(); ++i) {
    switch (g.code(i)) {
      case 2: if (!named && g.at(i).kind() == db::TagKind::String) r.name = g.at(i).str(), named = true; break;
      case 10: if (!at) r.at = g.pointAt(i), at = true; break;
      case 210: if (!normal) r.normal = g.pointAt(i), normal = true; break;
      case 41: r.scale.x = g.number(i); break;
      case 42: r.scale.y = g.number(i); break;
      case 43: r.scale.z = g.number(i); break;
      case 50: r.rotationDegrees = g.number(i); break;
      case 44: r.dx = g.number(i); break;
      case 45: r.dy = g.number(i); break;
      case 70: r.cols = int64_t(g.number(i)); break;
      case 71: r.rows = int64_t(g.number(i)); break;
      default: break;
    }
  }
  if (!(r.normal.lengthSquared() > 0.0) || !r.normal.isFinite()) r.normal = geom::kZAxis;
  else r.normal = r.normal.normalized();
  return r;
}

}  // namespace

EntStatus insertPlacements(const db::Database& db, uint32_t id, uint32_t& block, std::vector<Matrix4>& cells,
                           size_t maxCells) {
  cells.clear();
  InsertGroups g = readInsert(Groups(db, id));
  block = db.findBlock(g.name);
  if (block == db::kNoObject) return EntStatus::Unsupported;
  double rot = radians(g.rotationDegrees);
  if (!g.at.isFinite() || !g.scale.isFinite() || !std::isfinite(rot)) return EntStatus::InvalidData;
  // The block's axes in world coordinates: the object system of the normal
  // turned by the rotation, each scaled; the base point goes to the insertion
  // point (moved along the turned axes for each cell of a grid).
  geom::OcsAxes a = geom::ocsAxes(g.normal);
  const double c = std::cos(rot), s = std::sin(rot);
  const Vec3 ex = a.x * c + a.y * s, ey = a.y * c - a.x * s;
  const Vec3 x = ex * g.scale.x, y = ey * g.scale.y, z = a.z * g.scale.z;
  const Vec3 base = blockBase(db, block);
  const Vec3 origin = a.x * g.at.x + a.y * g.at.y + a.z * g.at.z - (x * base.x + y * base.y + z * base.z);
  long cols = std::max<int64_t>(1, g.cols), rows = std::max<int64_t>(1, g.rows);
  for (auto [col, row] : cellOrder(cols, rows, maxCells))
    cells.push_back(Matrix4::fromAxes(origin + ex * (double(col) * g.dx) + ey * (double(row) * g.dy), x, y, z));
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
