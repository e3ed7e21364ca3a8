// Word wrap: the paragraph is cut into segments (a word and the blanks after
// it); segments fill a line while their inked width stays within the wrap
// width; blanks at the end of a line are not shown.
#include "line_breaking.h"

#include "tolerance.h"

namespace tarn::font {
namespace {

struct Segment {
  size_t begin = 0;
  size_t inkEnd = 0;  // end of the word, before its trailing blanks
  size_t end = 0;
  double width = 0.0;     // of the word
  double trailing = 0.0;  // of the blanks after it
};

std::vector<Segment> segmentsOf(const std::vector<BreakUnit>& units) {
  std::vector<Segment> out;
  size_t i = 0;
  while (i < units.size()) {
    Segment s;
    s.begin = i;
    // A leading blank run (start of a paragraph) is a segment with an empty word.
    while (i < units.size() && !units[i].blank) {
      s.width += units[i].advance;
      bool stop = units[i].isolated || (i + 1 < units.size() && units[i + 1].isolated);
      ++i;
      if (stop) break;
    }
    s.inkEnd = i;
    while (i < units.size() && units[i].blank) s.trailing += units[i++].advance;
    s.end = i;
    out.push_back(s);
  }
  return out;
}

}  // namespace

bool isIdeograph(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

std::vector<LineRange> breakLines(const std::vector<BreakUnit>& units, double width) {
  std::vector<LineRange> lines;
  LineRange current{0, 0};
  double pen = 0.0;  // advance of the current line, trailing blanks included
  for (const Segment& s : segmentsOf(units)) {
    const bool overflows = width > 0.0 && pen + s.width > width * (1.0 + tol::kWrapSlack);
    const bool lineHasInk = current.end > current.begin;
    if (lineHasInk && overflows && s.inkEnd > s.begin) {
      lines.push_back(current);
      current = {s.begin, s.begin};
      pen = 0.0;
    }
    pen += s.width + s.trailing;
    current.end = s.inkEnd > s.begin ? s.inkEnd : current.end;
  }
  lines.push_back(current);
  return lines;
}

}  // namespace tarn::font
