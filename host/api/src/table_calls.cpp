// Symbol-table calls: search, walk, record names, application names.
#include <map>
#include <string>

#include <tarnsdk/groupcodes.h>
#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "api/entity_list.h"
#include "api/host_state.h"
#include "api/resbuf_util.h"
#include "db/records.h"

using namespace tarn;
using db::kNoObject;

namespace {

bool isBlockTable(std::string_view t) { return db::equalsNoCase(t, "BLOCK"); }

// The records a table walk visits, in order (for "BLOCK": the BLOCK
// entities of the block definitions other than the layouts).
std::vector<uint32_t> walkable(const db::Database& d, std::string_view table) {
  std::vector<uint32_t> out;
  if (isBlockTable(table)) {
    for (uint32_t b = 0; b < d.blocks().size(); ++b) {
      const db::BlockDef& def = d.blocks()[b];
      if (!d.isLayoutBlock(b) && def.begin != kNoObject && !d.isErased(def.begin)) out.push_back(def.begin);
    }
  } else if (const db::SymbolTable* t = d.table(table)) {
    for (uint32_t id : t->records)
      if (!d.isErased(id)) out.push_back(id);
  }
  return out;
}

// The short list of a record: (0 . type) (2 . name) (70 . flags) and its
// data, without handles, owners, markers and reactors; for a block also its
// first entity as -2.
struct resbuf* recordList(const db::Database& d, std::string_view table, uint32_t id) {
  host::ChainBuilder out;
  out.addText(0, isBlockTable(table) ? std::string("BLOCK") : db::upperAscii(table));
  struct resbuf* full = host::buildEntityList(d, id, nullptr);
  bool inGroup = false;
  for (struct resbuf* rb = full; rb; rb = rb->rbnext) {
    int c = rb->restype;
    if (c == 102) { inGroup = rb->resval.rstring && rb->resval.rstring[0] == '{'; continue; }
    if (inGroup || c == -1 || c == 0 || c == 5 || c == 105 || c == 330 || c == 100 || c == 360) continue;
    if (isBlockTable(table) && (c == 8 || c == 67 || c == 3 || c == 1 || c == 4)) continue;
    struct resbuf* copy = out.add(c);
    copy->resval = rb->resval;
    if (tcValueKind(c) == TC_KIND_STRING) copy->resval.rstring = host::copyText(rb->resval.rstring);
    else if (tcValueKind(c) == TC_KIND_BINARY) copy->resval.rbinary = {0, host::copyText("")};
  }
  tcutRelRb(full);
  if (isBlockTable(table)) {
    const db::BlockDef& def = d.blocks()[d.object(id).block];
    tc_name first = {0, 0};
    for (uint32_t e : def.entities)
      if (!d.isErased(e)) { host::makeName(d, e, first); break; }
    out.addName(-2, first);
  }
  return out.take();
}

uint32_t findByName(const db::Database& d, std::string_view table, std::string_view name) {
  if (isBlockTable(table)) {
    uint32_t b = d.findBlock(name);
    if (b == kNoObject || d.isLayoutBlock(b)) return kNoObject;
    uint32_t begin = d.blocks()[b].begin;
    return begin != kNoObject && !d.isErased(begin) ? begin : kNoObject;
  }
  return d.findRecord(table, name);
}

// Where each table walk of a database stands.
std::map<std::pair<uint32_t, std::string>, size_t>& cursors() {
  static std::map<std::pair<uint32_t, std::string>, size_t> c;
  return c;
}

}  // namespace

extern "C" {

struct resbuf* tcdbTblSearch(const char* table, const char* name, int setnext) {
  db::Database* d = host::currentDatabase();
  if (!d || !table || !name) return nullptr;
  uint32_t id = findByName(*d, table, name);
  if (id == kNoObject) return nullptr;
  if (setnext) {
    std::vector<uint32_t> all = walkable(*d, table);
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == id) cursors()[{d->serial(), db::upperAscii(table)}] = i + 1;
  }
  return recordList(*d, table, id);
}

struct resbuf* tcdbTblNext(const char* table, int rewind) {
  db::Database* d = host::currentDatabase();
  if (!d || !table) return nullptr;
  size_t& at = cursors()[{d->serial(), db::upperAscii(table)}];
  if (rewind) at = 0;
  std::vector<uint32_t> all = walkable(*d, table);
  if (at >= all.size()) return nullptr;
  return recordList(*d, table, all[at++]);
}

int tcdbTblObjName(const char* table, const char* name, tc_name result) {
  db::Database* d = host::currentDatabase();
  if (!d || !table || !name) return RTERROR;
  uint32_t id = findByName(*d, table, name);
  if (id == kNoObject) return RTERROR;
  if (isBlockTable(table)) id = d->blocks()[d->object(id).block].record;
  if (id == kNoObject) return RTERROR;
  host::makeName(*d, id, result);
  return RTNORM;
}

int tcdbRegApp(const char* appname) {
  db::Database* d = host::currentDatabase();
  if (!d || !appname || !*appname) return RTERROR;
  if (d->findRecord("APPID", appname) != kNoObject) return RTERROR;  // already registered
  return db::ensureAppId(*d, appname) == kNoObject ? RTERROR : RTNORM;
}

}  // extern "C"
