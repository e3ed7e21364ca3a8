// The entity-list calls: get, modify, erase, walk, look up by handle.
#include <algorithm>
#include <charconv>
#include <cstring>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcutapi.h>

#include "api/entity_list.h"
#include "api/host_state.h"
#include "api/entity_edit.h"

using namespace tarn;
using db::kNoObject;

namespace {

bool live(const tc_name ent, db::Database*& d, uint32_t& id) {
  return host::resolveName(ent, d, id) && !d->isErased(id);
}

// The blocks whose entities make up the drawing, in the order a walk takes:
// model space, the active paper space, then the other layouts.
std::vector<uint32_t> walkOrder(const db::Database& d) {
  std::vector<uint32_t> order;
  uint32_t model = d.modelSpace(), paper = d.paperSpace();
  if (model != kNoObject) order.push_back(model);
  if (paper != kNoObject) order.push_back(paper);
  for (uint32_t b = 0; b < d.blocks().size(); ++b)
    if (b != model && b != paper && d.isLayoutBlock(b)) order.push_back(b);
  return order;
}

// The first live entity of block `b` from position `from` on, or kNoObject.
uint32_t firstLiveFrom(const db::Database& d, uint32_t b, size_t from) {
  const auto& list = d.blocks()[b].entities;
  // Whether the parent of sub-entities at `from` is erased: look back to
  // it, not from the start of the block (that made a walk quadratic).
  bool parentErased = false;
  for (size_t i = std::min(from, list.size()); i-- > 0;) {
    const db::ObjectRecord& r = d.object(list[i]);
    if (!(r.flags & db::kSubEntity)) {
      parentErased = r.flags & db::kErased;
      break;
    }
  }
  for (size_t i = from; i < list.size(); ++i) {
    const db::ObjectRecord& r = d.object(list[i]);
    if (!(r.flags & db::kSubEntity)) parentErased = r.flags & db::kErased;
    if (!parentErased && !(r.flags & db::kErased)) return list[i];
  }
  return kNoObject;
}

}  // namespace

extern "C" {

struct resbuf* tcdbEntGet(const tc_name ent) { return tcdbEntGetX(ent, nullptr); }

struct resbuf* tcdbEntGetX(const tc_name ent, const struct resbuf* apps) {
  db::Database* d;
  uint32_t id;
  if (!live(ent, d, id)) return nullptr;
  return host::buildEntityList(*d, id, apps);
}

int tcdbEntMod(const struct resbuf* list) {
  const struct resbuf* first = list;
  while (first && first->restype != -1) first = first->rbnext;
  db::Database* d;
  uint32_t id;
  if (!first || !live(first->resval.rlname, d, id)) return RTERROR;
  return host::modifyEntity(*d, id, list);
}

int tcdbEntDel(const tc_name ent) {
  db::Database* d;
  uint32_t id;
  if (!host::resolveName(ent, d, id)) return RTERROR;
  const db::ObjectRecord& r = d->object(id);
  if (!(r.flags & db::kEntity) || (r.flags & db::kSubEntity)) return RTERROR;
  if (host::onLockedLayer(*d, id)) return RTERROR;
  host::setErased(*d, id, !d->isErased(id));
  return RTNORM;
}

int tcdbEntNext(const tc_name ent, tc_name result) {
  db::Database* d = nullptr;
  uint32_t id = 0;
  bool start = !ent || (ent[0] == 0 && ent[1] == 0);
  if (start) d = host::currentDatabase();
  else if (!host::resolveName(ent, d, id)) return RTERROR;
  if (!d) return RTERROR;
  std::vector<uint32_t> order = walkOrder(*d);
  size_t k = 0;
  size_t from = 0;
  if (!start) {
    const db::ObjectRecord& r = d->object(id);
    if (!(r.flags & db::kEntity) || r.block == kNoObject) return RTERROR;
    while (k < order.size() && order[k] != r.block) ++k;
    if (k == order.size()) {  // an entity of a block definition: walk that block
      order = {r.block};
      k = 0;
    }
    from = r.slot + 1;
  }
  for (; k < order.size(); ++k, from = 0) {
    uint32_t next = firstLiveFrom(*d, order[k], from);
    if (next != kNoObject) {
      host::makeName(*d, next, result);
      return RTNORM;
    }
  }
  return RTERROR;
}

int tcdbEntLast(tc_name result) {
  db::Database* d = host::currentDatabase();
  if (!d) return RTERROR;
  uint32_t last = d->lastMainEntity();
  if (last != kNoObject && d->isErased(last)) {
    // Step back to the latest main entity that is still there.
    const auto& list = d->blocks()[d->object(last).block].entities;
    last = kNoObject;
    for (size_t i = list.size(); i-- > 0;) {
      const db::ObjectRecord& r = d->object(list[i]);
      if (!(r.flags & (db::kErased | db::kSubEntity))) { last = list[i]; break; }
    }
  }
  if (last == kNoObject) return RTERROR;
  host::makeName(*d, last, result);
  return RTNORM;
}

int tcdbEntUpd(const tc_name ent) {
  db::Database* d;
  uint32_t id;
  return live(ent, d, id) ? RTNORM : RTERROR;
}

int tcdbHandEnt(const char* handle, tc_name result) {
  db::Database* d = host::currentDatabase();
  if (!d || !handle) return RTERROR;
  std::string_view s(handle);
  uint64_t h = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), h, 16);
  if (s.empty() || ec != std::errc() || p != s.data() + s.size()) return RTERROR;
  uint32_t id = d->findHandle(h);
  if (id == kNoObject || d->isErased(id)) return RTERROR;
  host::makeName(*d, id, result);
  return RTNORM;
}

int tcdbNameNil(const tc_name name) { return !name || (name[0] == 0 && name[1] == 0); }
void tcdbNameClear(tc_name name) { name[0] = name[1] = 0; }
void tcdbNameSet(const tc_name from, tc_name to) {
  to[0] = from[0];
  to[1] = from[1];
}
int tcdbNameEqual(const tc_name a, const tc_name b) { return a[0] == b[0] && a[1] == b[1]; }

}  // extern "C"
