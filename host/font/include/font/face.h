// A loaded font face measured in cap-height units: a glyph's advance, ink box
// and outline, scaled so that the height of a capital letter is 1. Faces are
// loaded once and cached for the life of the process.
#ifndef TARN_FONT_FACE_H
#define TARN_FONT_FACE_H

#include <memory>
#include <string>
#include <vector>

#include "font/font_resolver.h"
#include "font/geometry.h"
#include "font/status.h"

namespace tarn::font {

// One segment of a glyph contour in cap-height units. A contour starts with a
// Move; Quad uses c1, Cubic uses c1 and c2; `to` is the end point.
struct PathSegment {
  enum Kind { Move, Line, Quad, Cubic } kind = Move;
  Point2 c1;
  Point2 c2;
  Point2 to;
};

struct GlyphMetrics {
  double advance = 0.0;  // pen advance in cap-height units
  Box2 ink;              // exact ink extents; empty for blank glyphs (space)
};

class Face {
 public:
  ~Face();
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  const std::string& file() const;
  const std::string& familyName() const;
  // Font units per cap height: the ink top of "H", else the OS/2 cap height,
  // else 0.7 em.
  double capHeightUnits() const;
  // The font's typographic descender in cap-height units (negative).
  double descender() const;
  // True when the face has a glyph of its own for c (no fallback needed).
  bool hasGlyph(char32_t c) const;
  // Metrics and outline of c. A character the face lacks is taken from the
  // pinned face (both are in cap-height units), and failing that it is the
  // face's missing-glyph box.
  GlyphMetrics metrics(char32_t c) const;
  std::vector<PathSegment> outline(char32_t c) const;

  struct Impl;
  explicit Face(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

struct FaceResult {
  FontStatus status = FontStatus::FontNotFound;
  const Face* face = nullptr;  // owned by the cache, valid until process exit
};

// Resolves and loads the font of a request; cached by request and by file.
FaceResult loadFace(const FontRequest& request);

}  // namespace tarn::font

#endif
