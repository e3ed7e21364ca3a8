// Which class serves which type of object when an object is opened.
#include <string_view>

#include "object_impl.h"

namespace {

struct ClassRow {
  const char* type;  // DXF type, or "TABLE:<name>" for a symbol table
  TcDbObject* (*make)();
};

}  // namespace

TcDbObject* TcDbObjectAccess::make(std::string_view type, std::string_view tableName, bool entity) {
  static const ClassRow kClasses[] = {
      {"TEXT", [] { return static_cast<TcDbObject*>(new TcDbText()); }},
      {"ATTRIB", [] { return static_cast<TcDbObject*>(new TcDbAttribute()); }},
      {"ATTDEF", [] { return static_cast<TcDbObject*>(new TcDbAttributeDefinition()); }},
      {"MTEXT", [] { return static_cast<TcDbObject*>(new TcDbMText()); }},
      {"INSERT", [] { return static_cast<TcDbObject*>(new TcDbBlockReference()); }},
      {"VIEWPORT", [] { return static_cast<TcDbObject*>(new TcDbViewport()); }},
      {"BLOCK_RECORD", [] { return static_cast<TcDbObject*>(new TcDbBlockTableRecord()); }},
      {"LAYER", [] { return static_cast<TcDbObject*>(new TcDbLayerTableRecord()); }},
      {"STYLE", [] { return static_cast<TcDbObject*>(new TcDbTextStyleTableRecord()); }},
      {"DICTIONARY", [] { return static_cast<TcDbObject*>(new TcDbDictionary()); }},
      {"ACDBDICTIONARYWDFLT", [] { return static_cast<TcDbObject*>(new TcDbDictionary()); }},
      {"XRECORD", [] { return static_cast<TcDbObject*>(new TcDbXrecord()); }},
      {"GROUP", [] { return static_cast<TcDbObject*>(new TcDbGroup()); }},
      {"TABLE:BLOCK_RECORD", [] { return static_cast<TcDbObject*>(new TcDbBlockTable()); }},
      {"TABLE:LAYER", [] { return static_cast<TcDbObject*>(new TcDbLayerTable()); }},
      {"TABLE:STYLE", [] { return static_cast<TcDbObject*>(new TcDbTextStyleTable()); }},
  };
  std::string key = type == "TABLE" ? "TABLE:" + tarn::db::upperAscii(tableName) : std::string(type);
  for (const ClassRow& row : kClasses)
    if (key == row.type) return row.make();
  if (type == "TABLE") return new TcDbSymbolTable();
  if (type == "DIMSTYLE" || type == "LTYPE" || type == "APPID" || type == "UCS" || type == "VIEW" || type == "VPORT")
    return new TcDbSymbolTableRecord("");
  if (entity) return new TcDbEntity("");
  return new TcDbObject("");
}
