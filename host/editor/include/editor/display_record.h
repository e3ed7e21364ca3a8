// What a desktop host would have drawn for a command: temporary vectors
// (tcedGrDraw, tcedGrVecs), highlights and redraws (tcedRedraw) and drags
// (tcedDragGen). The headless host draws nothing; it keeps this record so
// that tests can see what a command showed.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "db/database.h"

namespace tarn::editor {

struct TemporaryVector {
  db::Point3 from, to;
  int colour = 0;          // colour index; -1 draws in the inverse of what is under it
  bool highlighted = false;
};

struct RedrawEvent {
  std::uint64_t entity = 0;  // 0: the whole drawing
  int mode = 0;              // 0 regenerate, 1 redraw, 2 hide, 3 highlight, 4 end highlight
};

struct DisplayRecord {
  std::vector<TemporaryVector> vectors;  // since the last redraw of the whole drawing
  std::vector<RedrawEvent> redraws;
  std::set<std::uint64_t> highlighted;   // entities shown highlighted now
  std::set<std::uint64_t> hidden;        // entities undrawn (mode 2) until redrawn
  int drags = 0;                         // drags completed
  void clear() { *this = DisplayRecord{}; }
};

}  // namespace tarn::editor
