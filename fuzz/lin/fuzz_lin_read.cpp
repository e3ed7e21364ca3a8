// Arbitrary text through the linetype file reader: it must accept it or
// name a line inside the text, never crash; what it accepts has a pattern
// of at least one element and a finite length.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "linetype_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<tarn::commands::LinetypeDefinition> defs;
  std::string error;
  if (!tarn::commands::parseLinetypes(text, "fuzz.lin", defs, error)) {
    if (error.rfind("fuzz.lin:", 0) != 0) std::abort();
    return 0;
  }
  for (const auto& d : defs)
    if (d.elements.empty() || !std::isfinite(d.patternLength())) std::abort();
  return 0;
}
