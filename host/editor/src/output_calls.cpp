// Command-line output, break requests and single-object picks.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include <tarnsdk/tcedinput.h>

#include "api/host_state.h"
#include "editor/reply_values.h"
#include "input_loop.h"
#include "pick_target.h"

namespace tarn::editor {

std::optional<uint32_t> pickTarget(Editor& ed, const Reply& r, db::Database& db, db::Point3& at) {
  if (r.kind == ReplyKind::Entity) {
    db::Database* owner = nullptr;
    uint32_t id = 0;
    if (!host::resolveName(r.name, owner, id) || owner != &db || db.isErased(id)) return std::nullopt;
    // A program's pick may carry the point it was made at.
    if (auto p = r.text.empty() ? std::nullopt : parsePoint(r.text, {})) at = p->point;
    return id;
  }
  if (r.text.starts_with('#')) {
    char* end = nullptr;
    unsigned long long h = std::strtoull(r.text.c_str() + 1, &end, 16);
    uint32_t id = r.text.size() > 1 && *end == '\0' ? db.findHandle(h) : db::kNoObject;
    if (id == db::kNoObject || db.isErased(id) || !(db.object(id).flags & db::kEntity)) return std::nullopt;
    if (auto p = db::findTag(db, id, 10)) at = p->p;
    return id;
  }
  auto p = parsePoint(r.text, {});
  if (!p) return std::nullopt;
  at = p->point;
  auto hits = ed.picks().near(db, at, ed.aperture());
  if (hits.empty()) return std::nullopt;
  return hits.front();
}

bool isPickReply(const Reply& r) {
  return r.kind == ReplyKind::Entity || (r.kind == ReplyKind::Text && (r.text.starts_with('#') || parsePoint(r.text, {})));
}

}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedPrompt(const char* text) {
  if (!text) return RTERROR;
  currentEditor().print(text);
  return RTNORM;
}

int tcutPrintf(const char* format, ...) {
  if (!format) return RTERROR;
  va_list args, copy;
  va_start(args, format);
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> buf(n > 0 ? size_t(n) + 1 : 1);
  if (n > 0) std::vsnprintf(buf.data(), buf.size(), format, args);
  va_end(args);
  if (n < 0) return RTERROR;
  currentEditor().print(std::string(buf.data(), size_t(n)));
  return RTNORM;
}

int tcedTextScr(void) { return RTNORM; }

int tcedUsrBrk(void) { return currentEditor().takeBreak() ? 1 : 0; }

int tcedEntSel(const char* prompt, tc_name entity, tc_point pickPoint) {
  Editor& ed = currentEditor();
  InputControl control = ed.takeControl();
  tarn::db::Database* db = tarn::host::currentDatabase();
  if (!entity || !pickPoint || !db) return RTERROR;
  for (;;) {
    Reply r = ed.ask(prompt ? prompt : "Select object: ", false);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
    if (r.kind == ReplyKind::Enter) {
      setErrno(52);
      return RTERROR;
    }
    if (r.kind == ReplyKind::Text) {
      if (auto k = control.keywords.match(r.text)) {
        ed.lastInput = control.keywords.global(*k);
        return RTKWORD;
      }
    }
    if (!isPickReply(r)) {
      ed.complain("*Invalid selection*");
      continue;
    }
    tarn::db::Point3 at;
    auto id = pickTarget(ed, r, *db, at);
    if (!id) {
      setErrno(7);
      return RTERROR;
    }
    tarn::host::makeName(*db, *id, entity);
    pickPoint[0] = at.x, pickPoint[1] = at.y, pickPoint[2] = at.z;
    setErrno(0);
    return RTNORM;
  }
}

}  // extern "C"
