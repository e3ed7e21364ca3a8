// Entity lists from tags and back.
#include "api/entity_list.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <tarnsdk/groupcodes.h>

#include "api/host_state.h"
#include "api/resbuf_util.h"

namespace tarn::host {
namespace {

using db::TagCursor;
using db::TagKind;

// Entity lists give angles (groups 50 to 58) in radians where files keep
// degrees.
bool isAngleGroup(std::string_view, int code) { return code >= 50 && code <= 58; }
constexpr double kRadPerDeg = M_PI / 180.0;

std::string hexOf(uint64_t h) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, h, 16);
  std::string s(buf, r.ptr);
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

void addBinary(ChainBuilder& out, int code, std::string_view hex) {
  struct resbuf* rb = out.add(code);
  size_t n = hex.size() / 2;
  rb->resval.rbinary.clen = short(n);
  rb->resval.rbinary.buf = static_cast<char*>(std::malloc(n ? n : 1));
  for (size_t i = 0; i < n; ++i) {
    unsigned v = 0;
    std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, v, 16);
    rb->resval.rbinary.buf[i] = char(v);
  }
}

void addTag(ChainBuilder& out, const db::Database& db, const TagCursor& c, std::string_view type) {
  int code = c.code();
  if (c.kind() == TagKind::Real && isAngleGroup(type, code)) {
    out.addReal(code, c.real() * kRadPerDeg);
    return;
  }
  tc_value_kind want = tcValueKind(code);
  switch (c.kind()) {
    case TagKind::String:
      if (want == TC_KIND_BINARY) addBinary(out, code, c.str());
      else if (want == TC_KIND_NAME) { tc_name nil = {0, 0}; out.addName(code, nil); }
      else out.addText(code, c.str());
      return;
    case TagKind::Real: {
      if (want == TC_KIND_POINT) out.addPoint(code, c.real(), 0, 0);
      else out.addReal(code, c.real());
      return;
    }
    case TagKind::Point2:
    case TagKind::Point3: {
      db::Point3 p = c.point();
      out.addPoint(code, p.x, p.y, p.z);
      return;
    }
    case TagKind::Int:
      if (want == TC_KIND_LONG) out.addLong(code, int32_t(c.integer()));
      else if (want == TC_KIND_INT64) out.add(code)->resval.mnInt64 = c.integer();
      else if (want == TC_KIND_REAL) out.addReal(code, double(c.integer()));
      else out.addShort(code, int(c.integer()));
      return;
    case TagKind::Handle: {
      if (want == TC_KIND_NAME) {
        tc_name n;
        makeName(db, db.findHandle(c.handle()), n);
        out.addName(code, n);
      } else {
        out.addText(code, hexOf(c.handle()));
      }
      return;
    }
  }
}

bool appWanted(std::string_view app, const struct resbuf* apps) {
  for (const struct resbuf* a = apps; a; a = a->rbnext) {
    if (a->restype != RTSTR || !a->resval.rstring) continue;
    std::string_view want = a->resval.rstring;
    if (want == "*" || db::equalsNoCase(want, app)) return true;
  }
  return false;
}

bool parseHex(std::string_view s, uint64_t& h) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), h, 16);
  return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

// Which occurrences of each point code were 2D in an object.
struct PointShapes {
  std::vector<std::pair<int, bool>> seen;  // (code, is2d) in order
  bool is2d(int code, int occurrence) const {
    int n = 0;
    for (auto& [c, flat] : seen)
      if (c == code && n++ == occurrence) return flat;
    return false;
  }
};

PointShapes pointShapes(const db::Database& db, uint32_t id) {
  PointShapes s;
  if (id == db::kNoObject) return s;
  for (TagCursor c = db.tags(id); !c.done(); c.next())
    if (c.kind() == TagKind::Point2 || c.kind() == TagKind::Point3)
      s.seen.emplace_back(c.code(), c.kind() == TagKind::Point2);
  return s;
}

std::string binaryHex(const struct resbuf* rb) {
  static const char* hex = "0123456789ABCDEF";
  std::string s;
  for (int i = 0; i < rb->resval.rbinary.clen; ++i) {
    auto b = static_cast<unsigned char>(rb->resval.rbinary.buf[i]);
    s += hex[b >> 4];
    s += hex[b & 15];
  }
  return s;
}

}  // namespace

size_t xdataStart(const db::TagList& tags) {
  for (size_t i = 0; i < tags.size(); ++i)
    if (tags[i].code == 1001) return i;
  return tags.size();
}

struct resbuf* buildEntityList(const db::Database& db, uint32_t id, const struct resbuf* apps) {
  ChainBuilder out;
  tc_name self;
  makeName(db, id, self);
  out.addName(-1, self);
  out.addText(0, db.typeOf(id));
  TagCursor c = db.tags(id);
  std::string_view type = db.typeOf(id);
  for (; !c.done() && c.code() != 1001; c.next()) addTag(out, db, c, type);
  bool marked = false, keep = false;
  for (; !c.done(); c.next()) {
    if (c.code() == 1001) keep = appWanted(c.str(), apps);
    if (!keep) continue;
    if (!marked) {
      out.add(-3);
      marked = true;
    }
    addTag(out, db, c, "");
  }
  return out.take();
}

// The degrees of an angle given in radians; the object's own value when it
// is the same angle, so that writing back an unchanged list changes nothing.
double degreesOf(const db::Database& db, uint32_t like, int code, int occurrence, double radians) {
  if (like != db::kNoObject) {
    int n = 0;
    for (TagCursor c = db.tags(like); !c.done(); c.next())
      if (c.code() == code && c.kind() == TagKind::Real && n++ == occurrence) {
        if (c.real() * kRadPerDeg == radians) return c.real();
        break;
      }
  }
  return radians / kRadPerDeg;
}

bool listToTags(const db::Database& db, const struct resbuf* list, uint32_t like, db::TagList& out,
                std::string& error) {
  PointShapes shapes = pointShapes(db, like);
  std::string type;
  for (const struct resbuf* rb = list; rb; rb = rb->rbnext)
    if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring) type = db::upperAscii(rb->resval.rstring);
  if (type.empty() && like != db::kNoObject) type = db.typeOf(like);
  std::vector<std::pair<int, int>> angleCounts;
  auto angleOccurrence = [&](int code) {
    for (auto& [c, n] : angleCounts)
      if (c == code) return n++;
    angleCounts.emplace_back(code, 1);
    return 0;
  };
  bool inXdata = false;
  std::vector<std::pair<int, int>> occurrences;  // (code, count) of points so far
  auto occurrence = [&](int code) {
    for (auto& [c, n] : occurrences)
      if (c == code) return n++;
    occurrences.emplace_back(code, 1);
    return 0;
  };
  for (const struct resbuf* rb = list; rb; rb = rb->rbnext) {
    int code = rb->restype;
    inXdata |= code == -3;
    if (code == -1 || code == 0 || code == RTDXF0 || code == -3) continue;
    switch (tcValueKind(code)) {
      case TC_KIND_REAL:
        if (!inXdata && isAngleGroup(type, code))
          out.push_back(db::Tag::real(code, degreesOf(db, like, code, angleOccurrence(code), rb->resval.rreal)));
        else
          out.push_back(db::Tag::real(code, rb->resval.rreal));
        break;
      case TC_KIND_POINT: {
        db::Point3 p{rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]};
        bool flat = shapes.is2d(code, occurrence(code));
        out.push_back(db::Tag::point(code, p, !flat));
        break;
      }
      case TC_KIND_SHORT: out.push_back(db::Tag::integer(code, rb->resval.rint)); break;
      case TC_KIND_LONG: out.push_back(db::Tag::integer(code, rb->resval.rlong)); break;
      case TC_KIND_INT64: out.push_back(db::Tag::integer(code, rb->resval.mnInt64)); break;
      case TC_KIND_STRING: {
        std::string_view s = rb->resval.rstring ? rb->resval.rstring : "";
        uint64_t h;
        if ((code == 5 || code == 105) && parseHex(s, h)) out.push_back(db::Tag::handle(code, h));
        else out.push_back(db::Tag::str(code, s));
        break;
      }
      case TC_KIND_NAME: {
        db::Database* target = nullptr;
        uint32_t id = 0;
        uint64_t h = 0;
        if (resolveName(rb->resval.rlname, target, id)) {
          if (target != &db) {
            error = "group " + std::to_string(code) + " names an object of another drawing";
            return false;
          }
          h = db.object(id).handle;
        }
        out.push_back(db::Tag::handle(code, h));
        break;
      }
      case TC_KIND_BINARY: out.push_back(db::Tag::str(code, binaryHex(rb))); break;
      case TC_KIND_NONE:
        error = "group " + std::to_string(code) + " is not a DXF group code";
        return false;
    }
  }
  return true;
}

}  // namespace tarn::host
