// Modifying objects through entity lists.
#include "api/entity_edit.h"

#include <string>

#include "api/entity_list.h"
#include "api/host_state.h"
#include "db/subclasses.h"
#include "db/records.h"

namespace tarn::host {
namespace {

using db::Tag;
using db::TagList;

// Replaces the k-th occurrence of each code, inserting the groups the object
// lacks where they belong.
void mergePartial(std::string_view type, TagList& body, const TagList& changes) {
  std::vector<std::pair<int, int>> counts;
  auto nth = [&](int code) {
    for (auto& [c, n] : counts)
      if (c == code) return n++;
    counts.emplace_back(code, 1);
    return 0;
  };
  for (const Tag& t : changes) {
    if (t.code == 5 || t.code == 105) continue;  // an object keeps its handle
    int k = nth(t.code), seen = 0;
    bool done = false;
    for (Tag& old : body) {
      if (old.code == t.code && seen++ == k) {
        old = t;
        done = true;
        break;
      }
    }
    if (!done) db::insertGroup(type, body, t);
  }
}

// Extended data: one block per application, starting at its 1001 group.
void mergeXdata(TagList& xdata, const TagList& changes) {
  for (size_t i = 0; i < changes.size();) {
    size_t end = i + 1;
    while (end < changes.size() && changes[end].code != 1001) ++end;
    std::string_view app = changes[i].s;
    // Remove the application's old block.
    for (size_t j = 0; j < xdata.size();) {
      if (xdata[j].code == 1001 && db::equalsNoCase(xdata[j].s, app)) {
        size_t e = j + 1;
        while (e < xdata.size() && xdata[e].code != 1001) ++e;
        xdata.erase(xdata.begin() + long(j), xdata.begin() + long(e));
      } else {
        ++j;
      }
    }
    if (end - i > 1) xdata.insert(xdata.end(), changes.begin() + long(i), changes.begin() + long(end));
    i = end;
  }
}

}  // namespace

bool checkReferences(db::Database& db, TagList& tags) {
  for (const Tag& t : tags) {
    if (t.kind != db::TagKind::String) continue;
    if (t.code == 8) {
      if (t.s.empty() || db::ensureLayer(db, t.s) == db::kNoObject) return false;
    } else if (t.code == 6 && t.s != "BYLAYER" && t.s != "BYBLOCK" && !db::equalsNoCase(t.s, "ByLayer") &&
               !db::equalsNoCase(t.s, "ByBlock")) {
      if (db.table("LTYPE") && db.findRecord("LTYPE", t.s) == db::kNoObject) return false;
    } else if (t.code == 1001) {
      if (db.findRecord("APPID", t.s) == db::kNoObject) return false;
    }
  }
  return true;
}

int modifyEntity(db::Database& db, uint32_t id, const struct resbuf* list) {
  for (const struct resbuf* rb = list; rb; rb = rb->rbnext)
    if ((rb->restype == 0 || rb->restype == RTDXF0) && rb->resval.rstring && !db::equalsNoCase(rb->resval.rstring, db.typeOf(id)))
      return RTERROR;  // the type of an object cannot change
  if (onLockedLayer(db, id)) return RTERROR;
  TagList changes;
  std::string error;
  if (!listToTags(db, list, id, changes, error)) return RTERROR;
  TagList old = db.tagList(id);
  size_t oldX = xdataStart(old), newX = xdataStart(changes);
  TagList body(old.begin(), old.begin() + long(oldX));
  TagList xdata(old.begin() + long(oldX), old.end());
  TagList newBody(changes.begin(), changes.begin() + long(newX));
  TagList newXdata(changes.begin() + long(newX), changes.end());
  bool full = false;
  for (const Tag& t : newBody) full |= t.code == 100;
  if (full) {
    // Keep the object's own handle whatever the list says.
    for (Tag& t : newBody)
      if ((t.code == 5 || t.code == 105) && t.kind == db::TagKind::Handle) t.i = int64_t(db.object(id).handle);
    body = std::move(newBody);
  } else {
    mergePartial(db.typeOf(id), body, newBody);
  }
  mergeXdata(xdata, newXdata);
  body.insert(body.end(), xdata.begin(), xdata.end());
  if (!checkReferences(db, body)) return RTERROR;
  db.replaceTags(id, body);
  return RTNORM;
}

void setErased(db::Database& db, uint32_t id, bool erased) { db.setErased(id, erased); }

}  // namespace tarn::host
