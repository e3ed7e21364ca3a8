// tcedTextBox: the font box of a single-line text given by its entity list.
#include <tarnsdk/tcedgeom.h>

#include <cstring>
#include <string_view>

#include "api/host_state.h"
#include "entgeom/text_frame.h"
#include "groups.h"

namespace tarn::entgeom {
namespace {

struct ListText {
  TextParams params;
  std::string type = "TEXT";
  std::string style;
  bool hasValue = false;
  std::string tag;
};

std::string_view stringOf(const resbuf* rb) { return rb->resval.rstring ? rb->resval.rstring : ""; }

void readGroup(const resbuf* rb, ListText& t) {
  TextParams& p = t.params;
  switch (rb->restype) {
    case 0: case RTDXF0: t.type = stringOf(rb); break;
    case 1: p.text = stringOf(rb); t.hasValue = true; break;
    case 2: t.tag = stringOf(rb); break;
    case 7: t.style = stringOf(rb); break;
    case 40: p.height = rb->resval.rreal; break;
    case 41: p.widthFactor = rb->resval.rreal; break;
    case 51: p.obliqueDegrees = degrees(rb->resval.rreal); break;  // lists give radians
    case 71: p.generation = rb->resval.rint; break;
    case 72: p.horizontal = rb->resval.rint; break;
    default: break;
  }
}

// Vertical justification: group 73 for texts, 74 for attributes (73 is their field length).
void readVertical(const resbuf* list, ListText& t) {
  bool attribute = t.type == "ATTRIB" || t.type == "ATTDEF";
  for (const resbuf* rb = list; rb; rb = rb->rbnext)
    if (rb->restype == (attribute ? 74 : 73)) t.params.vertical = rb->resval.rint;
}

}  // namespace
}  // namespace tarn::entgeom

extern "C" int tcedTextBox(const struct resbuf* list, tc_point lowerLeft, tc_point upperRight) {
  using namespace tarn::entgeom;
  if (!list || !lowerLeft || !upperRight) return RTERROR;
  ListText t;
  for (const resbuf* rb = list; rb; rb = rb->rbnext) {
    if (rb->restype == -3) break;  // extended data follow
    readGroup(rb, t);
  }
  readVertical(list, t);
  if (t.type == "ATTDEF" && !t.tag.empty()) t.params.text = t.tag;
  if (const tarn::db::Database* db = tarn::host::currentDatabase()) t.params.font = styleFont(*db, t.style);
  tarn::font::TextBox box = measureText(t.params);
  if (box.status != tarn::font::FontStatus::Ok) return RTERROR;
  lowerLeft[0] = box.lowerLeft.x, lowerLeft[1] = box.lowerLeft.y, lowerLeft[2] = 0.0;
  upperRight[0] = box.upperRight.x, upperRight[1] = box.upperRight.y, upperRight[2] = 0.0;
  return RTNORM;
}
