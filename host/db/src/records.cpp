// Symbol-table records made by the host.
#include "db/records.h"

namespace tarn::db {
namespace {
struct SubclassRow { const char* table; const char* subclass; };
constexpr SubclassRow kRecordSubclasses[] = {
    {"LAYER", "AcDbLayerTableRecord"},     {"LTYPE", "AcDbLinetypeTableRecord"},
    {"STYLE", "AcDbTextStyleTableRecord"}, {"DIMSTYLE", "AcDbDimStyleTableRecord"},
    {"APPID", "AcDbRegAppTableRecord"},    {"UCS", "AcDbUCSTableRecord"},
    {"VIEW", "AcDbViewTableRecord"},       {"VPORT", "AcDbViewportTableRecord"},
    {"BLOCK_RECORD", "AcDbBlockTableRecord"},
};
}  // namespace

std::string_view recordSubclass(std::string_view table) {
  for (const auto& row : kRecordSubclasses)
    if (equalsNoCase(table, row.table)) return row.subclass;
  return {};
}

uint32_t addTableRecord(Database& db, std::string_view tableName, std::string_view name, const TagList& data) {
  SymbolTable* table = db.table(tableName);
  if (!table) return kNoObject;
  TagList tags;
  tags.push_back(Tag::handle(equalsNoCase(tableName, "DIMSTYLE") ? 105 : 5, db.allocateHandle()));
  tags.push_back(Tag::handle(330, table->object == kNoObject ? 0 : db.object(table->object).handle));
  tags.push_back(Tag::str(100, "AcDbSymbolTableRecord"));
  tags.push_back(Tag::str(100, recordSubclass(tableName)));
  tags.push_back(Tag::str(2, name));
  tags.insert(tags.end(), data.begin(), data.end());
  uint32_t id = db.addObject(upperAscii(tableName), tags, 0);
  db.table(tableName)->records.push_back(id);
  db.reindex();
  return id;
}

uint32_t ensureLayer(Database& db, std::string_view name) {
  uint32_t found = db.findRecord("LAYER", name);
  if (found != kNoObject) return found;
  TagList data = {Tag::integer(70, 0), Tag::integer(62, 7), Tag::str(6, "Continuous"), Tag::integer(370, -3)};
  // Keep the plot-style reference that layer "0" has, as readers expect one.
  uint32_t zero = db.findRecord("LAYER", "0");
  if (zero != kNoObject)
    if (auto plotStyle = findTag(db, zero, 390)) data.push_back(*plotStyle);
  return addTableRecord(db, "LAYER", name, data);
}

uint32_t ensureAppId(Database& db, std::string_view name) {
  uint32_t found = db.findRecord("APPID", name);
  if (found != kNoObject) return found;
  return addTableRecord(db, "APPID", name, {Tag::integer(70, 0)});
}

}  // namespace tarn::db
