// Databases as modules see them: the working drawing, private drawings made
// new or read from DXF files, saving, and the ids of tables, spaces and the
// named-object dictionary.
#include <memory>
#include <unordered_map>

#include "api/host_state.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "objects/object_pool.h"
#include "object_impl.h"

using namespace tarn;
using namespace tarn::objects;

struct TcDbDatabaseImpl {
  db::Database* db = nullptr;
  std::unique_ptr<db::Database> owned;  // private databases only
};

namespace {

// Views of drawings the host owns (the working drawing and the like), made
// on first use; private databases are listed by themselves.
std::unordered_map<uint32_t, std::unique_ptr<TcDbDatabase>>& views() {
  static std::unordered_map<uint32_t, std::unique_ptr<TcDbDatabase>> v;
  return v;
}
std::unordered_map<uint32_t, TcDbDatabase*>& privates() {
  static std::unordered_map<uint32_t, TcDbDatabase*> p;
  return p;
}

TcDb::ErrorStatus statusOf(db::DxfStatus s) {
  switch (s) {
    case db::DxfStatus::Ok: return TcDb::eOk;
    case db::DxfStatus::NotFound: return TcDb::eFileNotFound;
    case db::DxfStatus::IoError: return TcDb::eFileAccessErr;
    case db::DxfStatus::BinaryDwg: return TcDb::eDwgNotSupported;
    default: return TcDb::eBadDxfFile;
  }
}

uint32_t tableObject(const db::Database& d, std::string_view name) {
  const db::SymbolTable* t = d.table(name);
  return t ? t->object : db::kNoObject;
}

uint32_t recordOfBlock(const db::Database& d, uint32_t block) {
  return block == db::kNoObject ? db::kNoObject : d.blocks()[block].record;
}

}  // namespace

TcDbDatabase* tarn::objects::viewOf(uint32_t serial) {
  if (auto p = privates().find(serial); p != privates().end()) return p->second;
  db::Database* d = host::databaseBySerial(serial);
  auto& v = views();
  auto it = v.find(serial);
  if (!d) {
    if (it != v.end()) v.erase(it);
    return nullptr;
  }
  if (it != v.end()) return it->second.get();
  auto* impl = new TcDbDatabaseImpl;
  impl->db = d;
  return v.emplace(serial, TcDbObjectAccess::makeView(impl)).first->second.get();
}

TcDbDatabase* tcdbWorkingDatabase() {
  db::Database* d = host::currentDatabase();
  return d ? viewOf(d->serial()) : nullptr;
}

TcDbDatabase::TcDbDatabase(TcDbDatabaseImpl* view) : impl_(view) {}

TcDbDatabase::TcDbDatabase(bool buildDefaultDrawing) : impl_(new TcDbDatabaseImpl) {
  impl_->owned = std::make_unique<db::Database>();
  impl_->db = impl_->owned.get();
  if (buildDefaultDrawing) db::initNewDrawing(*impl_->db);
  host::registerDatabase(impl_->db);
  privates()[impl_->db->serial()] = this;
}

namespace {
void release(TcDbDatabaseImpl& impl) {
  releaseObjectsOf(*impl.db);
  privates().erase(impl.db->serial());
  host::unregisterDatabase(impl.db);
}
}  // namespace

TcDbDatabase::~TcDbDatabase() {
  if (impl_->owned) release(*impl_);
  delete impl_;
}

uint32_t TcDbDatabase::serial() const { return impl_->db->serial(); }

TcDb::ErrorStatus TcDbDatabase::readDxfFile(const char* path) {
  if (!impl_->owned) return TcDb::eNotApplicable;  // the host's own drawings are read by the host
  if (!path) return TcDb::eInvalidInput;
  auto fresh = [&] {
    release(*impl_);
    impl_->owned = std::make_unique<db::Database>();
    impl_->db = impl_->owned.get();
    host::registerDatabase(impl_->db);
    privates()[impl_->db->serial()] = this;
  };
  fresh();
  db::DxfResult r = db::readDxfFile(path, *impl_->db);
  if (!r.ok()) fresh();  // a failed read leaves a partly filled database behind
  return statusOf(r.status);
}

TcDb::ErrorStatus TcDbDatabase::saveAs(const char* path) const {
  if (!path || !*path) return TcDb::eInvalidInput;
  return statusOf(db::writeDxfFile(*impl_->db, path).status);
}

TcDbObjectId TcDbDatabase::blockTableId() const { return idOf(*impl_->db, tableObject(*impl_->db, "BLOCK_RECORD")); }
TcDbObjectId TcDbDatabase::layerTableId() const { return idOf(*impl_->db, tableObject(*impl_->db, "LAYER")); }
TcDbObjectId TcDbDatabase::textStyleTableId() const { return idOf(*impl_->db, tableObject(*impl_->db, "STYLE")); }
TcDbObjectId TcDbDatabase::namedObjectsDictionaryId() const { return idOf(*impl_->db, impl_->db->rootDictionary()); }
TcDbObjectId TcDbDatabase::modelSpaceId() const { return idOf(*impl_->db, recordOfBlock(*impl_->db, impl_->db->modelSpace())); }
TcDbObjectId TcDbDatabase::paperSpaceId() const { return idOf(*impl_->db, recordOfBlock(*impl_->db, impl_->db->paperSpace())); }

TcDbObjectId TcDbDatabase::groupDictionaryId() const {
  TcDbDictionary* root = nullptr;
  if (getNamedObjectsDictionary(root, TcDb::kForRead) != TcDb::eOk) return {};
  TcDbObjectId id;
  root->getAt("ACAD_GROUP", id);
  root->close();
  return id;
}

TcDbObjectId TcDbDatabase::clayer() const {
  const db::TagList* v = impl_->db->headerVar("$CLAYER");
  std::string name = v && !v->empty() ? v->front().s : "0";
  return idOf(*impl_->db, impl_->db->findRecord("LAYER", name));
}

TcDb::ErrorStatus TcDbDatabase::getBlockTable(TcDbBlockTable*& t, TcDb::OpenMode m) const { return tcdbOpenObject(t, blockTableId(), m); }
TcDb::ErrorStatus TcDbDatabase::getLayerTable(TcDbLayerTable*& t, TcDb::OpenMode m) const { return tcdbOpenObject(t, layerTableId(), m); }
TcDb::ErrorStatus TcDbDatabase::getTextStyleTable(TcDbTextStyleTable*& t, TcDb::OpenMode m) const {
  return tcdbOpenObject(t, textStyleTableId(), m);
}
TcDb::ErrorStatus TcDbDatabase::getNamedObjectsDictionary(TcDbDictionary*& d, TcDb::OpenMode m) const {
  return tcdbOpenObject(d, namedObjectsDictionaryId(), m);
}
TcDb::ErrorStatus TcDbDatabase::getGroupDictionary(TcDbDictionary*& d, TcDb::OpenMode m) const {
  return tcdbOpenObject(d, groupDictionaryId(), m);
}
