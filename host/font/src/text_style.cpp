// Justification codes of single-line texts.
#include "font/text_style.h"

namespace tarn::font {

Justification justificationFromCodes(int group72, int group73) {
  Justification j;
  if (group72 >= 0 && group72 <= 5) j.horizontal = static_cast<HorizontalJust>(group72);
  bool usesVertical = group72 >= 0 && group72 <= 2;
  if (usesVertical && group73 >= 0 && group73 <= 3) j.vertical = static_cast<VerticalJust>(group73);
  return j;
}

}  // namespace tarn::font
