// Block references (INSERT): their block, placement and attributes.
#include "properties.h"

using namespace tarn;
using namespace tarn::objects;

namespace {

const Property kName{2, Kind::Text};
const Property kPosition{10, Kind::Point};
const Property kScaleX{41, Kind::Real, 1.0};
const Property kScaleY{42, Kind::Real, 1.0};
const Property kScaleZ{43, Kind::Real, 1.0};
const Property kRotation{50, Kind::Angle};
const Property kNormal{210, Kind::Vector, 0, 0, "", {0, 0, 1}};

}  // namespace

TcDbBlockReference::TcDbBlockReference() : TcDbEntity("INSERT") {
  implOf(*this).main.tags = {db::Tag::str(2, ""), db::Tag::point(10, {})};
}

TcDbObjectId TcDbBlockReference::blockTableRecord() const {
  const db::Database* d = databaseFor(implOf(*this));
  if (!d) return {};
  uint32_t block = d->findBlock(getText(*this, kName));
  return block == db::kNoObject ? TcDbObjectId() : idOf(*d, d->blocks()[block].record);
}

TcDb::ErrorStatus TcDbBlockReference::setBlockTableRecord(TcDbObjectId record) {
  db::Database* d;
  uint32_t index;
  if (!resolve(record, d, index) || d != databaseFor(implOf(*this)) || d->typeOf(index) != "BLOCK_RECORD")
    return TcDb::eInvalidInput;
  uint32_t block = blockOfRecord(*d, index);
  if (block == db::kNoObject || d->isLayoutBlock(block)) return TcDb::eInvalidInput;  // layouts are not inserted
  return setText(*this, kName, d->blocks()[block].name);
}

TcGePoint3d TcDbBlockReference::position() const { return getPoint(*this, kPosition); }
TcDb::ErrorStatus TcDbBlockReference::setPosition(const TcGePoint3d& p) { return setPoint(*this, kPosition, p); }

TcGeScale3d TcDbBlockReference::scaleFactors() const {
  return {getReal(*this, kScaleX), getReal(*this, kScaleY), getReal(*this, kScaleZ)};
}

TcDb::ErrorStatus TcDbBlockReference::setScaleFactors(const TcGeScale3d& s) {
  if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0) return TcDb::eInvalidInput;  // exact: a zero scale flattens the block
  if (TcDb::ErrorStatus es = setReal(*this, kScaleX, s.sx); es != TcDb::eOk) return es;
  setReal(*this, kScaleY, s.sy);
  return setReal(*this, kScaleZ, s.sz);
}

double TcDbBlockReference::rotation() const { return getReal(*this, kRotation); }
TcDb::ErrorStatus TcDbBlockReference::setRotation(double a) { return setReal(*this, kRotation, a); }
TcGeVector3d TcDbBlockReference::normal() const { return getVector(*this, kNormal); }
TcDb::ErrorStatus TcDbBlockReference::setNormal(const TcGeVector3d& n) { return setVector(*this, kNormal, n); }

TcDbObjectIdArray TcDbBlockReference::attributeIds() const {
  const TcDbObjectImpl& o = implOf(*this);
  TcDbObjectIdArray out;
  if (!o.db) return out;
  const db::ObjectRecord& self = o.db->object(o.main.id);
  if (self.block == db::kNoObject) return out;
  const std::vector<uint32_t>& list = o.db->blocks()[self.block].entities;
  for (size_t i = self.slot + 1; i < list.size(); ++i) {
    if (!(o.db->object(list[i]).flags & db::kSubEntity) || o.db->typeOf(list[i]) != "ATTRIB") break;
    if (!o.db->isErased(list[i])) out.push_back(idOf(*o.db, list[i]));
  }
  return out;
}
