// Greedy word wrap of a paragraph's units (characters and stacks) at a width.
#ifndef TARN_FONT_SRC_LINE_BREAKING_H
#define TARN_FONT_SRC_LINE_BREAKING_H

#include <cstddef>
#include <vector>

namespace tarn::font {

struct BreakUnit {
  double advance = 0.0;
  bool blank = false;     // a space: a line may break after it, and it leaves no ink
  bool isolated = false;  // an ideograph: a line may break before and after it
};

struct LineRange {
  size_t begin = 0;
  size_t end = 0;  // one past the last unit shown (trailing blanks excluded)
};

// Lines of the paragraph; a width of 0 (or less) breaks nowhere. A word wider
// than the width gets a line of its own. An empty paragraph is one empty line.
std::vector<LineRange> breakLines(const std::vector<BreakUnit>& units, double width);

// Ideographs and kana, which break like words of their own.
bool isIdeograph(char32_t c);

}  // namespace tarn::font

#endif
