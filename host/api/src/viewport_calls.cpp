// The current layout viewport (tcedGetCurViewportObjectId): with the model
// tab off (TILEMODE 0) and a layout viewport active (CVPORT not 1), the
// VIEWPORT entity of the current layout whose number (group 69) is CVPORT.
#include <tarnsdk/tcdbobjects.h>

#include "api/host_state.h"
#include "api/sysvars.h"
#include "db/database.h"

namespace tarn::host {
namespace {

using db::kNoObject;

bool readNumber(std::string_view name, int& out) {
  SysVarValue v;
  if (!getSysVar(name, v)) return false;
  out = int(v.number);
  return true;
}

// The object an entry of a dictionary names (groups 3 and 350/360), or none.
uint32_t dictionaryEntry(const db::Database& d, uint32_t dict, std::string_view name) {
  if (dict == kNoObject || !d.valid(dict)) return kNoObject;
  bool match = false;
  for (db::TagCursor c = d.tags(dict); !c.done(); c.next()) {
    if (c.code() == 3) match = db::equalsNoCase(c.str(), name);
    else if (match && (c.code() == 350 || c.code() == 360)) return d.findHandle(c.handle());
  }
  return kNoObject;
}

// The block record of a LAYOUT object: the 330 group of its AcDbLayout part.
uint64_t layoutBlockRecord(const db::Database& d, uint32_t layout) {
  bool inLayout = false;
  for (db::TagCursor c = d.tags(layout); !c.done(); c.next()) {
    if (c.code() == 100) inLayout = c.str() == "AcDbLayout";
    else if (inLayout && c.code() == 330) return c.handle();
  }
  return 0;
}

// The layout block that CTAB names; the active paper space (*Paper_Space)
// when CTAB names no paper-space layout of the drawing.
uint32_t currentLayoutBlock(const db::Database& d) {
  SysVarValue tab;
  if (getSysVar("CTAB", tab) && !db::equalsNoCase(tab.text, "Model")) {
    uint32_t layouts = dictionaryEntry(d, d.rootDictionary(), "ACAD_LAYOUT");
    uint32_t layout = dictionaryEntry(d, layouts, tab.text);
    uint32_t record = layout == kNoObject || d.isErased(layout) ? kNoObject : d.findHandle(layoutBlockRecord(d, layout));
    for (uint32_t b = 0; record != kNoObject && b < d.blocks().size(); ++b)
      if (d.blocks()[b].record == record && d.isLayoutBlock(b) && b != d.modelSpace()) return b;
  }
  return d.paperSpace();
}

uint32_t viewportNumbered(const db::Database& d, uint32_t block, int number) {
  for (uint32_t id : d.blocks()[block].entities) {
    if (d.isErased(id) || d.typeOf(id) != "VIEWPORT") continue;
    for (db::TagCursor c = d.tags(id); !c.done(); c.next())
      if (c.code() == 69) {
        if (c.integer() == number) return id;
        break;
      }
  }
  return kNoObject;
}

}  // namespace
}  // namespace tarn::host

TcDbObjectId tcedGetCurViewportObjectId() {
  using namespace tarn;
  db::Database* d = host::currentDatabase();
  int tilemode = 1, cvport = 1;
  if (!d || !host::readNumber("TILEMODE", tilemode) || tilemode != 0) return {};
  if (!host::readNumber("CVPORT", cvport) || cvport == 1) return {};
  const uint32_t block = host::currentLayoutBlock(*d);
  if (block == db::kNoObject) return {};
  const uint32_t viewport = host::viewportNumbered(*d, block, cvport);
  return viewport == db::kNoObject ? TcDbObjectId() : TcDbObjectId(d->serial(), viewport);
}
