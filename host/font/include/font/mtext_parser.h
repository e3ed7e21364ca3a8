// Parser of paragraph-text (MTEXT) contents: inline format codes into
// paragraphs of runs, each run with its resolved formatting.
#ifndef TARN_FONT_MTEXT_PARSER_H
#define TARN_FONT_MTEXT_PARSER_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::font {

struct RunFormat {
  std::string font;  // style font, or the name given by \f / \F
  bool bold = false;
  bool italic = false;
  double height = 1.0;       // absolute cap height
  double widthFactor = 1.0;
  double oblique = 0.0;      // radians
  double tracking = 1.0;     // multiplies the pen advance of each character
  int alignment = 0;         // \A: 0 bottom, 1 middle (centre), 2 top
  int colour = 256;          // \C: colour number (256 = by layer)
  int64_t trueColour = -1;   // \c: value as written, -1 = none
  bool underline = false;
  bool overline = false;
  bool strike = false;

  bool operator==(const RunFormat&) const = default;
};

struct MTextRun {
  enum Kind { Text, Stack } kind = Text;
  RunFormat format;
  std::u32string text;         // Text runs
  std::u32string stackTop;     // Stack runs
  std::u32string stackBottom;
  char32_t stackType = U'/';   // '/' fraction bar, '#' diagonal, '^' tolerance (no bar)
};

struct MTextParagraph {
  std::vector<MTextRun> runs;
};

struct MTextDocument {
  std::vector<MTextParagraph> paragraphs;  // at least one
};

// Never fails: malformed codes are taken as far as they read, unknown codes
// stay as written, invalid UTF-8 bytes become U+FFFD.
MTextDocument parseMText(std::string_view contents, const RunFormat& base = {});

// The characters of the contents without formatting, UTF-8: paragraphs end
// with "\n" (none after the last), stacks read top, separator, bottom.
std::string mtextPlainText(std::string_view contents);

}  // namespace tarn::font

#endif
