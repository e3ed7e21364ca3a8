// tcedCommand and tcedCmd: a program's arguments become replies to the
// commands they name.
#include <cstdarg>
#include <cstdio>

#include <tarnsdk/tcedinput.h>

#include "editor/editor.h"
#include "editor/reply_values.h"

namespace tarn::editor {
namespace {

FedReply text(const char* s) {
  std::string t = s ? s : "";
  if (t == "\\") return {{}, true};
  return {{t.empty() ? ReplyKind::Enter : ReplyKind::Text, t, {0, 0}, {}}, false};
}

FedReply point(const double* p, bool threeD) {
  std::string t = replyNumber(p[0]) + "," + replyNumber(p[1]) + (threeD ? "," + replyNumber(p[2]) : "");
  return {{ReplyKind::Text, t, {0, 0}, {}}, false};
}

FedReply name(ReplyKind kind, const int32_t* n) {
  FedReply f{{kind, {}, {n[0], n[1]}, {}}, false};
  return f;
}

FedReply plain(std::string t) { return {{ReplyKind::Text, std::move(t), {0, 0}, {}}, false}; }

// A program's pick of one object: (RTLB, RTENAME name, RTPOINT point, RTLE)
// is one answer, the object with the point (current UCS) it was picked at.
FedReply entityPick(const int32_t* n, const double* p, bool threeD) {
  FedReply f = name(ReplyKind::Entity, n);
  f.reply.text = point(p, threeD).reply.text;
  return f;
}

// The list starting at `rb` (an RTLB); `rb` is left on its RTLE.
bool pickFromChain(const resbuf*& rb, std::vector<FedReply>& out) {
  const resbuf* e = rb->rbnext;
  const resbuf* p = e ? e->rbnext : nullptr;
  const resbuf* end = p ? p->rbnext : nullptr;
  if (!e || e->restype != RTENAME || !p || (p->restype != RTPOINT && p->restype != RT3DPOINT) || !end ||
      end->restype != RTLE)
    return false;
  out.push_back(entityPick(e->resval.rlname, p->resval.rpoint, p->restype == RT3DPOINT));
  rb = end;
  return true;
}

bool pickFromArguments(va_list& args, std::vector<FedReply>& out) {
  if (va_arg(args, int) != RTENAME) return false;
  const int32_t* n = va_arg(args, const int32_t*);
  int type = va_arg(args, int);
  if (type != RTPOINT && type != RT3DPOINT) return false;
  const double* p = va_arg(args, const double*);
  if (va_arg(args, int) != RTLE) return false;
  out.push_back(entityPick(n, p, type == RT3DPOINT));
  return true;
}

// One argument from a result buffer; false for a type that cannot be a reply.
bool fromBuffer(const resbuf* rb, std::vector<FedReply>& out) {
  switch (rb->restype) {
    case RTSTR: out.push_back(text(rb->resval.rstring)); return true;
    case RTREAL: case RTANG: out.push_back(plain(replyNumber(rb->resval.rreal))); return true;
    case RTSHORT: out.push_back(plain(std::to_string(rb->resval.rint))); return true;
    case RTLONG: out.push_back(plain(std::to_string(rb->resval.rlong))); return true;
    case RTPOINT: case RT3DPOINT: out.push_back(point(rb->resval.rpoint, rb->restype == RT3DPOINT)); return true;
    case RTENAME: out.push_back(name(ReplyKind::Entity, rb->resval.rlname)); return true;
    case RTPICKS: out.push_back(name(ReplyKind::Picks, rb->resval.rlname)); return true;
    case RTNONE: out.push_back(text("")); return true;
    default: return false;
  }
}

bool fromArgument(int type, va_list& args, std::vector<FedReply>& out) {
  switch (type) {
    case RTSTR: out.push_back(text(va_arg(args, const char*))); return true;
    case RTREAL: case RTANG: out.push_back(plain(replyNumber(va_arg(args, double)))); return true;
    case RTSHORT: case RTLONG: out.push_back(plain(std::to_string(va_arg(args, int)))); return true;
    case RTPOINT: case RT3DPOINT: out.push_back(point(va_arg(args, const double*), type == RT3DPOINT)); return true;
    case RTENAME: out.push_back(name(ReplyKind::Entity, va_arg(args, const int32_t*))); return true;
    case RTPICKS: out.push_back(name(ReplyKind::Picks, va_arg(args, const int32_t*))); return true;
    case RTLB: return pickFromArguments(args, out);
    default: return false;
  }
}

}  // namespace
}  // namespace tarn::editor

using namespace tarn::editor;

extern "C" {

int tcedCommand(int type, ...) {
  std::vector<FedReply> replies;
  va_list args;
  va_start(args, type);
  bool ok = true;
  for (int t = type; t != RTNONE && t != 0 && ok; t = va_arg(args, int)) ok = fromArgument(t, args, replies);
  va_end(args);
  if (!ok) return RTERROR;
  return currentEditor().feedCommands(std::move(replies));
}

int tcedCmd(const struct resbuf* chain) {
  std::vector<FedReply> replies;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    bool ok = rb->restype == RTLB ? pickFromChain(rb, replies) : fromBuffer(rb, replies);
    if (!ok) return RTERROR;
  }
  return currentEditor().feedCommands(std::move(replies));
}

}  // extern "C"
