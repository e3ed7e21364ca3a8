// Font resolution through fontconfig, with the pinned DejaVu Sans as the
// answer of last resort (and the only answer in pinned mode).
#include "font/font_resolver.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "font_map.h"

namespace tarn::font {
namespace {

std::atomic<bool> gPinnedOnly{false};

bool envForcesPinned() {
  const char* v = std::getenv(kPinnedFontEnv);
  return v != nullptr && *v != '\0' && std::string_view(v) != "0";
}

bool readable(const std::string& path) { return !path.empty() && ::access(path.c_str(), R_OK) == 0; }

std::string lowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string_view baseName(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

struct SplitName {
  std::string stem;       // without directory and extension
  std::string extension;  // lower case, without the dot
};

SplitName splitName(std::string_view name) {
  std::string_view base = baseName(name);
  size_t dot = base.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {std::string(base), ""};
  return {std::string(base.substr(0, dot)), lowerCase(base.substr(dot + 1))};
}

bool isOutlineFileExtension(const std::string& ext) {
  static const char* const kExt[] = {"ttf", "otf", "ttc", "otc", "pfb", "pfa"};
  for (const char* e : kExt)
    if (ext == e) return true;
  return false;
}

// The pinned face for the style variant asked, DejaVu Sans's own files.
ResolvedFont pinnedFont(const FontRequest& r) {
  static const char* const kVariant[2][2] = {
      {kPinnedFontFile, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf"},
      {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
       "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"}};
  std::string file = kVariant[r.bold][r.italic];
  if (!readable(file)) file = kPinnedFontFile;
  if (!readable(file)) return {};
  return {FontStatus::Ok, file, 0, true};
}

// What to ask fontconfig for.
struct Query {
  std::string families;  // comma-separated
  std::string language;
  bool bold = false;
  bool italic = false;
};

// Owns the fontconfig configuration; all use is serialised by `mutex`.
class Fontconfig {
 public:
  Fontconfig() : config_(FcInitLoadConfigAndFonts()) {}
  ~Fontconfig() {
    if (config_) FcConfigDestroy(config_);
  }
  Fontconfig(const Fontconfig&) = delete;
  Fontconfig& operator=(const Fontconfig&) = delete;

  std::mutex mutex;

  ResolvedFont installedFile(std::string_view fileName);
  ResolvedFont match(const Query& q);

 private:
  void listFiles();
  FcConfig* config_;
  bool listed_ = false;
  std::vector<std::pair<std::string, int>> files_;  // path, face index
};

Fontconfig& fontconfig() {
  static Fontconfig instance;
  return instance;
}

void Fontconfig::listFiles() {
  listed_ = true;
  if (!config_) return;
  FcPattern* all = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
  FcFontSet* set = FcFontList(config_, all, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
    FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
    files_.emplace_back(reinterpret_cast<const char*>(file), index);
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(all);
}

ResolvedFont Fontconfig::installedFile(std::string_view fileName) {
  if (!listed_) listFiles();
  std::string wanted = lowerCase(fileName);
  for (const auto& [path, index] : files_) {
    if (lowerCase(baseName(path)) == wanted && readable(path)) return {FontStatus::Ok, path, index, false};
  }
  return {};
}

void addFamilies(FcPattern* p, const std::string& families) {
  size_t start = 0;
  while (start <= families.size()) {
    size_t comma = families.find(',', start);
    if (comma == std::string::npos) comma = families.size();
    std::string one(trimmed(std::string_view(families).substr(start, comma - start)));
    if (!one.empty()) FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(one.c_str()));
    start = comma + 1;
  }
}

FcPattern* buildPattern(const Query& q) {
  FcPattern* p = FcPatternCreate();
  addFamilies(p, q.families);
  if (!q.language.empty()) FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>(q.language.c_str()));
  FcPatternAddInteger(p, FC_WEIGHT, q.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p, FC_SLANT, q.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
  return p;
}

ResolvedFont Fontconfig::match(const Query& q) {
  if (!config_) return {};
  FcPattern* pattern = buildPattern(q);
  FcConfigSubstitute(config_, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(config_, pattern, &result);
  ResolvedFont out;
  FcChar8* file = nullptr;
  FcBool scalable = FcFalse;
  if (found && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch &&
      FcPatternGetBool(found, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable) {
    int index = 0;
    FcPatternGetInteger(found, FC_INDEX, 0, &index);
    std::string path(reinterpret_cast<const char*>(file));
    if (readable(path)) out = {FontStatus::Ok, path, index, false};
  }
  if (found) FcPatternDestroy(found);
  FcPatternDestroy(pattern);
  return out;
}

Query queryFor(const FontRequest& r, const SplitName& split) {
  Query q{"", "", r.bold, r.italic};
  if (const FontMapEntry* e = findFontMapEntry(split.stem)) {
    q.families = e->families;
    q.language = e->language;
    q.bold = q.bold || e->bold;
    q.italic = q.italic || e->italic;
  } else if (split.extension == "shx" || split.stem.empty()) {
    q.families = "DejaVu Sans,sans-serif";
  } else {
    q.families = isOutlineFileExtension(split.extension) ? split.stem : std::string(trimmed(r.name));
  }
  return q;
}

ResolvedFont resolveUnpinned(const FontRequest& r) {
  std::string_view name = trimmed(r.name);
  std::string asPath(name);
  SplitName split = splitName(name);
  // A path is taken as given only when it names an outline font file.
  if (asPath.find('/') != std::string::npos && isOutlineFileExtension(split.extension) && readable(asPath))
    return {FontStatus::Ok, asPath, 0, false};
  Fontconfig& fc = fontconfig();
  std::lock_guard lock(fc.mutex);
  if (isOutlineFileExtension(split.extension)) {
    ResolvedFont installed = fc.installedFile(baseName(name));
    if (installed.status == FontStatus::Ok) return installed;
  }
  return fc.match(queryFor(r, split));
}

}  // namespace

void setPinnedFontOnly(bool on) { gPinnedOnly = on; }

bool pinnedFontOnly() { return gPinnedOnly || envForcesPinned(); }

std::string mappedFamilies(std::string_view fontName) {
  const FontMapEntry* e = findFontMapEntry(splitName(trimmed(fontName)).stem);
  return e ? e->families : "";
}

ResolvedFont resolveFont(const FontRequest& request) {
  if (!pinnedFontOnly()) {
    ResolvedFont found = resolveUnpinned(request);
    if (found.status == FontStatus::Ok) return found;
  }
  return pinnedFont(request);
}

}  // namespace tarn::font
