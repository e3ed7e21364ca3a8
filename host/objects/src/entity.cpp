// Entities: the properties every entity has (layer, colour, linetype,
// lineweight, visibility, owning block), and a viewport's layer freezes.
#include <algorithm>

#include "db/subclasses.h"
#include "properties.h"

using namespace tarn;
using namespace tarn::objects;

namespace {

const Property kLayer{8, Kind::Text, 0, 0, "0"};
const Property kColor{62, Kind::Int, 0, 256};
const Property kTrueColor{420, Kind::Int, 0, -1};
const Property kLinetype{6, Kind::Text, 0, 0, "ByLayer"};
const Property kLinetypeScale{48, Kind::Real, 1.0};
const Property kLineWeight{370, Kind::Int, 0, -1};
const Property kVisibility{60, Kind::Int, 0, 0};

bool isByName(std::string_view linetype) {
  return db::equalsNoCase(linetype, "ByLayer") || db::equalsNoCase(linetype, "ByBlock");
}

// The drawing whose tables a new or stored entity's names must exist in.
const db::Database* tablesOf(const TcDbObject& o) { return databaseFor(implOf(o)); }

}  // namespace

TcDbEntity::TcDbEntity(const char* type) : TcDbObject(type) {}

std::string TcDbEntity::layer() const { return getText(*this, kLayer); }

TcDbObjectId TcDbEntity::layerId() const {
  const db::Database* d = tablesOf(*this);
  return d ? idOf(*d, d->findRecord("LAYER", layer())) : TcDbObjectId();
}

TcDb::ErrorStatus TcDbEntity::setLayer(std::string_view name) {
  const db::Database* d = tablesOf(*this);
  uint32_t record = d ? d->findRecord("LAYER", name) : db::kNoObject;
  if (record == db::kNoObject) return TcDb::eKeyNotFound;
  return setText(*this, kLayer, db::findString(*d, record, 2));  // the record's own spelling
}

TcDb::ErrorStatus TcDbEntity::setLayer(TcDbObjectId layerId) {
  db::Database* d;
  uint32_t index;
  if (!resolve(layerId, d, index) || d != tablesOf(*this) || d->typeOf(index) != "LAYER") return TcDb::eInvalidInput;
  if (d->isErased(index)) return TcDb::eWasErased;
  return setText(*this, kLayer, db::findString(*d, index, 2));
}

int TcDbEntity::colorIndex() const { return int(getInt(*this, kColor)); }

TcDb::ErrorStatus TcDbEntity::setColorIndex(int color) {
  if (color < 0 || color > 256) return TcDb::eInvalidInput;
  if (TcDb::ErrorStatus es = setInt(*this, kColor, color); es != TcDb::eOk) return es;
  removeOwn(implOf(*this).main.tags, kTrueColor.code);  // a true colour would win over the index
  return TcDb::eOk;
}

int32_t TcDbEntity::trueColor() const { return int32_t(getInt(*this, kTrueColor)); }

TcDb::ErrorStatus TcDbEntity::setTrueColor(int32_t rgb) {
  if (rgb < 0 || rgb > 0xFFFFFF) return TcDb::eInvalidInput;
  return setInt(*this, kTrueColor, rgb);
}

std::string TcDbEntity::linetype() const { return getText(*this, kLinetype); }

TcDb::ErrorStatus TcDbEntity::setLinetype(std::string_view name) {
  const db::Database* d = tablesOf(*this);
  if (!isByName(name) && (!d || d->findRecord("LTYPE", name) == db::kNoObject)) return TcDb::eKeyNotFound;
  return setText(*this, kLinetype, name);
}

double TcDbEntity::linetypeScale() const { return getReal(*this, kLinetypeScale); }

TcDb::ErrorStatus TcDbEntity::setLinetypeScale(double scale) {
  return scale > 0 ? setReal(*this, kLinetypeScale, scale) : TcDb::eInvalidInput;
}

int TcDbEntity::lineWeight() const { return int(getInt(*this, kLineWeight)); }

TcDb::ErrorStatus TcDbEntity::setLineWeight(int weight) {
  return weight >= -3 && weight <= 211 ? setInt(*this, kLineWeight, weight) : TcDb::eInvalidInput;
}

TcDb::Visibility TcDbEntity::visibility() const {
  return getInt(*this, kVisibility) == 0 ? TcDb::kVisible : TcDb::kInvisible;
}

TcDb::ErrorStatus TcDbEntity::setVisibility(TcDb::Visibility v) { return setInt(*this, kVisibility, v); }

TcDbObjectId TcDbEntity::blockId() const {
  const TcDbObjectImpl& o = implOf(*this);
  if (!o.db) return {};
  uint32_t block = o.db->object(o.main.id).block;
  return block == db::kNoObject ? TcDbObjectId() : idOf(*o.db, o.db->blocks()[block].record);
}

// ---- viewport layer freezes (groups 331, as DXF keeps them)

TcDbViewport::TcDbViewport() : TcDbEntity("VIEWPORT") {}

TcDbObjectIdArray TcDbViewport::frozenLayers() const {
  const TcDbObjectImpl& o = implOf(*this);
  TcDbObjectIdArray out;
  if (!o.db) return out;
  size_t end = ownEnd(o.main.tags);
  for (size_t i = 0; i < end; ++i)
    if (o.main.tags[i].code == 331) out.push_back(idOfHandle(*o.db, o.main.tags[i].asHandle()));
  return out;
}

bool TcDbViewport::isLayerFrozenInViewport(TcDbObjectId layer) const {
  TcDbObjectIdArray frozen = frozenLayers();
  return std::find(frozen.begin(), frozen.end(), layer) != frozen.end();
}

TcDb::ErrorStatus TcDbViewport::freezeLayersInViewport(const TcDbObjectIdArray& layers) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  if (!o.db) return TcDb::eNotInDatabase;
  for (TcDbObjectId layer : layers) {
    db::Database* d;
    uint32_t index;
    if (!resolve(layer, d, index) || d != o.db || d->typeOf(index) != "LAYER") return TcDb::eInvalidInput;
  }
  for (TcDbObjectId layer : layers) {
    if (isLayerFrozenInViewport(layer)) continue;
    db::insertGroup("VIEWPORT", o.main.tags, db::Tag::handle(331, o.db->object(layer.index()).handle));
  }
  o.main.dirty = true;
  return TcDb::eOk;
}

TcDb::ErrorStatus TcDbViewport::thawLayersInViewport(const TcDbObjectIdArray& layers) {
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  if (!o.db) return TcDb::eNotInDatabase;
  db::TagList& tags = o.main.tags;
  for (size_t i = 0; i < ownEnd(tags);) {
    bool thaw = tags[i].code == 331 &&
                std::find(layers.begin(), layers.end(), idOfHandle(*o.db, tags[i].asHandle())) != layers.end();
    if (thaw) tags.erase(tags.begin() + long(i));
    else ++i;
  }
  o.main.dirty = true;
  return TcDb::eOk;
}
