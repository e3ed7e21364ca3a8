// The subclass tables of object types.
#include "db/subclasses.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace tarn::db {
namespace {

struct TypeRow {
  const char* type;
  const char* sections;  // "Marker: codes | Marker: codes"; '*' marks the entity header
  const char* required;
};

// Proxy-graphics groups (92, 310) are left out: HATCH and others use 92 for
// their own data, and lists never carry proxy graphics.
constexpr const char* kEntityHeader = "67 410 8 6 347 62 370 48 60 420 430 440 390 284";

const TypeRow kTypes[] = {
    {"LINE", "AcDbLine: 39 10 11 210", "10 11"},
    {"POINT", "AcDbPoint: 10 39 210 50", "10"},
    {"CIRCLE", "AcDbCircle: 39 10 40 210", "10 40"},
    {"ARC", "AcDbCircle: 39 10 40 210 | AcDbArc: 50 51", "10 40 50 51"},
    {"ELLIPSE", "AcDbEllipse: 10 11 210 40 41 42", "10 11 40"},
    {"LWPOLYLINE", "AcDbPolyline: 90 70 43 38 39 10 40 41 42 91 210", "10"},
    {"SPLINE", "AcDbSpline: 210 70 71 72 73 74 42 43 44 12 13 40 41 10 11", ""},
    {"XLINE", "AcDbXline: 10 11", "10 11"},
    {"RAY", "AcDbRay: 10 11", "10 11"},
    {"TEXT", "AcDbText: 39 10 40 1 50 41 51 7 71 72 11 210 | AcDbText: 73", "10 40 1"},
    {"MTEXT", "AcDbMText:", "10"},
    {"ATTDEF", "AcDbText: 39 10 40 1 50 41 51 7 71 72 11 210 | AcDbAttributeDefinition:", "10 40 1 2"},
    {"ATTRIB", "AcDbText: 39 10 40 1 50 41 51 7 71 72 11 210 | AcDbAttribute:", "10 40 1 2"},
    {"INSERT", "AcDbBlockReference:", "2 10"},
    {"LEADER", "AcDbLeader:", "10"},
    {"HATCH", "AcDbHatch:", ""},
    {"SOLID", "AcDbTrace: 10 11 12 13 39 210", "10 11 12"},
    {"TRACE", "AcDbTrace: 10 11 12 13 39 210", "10 11 12"},
    {"3DFACE", "AcDbFace: 10 11 12 13 70", "10 11 12"},
    {"WIPEOUT", "AcDbWipeout:", ""},
    {"IMAGE", "AcDbRasterImage:", ""},
    {"SHAPE", "AcDbShape: 39 10 40 2 50 41 51 210", "10 40 2"},
    {"REGION", "AcDbModelerGeometry:", ""},
    {"BODY", "AcDbModelerGeometry:", ""},
    {"3DSOLID", "AcDbModelerGeometry: | AcDb3dSolid:", ""},
    {"VIEWPORT", "AcDbViewport:", ""},
    {"MLEADER", "AcDbMLeader:", ""},
    {"MULTILEADER", "AcDbMLeader:", ""},
    {"MLINE", "AcDbMline:", ""},
    {"TOLERANCE", "AcDbFcf:", ""},
    {"SEQEND", "", ""},
    {"BLOCK", "AcDbBlockBegin: 2 70 10 3 1 4", "2 10"},
    {"ENDBLK", "AcDbBlockEnd:", ""},
    {"DICTIONARY", "!AcDbDictionary:", ""},
    {"XRECORD", "!AcDbXrecord:", ""},
    {"GROUP", "!AcDbGroup:", ""},
};

std::vector<int> parseCodes(std::string_view s) {
  std::vector<int> out;
  std::istringstream in{std::string(s)};
  int c;
  while (in >> c) out.push_back(c);
  return out;
}

std::vector<SubclassSection> parseSections(std::string_view layout) {
  std::vector<SubclassSection> out;
  while (!layout.empty()) {
    size_t bar = layout.find('|');
    std::string_view part = layout.substr(0, bar);
    size_t colon = part.find(':');
    std::string_view marker = part.substr(0, colon);
    while (!marker.empty() && marker.front() == ' ') marker.remove_prefix(1);
    while (!marker.empty() && marker.back() == ' ') marker.remove_suffix(1);
    out.push_back({marker, colon == std::string_view::npos ? std::vector<int>{} : parseCodes(part.substr(colon + 1))});
    if (bar == std::string_view::npos) break;
    layout.remove_prefix(bar + 1);
  }
  return out;
}

const TypeRow* findType(std::string_view type) {
  for (const TypeRow& row : kTypes)
    if (type == row.type) return &row;
  return nullptr;
}

const char* polylineMarker(int64_t f) {
  if (f & 8) return "AcDb3dPolyline";
  if (f & 16) return "AcDbPolygonMesh";
  if (f & 64) return "AcDbPolyFaceMesh";
  return "AcDb2dPolyline";
}

const char* vertexMarker(int64_t f) {
  if ((f & 128) && (f & 64)) return "AcDbPolyFaceMeshVertex";
  if (f & 128) return "AcDbFaceRecord";
  if (f & 32) return "AcDb3dPolylineVertex";
  if (f & 64) return "AcDbPolygonMeshVertex";
  return "AcDb2dVertex";
}

std::vector<SubclassSection> dimensionSections(int64_t f) {
  std::vector<SubclassSection> s = {
      {"AcDbDimension", parseCodes("280 2 10 11 12 70 1 71 72 41 42 73 74 75 76 77 78 52 53 54 51 210 3")}};
  switch (f & 7) {
    case 0: s.push_back({"AcDbAlignedDimension", {13, 14, 50}}); s.push_back({"AcDbRotatedDimension", {}}); break;
    case 1: s.push_back({"AcDbAlignedDimension", {13, 14, 50}}); break;
    case 2: s.push_back({"AcDb2LineAngularDimension", {13, 14, 15, 16}}); break;
    case 3: s.push_back({"AcDbDiametricDimension", {15, 40}}); break;
    case 4: s.push_back({"AcDbRadialDimension", {15, 40}}); break;
    case 5: s.push_back({"AcDb3PointAngularDimension", {13, 14, 15}}); break;
    default: s.push_back({"AcDbOrdinateDimension", {13, 14}}); break;
  }
  return s;
}

bool belongs(const SubclassSection& s, int code) {
  return s.codes.empty() || std::find(s.codes.begin(), s.codes.end(), code) != s.codes.end();
}

// The section a group goes to: the first that lists it, else the last.
size_t sectionOf(const std::vector<SubclassSection>& sections, int code) {
  for (size_t i = 0; i < sections.size(); ++i)
    if (!sections[i].codes.empty() && belongs(sections[i], code)) return i;
  for (size_t i = sections.size(); i-- > 0;)
    if (sections[i].codes.empty()) return i;
  return sections.empty() ? 0 : sections.size() - 1;
}

int64_t flagsOf(const TagList& body) {
  for (const Tag& t : body)
    if (t.code == 70 && t.kind == TagKind::Int) return t.i;
  return 0;
}

bool isHeaderGroup(int code) { return code == 5 || code == 105 || code == 102 || code == 330 || code == 360; }

}  // namespace

bool isEntityType(std::string_view type) {
  if (type == "POLYLINE" || type == "VERTEX" || type == "DIMENSION" || type == "ARC_DIMENSION") return true;
  const TypeRow* row = findType(type);
  return row && row->sections[0] != '!';
}

std::vector<SubclassSection> subclassesOf(std::string_view type, int64_t flags70) {
  std::vector<SubclassSection> out;
  bool entity = isEntityType(type);
  if (entity) out.push_back({"AcDbEntity", parseCodes(kEntityHeader)});
  if (type == "POLYLINE") {
    out.push_back({polylineMarker(flags70), {}});
  } else if (type == "VERTEX") {
    out.push_back({"AcDbVertex", {-9999}});
    out.push_back({vertexMarker(flags70), {}});
  } else if (type == "DIMENSION") {
    for (auto& s : dimensionSections(flags70)) out.push_back(std::move(s));
  } else if (const TypeRow* row = findType(type)) {
    std::string_view layout = row->sections;
    if (!layout.empty() && layout[0] == '!') layout.remove_prefix(1);
    for (auto& s : parseSections(layout))
      if (!s.marker.empty()) out.push_back(std::move(s));
  }
  return out;
}

std::vector<int> requiredGroups(std::string_view type) {
  if (type == "VERTEX") return {10};
  if (type == "DIMENSION") return {10};
  const TypeRow* row = findType(type);
  return row ? parseCodes(row->required) : std::vector<int>{};
}

void addSubclassMarkers(std::string_view type, TagList& body) {
  for (const Tag& t : body)
    if (t.code == 100) return;
  std::vector<SubclassSection> sections = subclassesOf(type, flagsOf(body));
  if (sections.empty()) return;
  TagList head, xdata;
  std::vector<TagList> parts(sections.size());
  for (const Tag& t : body) {
    if (t.code >= 1000) xdata.push_back(t);
    else if (isHeaderGroup(t.code) && parts[0].empty() && head.size() < 64 && xdata.empty()) head.push_back(t);
    else parts[sectionOf(sections, t.code)].push_back(t);
  }
  TagList out = std::move(head);
  for (size_t i = 0; i < sections.size(); ++i) {
    out.push_back(Tag::str(100, sections[i].marker));
    out.insert(out.end(), parts[i].begin(), parts[i].end());
  }
  out.insert(out.end(), xdata.begin(), xdata.end());
  body = std::move(out);
}

void insertGroup(std::string_view type, TagList& body, const Tag& group) {
  std::vector<SubclassSection> sections = subclassesOf(type, flagsOf(body));
  size_t end = body.size();
  for (size_t i = 0; i < body.size(); ++i)
    if (body[i].code >= 1000) { end = i; break; }
  if (sections.empty()) {
    body.insert(body.begin() + long(end), group);
    return;
  }
  std::string_view marker = sections[sectionOf(sections, group.code)].marker;
  // Find that marker; the group goes before the next marker after it.
  size_t at = end;
  for (size_t i = 0; i < end; ++i) {
    if (body[i].code == 100 && body[i].s == marker) {
      at = i + 1;
      while (at < end && body[at].code != 100) ++at;
      break;
    }
  }
  body.insert(body.begin() + long(at), group);
}

}  // namespace tarn::db
