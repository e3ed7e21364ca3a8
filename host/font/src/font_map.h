// The map of CAD font names (stroke fonts and common TrueType file names) to
// fontconfig family lists.
#ifndef TARN_FONT_SRC_FONT_MAP_H
#define TARN_FONT_SRC_FONT_MAP_H

#include <string_view>

namespace tarn::font {

struct FontMapEntry {
  const char* name;      // file stem, lower case ("txt", "arial")
  const char* families;  // fontconfig families, comma-separated, in preference order
  const char* language;  // fontconfig language hint, "" for none
  bool bold;
  bool italic;
};

// The entry for a file stem (case-insensitive), or nullptr.
const FontMapEntry* findFontMapEntry(std::string_view stem);

}  // namespace tarn::font

#endif
