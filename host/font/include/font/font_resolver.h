// Font resolution: a text style's font name (.shx, .ttf/.otf file, or family)
// to an installed font file, through fontconfig and a map of CAD font names.
#ifndef TARN_FONT_FONT_RESOLVER_H
#define TARN_FONT_FONT_RESOLVER_H

#include <string>
#include <string_view>

#include "font/status.h"

namespace tarn::font {

// The font every resolution falls back to, and the only one used when the
// pinned mode is on: DejaVu Sans (Debian package fonts-dejavu-core).
inline constexpr const char* kPinnedFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Setting this environment variable to anything but "" or "0" forces the
// pinned font for every request (tests and reproducible batch runs).
inline constexpr const char* kPinnedFontEnv = "TARN_FONT_PINNED";

struct FontRequest {
  std::string name;  // "txt.shx", "arial.ttf", "/path/font.otf", "Arial", "" (= the default)
  bool bold = false;
  bool italic = false;
};

struct ResolvedFont {
  FontStatus status = FontStatus::FontNotFound;
  std::string file;     // absolute path of the font file
  int faceIndex = 0;    // face inside a collection (.ttc)
  bool pinned = false;  // the pinned fallback was used
};

// Forces (true) or releases (false) the pinned font for every request; the
// environment variable above forces it as well.
void setPinnedFontOnly(bool on);
bool pinnedFontOnly();

// The fontconfig family list a CAD font name maps to (empty when the name is
// neither in the stroke-font map nor in the map of common TrueType file
// names). Exposed so the map can be documented and tested.
std::string mappedFamilies(std::string_view fontName);

// Resolves a request; never answers a font that cannot be opened by path.
ResolvedFont resolveFont(const FontRequest& request);

}  // namespace tarn::font

#endif
