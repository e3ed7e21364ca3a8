// FreeType faces measured in cap-height units, and the process-wide cache of
// loaded faces (by resolution request and by file).
#include "font/face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H

#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace tarn::font {

struct CachedGlyph {
  bool present = false;  // the face has its own glyph (else: its missing-glyph box)
  GlyphMetrics metrics;
  std::vector<PathSegment> outline;
};

struct Face::Impl {
  FT_Face ft = nullptr;
  std::string file;
  std::string family;
  double capUnits = 1.0;
  const Face* fallback = nullptr;  // the pinned face, null for the pinned face itself
  mutable std::mutex mutex;        // FreeType faces are not safe to share between threads
  mutable std::unordered_map<char32_t, CachedGlyph> glyphs;

  ~Impl() {
    if (ft) FT_Done_Face(ft);
  }
  const CachedGlyph& glyph(char32_t c) const;
  CachedGlyph load(FT_UInt index) const;
};

namespace {

struct OutlineSink {
  std::vector<PathSegment>* out;
  double scale;
  Point2 at(const FT_Vector* v) const { return {double(v->x) * scale, double(v->y) * scale}; }
};

int moveTo(const FT_Vector* to, void* user) {
  auto* s = static_cast<OutlineSink*>(user);
  s->out->push_back({PathSegment::Move, {}, {}, s->at(to)});
  return 0;
}
int lineTo(const FT_Vector* to, void* user) {
  auto* s = static_cast<OutlineSink*>(user);
  s->out->push_back({PathSegment::Line, {}, {}, s->at(to)});
  return 0;
}
int conicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
  auto* s = static_cast<OutlineSink*>(user);
  s->out->push_back({PathSegment::Quad, s->at(c), {}, s->at(to)});
  return 0;
}
int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  auto* s = static_cast<OutlineSink*>(user);
  s->out->push_back({PathSegment::Cubic, s->at(c1), s->at(c2), s->at(to)});
  return 0;
}

constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING;

// Font units per cap height, by the rule stated in the header.
double capHeightUnits(FT_Face ft) {
  FT_UInt h = FT_Get_Char_Index(ft, 'H');
  if (h && FT_Load_Glyph(ft, h, kLoadFlags) == 0 && ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_BBox box;
    if (FT_Outline_Get_BBox(&ft->glyph->outline, &box) == 0 && box.yMax > 0) return double(box.yMax);
  }
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  if (os2 && os2->version >= 2 && os2->sCapHeight > 0) return double(os2->sCapHeight);
  return 0.7 * double(ft->units_per_EM);
}

}  // namespace

CachedGlyph Face::Impl::load(FT_UInt index) const {
  CachedGlyph g;
  if (FT_Load_Glyph(ft, index, kLoadFlags) != 0) return g;
  const double scale = 1.0 / capUnits;
  g.metrics.advance = double(ft->glyph->metrics.horiAdvance) * scale;
  if (ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE || ft->glyph->outline.n_points == 0) return g;
  FT_BBox box;
  if (FT_Outline_Get_BBox(&ft->glyph->outline, &box) == 0) {
    g.metrics.ink.add(Point2{double(box.xMin) * scale, double(box.yMin) * scale});
    g.metrics.ink.add(Point2{double(box.xMax) * scale, double(box.yMax) * scale});
  }
  FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
  OutlineSink sink{&g.outline, scale};
  FT_Outline_Decompose(&ft->glyph->outline, &funcs, &sink);
  return g;
}

const CachedGlyph& Face::Impl::glyph(char32_t c) const {
  std::lock_guard lock(mutex);
  auto it = glyphs.find(c);
  if (it == glyphs.end()) {
    FT_UInt index = FT_Get_Char_Index(ft, c);
    CachedGlyph g = load(index);
    g.present = index != 0;
    it = glyphs.emplace(c, std::move(g)).first;
  }
  return it->second;  // entries are never erased; references stay valid
}

Face::Face(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Face::~Face() = default;

const std::string& Face::file() const { return impl_->file; }
const std::string& Face::familyName() const { return impl_->family; }
double Face::capHeightUnits() const { return impl_->capUnits; }
double Face::descender() const { return double(impl_->ft->descender) / impl_->capUnits; }
bool Face::hasGlyph(char32_t c) const { return impl_->glyph(c).present; }

GlyphMetrics Face::metrics(char32_t c) const {
  const CachedGlyph& g = impl_->glyph(c);
  if (!g.present && impl_->fallback && impl_->fallback->hasGlyph(c)) return impl_->fallback->metrics(c);
  return g.metrics;
}

std::vector<PathSegment> Face::outline(char32_t c) const {
  const CachedGlyph& g = impl_->glyph(c);
  if (!g.present && impl_->fallback && impl_->fallback->hasGlyph(c)) return impl_->fallback->outline(c);
  return g.outline;
}

namespace {

// Loaded faces by file and by request. FreeType's library object is used
// only under `mutex_`; glyph loading uses each face's own mutex.
class FaceCache {
 public:
  FaceCache() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FaceCache() {
    byFile_.clear();
    if (library_) FT_Done_FreeType(library_);
  }
  FaceCache(const FaceCache&) = delete;
  FaceCache& operator=(const FaceCache&) = delete;

  FaceResult get(const FontRequest& request);

 private:
  using RequestKey = std::tuple<bool, std::string, bool, bool>;
  const Face* open(const ResolvedFont& font);
  const Face* pinnedFace();

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  std::map<std::string, std::unique_ptr<Face>> byFile_;
  std::map<RequestKey, const Face*> byRequest_;
};

FaceCache& cache() {
  static FaceCache instance;
  return instance;
}

const Face* FaceCache::pinnedFace() {
  auto it = byFile_.find(std::string(kPinnedFontFile) + "#0");
  return it == byFile_.end() ? nullptr : it->second.get();
}

const Face* FaceCache::open(const ResolvedFont& font) {
  std::string key = font.file + "#" + std::to_string(font.faceIndex);
  if (auto it = byFile_.find(key); it != byFile_.end()) return it->second.get();
  auto impl = std::make_unique<Face::Impl>();
  if (!library_ || FT_New_Face(library_, font.file.c_str(), font.faceIndex, &impl->ft) != 0) return nullptr;
  if (!FT_IS_SCALABLE(impl->ft) || impl->ft->units_per_EM == 0) return nullptr;
  impl->file = font.file;
  impl->family = impl->ft->family_name ? impl->ft->family_name : "";
  impl->capUnits = capHeightUnits(impl->ft);
  impl->fallback = pinnedFace();  // null while the pinned face itself is opened
  Face* face = byFile_.emplace(key, std::make_unique<Face>(std::move(impl))).first->second.get();
  return face;
}

FaceResult FaceCache::get(const FontRequest& request) {
  std::lock_guard lock(mutex_);
  RequestKey key{pinnedFontOnly(), request.name, request.bold, request.italic};
  if (auto it = byRequest_.find(key); it != byRequest_.end()) return {FontStatus::Ok, it->second};
  const Face* pinned = pinnedFace();
  if (!pinned) pinned = open({FontStatus::Ok, kPinnedFontFile, 0, true});
  ResolvedFont resolved = resolveFont(request);
  const Face* face = resolved.status == FontStatus::Ok ? open(resolved) : nullptr;
  if (!face) face = pinned;
  if (!face) return {};
  byRequest_.emplace(key, face);
  return {FontStatus::Ok, face};
}

}  // namespace

FaceResult loadFace(const FontRequest& request) { return cache().get(request); }

}  // namespace tarn::font
