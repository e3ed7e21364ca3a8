// Paragraph-text contents of arbitrary bytes through the code parser, the
// plain-text extraction, the layout (with and without wrap) and the outlines:
// nothing may crash or hang, and the layout's numbers must stay finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "font/control_codes.h"
#include "font/font_resolver.h"
#include "font/glyph_outlines.h"
#include "font/mtext_layout.h"
#include "font/mtext_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarn::font::setPinnedFontOnly(true);
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  tarn::font::mtextPlainText(contents);
  tarn::font::plainTextString(contents);
  tarn::font::MTextParams params;
  params.base.font = "DejaVu Sans";
  params.base.height = 2.5;
  params.attachment = size % 9 + 1;
  params.referenceWidth = size % 2 ? 0.0 : 30.0;
  const tarn::font::MTextLayout layout = tarn::font::layoutMText(contents, params);
  if (!std::isfinite(layout.width) || !std::isfinite(layout.height)) std::abort();
  for (const auto& corner : layout.corners)
    if (!std::isfinite(corner.x) || !std::isfinite(corner.y)) std::abort();
  if (size < 256) tarn::font::mtextOutlines(contents, params, 0.05);
  return 0;
}
