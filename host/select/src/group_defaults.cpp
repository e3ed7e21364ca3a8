// Defaults of absent groups: an entity list leaves out groups that hold their
// default, so a filter on that default must still find them: colour 62 is
// BYLAYER (256), linetype 6 "BYLAYER", space 67 model space (0) and the
// extrusion 210 the world Z axis.
#include "group_defaults.h"

#include <array>

namespace tarn::select {
namespace {

char kByLayer[] = "BYLAYER";

constexpr resbuf makeShort(short code, short value) {
  resbuf rb{};
  rb.restype = code;
  rb.resval.rint = value;
  return rb;
}

constexpr resbuf makeString(short code, char* value) {
  resbuf rb{};
  rb.restype = code;
  rb.resval.rstring = value;
  return rb;
}

constexpr resbuf makePoint(short code, double x, double y, double z) {
  resbuf rb{};
  rb.restype = code;
  rb.resval.rpoint[0] = x;
  rb.resval.rpoint[1] = y;
  rb.resval.rpoint[2] = z;
  return rb;
}

constexpr std::array<resbuf, 4> kDefaults{
    makeShort(62, 256),
    makeString(6, kByLayer),
    makeShort(67, 0),
    makePoint(210, 0.0, 0.0, 1.0),
};

}  // namespace

const resbuf* absentGroupDefault(int code) {
  for (const resbuf& rb : kDefaults)
    if (rb.restype == code) return &rb;
  return nullptr;
}

}  // namespace tarn::select
