// The map of CAD font names to installed faces. Stroke fonts have no outline
// files on this system; each is drawn with the installed face closest in
// look: plain stroke fonts with a sans face, the serif and italic ones with
// a serif face, the fixed-pitch one with a mono face, and big fonts for East
// Asian scripts with a CJK face for their language. Common TrueType file
// names map to their family so that fontconfig can pick an installed
// metric-compatible face.
#include "font_map.h"

#include <array>
#include <cctype>
#include <string>

namespace tarn::font {
namespace {

constexpr const char* kSans = "DejaVu Sans,Liberation Sans,sans-serif";
constexpr const char* kSerif = "DejaVu Serif,Liberation Serif,serif";
constexpr const char* kMono = "DejaVu Sans Mono,Liberation Mono,monospace";
constexpr const char* kCjk = "Noto Sans CJK SC,WenQuanYi Zen Hei,AR PL UMing CN,sans-serif";
constexpr const char* kCjkTw = "Noto Sans CJK TC,AR PL UMing TW,WenQuanYi Zen Hei,sans-serif";
constexpr const char* kCjkJa = "Noto Sans CJK JP,IPAGothic,sans-serif";
constexpr const char* kCjkKo = "Noto Sans CJK KR,UnDotum,sans-serif";

constexpr std::array kEntries{
    // Stroke fonts.
    FontMapEntry{"txt", kSans, "", false, false},
    FontMapEntry{"simplex", kSans, "", false, false},
    FontMapEntry{"romans", kSans, "", false, false},
    FontMapEntry{"isocp", kSans, "", false, false},
    FontMapEntry{"isocp2", kSans, "", false, false},
    FontMapEntry{"isocp3", kSans, "", false, false},
    FontMapEntry{"isoct", kSans, "", false, false},
    FontMapEntry{"isoct2", kSans, "", false, false},
    FontMapEntry{"isoct3", kSans, "", false, false},
    FontMapEntry{"greeks", kSans, "", false, false},
    FontMapEntry{"syastro", kSans, "", false, false},
    FontMapEntry{"symap", kSans, "", false, false},
    FontMapEntry{"symath", kSans, "", false, false},
    FontMapEntry{"symeteo", kSans, "", false, false},
    FontMapEntry{"symusic", kSans, "", false, false},
    FontMapEntry{"monotxt", kMono, "", false, false},
    FontMapEntry{"romand", kSerif, "", false, false},
    FontMapEntry{"romanc", kSerif, "", false, false},
    FontMapEntry{"romant", kSerif, "", true, false},
    FontMapEntry{"complex", kSerif, "", false, false},
    FontMapEntry{"greekc", kSerif, "", false, false},
    FontMapEntry{"gothice", kSerif, "", true, false},
    FontMapEntry{"gothicg", kSerif, "", true, false},
    FontMapEntry{"gothici", kSerif, "", true, false},
    FontMapEntry{"italic", kSerif, "", false, true},
    FontMapEntry{"italicc", kSerif, "", false, true},
    FontMapEntry{"italict", kSerif, "", true, true},
    FontMapEntry{"scripts", kSerif, "", false, true},
    FontMapEntry{"scriptc", kSerif, "", false, true},
    // Big fonts for East Asian scripts.
    FontMapEntry{"gbcbig", kCjk, "zh-cn", false, false},
    FontMapEntry{"hztxt", kCjk, "zh-cn", false, false},
    FontMapEntry{"chineset", kCjkTw, "zh-tw", false, false},
    FontMapEntry{"bigfont", kCjkJa, "ja", false, false},
    FontMapEntry{"extfont", kCjkJa, "ja", false, false},
    FontMapEntry{"extfont2", kCjkJa, "ja", false, false},
    FontMapEntry{"whgtxt", kCjkKo, "ko", false, false},
    FontMapEntry{"whgdtxt", kCjkKo, "ko", false, false},
    // Common TrueType file names.
    FontMapEntry{"arial", "Arial,Liberation Sans,DejaVu Sans,sans-serif", "", false, false},
    FontMapEntry{"arialbd", "Arial,Liberation Sans,DejaVu Sans,sans-serif", "", true, false},
    FontMapEntry{"ariali", "Arial,Liberation Sans,DejaVu Sans,sans-serif", "", false, true},
    FontMapEntry{"arialn", "Arial Narrow,Liberation Sans Narrow,DejaVu Sans Condensed,sans-serif", "", false, false},
    FontMapEntry{"times", "Times New Roman,Liberation Serif,DejaVu Serif,serif", "", false, false},
    FontMapEntry{"cour", "Courier New,Liberation Mono,DejaVu Sans Mono,monospace", "", false, false},
    FontMapEntry{"calibri", "Calibri,Carlito,DejaVu Sans,sans-serif", "", false, false},
    FontMapEntry{"verdana", "Verdana,DejaVu Sans,sans-serif", "", false, false},
    FontMapEntry{"tahoma", "Tahoma,DejaVu Sans,sans-serif", "", false, false},
    FontMapEntry{"simsun", "SimSun,Noto Serif CJK SC,AR PL UMing CN,serif", "zh-cn", false, false},
    FontMapEntry{"simhei", "SimHei,Noto Sans CJK SC,WenQuanYi Zen Hei,sans-serif", "zh-cn", false, false},
    FontMapEntry{"msyh", "Microsoft YaHei,Noto Sans CJK SC,WenQuanYi Zen Hei,sans-serif", "zh-cn", false, false},
};

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

const FontMapEntry* findFontMapEntry(std::string_view stem) {
  std::string key = lowerCase(stem);
  for (const FontMapEntry& e : kEntries) {
    if (key == e.name) return &e;
  }
  return nullptr;
}

}  // namespace tarn::font
