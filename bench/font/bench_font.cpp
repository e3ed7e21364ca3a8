// Text geometry speed on the pinned DejaVu Sans (faces and glyphs cached):
// text box of a line, paragraph layout with wrap, outlines of a line.
#include <benchmark/benchmark.h>

#include <string>

#include "font/font_resolver.h"
#include "font/glyph_outlines.h"
#include "font/mtext_layout.h"
#include "font/text_box.h"

namespace {

using namespace tarn::font;

TextStyle style() {
  setPinnedFontOnly(true);
  TextStyle s;
  s.font = "DejaVu Sans";
  s.height = 2.5;
  return s;
}

void TextBox40Chars(benchmark::State& state) {
  const TextStyle s = style();
  for (auto _ : state) benchmark::DoNotOptimize(textBox("%%c25 DETAIL A-A SCALE 1:20 (REV. 3) %%p0.1", s));
}
BENCHMARK(TextBox40Chars);

void ParagraphLayout(benchmark::State& state) {
  style();
  MTextParams p;
  p.base.font = "DejaVu Sans";
  p.base.height = 2.5;
  p.referenceWidth = 60;
  std::string contents;
  for (int i = 0; i < state.range(0); ++i) contents += "{\\H1.2x;Note} the quick brown fox \\S1/2; jumps over the lazy dog. ";
  for (auto _ : state) benchmark::DoNotOptimize(layoutMText(contents, p));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(contents.size()));
}
BENCHMARK(ParagraphLayout)->Arg(1)->Arg(20);

void Outlines40Chars(benchmark::State& state) {
  const TextStyle s = style();
  for (auto _ : state)
    benchmark::DoNotOptimize(textOutlines("%%c25 DETAIL A-A SCALE 1:20 (REV. 3) %%p0.1", s, {0, 0}, 0.3));
}
BENCHMARK(Outlines40Chars);

}  // namespace
