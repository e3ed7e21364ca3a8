// Texts: TEXT, attributes and attribute definitions (which are texts with a
// tag), and MTEXT.
#include <cmath>

#include "db/subclasses.h"
#include "properties.h"

using namespace tarn;
using namespace tarn::objects;

namespace {

const Property kString{1, Kind::Text};
const Property kPosition{10, Kind::Point};
const Property kAlignment{11, Kind::Point};
const Property kHeight{40, Kind::Real, 2.5};
const Property kRotation{50, Kind::Angle};
const Property kWidthFactor{41, Kind::Real, 1.0};
const Property kOblique{51, Kind::Angle};
const Property kStyle{7, Kind::Text, 0, 0, "Standard"};
const Property kHorizontal{72, Kind::Int};
const Property kVertical{73, Kind::Int};
const Property kAttributeVertical{74, Kind::Int};
const Property kNormal{210, Kind::Vector, 0, 0, "", {0, 0, 1}};
const Property kTag{2, Kind::Text};
const Property kPrompt{3, Kind::Text};
const Property kAttributeFlags{70, Kind::Int};

const Property kMLocation{10, Kind::Point};
const Property kMHeight{40, Kind::Real, 2.5};
const Property kMWidth{41, Kind::Real};
const Property kMActualWidth{42, Kind::Real};
const Property kMActualHeight{43, Kind::Real};
const Property kMAttachment{71, Kind::Int, 0, 1};
const Property kMDirection{11, Kind::Vector, 0, 0, "", {1, 0, 0}};

const Property& verticalOf(const TcDbObject& o) {
  return implOf(o).type == "TEXT" ? kVertical : kAttributeVertical;
}

TcDb::ErrorStatus setStyle(TcDbObject& o, const Property& p, std::string_view name) {
  const db::Database* d = databaseFor(implOf(o));
  uint32_t record = d ? d->findRecord("STYLE", name) : db::kNoObject;
  if (record == db::kNoObject) return TcDb::eKeyNotFound;
  return setText(o, p, db::findString(*d, record, 2));
}

// A new entity starts with the groups it cannot be made without.
void seed(TcDbObject& o, std::initializer_list<db::Tag> tags) { implOf(o).main.tags.assign(tags); }

}  // namespace

TcDbText::TcDbText(const char* type) : TcDbEntity(type) {
  seed(*this, {db::Tag::point(10, {}), db::Tag::real(40, 2.5), db::Tag::str(1, "")});
}
TcDbText::TcDbText() : TcDbText("TEXT") {}

std::string TcDbText::textString() const { return getText(*this, kString); }
TcDb::ErrorStatus TcDbText::setTextString(std::string_view t) { return setText(*this, kString, t); }
TcGePoint3d TcDbText::position() const { return getPoint(*this, kPosition); }
TcDb::ErrorStatus TcDbText::setPosition(const TcGePoint3d& p) { return setPoint(*this, kPosition, p); }
TcGePoint3d TcDbText::alignmentPoint() const { return getPoint(*this, kAlignment); }
TcDb::ErrorStatus TcDbText::setAlignmentPoint(const TcGePoint3d& p) { return setPoint(*this, kAlignment, p); }
double TcDbText::height() const { return getReal(*this, kHeight); }
TcDb::ErrorStatus TcDbText::setHeight(double h) { return h > 0 ? setReal(*this, kHeight, h) : TcDb::eInvalidInput; }
double TcDbText::rotation() const { return getReal(*this, kRotation); }
TcDb::ErrorStatus TcDbText::setRotation(double a) { return setReal(*this, kRotation, a); }
double TcDbText::widthFactor() const { return getReal(*this, kWidthFactor); }
TcDb::ErrorStatus TcDbText::setWidthFactor(double f) { return f > 0 ? setReal(*this, kWidthFactor, f) : TcDb::eInvalidInput; }
double TcDbText::oblique() const { return getReal(*this, kOblique); }
TcDb::ErrorStatus TcDbText::setOblique(double a) { return setReal(*this, kOblique, a); }
std::string TcDbText::textStyleName() const { return getText(*this, kStyle); }
TcDb::ErrorStatus TcDbText::setTextStyle(std::string_view name) { return setStyle(*this, kStyle, name); }
int TcDbText::horizontalMode() const { return int(getInt(*this, kHorizontal)); }
TcDb::ErrorStatus TcDbText::setHorizontalMode(int m) { return setInt(*this, kHorizontal, m); }
int TcDbText::verticalMode() const { return int(getInt(*this, verticalOf(*this))); }
TcDb::ErrorStatus TcDbText::setVerticalMode(int m) { return setInt(*this, verticalOf(*this), m); }
TcGeVector3d TcDbText::normal() const { return getVector(*this, kNormal); }
TcDb::ErrorStatus TcDbText::setNormal(const TcGeVector3d& n) { return setVector(*this, kNormal, n); }

// ---- attributes

TcDbAttribute::TcDbAttribute() : TcDbText("ATTRIB") { implOf(*this).main.tags.push_back(db::Tag::str(2, "")); }
std::string TcDbAttribute::tag() const { return getText(*this, kTag); }
TcDb::ErrorStatus TcDbAttribute::setTag(std::string_view t) { return setText(*this, kTag, t); }
int TcDbAttribute::flags() const { return int(getInt(*this, kAttributeFlags)); }
TcDb::ErrorStatus TcDbAttribute::setFlags(int f) { return setInt(*this, kAttributeFlags, f); }
bool TcDbAttribute::isInvisible() const { return getBit(*this, kAttributeFlags, 1); }
TcDb::ErrorStatus TcDbAttribute::setInvisible(bool on) { return setBit(*this, kAttributeFlags, 1, on); }
bool TcDbAttribute::isConstant() const { return getBit(*this, kAttributeFlags, 2); }

TcDbAttributeDefinition::TcDbAttributeDefinition() : TcDbText("ATTDEF") {
  implOf(*this).main.tags.push_back(db::Tag::str(2, ""));
}
std::string TcDbAttributeDefinition::tag() const { return getText(*this, kTag); }
TcDb::ErrorStatus TcDbAttributeDefinition::setTag(std::string_view t) { return setText(*this, kTag, t); }
std::string TcDbAttributeDefinition::prompt() const { return getText(*this, kPrompt); }
TcDb::ErrorStatus TcDbAttributeDefinition::setPrompt(std::string_view t) { return setText(*this, kPrompt, t); }
int TcDbAttributeDefinition::flags() const { return int(getInt(*this, kAttributeFlags)); }
TcDb::ErrorStatus TcDbAttributeDefinition::setFlags(int f) { return setInt(*this, kAttributeFlags, f); }
bool TcDbAttributeDefinition::isInvisible() const { return getBit(*this, kAttributeFlags, 1); }
TcDb::ErrorStatus TcDbAttributeDefinition::setInvisible(bool on) { return setBit(*this, kAttributeFlags, 1, on); }
bool TcDbAttributeDefinition::isConstant() const { return getBit(*this, kAttributeFlags, 2); }
TcDb::ErrorStatus TcDbAttributeDefinition::setConstant(bool on) { return setBit(*this, kAttributeFlags, 2, on); }

// ---- MTEXT

namespace {
// Contents longer than this go into group 3 pieces before the last piece in group 1.
constexpr size_t kPiece = 250;

// Splits without cutting a UTF-8 sequence.
size_t pieceEnd(std::string_view s, size_t from) {
  size_t end = std::min(s.size(), from + kPiece);
  size_t cut = end;
  while (cut < s.size() && cut > from && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
  return cut > from ? cut : end;  // no boundary found: the text is not UTF-8, cut anywhere
}
}  // namespace

TcDbMText::TcDbMText() : TcDbEntity("MTEXT") {
  seed(*this, {db::Tag::point(10, {}), db::Tag::real(40, 2.5), db::Tag::integer(71, 1), db::Tag::str(1, "")});
}

std::string TcDbMText::contents() const {
  const db::TagList& tags = implOf(*this).main.tags;
  std::string out, last;
  for (size_t i = 0; i < ownEnd(tags); ++i) {
    if (tags[i].code == 3 && tags[i].kind == db::TagKind::String) out += tags[i].s;
    if (tags[i].code == 1 && tags[i].kind == db::TagKind::String) last = tags[i].s;
  }
  return out + last;
}

TcDb::ErrorStatus TcDbMText::setContents(std::string_view text) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  removeOwn(o.main.tags, 3);
  removeOwn(o.main.tags, 1);
  size_t at = 0;
  for (size_t end = pieceEnd(text, 0); end < text.size(); at = end, end = pieceEnd(text, at))
    db::insertGroup("MTEXT", o.main.tags, db::Tag::str(3, text.substr(at, end - at)));
  db::insertGroup("MTEXT", o.main.tags, db::Tag::str(1, text.substr(at)));
  o.main.dirty = true;
  return TcDb::eOk;
}

TcGePoint3d TcDbMText::location() const { return getPoint(*this, kMLocation); }
TcDb::ErrorStatus TcDbMText::setLocation(const TcGePoint3d& p) { return setPoint(*this, kMLocation, p); }
double TcDbMText::textHeight() const { return getReal(*this, kMHeight); }
TcDb::ErrorStatus TcDbMText::setTextHeight(double h) { return h > 0 ? setReal(*this, kMHeight, h) : TcDb::eInvalidInput; }
double TcDbMText::width() const { return getReal(*this, kMWidth); }
TcDb::ErrorStatus TcDbMText::setWidth(double w) { return w >= 0 ? setReal(*this, kMWidth, w) : TcDb::eInvalidInput; }
double TcDbMText::actualWidth() const { return getReal(*this, kMActualWidth); }
double TcDbMText::actualHeight() const { return getReal(*this, kMActualHeight); }
int TcDbMText::attachment() const { return int(getInt(*this, kMAttachment)); }
TcDb::ErrorStatus TcDbMText::setAttachment(int a) { return a >= 1 && a <= 9 ? setInt(*this, kMAttachment, a) : TcDb::eInvalidInput; }
TcGeVector3d TcDbMText::normal() const { return getVector(*this, kNormal); }
TcDb::ErrorStatus TcDbMText::setNormal(const TcGeVector3d& n) { return setVector(*this, kNormal, n); }
std::string TcDbMText::textStyleName() const { return getText(*this, kStyle); }
TcDb::ErrorStatus TcDbMText::setTextStyle(std::string_view name) { return setStyle(*this, kStyle, name); }

// The direction (group 11), when present, wins over the angle (group 50) in
// readers, so both are kept in step.
double TcDbMText::rotation() const {
  if (!findOwn(implOf(*this).main.tags, kMDirection.code)) return getReal(*this, kRotation);
  TcGeVector3d d = getVector(*this, kMDirection);
  return std::atan2(d.y, d.x);
}

TcDb::ErrorStatus TcDbMText::setRotation(double a) {
  if (TcDb::ErrorStatus es = setReal(*this, kRotation, a); es != TcDb::eOk) return es;
  if (!findOwn(implOf(*this).main.tags, kMDirection.code)) return TcDb::eOk;
  return setVector(*this, kMDirection, {std::cos(a), std::sin(a), 0});
}
