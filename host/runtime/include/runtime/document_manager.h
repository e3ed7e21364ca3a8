// The document manager: the open drawings (each a document with its own
// database and its own LISP functions defined by modules), the current one,
// and the stack of resource handles. The host's current database is always
// the current document's; a database made current by other means (a test
// session) is taken in as a document of its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tcrxapi.h>

#include "db/database.h"

namespace tarn::runtime {

// A LISP function a module defined in a document.
struct LispDefinition {
  std::string globalName;  // upper case
  std::string localName;   // upper case, empty when none
  int code = 0;
  void* appId = nullptr;
};

class Document : public TcApDocument {
 public:
  Document(db::Database* db, std::unique_ptr<db::Database> owned, std::string fileName);
  TcDbDatabase* database() const override;
  const char* fileName() const override { return fileName_.c_str(); }

  db::Database& db() const { return *db_; }
  uint32_t serial() const { return serial_; }
  bool owned() const { return owned_ != nullptr; }
  std::vector<LispDefinition>& lisp() { return lisp_; }
  const std::vector<LispDefinition>& lisp() const { return lisp_; }

 private:
  db::Database* db_;
  std::unique_ptr<db::Database> owned_;
  uint32_t serial_;
  std::string fileName_;
  std::vector<LispDefinition> lisp_;
};

class DocumentManager : public TcApDocManager {
 public:
  TcApDocument* curDocument() const override { return current(); }
  TcApDocument* mdiActiveDocument() const override { return current(); }
  int documentCount() const override;
  TcApDocument* document(int index) const override;
  bool setCurDocument(TcApDocument* document) override;
  bool appContextOpenDocument(const char* fileName) override;
  bool appContextNewDocument() override;
  bool closeDocument(TcApDocument* document) override;
  void pushResourceHandle(void* handle) override { resources_.push_back(handle); }
  void popResourceHandle() override;
  void* topResourceHandle() const override { return resources_.empty() ? nullptr : resources_.back(); }

  // Opens a drawing as a document without telling the modules (the drawings
  // tarncad opens before it loads modules); null and `error` set when the
  // file cannot be read. The first document opened becomes current.
  Document* open(const std::string& fileName, std::string* error);
  // A new drawing as a document, without telling the modules.
  Document* openNew();
  Document* current() const;
  std::vector<Document*> documents() const;
  // Closes every document the manager owns (when the host ends).
  void closeAll();
  // Runs `fn` with each document current in turn, then restores the current one.
  template <class Fn>
  void forEachAsCurrent(Fn fn) {
    Document* was = current();
    for (Document* d : documents()) {
      makeCurrent(d);
      fn(*d);
    }
    if (was && isOpen(was)) makeCurrent(was);
  }
  void makeCurrent(Document* document);
  bool isOpen(const TcApDocument* document) const;

 private:
  // Follows the host: forgets documents whose databases went away and takes
  // in a current database that is not a document yet.
  void sync() const;
  Document* add(std::unique_ptr<Document> document);

  mutable std::vector<std::unique_ptr<Document>> documents_;
  std::vector<void*> resources_;
};

DocumentManager& documentManager();

}  // namespace tarn::runtime
