// Objects of a drawing as modules open them: object ids, opening and closing,
// and the classes that read and write an object's values (entities, texts,
// block references and definitions, symbol tables and their records,
// dictionaries, xrecords, groups, databases).
//
// Ownership: an object got from tcdbOpenObject (or added to a database) is the
// host's; the module calls close() on it and never deletes it. Every open is
// counted by the host until its close, so an object left open is a defect that
// tests find. An object the module makes with `new` belongs to the module
// until it is added to a database (then it is open for write and must be
// closed); one that is never added is deleted by the module.
//
// A write-open object works on a copy of the object's groups; the copy is
// stored into the drawing when the object is closed. Objects opened for read
// see the drawing as it was when they were opened.
#ifndef TARNSDK_TCDBOBJECTS_H
#define TARNSDK_TCDBOBJECTS_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tctypes.h"

namespace TcDb {

enum ErrorStatus {
  eOk = 0,
  eNullObjectId,
  eInvalidInput,
  eWasErased,
  eOnLockedLayer,
  eWasOpenedForWrite,
  eNotOpenForWrite,
  eNotThatKindOfClass,
  eKeyNotFound,
  eDuplicateKey,
  eNotApplicable,
  eAlreadyInDb,
  eNotInDatabase,
  eRegappIdNotFound,
  eFileNotFound,
  eFileAccessErr,
  eBadDxfFile,
  eDwgNotSupported,
  eNoDatabase
};

enum OpenMode { kForRead = 0, kForWrite = 1 };

enum Visibility { kVisible = 0, kInvisible = 1 };

}  // namespace TcDb

struct TcGePoint3d {
  double x = 0, y = 0, z = 0;
  bool operator==(const TcGePoint3d&) const = default;
};
struct TcGeVector3d {
  double x = 0, y = 0, z = 1;
  bool operator==(const TcGeVector3d&) const = default;
};
struct TcGeScale3d {
  double sx = 1, sy = 1, sz = 1;
  bool operator==(const TcGeScale3d&) const = default;
};

class TcDbDatabase;

// An object of an open drawing: the drawing's serial number and the object's
// index in it. The null id has serial 0. Ids stay valid while the drawing is
// open, also for erased objects.
class TcDbObjectId {
 public:
  TcDbObjectId() = default;
  TcDbObjectId(uint32_t serial, uint32_t index) : serial_(serial), index_(index) {}
  static const TcDbObjectId kNull;

  bool isNull() const { return serial_ == 0; }
  // The id names an object of a drawing that is still open.
  bool isValid() const;
  bool isErased() const;
  // The handle as the drawing writes it (hexadecimal), empty when invalid.
  std::string handle() const;
  TcDbDatabase* database() const;
  uint32_t serial() const { return serial_; }
  uint32_t index() const { return index_; }

  auto operator<=>(const TcDbObjectId&) const = default;

 private:
  uint32_t serial_ = 0;
  uint32_t index_ = 0;
};

template <>
struct std::hash<TcDbObjectId> {
  size_t operator()(const TcDbObjectId& id) const noexcept {
    return std::hash<uint64_t>()((uint64_t(id.serial()) << 32) | id.index());
  }
};

using TcDbObjectIdArray = std::vector<TcDbObjectId>;

// Entity names and object ids name the same objects.
TcDb::ErrorStatus tcdbGetObjectId(TcDbObjectId& id, const tc_name name);
TcDb::ErrorStatus tcdbGetAdsName(tc_name name, TcDbObjectId id);

// ---------------------------------------------------------------- objects

struct TcDbObjectImpl;  // the host's side of an object
struct TcDbObjectAccess;

class TcDbObject {
 public:
  virtual ~TcDbObject();
  TcDbObject(const TcDbObject&) = delete;
  TcDbObject& operator=(const TcDbObject&) = delete;

  TcDbObjectId objectId() const;
  TcDbObjectId ownerId() const;
  std::string handle() const;    // hexadecimal, empty before the object is in a drawing
  std::string typeName() const;  // the DXF type: "LINE", "DICTIONARY" ...
  TcDbDatabase* database() const;
  bool isNewObject() const;      // made by the module, not yet in a drawing
  bool isReadEnabled() const;
  bool isWriteEnabled() const;

  // Stores the changes of a write-open object and ends the open. A second
  // close does nothing.
  TcDb::ErrorStatus close();
  // Read-open to write-open (fails as an open for write would) and back.
  TcDb::ErrorStatus upgradeOpen();
  TcDb::ErrorStatus downgradeOpen();

  bool isErased() const;
  TcDb::ErrorStatus erase(bool erasing = true);

  TcDbObjectId extensionDictionary() const;
  TcDb::ErrorStatus createExtensionDictionary();

  // Extended data as a chain starting with the application's 1001 group; null
  // when the object has none for it (or for any application when appName is
  // null). The caller releases the chain with tcutRelRb. Setting a chain
  // replaces the data of each application it names; an application given
  // with its 1001 group alone loses its data.
  struct resbuf* xData(const char* appName = nullptr) const;
  TcDb::ErrorStatus setXData(const struct resbuf* chain);

 protected:
  explicit TcDbObject(const char* type);
  TcDbObjectImpl* impl_;
  friend struct TcDbObjectAccess;
};

class TcDbEntity : public TcDbObject {
 public:
  std::string layer() const;
  TcDbObjectId layerId() const;
  TcDb::ErrorStatus setLayer(std::string_view name);  // eKeyNotFound for an unknown layer
  TcDb::ErrorStatus setLayer(TcDbObjectId layerId);
  int colorIndex() const;  // 256 by layer, 0 by block
  TcDb::ErrorStatus setColorIndex(int color);  // also drops a true colour
  int32_t trueColor() const;  // 0xRRGGBB, or -1 when none
  TcDb::ErrorStatus setTrueColor(int32_t rgb);
  std::string linetype() const;
  TcDb::ErrorStatus setLinetype(std::string_view name);
  double linetypeScale() const;
  TcDb::ErrorStatus setLinetypeScale(double scale);
  int lineWeight() const;  // -1 by layer, -2 by block, -3 default
  TcDb::ErrorStatus setLineWeight(int weight);
  TcDb::Visibility visibility() const;
  TcDb::ErrorStatus setVisibility(TcDb::Visibility v);
  // The block table record that holds the entity.
  TcDbObjectId blockId() const;

 protected:
  explicit TcDbEntity(const char* type);
  friend struct TcDbObjectAccess;
};

// TEXT, and the base of attributes and attribute definitions. Angles are in
// radians.
class TcDbText : public TcDbEntity {
 public:
  TcDbText();
  std::string textString() const;
  TcDb::ErrorStatus setTextString(std::string_view text);
  TcGePoint3d position() const;
  TcDb::ErrorStatus setPosition(const TcGePoint3d& p);
  TcGePoint3d alignmentPoint() const;
  TcDb::ErrorStatus setAlignmentPoint(const TcGePoint3d& p);
  double height() const;
  TcDb::ErrorStatus setHeight(double h);
  double rotation() const;
  TcDb::ErrorStatus setRotation(double radians);
  double widthFactor() const;
  TcDb::ErrorStatus setWidthFactor(double f);
  double oblique() const;
  TcDb::ErrorStatus setOblique(double radians);
  std::string textStyleName() const;
  TcDb::ErrorStatus setTextStyle(std::string_view name);  // eKeyNotFound for an unknown style
  int horizontalMode() const;  // group 72
  TcDb::ErrorStatus setHorizontalMode(int mode);
  int verticalMode() const;    // group 73 (74 for attributes)
  TcDb::ErrorStatus setVerticalMode(int mode);
  TcGeVector3d normal() const;
  TcDb::ErrorStatus setNormal(const TcGeVector3d& n);

 protected:
  explicit TcDbText(const char* type);
  friend struct TcDbObjectAccess;
};

class TcDbAttribute : public TcDbText {
 public:
  TcDbAttribute();
  std::string tag() const;
  TcDb::ErrorStatus setTag(std::string_view tag);
  int flags() const;  // 1 invisible, 2 constant, 4 verify, 8 preset
  TcDb::ErrorStatus setFlags(int flags);
  bool isInvisible() const;
  TcDb::ErrorStatus setInvisible(bool on);
  bool isConstant() const;
};

class TcDbAttributeDefinition : public TcDbText {
 public:
  TcDbAttributeDefinition();
  std::string tag() const;
  TcDb::ErrorStatus setTag(std::string_view tag);
  std::string prompt() const;
  TcDb::ErrorStatus setPrompt(std::string_view prompt);
  int flags() const;
  TcDb::ErrorStatus setFlags(int flags);
  bool isInvisible() const;
  TcDb::ErrorStatus setInvisible(bool on);
  bool isConstant() const;
  TcDb::ErrorStatus setConstant(bool on);
};

class TcDbMText : public TcDbEntity {
 public:
  TcDbMText();
  std::string contents() const;  // the pieces of group 3 and group 1 joined
  TcDb::ErrorStatus setContents(std::string_view text);
  TcGePoint3d location() const;
  TcDb::ErrorStatus setLocation(const TcGePoint3d& p);
  double textHeight() const;
  TcDb::ErrorStatus setTextHeight(double h);
  double width() const;
  TcDb::ErrorStatus setWidth(double w);
  double actualWidth() const;   // group 42, as last laid out
  double actualHeight() const;  // group 43
  double rotation() const;      // radians; from the direction (group 11) when there is one
  TcDb::ErrorStatus setRotation(double radians);
  int attachment() const;       // 1 top left ... 9 bottom right
  TcDb::ErrorStatus setAttachment(int a);
  TcGeVector3d normal() const;
  TcDb::ErrorStatus setNormal(const TcGeVector3d& n);
  std::string textStyleName() const;
  TcDb::ErrorStatus setTextStyle(std::string_view name);
};

class TcDbBlockReference : public TcDbEntity {
 public:
  TcDbBlockReference();
  TcDbObjectId blockTableRecord() const;
  TcDb::ErrorStatus setBlockTableRecord(TcDbObjectId record);
  TcGePoint3d position() const;
  TcDb::ErrorStatus setPosition(const TcGePoint3d& p);
  TcGeScale3d scaleFactors() const;
  TcDb::ErrorStatus setScaleFactors(const TcGeScale3d& s);
  double rotation() const;  // radians
  TcDb::ErrorStatus setRotation(double radians);
  TcGeVector3d normal() const;
  TcDb::ErrorStatus setNormal(const TcGeVector3d& n);
  // The ATTRIBs that follow the reference, erased ones left out.
  TcDbObjectIdArray attributeIds() const;
};

// Layer freezes of one layout viewport (the layers its 331 groups name).
class TcDbViewport : public TcDbEntity {
 public:
  bool isLayerFrozenInViewport(TcDbObjectId layer) const;
  TcDbObjectIdArray frozenLayers() const;
  TcDb::ErrorStatus freezeLayersInViewport(const TcDbObjectIdArray& layers);
  TcDb::ErrorStatus thawLayersInViewport(const TcDbObjectIdArray& layers);

 protected:
  TcDbViewport();
  friend struct TcDbObjectAccess;
};

// ---------------------------------------------------------------- symbol tables

class TcDbSymbolTableRecord : public TcDbObject {
 public:
  std::string getName() const;
  // Names are set on new records only: objects refer to records by name.
  TcDb::ErrorStatus setName(std::string_view name);

 protected:
  explicit TcDbSymbolTableRecord(const char* type);
  friend struct TcDbObjectAccess;
};

// Walks the ids of a block's entities; the module deletes it.
class TcDbBlockTableRecordIterator {
 public:
  explicit TcDbBlockTableRecordIterator(TcDbObjectIdArray ids) : ids_(std::move(ids)) {}
  void start() { at_ = 0; }
  bool done() const { return at_ >= ids_.size(); }
  void step() { ++at_; }
  TcDb::ErrorStatus getEntityId(TcDbObjectId& id) const {
    if (done()) return TcDb::eInvalidInput;
    id = ids_[at_];
    return TcDb::eOk;
  }

 private:
  TcDbObjectIdArray ids_;
  size_t at_ = 0;
};

class TcDbBlockTableRecord : public TcDbSymbolTableRecord {
 public:
  TcDbBlockTableRecord();
  TcGePoint3d origin() const;
  TcDb::ErrorStatus setOrigin(const TcGePoint3d& p);
  // The main entities in order (attributes and vertices come with their
  // parents), erased ones skipped.
  TcDbObjectIdArray entityIds() const;
  TcDb::ErrorStatus newIterator(TcDbBlockTableRecordIterator*& it) const;
  // Adds a new entity at the end of the block; it is then open for write.
  TcDb::ErrorStatus appendTcDbEntity(TcDbObjectId& id, TcDbEntity* entity);
  bool isAnonymous() const;
  bool hasAttributeDefinitions() const;
  bool isFromExternalReference() const;
  bool isLayout() const;
  bool explodable() const;
  TcDb::ErrorStatus setExplodable(bool on);
  int blockInsertUnits() const;
  TcDb::ErrorStatus setBlockInsertUnits(int units);
};

class TcDbLayerTableRecord : public TcDbSymbolTableRecord {
 public:
  TcDbLayerTableRecord();
  bool isOff() const;
  TcDb::ErrorStatus setIsOff(bool off);
  bool isFrozen() const;
  TcDb::ErrorStatus setIsFrozen(bool frozen);
  bool isLocked() const;
  TcDb::ErrorStatus setIsLocked(bool locked);
  int colorIndex() const;  // always positive; off is a separate state
  TcDb::ErrorStatus setColorIndex(int color);
  std::string linetype() const;
  TcDb::ErrorStatus setLinetype(std::string_view name);
};

class TcDbTextStyleTableRecord : public TcDbSymbolTableRecord {
 public:
  TcDbTextStyleTableRecord();
  std::string fileName() const;
  TcDb::ErrorStatus setFileName(std::string_view file);
  std::string bigFontFileName() const;
  TcDb::ErrorStatus setBigFontFileName(std::string_view file);
  double textSize() const;
  TcDb::ErrorStatus setTextSize(double h);
  double xScale() const;
  TcDb::ErrorStatus setXScale(double f);
  int flags() const;
};

class TcDbSymbolTable : public TcDbObject {
 public:
  std::string tableName() const;  // "LAYER", "BLOCK_RECORD" ...
  // Case-insensitive; erased records are skipped.
  TcDb::ErrorStatus getAt(std::string_view name, TcDbObjectId& id) const;
  bool has(std::string_view name) const;
  bool has(TcDbObjectId id) const;
  TcDbObjectIdArray recordIds() const;  // in table order, erased ones left out
  // Adds a new record (named with setName) to a table open for write; the
  // record is then open for write.
  TcDb::ErrorStatus add(TcDbObjectId& id, TcDbSymbolTableRecord* record);

 protected:
  TcDbSymbolTable();
  friend struct TcDbObjectAccess;
};

class TcDbBlockTable : public TcDbSymbolTable {
 protected:
  TcDbBlockTable() = default;
  friend struct TcDbObjectAccess;
};
class TcDbLayerTable : public TcDbSymbolTable {
 protected:
  TcDbLayerTable() = default;
  friend struct TcDbObjectAccess;
};
class TcDbTextStyleTable : public TcDbSymbolTable {
 protected:
  TcDbTextStyleTable() = default;
  friend struct TcDbObjectAccess;
};

// ---------------------------------------------------------------- dictionaries

class TcDbDictionary : public TcDbObject {
 public:
  TcDbDictionary();
  TcDb::ErrorStatus getAt(std::string_view name, TcDbObjectId& id) const;
  bool has(std::string_view name) const;
  uint32_t numEntries() const;
  // Entry names and ids in the dictionary's order.
  std::vector<std::pair<std::string, TcDbObjectId>> entries() const;
  std::string nameAt(TcDbObjectId id) const;  // empty when not an entry
  // Adds an entry; a new object is added to the drawing and is then open for
  // write. A name that is taken gives eDuplicateKey. In the group dictionary a
  // name starting with "*" takes the next free anonymous name "*Un".
  TcDb::ErrorStatus setAt(std::string_view name, TcDbObject* object, TcDbObjectId& id);
  // Takes the entry out (the object stays, without owner).
  TcDb::ErrorStatus remove(std::string_view name);
  TcDb::ErrorStatus remove(std::string_view name, TcDbObjectId& removed);
};

class TcDbXrecord : public TcDbObject {
 public:
  TcDbXrecord();
  // The data as a chain (null when empty); released by the caller.
  struct resbuf* rbChain() const;
  TcDb::ErrorStatus setFromRbChain(const struct resbuf* chain);
};

class TcDbGroup : public TcDbObject {
 public:
  TcDbGroup();
  std::string name() const;  // its key in the group dictionary
  std::string description() const;
  TcDb::ErrorStatus setDescription(std::string_view text);
  bool isSelectable() const;
  TcDb::ErrorStatus setSelectable(bool on);
  bool isAnonymous() const;
  TcDb::ErrorStatus setAnonymous();
  TcDbObjectIdArray allEntityIds() const;
  bool has(TcDbObjectId entity) const;
  uint32_t numEntities() const;
  TcDb::ErrorStatus append(TcDbObjectId entity);
  TcDb::ErrorStatus append(const TcDbObjectIdArray& entities);
  TcDb::ErrorStatus remove(TcDbObjectId entity);
  TcDb::ErrorStatus clear();
};

// ---------------------------------------------------------------- databases

struct TcDbDatabaseImpl;

// A drawing. The working database is the host's current drawing; a module
// may also make private databases (new drawings, or drawings read from DXF
// files), which it deletes when done.
class TcDbDatabase {
 public:
  // A new drawing (layer "0", model and paper space), or with false an empty
  // database to read a file into.
  explicit TcDbDatabase(bool buildDefaultDrawing = true);
  ~TcDbDatabase();
  TcDbDatabase(const TcDbDatabase&) = delete;
  TcDbDatabase& operator=(const TcDbDatabase&) = delete;

  uint32_t serial() const;
  // Reads a DXF file into a database made empty; a binary DWG file is refused
  // with eDwgNotSupported. On failure the database is empty again.
  TcDb::ErrorStatus readDxfFile(const char* path);
  // Writes the drawing (atomically: a temporary file renamed into place).
  TcDb::ErrorStatus saveAs(const char* path) const;

  TcDbObjectId blockTableId() const;
  TcDbObjectId layerTableId() const;
  TcDbObjectId textStyleTableId() const;
  TcDbObjectId namedObjectsDictionaryId() const;
  TcDbObjectId groupDictionaryId() const;
  TcDbObjectId modelSpaceId() const;  // block table records
  TcDbObjectId paperSpaceId() const;
  TcDbObjectId clayer() const;
  TcDb::ErrorStatus getBlockTable(TcDbBlockTable*& table, TcDb::OpenMode mode) const;
  TcDb::ErrorStatus getLayerTable(TcDbLayerTable*& table, TcDb::OpenMode mode) const;
  TcDb::ErrorStatus getTextStyleTable(TcDbTextStyleTable*& table, TcDb::OpenMode mode) const;
  TcDb::ErrorStatus getNamedObjectsDictionary(TcDbDictionary*& dict, TcDb::OpenMode mode) const;
  TcDb::ErrorStatus getGroupDictionary(TcDbDictionary*& dict, TcDb::OpenMode mode) const;

 private:
  friend struct TcDbObjectAccess;
  TcDbDatabase(TcDbDatabaseImpl* view);
  TcDbDatabaseImpl* impl_;
};

// The host's current drawing, or null.
TcDbDatabase* tcdbWorkingDatabase();

// ---------------------------------------------------------------- opening

TcDb::ErrorStatus tcdbOpenObject(TcDbObject*& out, TcDbObjectId id, TcDb::OpenMode mode, bool openErased = false);

// Opens as a given class; eNotThatKindOfClass (and nothing left open) when
// the object is of another kind.
template <class T>
TcDb::ErrorStatus tcdbOpenObject(T*& out, TcDbObjectId id, TcDb::OpenMode mode, bool openErased = false) {
  out = nullptr;
  TcDbObject* any = nullptr;
  TcDb::ErrorStatus es = tcdbOpenObject(any, id, mode, openErased);
  if (es != TcDb::eOk) return es;
  out = dynamic_cast<T*>(any);
  if (out) return TcDb::eOk;
  any->close();
  return TcDb::eNotThatKindOfClass;
}

// The refusal to open entities on locked layers for write (and to change
// them through entity lists) is suspended while any suspension is active.
void tcdbSuspendLockedLayerCheck();
void tcdbResumeLockedLayerCheck();

class TcDbLockedLayerCheckSuspension {
 public:
  TcDbLockedLayerCheckSuspension() { tcdbSuspendLockedLayerCheck(); }
  ~TcDbLockedLayerCheckSuspension() { tcdbResumeLockedLayerCheck(); }
  TcDbLockedLayerCheckSuspension(const TcDbLockedLayerCheckSuspension&) = delete;
  TcDbLockedLayerCheckSuspension& operator=(const TcDbLockedLayerCheckSuspension&) = delete;
};

// ---------------------------------------------------------------- viewports and layer notices

// The current layout viewport: the VIEWPORT entity of the current layout
// whose number (group 69) is CVPORT. A null id on the model tab (TILEMODE 1),
// in the layout's own paper-space viewport (CVPORT 1) or when there is none.
TcDbObjectId tcedGetCurViewportObjectId();

// The host's notice of changed layer states, exported by the host module
// under this name (the desktop host's ordinal 1988). A module finds it with
// tcplGetProcAddress(tcplModuleOfAddress((const void*)&tcedCommand), ...).
// Code TCED_NOTICE_LAYER_STATES with the layers now off, frozen or locked
// and the flag 1 makes the host refresh what it shows of those layers.
#define TCED_HOST_LAYER_NOTICE "tcpl_ordinal_1988"
constexpr int TCED_NOTICE_LAYER_STATES = 7;
struct TcEdLayerNotice {
  TcDbObjectIdArray layers;
  int flag = 0;
};
using TcEdHostNoticeFn = void (*)(int code, const TcEdLayerNotice* notice);

#endif
