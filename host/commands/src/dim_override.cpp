// DIMOVERRIDE: per-object dimension variables. Variables and values are
// asked until Enter, then the objects; the overrides are merged into each
// object's "DSTYLE" list. "Clear" removes the list from the selected objects.
#include <cmath>
#include <cstdlib>

#include <tarnsdk/tcedinput.h>

#include "block_commands.h"
#include "block_support.h"
#include "command_support.h"
#include "db/records.h"
#include "dim_overrides.h"
#include "dim_variables.h"

namespace tarn::commands {
namespace {

using db::Tag;

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

bool overridable(std::string_view type) {
  return type == "DIMENSION" || type == "LEADER" || type == "TOLERANCE" || type == "ARC_DIMENSION" ||
         type == "LARGE_RADIAL_DIMENSION";
}

// The value a variable has now, as the prompt offers it: the drawing's
// header variable, else the current style's group.
std::optional<Tag> currentValue(const dims::DimVariable& v) {
  const db::Database& d = drawing();
  std::string header = "$" + std::string(v.name);
  if (const db::TagList* t = d.headerVar(header); t && !t->empty()) return t->front();
  uint32_t style = d.findRecord("DIMSTYLE", textVar("DIMSTYLE"));
  return style == db::kNoObject ? std::nullopt : db::findTag(d, style, v.code);
}

std::string shown(const std::optional<Tag>& t) {
  if (!t) return {};
  switch (t->kind) {
    case db::TagKind::String: return t->s;
    case db::TagKind::Int: return std::to_string(t->i);
    case db::TagKind::Real: return formatNumber(t->p.x);
    default: return {};
  }
}

bool parseInteger(const std::string& s, int64_t& out) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  out = v;
  return !s.empty() && *end == '\0' && v >= -32768 && v <= 32767;
}

bool parseReal(const std::string& s, double& out) {
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return !s.empty() && *end == '\0' && std::isfinite(out);
}

// The record handle a named value stands for ("." or nothing: none).
std::optional<uint64_t> recordHandle(const dims::DimVariable& v, const std::string& name) {
  const db::Database& d = drawing();
  if (name.empty() || name == ".") return 0;
  if (v.kind == dims::DimValueKind::BlockHandle) {
    uint32_t b = blocks::liveBlock(d, name);
    if (b == db::kNoObject || d.blocks()[b].record == db::kNoObject) return std::nullopt;
    return d.object(d.blocks()[b].record).handle;
  }
  uint32_t r = d.findRecord(v.kind == dims::DimValueKind::StyleHandle ? "STYLE" : "LTYPE", name);
  return r == db::kNoObject ? std::nullopt : std::optional<uint64_t>(d.object(r).handle);
}

// The override value of a typed text; an explanation when it is not one.
std::optional<Tag> parseValue(const dims::DimVariable& v, const std::string& typed, std::string& why) {
  int code = dims::xdataCode(v.kind);
  int64_t i = 0;
  double r = 0;
  switch (v.kind) {
    case dims::DimValueKind::Integer:
      if (parseInteger(typed, i)) return Tag::integer(code, i);
      why = "Requires an integer value.";
      return std::nullopt;
    case dims::DimValueKind::Real:
      if (parseReal(typed, r)) return Tag::real(code, r);
      why = "Requires numeric value.";
      return std::nullopt;
    case dims::DimValueKind::Text:
      return Tag::str(code, typed);
    default:
      if (auto h = recordHandle(v, typed)) return Tag::handle(code, *h);
      why = "\"" + typed + "\" is not defined in the drawing.";
      return std::nullopt;
  }
}

int askValue(const dims::DimVariable& v, dims::OverridePair& out) {
  std::optional<Tag> now = currentValue(v);
  std::string dflt = shown(now);
  bool spaces = v.kind == dims::DimValueKind::Text;
  for (;;) {
    std::string typed;
    Answer a = askString("Enter new value for dimension variable" + (dflt.empty() ? std::string() : " <" + dflt + ">") +
                             ": ",
                         typed, spaces);
    if (cancelled(a.status)) return RTCAN;
    if (a.status == RTNONE) {
      if (dflt.empty() && v.kind != dims::DimValueKind::Text) continue;
      typed = dflt;
    }
    std::string why;
    if (auto value = parseValue(v, typed, why)) {
      out = {v.code, *value};
      return RTNORM;
    }
    print(why + "\n");
  }
}

// Variables and values until Enter; `clear` when the user chose Clear.
int askOverrides(std::vector<dims::OverridePair>& pairs, bool& clear) {
  for (;;) {
    char buf[512] = {0};
    tcedInitGet(128, "Clear");
    int rc = tcedGetKword("Enter dimension variable name to override or [Clear overrides]: ", buf, sizeof buf);
    if (rc == RTNONE) return RTNORM;
    if (rc != RTNORM) return RTCAN;
    std::string typed = buf;
    if (typed == "Clear") {
      clear = true;
      return RTNORM;
    }
    size_t start = typed.find_first_not_of("_.");
    std::string name = start == std::string::npos ? std::string() : typed.substr(start);
    auto v = dims::findDimVariable(name);
    if (!v) {
      print("Unknown dimension variable \"" + typed + "\".\n");
      continue;
    }
    dims::OverridePair pair{0, {}};
    if (askValue(*v, pair) != RTNORM) return RTCAN;
    dims::mergeOverrides(pairs, {pair});
  }
}

std::vector<uint32_t> chooseDimensions(int& status) {
  std::vector<uint32_t> ids = withoutLocked(selectObjects(status)), out;
  for (uint32_t id : ids)
    if (overridable(drawing().typeOf(id))) out.push_back(id);
  if (ids.size() != out.size())
    print(std::to_string(ids.size() - out.size()) + " object(s) were not dimensions or leaders and are left alone.\n");
  return out;
}

void apply(uint32_t id, const std::vector<dims::OverridePair>& pairs, bool clear) {
  db::Database& d = drawing();
  db::TagList tags = d.tagList(id);
  std::vector<dims::OverridePair> now = clear ? std::vector<dims::OverridePair>{} : dims::readOverrides(tags);
  dims::mergeOverrides(now, pairs);
  db::TagList changed = dims::withOverrides(tags, now);
  if (changed != tags) d.replaceTags(id, changed);
}

}  // namespace

int dimoverrideCommand() {
  std::vector<dims::OverridePair> pairs;
  bool clear = false;
  if (askOverrides(pairs, clear) != RTNORM) return RTCAN;
  if (pairs.empty() && !clear) return RTNORM;
  int status = RTNORM;
  std::vector<uint32_t> ids = chooseDimensions(status);
  if (status == RTCAN) return RTCAN;
  if (ids.empty()) return RTNORM;
  if (!clear && db::ensureAppId(drawing(), "ACAD") == db::kNoObject) {
    print("The application name \"ACAD\" could not be registered.\n");
    return RTERROR;
  }
  for (uint32_t id : ids) apply(id, pairs, clear);
  return RTNORM;
}

}  // namespace tarn::commands
