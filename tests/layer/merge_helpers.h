// What the merge family's scenarios share: objects made through entity
// lists (block definitions, block references with attributes, polylines
// with vertices), the drawing as DXF text to compare before and after, the
// system variables a cancelled command must leave as they were, and where
// the objects of a layer are.
#pragma once

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/database.h"
#include "db/dxf.h"
#include "editor/scenario_session.h"
#include "layer_fixture.h"

namespace merge_test {

inline bool make(resbuf* list) {
  const bool made = list && tcdbEntMake(list) == RTNORM;
  tcutRelRb(list);
  return made;
}

// A block definition holding one line on each of the layers.
inline void makeBlock(const std::string& name, const std::vector<std::string>& lineLayers) {
  double origin[3] = {0, 0, 0};
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "BLOCK", 2, name.c_str(), 70, 0, 10, origin, RTNONE)));
  double y = 0;
  for (const std::string& layer : lineLayers) {
    double a[3] = {0, y, 0}, b[3] = {1, y, 0};
    ASSERT_TRUE(make(tcutBuildList(RTDXF0, "LINE", 8, layer.c_str(), 10, a, 11, b, RTNONE)));
    y += 1;
  }
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "ENDBLK", RTNONE)));
}

// A reference to the block on `layer` with one attribute on `attributeLayer`.
inline void makeInsertWithAttribute(const std::string& block, const std::string& layer,
                                    const std::string& attributeLayer, double x, double y) {
  double at[3] = {x, y, 0};
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "INSERT", 8, layer.c_str(), 2, block.c_str(), 10, at, 66, 1, RTNONE)));
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "ATTRIB", 8, attributeLayer.c_str(), 10, at, 40, 1.0, 1, "V", 2, "TAG",
                                 70, 0, RTNONE)));
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "SEQEND", 8, layer.c_str(), RTNONE)));
}

// A 2D polyline on `layer` whose vertices lie on `vertexLayer`.
inline void makePolyline(const std::string& layer, const std::string& vertexLayer, double y) {
  double origin[3] = {0, 0, 0}, a[3] = {0, y, 0}, b[3] = {5, y, 0};
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "POLYLINE", 8, layer.c_str(), 66, 1, 70, 0, 10, origin, RTNONE)));
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "VERTEX", 8, vertexLayer.c_str(), 10, a, RTNONE)));
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "VERTEX", 8, vertexLayer.c_str(), 10, b, RTNONE)));
  ASSERT_TRUE(make(tcutBuildList(RTDXF0, "SEQEND", 8, layer.c_str(), RTNONE)));
}

// Live objects naming this layer (exactly as written), anywhere in the
// drawing: layouts, block definitions, attributes and vertices.
inline int objectsOn(const tarn::db::Database& db, std::string_view layer) {
  int count = 0;
  for (const tarn::db::BlockDef& block : db.blocks())
    for (uint32_t id : block.entities) {
      if (db.isErased(id)) continue;
      auto tag = tarn::db::findTag(db, id, 8);
      if (tag && tag->s == layer) ++count;
    }
  return count;
}

// Live objects of a block definition (its name given) on a layer.
inline int objectsInBlockOn(const tarn::db::Database& db, std::string_view block, std::string_view layer) {
  const uint32_t index = db.findBlock(block);
  if (index == tarn::db::kNoObject) return -1;
  int count = 0;
  for (uint32_t id : db.blocks()[index].entities) {
    auto tag = tarn::db::findTag(db, id, 8);
    if (!db.isErased(id) && tag && tag->s == layer) ++count;
  }
  return count;
}

inline std::string dxf(const tarn::db::Database& db) { return tarn::db::writeDxfString(db); }

// System variables as texts, without those the host keeps up to date.
inline std::vector<std::pair<std::string, std::string>> settings() {
  auto all = tarn::editor::variableSnapshot();
  std::erase_if(all, [](const auto& v) { return v.first == "LASTPOINT" || v.first == "ERRNO"; });
  return all;
}

inline size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

}  // namespace merge_test
