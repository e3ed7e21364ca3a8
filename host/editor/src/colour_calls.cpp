// Colours asked on the command line (the colour dialog of a desktop host)
// and the red, green and blue of the colour indices.
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>

#include <tarnsdk/tcedinput.h>

#include "db/database.h"
#include "editor/reply_values.h"
#include "input_loop.h"

namespace tarn::editor {
namespace {

struct Rgb {
  int r, g, b;
};

// Indices 10-249 are 24 hues in steps of 15 degrees, each in five
// brightnesses, full and half saturated; 250-255 are greys.
Rgb hueShade(int index) {
  int n = index - 10, hue = n / 10, shade = (n % 10) / 2;
  bool pale = n % 2 == 1;
  static const double kBrightness[] = {1.0, 0.8, 0.6, 0.5, 0.3};
  double h = hue * 15.0 / 60.0, channel[3];
  int sector = int(h);
  double f = h - sector;
  const double table[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
  for (int i = 0; i < 3; ++i) channel[i] = table[sector % 6][i];
  double top = 255 * kBrightness[shade];
  auto level = [&](double c) { return int(std::floor(top * (pale ? 0.5 + 0.5 * c : c))); };
  return {level(channel[0]), level(channel[1]), level(channel[2])};
}

std::optional<Rgb> rgbOf(int index) {
  static const Rgb kFirst[] = {{255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255}, {0, 0, 255},
                               {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
  static const int kGreys[] = {51, 91, 132, 173, 214, 255};
  if (index >= 1 && index <= 9) return kFirst[index - 1];
  if (index >= 10 && index <= 249) return hueShade(index);
  if (index >= 250 && index <= 255) return Rgb{kGreys[index - 250], kGreys[index - 250], kGreys[index - 250]};
  return std::nullopt;
}

int nearestIndex(Rgb want) {
  int best = 1;
  long bestDistance = LONG_MAX;
  for (int i = 1; i <= 255; ++i) {
    Rgb c = *rgbOf(i);
    long d = long(c.r - want.r) * (c.r - want.r) + long(c.g - want.g) * (c.g - want.g) +
             long(c.b - want.b) * (c.b - want.b);
    if (d < bestDistance) bestDistance = d, best = i;
  }
  return best;
}

std::optional<int> triple(const std::string& text) {
  int r = 0, g = 0, b = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d,%d,%d%c", &r, &g, &b, &tail) != 3) return std::nullopt;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return std::nullopt;
  return nearestIndex({r, g, b});
}

// The colour a reply names; nothing when it names none that is allowed.
std::optional<int> colourReply(const std::string& text, bool meta) {
  static const char* kNames[] = {"RED", "YELLOW", "GREEN", "CYAN", "BLUE", "MAGENTA", "WHITE"};
  std::string up = db::upperAscii(text);
  if (up == "BYLAYER") return meta ? std::optional<int>(256) : std::nullopt;
  if (up == "BYBLOCK") return meta ? std::optional<int>(0) : std::nullopt;
  for (int i = 0; i < 7; ++i)
    if (up == kNames[i]) return i + 1;
  if (text.find(',') != std::string::npos) return triple(text);
  auto v = parseInteger(text);
  if (!v || *v < (meta ? 0 : 1) || *v > (meta ? 256 : 255)) return std::nullopt;
  return int(*v);
}

std::string colourName(int c) {
  return c == 256 ? "BYLAYER" : c == 0 ? "BYBLOCK" : std::to_string(c);
}

}  // namespace
}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedSetColorDialog(int* colour, int allowMetaColours, int layerColour) {
  Editor& ed = currentEditor();
  ed.takeControl();
  if (!colour) return RTERROR;
  bool meta = allowMetaColours != 0;
  std::string prompt = std::string("Enter a colour number (") + (meta ? "0-256, BYLAYER, BYBLOCK" : "1-255") +
                       "), a colour name or r,g,b <" + colourName(*colour) + ">: ";
  for (;;) {
    Reply r = ed.ask(prompt, false);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
    if (r.kind == ReplyKind::Enter) return RTNORM;
    if (r.kind == ReplyKind::Text)
      if (auto c = colourReply(r.text, meta)) {
        *colour = *c;
        return RTNORM;
      }
    ed.complain(meta ? "Requires a colour number from 0 to 256, a colour name or r,g,b."
                     : "Requires a colour number from 1 to 255, a colour name or r,g,b.");
  }
}

int tcedGetRGB(int colour, int* red, int* green, int* blue) {
  auto c = rgbOf(colour);
  if (!c || !red || !green || !blue) return RTERROR;
  *red = c->r, *green = c->g, *blue = c->b;
  return RTNORM;
}

}  // extern "C"
