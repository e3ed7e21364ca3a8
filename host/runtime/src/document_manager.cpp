// The open documents, the current one, opening drawings in application
// context (every module gets load-drawing for the new document) and the
// resource-handle stack.
#include "runtime/document_manager.h"

#include <algorithm>

#include <tarnsdk/tcdbobjects.h>

#include "api/host_state.h"
#include "db/dxf.h"
#include "db/new_drawing.h"
#include "module_code.h"
#include "objects/object_pool.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"

namespace tarn::runtime {

Document::Document(db::Database* db, std::unique_ptr<db::Database> owned, std::string fileName)
    : db_(db), owned_(std::move(owned)), serial_(db->serial()), fileName_(std::move(fileName)) {}

TcDbDatabase* Document::database() const {
  if (host::currentDatabase() == db_) return tcdbWorkingDatabase();
  // The database of another document: reached through one of its objects.
  for (uint32_t i = 0; i < db_->objectCount(); ++i)
    if (TcDbDatabase* d = TcDbObjectId(serial_, i).database()) return d;
  return nullptr;
}

void DocumentManager::sync() const {
  std::erase_if(documents_, [](const std::unique_ptr<Document>& d) {
    return !d->owned() && host::databaseBySerial(d->serial()) != &d->db();
  });
  db::Database* cur = host::currentDatabase();
  if (!cur) return;
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](auto& d) { return &d->db() == cur; });
  if (it == documents_.end()) documents_.push_back(std::make_unique<Document>(cur, nullptr, std::string()));
}

int DocumentManager::documentCount() const {
  sync();
  return int(documents_.size());
}

TcApDocument* DocumentManager::document(int index) const {
  sync();
  return index >= 0 && index < int(documents_.size()) ? documents_[size_t(index)].get() : nullptr;
}

std::vector<Document*> DocumentManager::documents() const {
  sync();
  std::vector<Document*> out;
  for (auto& d : documents_) out.push_back(d.get());
  return out;
}

Document* DocumentManager::current() const {
  sync();
  db::Database* cur = host::currentDatabase();
  for (auto& d : documents_)
    if (&d->db() == cur) return d.get();
  return nullptr;
}

bool DocumentManager::isOpen(const TcApDocument* document) const {
  sync();
  return document && std::any_of(documents_.begin(), documents_.end(), [&](auto& d) { return d.get() == document; });
}

void DocumentManager::makeCurrent(Document* document) {
  if (!document || current() == document) return;
  host::setCurrentDatabase(&document->db());
  applyDocumentDefinitions();
}

bool DocumentManager::setCurDocument(TcApDocument* document) {
  if (!isOpen(document)) return false;
  makeCurrent(static_cast<Document*>(document));
  return true;
}

Document* DocumentManager::add(std::unique_ptr<Document> document) {
  host::registerDatabase(&document->db());
  sync();
  documents_.push_back(std::move(document));
  Document* d = documents_.back().get();
  if (!host::currentDatabase() || documents_.size() == 1) makeCurrent(d);
  return d;
}

Document* DocumentManager::open(const std::string& fileName, std::string* error) {
  auto db = std::make_unique<db::Database>();
  db::DxfResult r = db::readDxfFile(fileName, *db);
  if (!r.ok()) {
    if (error) *error = r.message.empty() ? "cannot open " + fileName : r.message;
    return nullptr;
  }
  db::Database* raw = db.get();
  return add(std::make_unique<Document>(raw, std::move(db), fileName));
}

Document* DocumentManager::openNew() {
  auto db = std::make_unique<db::Database>();
  db::initNewDrawing(*db);
  db::Database* raw = db.get();
  return add(std::make_unique<Document>(raw, std::move(db), std::string()));
}

bool DocumentManager::appContextOpenDocument(const char* fileName) {
  std::string error;
  Document* d = fileName && *fileName ? open(fileName, &error) : nullptr;
  if (!d) {
    printLine("Cannot open the drawing: " + (fileName && *fileName ? error : std::string("no file name given")));
    return false;
  }
  makeCurrent(d);
  dynamicLinker().sendLoadDrawing();
  return true;
}

bool DocumentManager::appContextNewDocument() {
  makeCurrent(openNew());
  dynamicLinker().sendLoadDrawing();
  return true;
}

bool DocumentManager::closeDocument(TcApDocument* document) {
  // The commands always work on a drawing: the last one stays open.
  if (!isOpen(document) || documents_.size() < 2) return false;
  auto* doc = static_cast<Document*>(document);
  Document* was = current();
  makeCurrent(doc);
  dynamicLinker().sendToAll(TCRX_MSG_UNLOAD_DWG);
  Document* next = was != doc ? was : nullptr;
  for (auto& d : documents_)
    if (!next && d.get() != doc) next = d.get();
  makeCurrent(next);
  auto it = std::find_if(documents_.begin(), documents_.end(), [&](auto& d) { return d.get() == doc; });
  std::unique_ptr<Document> gone = std::move(*it);
  documents_.erase(it);
  if (gone->owned()) {
    objects::releaseObjectsOf(gone->db());
    host::unregisterDatabase(&gone->db());
  }
  applyDocumentDefinitions();
  return true;
}

void DocumentManager::closeAll() {
  Document* keep = nullptr;
  for (Document* d : documents())
    if (!d->owned()) keep = d;
  if (host::currentDatabase() && current() && current()->owned()) host::setCurrentDatabase(keep ? &keep->db() : nullptr);
  for (auto& d : documents_)
    if (d->owned()) {
      objects::releaseObjectsOf(d->db());
      host::unregisterDatabase(&d->db());
    }
  std::erase_if(documents_, [](auto& d) { return d->owned(); });
}

void DocumentManager::popResourceHandle() {
  if (!resources_.empty()) resources_.pop_back();
}

DocumentManager& documentManager() {
  static DocumentManager* m = new DocumentManager;  // modules may use it while the process ends
  return *m;
}

}  // namespace tarn::runtime

TcApDocManager* tcDocManagerPtr() { return &tarn::runtime::documentManager(); }
