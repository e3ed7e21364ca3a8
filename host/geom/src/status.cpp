// Names of the kernel's status codes, for messages and test output.
#include "geom/status.h"

#include <array>
#include <cstddef>

namespace tarn::geom {

const char* statusName(GeomStatus s) {
  static constexpr std::array<const char*, 14> kNames = {
      "Ok",          "InvalidInput", "Degenerate", "NegativeRadius", "NotPlanar",
      "NotCoplanar", "Parallel",     "NoIntersection", "NeedTwoCuts", "NothingToTrim",
      "Singular",    "Unsupported",  "OnCurve",    "?"};
  const auto i = static_cast<std::size_t>(s);
  return i < kNames.size() ? kNames[i] : "?";
}

}  // namespace tarn::geom
