// Compiling and applying one group test. Reals and point coordinates are equal
// within a relative tolerance, so that a value the host computed (a unit
// normal, say) still equals the same value computed by the caller.
#include "group_test.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "group_defaults.h"
#include "tarnsdk/groupcodes.h"

namespace tarn::select {
namespace {

constexpr double kRealTolerance = 1e-10;

bool realsEqual(double a, double b) {
  const double scale = std::max({1.0, std::fabs(a), std::fabs(b)});
  return std::fabs(a - b) <= kRealTolerance * scale;
}

bool relateReals(Relation r, double a, double b) {
  const bool equal = realsEqual(a, b);
  switch (r) {
    case Relation::Any: return true;
    case Relation::Equal: return equal;
    case Relation::NotEqual: return !equal;
    case Relation::Less: return a < b && !equal;
    case Relation::LessEqual: return a < b || equal;
    case Relation::Greater: return a > b && !equal;
    case Relation::GreaterEqual: return a > b || equal;
    case Relation::BitsAny:
    case Relation::BitsAll: break;
  }
  return false;
}

bool relateIntegers(Relation r, std::int64_t a, std::int64_t b) {
  switch (r) {
    case Relation::Any: return true;
    case Relation::Equal: return a == b;
    case Relation::NotEqual: return a != b;
    case Relation::Less: return a < b;
    case Relation::LessEqual: return a <= b;
    case Relation::Greater: return a > b;
    case Relation::GreaterEqual: return a >= b;
    case Relation::BitsAny: return (a & b) != 0;
    case Relation::BitsAll: return (a & b) == b;
  }
  return false;
}

// Texts, names and binary chunks only compare for (in)equality.
bool relateIdentity(Relation r, bool same) {
  if (r == Relation::Any) return true;
  return r == Relation::Equal ? same : !same;
}

std::int64_t integerOf(const resbuf& rb, tc_value_kind kind) {
  if (kind == TC_KIND_SHORT) return rb.resval.rint;
  if (kind == TC_KIND_LONG) return rb.resval.rlong;
  return rb.resval.mnInt64;
}

std::string_view textOf(const resbuf& rb) {
  return rb.resval.rstring ? std::string_view(rb.resval.rstring) : std::string_view();
}

std::string_view bytesOf(const resbuf& rb) {
  const auto& bin = rb.resval.rbinary;
  if (!bin.buf || bin.clen <= 0) return {};
  return {bin.buf, static_cast<std::size_t>(bin.clen)};
}

bool isInteger(tc_value_kind kind) {
  return kind == TC_KIND_SHORT || kind == TC_KIND_LONG || kind == TC_KIND_INT64;
}

bool relationAllowed(tc_value_kind kind, Relation r) {
  const bool identity = r == Relation::Any || r == Relation::Equal || r == Relation::NotEqual;
  const bool bitwise = r == Relation::BitsAny || r == Relation::BitsAll;
  if (isInteger(kind)) return true;
  if (kind == TC_KIND_REAL || kind == TC_KIND_POINT) return !bitwise;
  return identity;
}

// Entity type names hold no spaces, so spaces around the commas of a type
// list ("LINE, ARC") can only be meant as separators; they are dropped.
std::string tidyTypeList(std::string_view text) {
  std::string out;
  bool escaped = false;
  for (const char ch : text) {
    const bool separator = !escaped && (ch == ',' || ch == ' ' || ch == '\t');
    escaped = !escaped && ch == '`';
    if (!separator) {
      out += ch;
    } else if (ch == ',') {
      out += ',';
    }
  }
  return out;
}

std::vector<std::string_view> splitAtCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

FilterError readPointRelations(std::string_view text, GroupTest& out) {
  const auto parts = splitAtCommas(text);
  if (parts.size() > 3) return FilterError::UnknownOperator;
  for (std::size_t i = 0; i < 3; ++i) {
    if (i >= parts.size()) {
      // One relation stands for all three coordinates, two leave z free.
      out.relations[i] = parts.size() == 1 ? out.relations[0] : Relation::Any;
      continue;
    }
    const auto relation = findRelation(parts[i]);
    if (!relation) return FilterError::UnknownOperator;
    if (!relationAllowed(TC_KIND_POINT, *relation)) return FilterError::OperatorNotAllowed;
    out.relations[i] = *relation;
  }
  out.pointDiffers = parts.size() == 1 && out.relations[0] == Relation::NotEqual;
  if (out.pointDiffers) out.relations.fill(Relation::Equal);
  return FilterError::None;
}

FilterError readRelations(std::string_view text, GroupTest& out) {
  if (text.empty()) return FilterError::None;
  if (out.kind == TC_KIND_POINT) return readPointRelations(text, out);
  const auto relation = findRelation(text);
  if (!relation) return FilterError::UnknownOperator;
  if (!relationAllowed(out.kind, *relation)) return FilterError::OperatorNotAllowed;
  out.relations.fill(*relation);
  return FilterError::None;
}

void readValue(const resbuf& node, GroupTest& out) {
  switch (out.kind) {
    case TC_KIND_STRING:
      out.pattern = Wildcard::compile(out.code == 0 ? tidyTypeList(textOf(node)) : std::string(textOf(node)));
      break;
    case TC_KIND_REAL: out.real = node.resval.rreal; break;
    case TC_KIND_POINT: std::copy_n(node.resval.rpoint, 3, out.point.begin()); break;
    case TC_KIND_NAME: std::copy_n(node.resval.rlname, 2, out.name.begin()); break;
    case TC_KIND_BINARY: out.bytes = std::string(bytesOf(node)); break;
    default: out.integer = integerOf(node, out.kind); break;
  }
}

bool pointPasses(const GroupTest& t, const double* p) {
  bool all = true;
  for (int i = 0; i < 3; ++i) all = all && relateReals(t.relations[i], p[i], t.point[i]);
  return t.pointDiffers ? !all : all;
}

}  // namespace

FilterError compileGroupTest(const resbuf& node, std::string_view relationText, GroupTest& out) {
  out.code = groupCode(node);
  out.kind = tcValueKind(out.code);
  if (out.kind == TC_KIND_NONE || out.code >= 5000 || out.code == -4) return FilterError::UnsupportedGroup;
  if (const FilterError e = readRelations(relationText, out); e != FilterError::None) return e;
  out.alwaysTrue = std::all_of(out.relations.begin(), out.relations.end(),
                               [](Relation r) { return r == Relation::Any; });
  readValue(node, out);
  out.whenAbsent = absentGroupDefault(out.code);
  return FilterError::None;
}

bool GroupTest::passes(const resbuf& group) const {
  const Relation r = relations[0];
  switch (kind) {
    case TC_KIND_STRING: return relateIdentity(r, pattern.matches(textOf(group)));
    case TC_KIND_REAL: return relateReals(r, group.resval.rreal, real);
    case TC_KIND_POINT: return pointPasses(*this, group.resval.rpoint);
    case TC_KIND_NAME:
      return relateIdentity(r, group.resval.rlname[0] == name[0] && group.resval.rlname[1] == name[1]);
    case TC_KIND_BINARY: return relateIdentity(r, bytesOf(group) == bytes);
    default: return relateIntegers(r, integerOf(group, kind), integer);
  }
}

}  // namespace tarn::select
