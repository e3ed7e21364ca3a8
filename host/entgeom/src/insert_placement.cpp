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

EntStatus insertPlacements(const db::Database& db, uint32_t id, uint32_t& block, std::vector<Matrix4>& cells,
                           size_t maxCells) {
  cells.clear();
  Groups g(db, id);
  block = db.findBlock(g.str(2));
  if (block == db::kNoObject) return EntStatus::Unsupported;
  Vec3 n = g.normal(), p = g.point(10), s{g.real(41, 1.0), g.real(42, 1.0), g.real(43, 1.0)};
  double rot = radians(g.real(50, 0.0));
  if (!p.isFinite() || !s.isFinite() || !std::isfinite(rot)) return EntStatus::InvalidData;
  Matrix4 rotation = Matrix4::rotation(rot, geom::kZAxis);
  Matrix4 local = rotation * Matrix4::scaling(s) * Matrix4::translation(-blockBase(db, block));
  Matrix4 ocs = geom::ocsToWorld(n);
  long cols = std::max<int64_t>(1, g.integer(70, 1)), rows = std::max<int64_t>(1, g.integer(71, 1));
  double dx = g.real(44, 0.0), dy = g.real(45, 0.0);
  for (auto [c, r] : cellOrder(cols, rows, maxCells)) {
    Vec3 offset = rotation.transformVector({double(c) * dx, double(r) * dy, 0.0});
    cells.push_back(ocs * Matrix4::translation(p + offset) * local);
  }
  return EntStatus::Ok;
}

}  // namespace tarn::entgeom
