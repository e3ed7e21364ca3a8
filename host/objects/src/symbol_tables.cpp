// Symbol tables and their records: lookup by name, adding new records, and
// the layer and text style records' values.
#include <algorithm>
#include <cstdlib>

#include "db/records.h"
#include "properties.h"

using namespace tarn;
using namespace tarn::objects;
using db::Tag;
using db::TagList;

namespace {

const Property kName{2, Kind::Text};
const Property kLayerFlags{70, Kind::Int};
const Property kLayerColor{62, Kind::Int, 0, 7};
const Property kLayerLinetype{6, Kind::Text, 0, 0, "Continuous"};
const Property kStyleFile{3, Kind::Text};
const Property kStyleBigFont{4, Kind::Text};
const Property kStyleSize{40, Kind::Real};
const Property kStyleXScale{41, Kind::Real, 1.0};
const Property kStyleFlags{70, Kind::Int};

constexpr int64_t kFrozen = 1;
constexpr int64_t kLocked = 4;

const db::SymbolTable* tableOf(const TcDbObject& t) {
  const TcDbObjectImpl& o = implOf(t);
  return o.db ? o.db->table(getText(t, kName)) : nullptr;
}

}  // namespace

// Adds a block definition for a new block table record (in block_table_record.cpp).
TcDb::ErrorStatus addBlockDefinition(db::Database& d, TcDbBlockTableRecord& record, std::string name);

// ---- records

TcDbSymbolTableRecord::TcDbSymbolTableRecord(const char* type) : TcDbObject(type) {}

std::string TcDbSymbolTableRecord::getName() const { return getText(*this, kName); }

TcDb::ErrorStatus TcDbSymbolTableRecord::setName(std::string_view name) {
  if (!isNewObject()) return TcDb::eNotApplicable;  // objects name records: a rename would orphan them
  if (name.empty()) return TcDb::eInvalidInput;
  return setText(*this, kName, name);
}

TcDbLayerTableRecord::TcDbLayerTableRecord() : TcDbSymbolTableRecord("LAYER") {
  implOf(*this).main.tags = {Tag::str(2, ""), Tag::integer(70, 0), Tag::integer(62, 7), Tag::str(6, "Continuous"),
                             Tag::integer(370, -3)};
}

bool TcDbLayerTableRecord::isOff() const { return getInt(*this, kLayerColor) < 0; }

TcDb::ErrorStatus TcDbLayerTableRecord::setIsOff(bool off) {
  int64_t c = std::llabs(getInt(*this, kLayerColor));
  return setInt(*this, kLayerColor, off ? -c : c);
}

bool TcDbLayerTableRecord::isFrozen() const { return getBit(*this, kLayerFlags, kFrozen); }
TcDb::ErrorStatus TcDbLayerTableRecord::setIsFrozen(bool on) { return setBit(*this, kLayerFlags, kFrozen, on); }
bool TcDbLayerTableRecord::isLocked() const { return getBit(*this, kLayerFlags, kLocked); }
TcDb::ErrorStatus TcDbLayerTableRecord::setIsLocked(bool on) { return setBit(*this, kLayerFlags, kLocked, on); }
int TcDbLayerTableRecord::colorIndex() const { return int(std::llabs(getInt(*this, kLayerColor))); }

TcDb::ErrorStatus TcDbLayerTableRecord::setColorIndex(int color) {
  if (color < 1 || color > 255) return TcDb::eInvalidInput;
  return setInt(*this, kLayerColor, isOff() ? -color : color);
}

std::string TcDbLayerTableRecord::linetype() const { return getText(*this, kLayerLinetype); }

TcDb::ErrorStatus TcDbLayerTableRecord::setLinetype(std::string_view name) {
  const db::Database* d = databaseFor(implOf(*this));
  uint32_t record = d ? d->findRecord("LTYPE", name) : db::kNoObject;
  if (record == db::kNoObject) return TcDb::eKeyNotFound;
  return setText(*this, kLayerLinetype, db::findString(*d, record, 2));
}

TcDbTextStyleTableRecord::TcDbTextStyleTableRecord() : TcDbSymbolTableRecord("STYLE") {
  implOf(*this).main.tags = {Tag::str(2, ""), Tag::integer(70, 0), Tag::real(40, 0), Tag::real(41, 1),
                             Tag::real(50, 0), Tag::integer(71, 0), Tag::real(42, 2.5), Tag::str(3, "txt"),
                             Tag::str(4, "")};
}

std::string TcDbTextStyleTableRecord::fileName() const { return getText(*this, kStyleFile); }
TcDb::ErrorStatus TcDbTextStyleTableRecord::setFileName(std::string_view f) { return setText(*this, kStyleFile, f); }
std::string TcDbTextStyleTableRecord::bigFontFileName() const { return getText(*this, kStyleBigFont); }
TcDb::ErrorStatus TcDbTextStyleTableRecord::setBigFontFileName(std::string_view f) { return setText(*this, kStyleBigFont, f); }
double TcDbTextStyleTableRecord::textSize() const { return getReal(*this, kStyleSize); }
TcDb::ErrorStatus TcDbTextStyleTableRecord::setTextSize(double h) { return h >= 0 ? setReal(*this, kStyleSize, h) : TcDb::eInvalidInput; }
double TcDbTextStyleTableRecord::xScale() const { return getReal(*this, kStyleXScale); }
TcDb::ErrorStatus TcDbTextStyleTableRecord::setXScale(double f) { return f > 0 ? setReal(*this, kStyleXScale, f) : TcDb::eInvalidInput; }
int TcDbTextStyleTableRecord::flags() const { return int(getInt(*this, kStyleFlags)); }

// ---- tables

TcDbSymbolTable::TcDbSymbolTable() : TcDbObject("TABLE") {}

std::string TcDbSymbolTable::tableName() const { return getText(*this, kName); }

TcDb::ErrorStatus TcDbSymbolTable::getAt(std::string_view name, TcDbObjectId& id) const {
  id = {};
  const TcDbObjectImpl& o = implOf(*this);
  uint32_t record = o.db ? o.db->findRecord(tableName(), name) : db::kNoObject;
  if (record == db::kNoObject) return TcDb::eKeyNotFound;
  id = idOf(*o.db, record);
  return TcDb::eOk;
}

bool TcDbSymbolTable::has(std::string_view name) const {
  TcDbObjectId id;
  return getAt(name, id) == TcDb::eOk;
}

bool TcDbSymbolTable::has(TcDbObjectId id) const {
  TcDbObjectIdArray ids = recordIds();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TcDbObjectIdArray TcDbSymbolTable::recordIds() const {
  TcDbObjectIdArray out;
  const db::SymbolTable* table = tableOf(*this);
  if (!table) return out;
  const db::Database& d = *implOf(*this).db;
  for (uint32_t r : table->records)
    if (!d.isErased(r)) out.push_back(idOf(d, r));
  return out;
}

namespace {

// A new record's groups after its name, as the table keeps them.
TagList recordData(const TagList& tags) {
  TagList data;
  for (const Tag& t : tags)
    if (t.code != 2 && t.code != 100 && t.code != 5 && t.code != 330) data.push_back(t);
  return data;
}

TcDb::ErrorStatus addRecord(db::Database& d, std::string_view table, TcDbSymbolTableRecord& record) {
  TcDbObjectImpl& r = implOf(record);
  std::string name = record.getName();
  TagList data = recordData(r.main.tags);
  uint32_t zero = d.findRecord("LAYER", "0");
  if (table == "LAYER" && !findOwn(data, 390) && zero != db::kNoObject)
    if (auto plotStyle = db::findTag(d, zero, 390)) data.push_back(*plotStyle);
  uint32_t id = db::addTableRecord(d, table, name, data);
  if (id == db::kNoObject) return TcDb::eNotApplicable;
  r.db = &d;
  r.main = {id, d.tagList(id), false};
  adoptOpen(&record);
  return TcDb::eOk;
}

}  // namespace

TcDb::ErrorStatus TcDbSymbolTable::add(TcDbObjectId& id, TcDbSymbolTableRecord* record) {
  id = {};
  TcDbObjectImpl& o = implOf(*this);
  if (TcDb::ErrorStatus es = writable(o); es != TcDb::eOk) return es;
  if (!record || !record->isNewObject()) return record ? TcDb::eAlreadyInDb : TcDb::eInvalidInput;
  std::string table = db::upperAscii(tableName());
  if (implOf(*record).type != table) return TcDb::eNotThatKindOfClass;
  std::string name = record->getName();
  bool anonymousBlock = table == "BLOCK_RECORD" && !name.empty() && name[0] == '*';
  if (name.empty()) return TcDb::eInvalidInput;
  if (!anonymousBlock && has(name)) return TcDb::eDuplicateKey;
  TcDb::ErrorStatus es = table == "BLOCK_RECORD"
                             ? addBlockDefinition(*o.db, static_cast<TcDbBlockTableRecord&>(*record), name)
                             : addRecord(*o.db, table, *record);
  if (es == TcDb::eOk) id = record->objectId();
  return es;
}
