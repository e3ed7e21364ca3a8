// System variables: one table of names, types, storage, defaults and ranges.
#include "api/sysvars.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include <tarnsdk/tcedapi.h>

#include "api/host_state.h"
#include "api/resbuf_util.h"

namespace tarn::host {
namespace {

constexpr double kNoLimit = 1e300;

struct Row {
  SysVarInfo info;
  const char* fallback;   // the value when neither drawing nor session has one
  double min, max;        // accepted range of numbers
  int headerCode;         // the group code of the header variable
};

using V = VarType;
// clang-format off
const Row kVars[] = {
  {{"ANGBASE", V::Real, false, true}, "0", -kNoLimit, kNoLimit, 50},
  {{"ANGDIR", V::Short, false, true}, "0", 0, 1, 70},
  {{"APERTURE", V::Short, false, false}, "10", 1, 50, 70},
  {{"AREA", V::Real, true, false}, "0", -kNoLimit, kNoLimit, 40},
  {{"ATTDIA", V::Short, false, false}, "0", 0, 1, 70},
  {{"ATTMODE", V::Short, false, true}, "1", 0, 2, 70},
  {{"ATTREQ", V::Short, false, false}, "1", 0, 1, 70},
  {{"AUNITS", V::Short, false, true}, "0", 0, 4, 70},
  {{"AUPREC", V::Short, false, true}, "0", 0, 8, 70},
  {{"BLOCKEDITOR", V::Short, true, false}, "0", 0, 1, 70},
  {{"BLIPMODE", V::Short, false, false}, "0", 0, 1, 70},
  {{"CECOLOR", V::Text, false, true}, "BYLAYER", 0, 0, 62},
  {{"CELTSCALE", V::Real, false, true}, "1", 0, kNoLimit, 40},
  {{"CELTYPE", V::Text, false, true}, "ByLayer", 0, 0, 6},
  {{"CELWEIGHT", V::Short, false, true}, "-1", -3, 211, 370},
  {{"CIRCLERAD", V::Real, false, false}, "0", 0, kNoLimit, 40},
  {{"CLAYER", V::Text, false, true}, "0", 0, 0, 8},
  {{"CMDECHO", V::Short, false, false}, "1", 0, 1, 70},
  {{"CPROFILE", V::Text, true, false}, "<<Unnamed Profile>>", 0, 0, 1},
  {{"CTAB", V::Text, false, false}, "Model", 0, 0, 1},
  {{"CVPORT", V::Short, false, false}, "2", 1, 32767, 70},
  {{"DIMASSOC", V::Short, false, true}, "2", 0, 2, 280},
  {{"DIMSCALE", V::Real, false, true}, "1", 0, kNoLimit, 40},
  {{"DIMSTYLE", V::Text, true, true}, "Standard", 0, 0, 2},
  {{"DIMZIN", V::Short, false, true}, "8", 0, 15, 70},
  {{"DRAGMODE", V::Short, false, true}, "2", 0, 2, 70},
  {{"DWGCODEPAGE", V::Text, true, true}, "ANSI_1252", 0, 0, 3},
  {{"DWGNAME", V::Text, true, false}, "Drawing1.dwg", 0, 0, 1},
  {{"DWGPREFIX", V::Text, true, false}, "", 0, 0, 1},
  {{"EDGEMODE", V::Short, false, false}, "0", 0, 1, 70},
  {{"ELEVATION", V::Real, false, true}, "0", -kNoLimit, kNoLimit, 40},
  {{"ERRNO", V::Short, false, false}, "0", -32768, 32767, 70},
  {{"EXPERT", V::Short, false, false}, "0", 0, 5, 70},
  {{"EXTMAX", V::Point3, true, true}, "0,0,0", 0, 0, 10},
  {{"EXTMIN", V::Point3, true, true}, "0,0,0", 0, 0, 10},
  {{"FILEDIA", V::Short, false, false}, "1", 0, 1, 70},
  {{"FILLETRAD", V::Real, false, true}, "0", 0, kNoLimit, 40},
  {{"FILLMODE", V::Short, false, true}, "1", 0, 1, 70},
  {{"FULLOPEN", V::Short, true, false}, "1", 0, 1, 70},
  {{"GRIDMODE", V::Short, false, false}, "0", 0, 1, 70},
  {{"HIGHLIGHT", V::Short, false, false}, "1", 0, 1, 70},
  {{"INETLOCATION", V::Text, false, false}, "about:blank", 0, 0, 1},
  {{"INSBASE", V::Point3, false, true}, "0,0,0", 0, 0, 10},
  {{"INSUNITS", V::Short, false, true}, "4", 0, 24, 70},
  {{"LASTPOINT", V::Point3, false, false}, "0,0,0", 0, 0, 10},
  {{"LAYLOCKFADECTL", V::Short, false, false}, "50", -90, 90, 70},
  {{"LIMCHECK", V::Short, false, true}, "0", 0, 1, 70},
  {{"LIMMAX", V::Point2, false, true}, "420,297", 0, 0, 10},
  {{"LIMMIN", V::Point2, false, true}, "0,0", 0, 0, 10},
  {{"LTSCALE", V::Real, false, true}, "1", 1e-300, kNoLimit, 40},
  {{"LUNITS", V::Short, false, true}, "2", 1, 5, 70},
  {{"LUPREC", V::Short, false, true}, "4", 0, 8, 70},
  {{"LWDISPLAY", V::Short, false, true}, "0", 0, 1, 290},
  {{"MAXACTVP", V::Short, false, true}, "64", 2, 64, 70},
  {{"MIRRTEXT", V::Short, false, true}, "0", 0, 1, 70},
  {{"OFFSETDIST", V::Real, false, false}, "-1", -kNoLimit, kNoLimit, 40},
  {{"OFFSETGAPTYPE", V::Short, false, false}, "0", 0, 2, 70},
  {{"ORTHOMODE", V::Short, false, true}, "0", 0, 1, 70},
  {{"OSMODE", V::Short, false, false}, "4133", 0, 32767, 70},
  {{"PDMODE", V::Short, false, true}, "0", -32768, 32767, 70},
  {{"PDSIZE", V::Real, false, true}, "0", -kNoLimit, kNoLimit, 40},
  {{"PERIMETER", V::Real, true, false}, "0", -kNoLimit, kNoLimit, 40},
  {{"PERSPECTIVE", V::Short, false, false}, "0", 0, 1, 70},
  {{"PICKADD", V::Short, false, false}, "1", 0, 2, 70},
  {{"PICKBOX", V::Short, false, false}, "3", 0, 50, 70},
  {{"PICKFIRST", V::Short, false, false}, "1", 0, 1, 70},
  {{"PICKSTYLE", V::Short, false, false}, "1", 0, 3, 70},
  {{"PLINEWID", V::Real, false, true}, "0", 0, kNoLimit, 40},
  {{"PROJMODE", V::Short, false, false}, "1", 0, 2, 70},
  {{"PSLTSCALE", V::Short, false, true}, "1", 0, 1, 70},
  {{"QAFLAGS", V::Short, false, false}, "0", 0, 32767, 70},
  {{"REGENMODE", V::Short, false, true}, "1", 0, 1, 70},
  {{"SAVENAME", V::Text, true, false}, "", 0, 0, 1},
  {{"SCREENSIZE", V::Point2, true, false}, "1024,768", 0, 0, 10},
  {{"SNAPANG", V::Real, false, false}, "0", -kNoLimit, kNoLimit, 50},
  {{"SNAPMODE", V::Short, false, false}, "0", 0, 1, 70},
  {{"SUPPORTPATH", V::Text, false, false}, "", 0, 0, 1},
  {{"SURFTAB1", V::Short, false, true}, "6", 2, 32766, 70},
  {{"SURFTAB2", V::Short, false, true}, "6", 2, 32766, 70},
  {{"TEMPPREFIX", V::Text, true, false}, "", 0, 0, 1},
  {{"TEXTSIZE", V::Real, false, true}, "2.5", 1e-300, kNoLimit, 40},
  {{"TEXTSTYLE", V::Text, false, true}, "Standard", 0, 0, 7},
  {{"THICKNESS", V::Real, false, true}, "0", -kNoLimit, kNoLimit, 40},
  {{"TILEMODE", V::Short, false, true}, "1", 0, 1, 70},
  {{"TRIMMODE", V::Short, false, false}, "1", 0, 1, 70},
  {{"UCSAXISANG", V::Short, false, false}, "90", 5, 180, 70},
  {{"UCSFOLLOW", V::Short, false, false}, "0", 0, 1, 70},
  {{"UCSICON", V::Short, false, false}, "3", 0, 3, 70},
  {{"UCSNAME", V::Text, true, true}, "", 0, 0, 2},
  {{"UCSORG", V::Point3, true, true}, "0,0,0", 0, 0, 10},
  {{"UCSXDIR", V::Point3, true, true}, "1,0,0", 0, 0, 10},
  {{"UCSYDIR", V::Point3, true, true}, "0,1,0", 0, 0, 10},
  {{"UNITMODE", V::Short, false, true}, "0", 0, 1, 70},
  {{"VIEWCTR", V::Point3, true, false}, "210,148.5,0", 0, 0, 10},
  {{"VIEWDIR", V::Point3, true, false}, "0,0,1", 0, 0, 10},
  {{"VIEWMODE", V::Short, true, false}, "0", 0, 127, 70},
  {{"VIEWSIZE", V::Real, true, false}, "297", 0, 0, 40},
  {{"WORLDUCS", V::Short, true, false}, "1", 0, 1, 70},
};
// clang-format on

const Row* findRow(std::string_view name) {
  for (const Row& r : kVars)
    if (db::equalsNoCase(r.info.name, name)) return &r;
  return nullptr;
}

SysVarValue parseFallback(const Row& r) {
  SysVarValue v;
  v.type = r.info.type;
  if (r.info.type == V::Text) { v.text = r.fallback; return v; }
  if (r.info.type == V::Point2 || r.info.type == V::Point3) {
    double p[3] = {0, 0, 0};
    const char* s = r.fallback;
    for (int i = 0; i < 3 && *s; ++i) {
      char* end;
      p[i] = std::strtod(s, &end);
      s = *end == ',' ? end + 1 : end;
    }
    v.point = {p[0], p[1], p[2]};
    return v;
  }
  v.number = std::strtod(r.fallback, nullptr);
  return v;
}

std::map<std::string, SysVarValue>& session() {
  static std::map<std::string, SysVarValue> s;
  return s;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Variables that the host answers from its state rather than storage.
bool computed(std::string_view name, SysVarValue& out) {
  db::Database* d = currentDatabase();
  std::string path = d ? d->path : std::string();
  if (name == "DWGNAME") {
    size_t slash = path.rfind('/');
    out = textValue(path.empty() ? "Drawing1.dwg" : path.substr(slash == std::string::npos ? 0 : slash + 1));
    return true;
  }
  if (name == "DWGPREFIX") {
    out = textValue(path.empty() ? std::string() : folderOf(path));
    return true;
  }
  if (name == "SAVENAME") { out = textValue(path); return true; }
  if (name == "TEMPPREFIX") {
    const char* t = std::getenv("TMPDIR");
    std::string dir = t && *t ? t : "/tmp";
    if (dir.back() != '/') dir += '/';
    out = textValue(dir);
    return true;
  }
  return false;
}

bool fromHeader(const Row& r, SysVarValue& out) {
  db::Database* d = currentDatabase();
  if (!d || !r.info.inDrawing) return false;
  const db::TagList* tags = d->headerVar("$" + std::string(r.info.name));
  if (!tags || tags->empty()) return false;
  const db::Tag& t = tags->front();
  out.type = r.info.type;
  if (r.info.name == "CECOLOR") {  // kept as a colour number, shown as a text
    int64_t c = t.i;
    out.text = c == 256 ? "BYLAYER" : c == 0 ? "BYBLOCK" : std::to_string(c);
    return true;
  }
  switch (t.kind) {
    case db::TagKind::String: out.text = t.s; break;
    case db::TagKind::Point2:
    case db::TagKind::Point3: out.point = t.p; break;
    case db::TagKind::Int: out.number = double(t.i); break;
    case db::TagKind::Real: out.number = t.p.x; break;
    case db::TagKind::Handle: out.number = double(t.i); break;
  }
  return true;
}

void toHeader(const Row& r, const SysVarValue& v) {
  db::Database* d = currentDatabase();
  std::string key = "$" + std::string(r.info.name);
  int code = r.headerCode;
  if (const db::TagList* old = d->headerVar(key); old && !old->empty()) code = old->front().code;
  db::Tag t;
  switch (r.info.type) {
    case V::Text:
      if (r.info.name == "CECOLOR") {
        std::string up = db::upperAscii(v.text);
        t = db::Tag::integer(code, up == "BYLAYER" ? 256 : up == "BYBLOCK" ? 0 : std::atoi(v.text.c_str()));
      } else {
        t = db::Tag::str(code, v.text);
      }
      break;
    case V::Point2: t = db::Tag::point(code, v.point, false); break;
    case V::Point3: t = db::Tag::point(code, v.point, true); break;
    case V::Real: t = db::Tag::real(code, v.number); break;
    default: t = db::Tag::integer(code, int64_t(v.number)); break;
  }
  d->setHeaderVar(key, {t});
}

bool acceptable(const Row& r, const SysVarValue& v) {
  if (r.info.type == V::Short || r.info.type == V::Long || r.info.type == V::Real)
    return std::isfinite(v.number) && v.number >= r.min && v.number <= r.max &&
           (r.info.type == V::Real || v.number == std::floor(v.number));
  if (r.info.name == "CLAYER") {
    db::Database* d = currentDatabase();
    return d && d->findRecord("LAYER", v.text) != db::kNoObject;
  }
  if (r.info.name == "TEXTSTYLE") {
    db::Database* d = currentDatabase();
    return d && d->findRecord("STYLE", v.text) != db::kNoObject;
  }
  return true;
}

void store(const Row& r, SysVarValue v) {
  v.type = r.info.type;
  if (r.info.inDrawing && currentDatabase()) toHeader(r, v);
  else session()[std::string(r.info.name)] = v;
}

}  // namespace

SysVarValue shortValue(int v) { SysVarValue s; s.type = V::Short; s.number = v; return s; }
SysVarValue realValue(double v) { SysVarValue s; s.type = V::Real; s.number = v; return s; }
SysVarValue textValue(std::string_view v) { SysVarValue s; s.type = V::Text; s.text = v; return s; }
SysVarValue pointValue(db::Point3 p) { SysVarValue s; s.type = V::Point3; s.point = p; return s; }

const SysVarInfo* findSysVar(std::string_view name) {
  const Row* r = findRow(name);
  return r ? &r->info : nullptr;
}

std::vector<std::string_view> sysVarNames() {
  std::vector<std::string_view> out;
  for (const Row& r : kVars) out.push_back(r.info.name);
  return out;
}

bool getSysVar(std::string_view name, SysVarValue& out) {
  const Row* r = findRow(name);
  if (!r) return false;
  if (computed(r->info.name, out) || fromHeader(*r, out)) return true;
  auto it = session().find(std::string(r->info.name));
  out = it != session().end() ? it->second : parseFallback(*r);
  return true;
}

bool setSysVar(std::string_view name, const SysVarValue& value) {
  const Row* r = findRow(name);
  if (!r || r->info.readOnly || !acceptable(*r, value)) return false;
  store(*r, value);
  return true;
}

void setSysVarInternal(std::string_view name, const SysVarValue& value) {
  if (const Row* r = findRow(name)) store(*r, value);
}

}  // namespace tarn::host

using namespace tarn::host;

extern "C" {

int tcedGetVar(const char* name, struct resbuf* result) {
  SysVarValue v;
  if (!name || !result || !getSysVar(name, v)) return RTERROR;
  switch (v.type) {
    case VarType::Short: result->restype = RTSHORT; result->resval.rint = short(v.number); break;
    case VarType::Long: result->restype = RTLONG; result->resval.rlong = int32_t(v.number); break;
    case VarType::Real: result->restype = RTREAL; result->resval.rreal = v.number; break;
    case VarType::Text: result->restype = RTSTR; result->resval.rstring = copyText(v.text); break;
    case VarType::Point2:
    case VarType::Point3:
      result->restype = v.type == VarType::Point2 ? RTPOINT : RT3DPOINT;
      result->resval.rpoint[0] = v.point.x;
      result->resval.rpoint[1] = v.point.y;
      result->resval.rpoint[2] = v.point.z;
      break;
  }
  return RTNORM;
}

int tcedSetVar(const char* name, const struct resbuf* value) {
  const SysVarInfo* info = name ? findSysVar(name) : nullptr;
  if (!info || !value) return RTERROR;
  SysVarValue v;
  v.type = info->type;
  switch (value->restype) {
    case RTSHORT: v.number = value->resval.rint; break;
    case RTLONG: v.number = value->resval.rlong; break;
    case RTREAL:
    case RTANG: v.number = value->resval.rreal; break;
    case RTSTR: v.text = value->resval.rstring ? value->resval.rstring : ""; break;
    case RTPOINT:
    case RT3DPOINT: v.point = {value->resval.rpoint[0], value->resval.rpoint[1],
                               value->restype == RTPOINT ? 0 : value->resval.rpoint[2]}; break;
    default: return RTERROR;
  }
  bool textVar = info->type == VarType::Text, pointVar = info->type == VarType::Point2 || info->type == VarType::Point3;
  bool textGiven = value->restype == RTSTR, pointGiven = value->restype == RTPOINT || value->restype == RT3DPOINT;
  if (textVar != textGiven || pointVar != pointGiven) return RTERROR;
  if ((info->type == VarType::Short || info->type == VarType::Long) && (value->restype == RTREAL || value->restype == RTANG))
    return RTERROR;  // an integer variable takes integers only
  return setSysVar(name, v) ? RTNORM : RTERROR;
}

}  // extern "C"
