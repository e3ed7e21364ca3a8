// PURGE: removes named objects that nothing in the drawing uses. What counts
// as a use is looked for everywhere: every live entity of every space and
// block (nested blocks and dimensions' blocks included), references by
// handle from any object (dimension styles' arrow blocks, extended data,
// layouts), and names held by header variables. Purging a block can free
// the blocks it used: they go in the same run.
#include <unordered_set>
#include <utility>

#include "block_support.h"
#include "block_commands.h"
#include "command_support.h"
#include "select/wildcard.h"

namespace tarn::commands {
namespace {

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

std::string upper(std::string_view s) { return db::upperAscii(s); }

// What the drawing uses, found in one walk over all objects.
struct Usage {
  std::unordered_set<uint64_t> handles;
  std::unordered_set<std::string> blocks, layers, linetypes, styles, headerNames;
  bool uses(std::unordered_set<std::string> const& names, std::string_view name, uint64_t handle) const {
    std::string u = upper(name);
    return names.count(u) || headerNames.count(u) || handles.count(handle);
  }
};

// Handles that say who owns an object, not what it uses.
bool ownership(int code) { return code == 5 || code == 105 || code == 330 || code == 360; }

void noteStrings(const db::Database& d, uint32_t id, Usage& u) {
  std::string_view type = d.typeOf(id);
  bool refersToBlock = type == "INSERT" || type == "DIMENSION";
  bool dimstyle = type == "DIMSTYLE";
  bool entity = d.object(id).flags & db::kEntity;
  for (db::TagCursor c = d.tags(id); !c.done(); c.next()) {
    if (c.kind() == db::TagKind::Handle) {
      if (!ownership(c.code()) && c.handle()) u.handles.insert(c.handle());
      continue;
    }
    if (c.kind() != db::TagKind::String) continue;
    int code = c.code();
    if (entity && code == 8) u.layers.insert(upper(c.str()));
    else if (code == 6 && (entity || type == "LAYER")) u.linetypes.insert(upper(c.str()));
    else if (code == 7 && entity) u.styles.insert(upper(c.str()));
    else if (code == 2 && refersToBlock) u.blocks.insert(upper(c.str()));
    // Styles of files before 2000 name arrow blocks and linetypes as texts.
    if (dimstyle && code >= 3 && code <= 7) u.blocks.insert(upper(c.str()));
  }
}

bool inPurgedBlock(const db::Database& d, uint32_t id) {
  uint32_t b = d.object(id).block;
  if (b == db::kNoObject || !(d.object(id).flags & db::kEntity)) return false;
  uint32_t begin = d.blocks()[b].begin;
  return begin != db::kNoObject && d.isErased(begin) && !d.isLayoutBlock(b);
}

Usage findUsage(const db::Database& d) {
  Usage u;
  for (uint32_t id = 0; id < d.objectCount(); ++id)
    if (!d.isErased(id) && !inPurgedBlock(d, id)) noteStrings(d, id, u);
  for (const db::HeaderVar& v : d.headerVars())
    for (const db::Tag& t : v.value)
      if (t.kind == db::TagKind::String && !t.s.empty()) u.headerNames.insert(upper(t.s));
  return u;
}

// One kind of named object that PURGE handles.
struct Kind {
  const char* singular;
  const char* plural;
  const char* question;  // "Purge block"
};

class Purger {
 public:
  Purger(select::Wildcard pattern, bool verify) : pattern_(std::move(pattern)), verify_(verify) {}
  // Each returns false when the user cancelled.
  bool blocks();
  using NameSet = std::unordered_set<std::string> Usage::*;
  bool records(const char* table, const Kind& kind, NameSet used, std::vector<std::string> keep);

 private:
  bool wanted(const char* question, const std::string& name);
  void report(const Kind& kind, int n);
  void purgeBlock(uint32_t block);

  select::Wildcard pattern_;
  bool verify_;
  bool stopped_ = false;
};

bool Purger::wanted(const char* question, const std::string& name) {
  if (!pattern_.matches(name)) return false;
  if (!verify_) return true;
  std::string answer;
  Answer a = askKeyword(std::string(question) + " \"" + name + "\"? [Yes/No] <N>: ", "Yes No", answer);
  if (cancelled(a.status)) stopped_ = true;
  return a.status == RTNORM && answer == "Yes";
}

void Purger::report(const Kind& kind, int n) {
  if (n == 0) print(std::string("No unreferenced ") + kind.plural + " found.\n");
  else print(std::to_string(n) + " " + (n == 1 ? kind.singular : kind.plural) + " deleted.\n");
}

void Purger::purgeBlock(uint32_t block) {
  db::Database& d = drawing();
  const db::BlockDef def = std::as_const(d).blocks()[block];
  for (uint32_t id : def.entities)
    if (!d.isErased(id)) d.setErased(id, true);
  for (uint32_t id : {def.begin, def.end, def.record})
    if (id != db::kNoObject && !d.isErased(id)) d.setErased(id, true);
  // The slot stays (entities point at it by index); its name is free again.
  d.blocks()[block].name.clear();
  d.reindex();
}

bool Purger::blocks() {
  constexpr Kind kind{"block", "blocks", "Purge block"};
  db::Database& d = drawing();
  int purged = 0;
  std::unordered_set<std::string> declined;
  for (bool again = true; again && !stopped_;) {
    again = false;
    Usage u = findUsage(d);
    for (uint32_t b = 0; b < std::as_const(d).blocks().size() && !stopped_; ++b) {
      const db::BlockDef& def = std::as_const(d).blocks()[b];
      std::string name = def.name;
      if (name.empty() || name.front() == '*' || blocks::liveBlock(d, name) != b || declined.count(upper(name))) continue;
      uint64_t record = def.record == db::kNoObject ? 0 : d.object(def.record).handle;
      if (u.uses(u.blocks, name, record) || u.handles.count(d.object(def.begin).handle)) continue;
      if (!wanted(kind.question, name)) {
        declined.insert(upper(name));
        continue;
      }
      purgeBlock(b);
      ++purged;
      again = true;
    }
  }
  report(kind, purged);
  return !stopped_;
}

bool Purger::records(const char* tableName, const Kind& kind, NameSet usedNames, std::vector<std::string> keep) {
  db::Database& d = drawing();
  Usage u = findUsage(d);
  const std::unordered_set<std::string>& used = u.*usedNames;
  int purged = 0;
  const db::SymbolTable* table = std::as_const(d).table(tableName);
  std::vector<uint32_t> ids = table ? table->records : std::vector<uint32_t>{};
  for (uint32_t id : ids) {
    if (stopped_) break;
    std::string name(db::findString(d, id, 2));
    if (d.isErased(id) || name.empty() || name.find('|') != std::string::npos) continue;
    bool kept = false;
    for (const std::string& k : keep) kept |= db::equalsNoCase(k, name);
    if (kept || u.uses(used, name, d.object(id).handle) || !wanted(kind.question, name)) continue;
    d.setErased(id, true);
    ++purged;
  }
  if (purged) d.reindex();
  report(kind, purged);
  return !stopped_;
}

}  // namespace

int purgeCommand() {
  std::string type;
  Answer a = askKeyword("Enter type of unused objects to purge [Blocks/LAyers/LTypes/STyles/All]: ",
                        "Blocks LAyers LTypes STyles All", type, 1);
  if (a.status != RTNORM) return RTCAN;
  std::string names;
  a = askString("Enter name(s) to purge <*>: ", names);
  if (cancelled(a.status)) return RTCAN;
  if (a.status == RTNONE) names.assign(1, '*');
  std::string verify = "Yes";
  a = askKeyword("Verify each name to be purged? [Yes/No] <Y>: ", "Yes No", verify);
  if (cancelled(a.status)) return RTCAN;
  Purger p(select::Wildcard::compile(names), verify == "Yes");
  bool all = type == "All", going = true;
  if (going && (all || type == "Blocks")) going = p.blocks();
  if (going && (all || type == "LAyers"))
    going = p.records("LAYER", {"layer", "layers", "Purge layer"}, &Usage::layers, {"0", "DEFPOINTS", textVar("CLAYER")});
  if (going && (all || type == "LTypes"))
    going = p.records("LTYPE", {"linetype", "linetypes", "Purge linetype"}, &Usage::linetypes,
                      {"CONTINUOUS", "BYLAYER", "BYBLOCK", textVar("CELTYPE")});
  if (going && (all || type == "STyles"))
    going = p.records("STYLE", {"text style", "text styles", "Purge text style"}, &Usage::styles, {"STANDARD", textVar("TEXTSTYLE")});
  return going ? RTNORM : RTCAN;
}

}  // namespace tarn::commands
