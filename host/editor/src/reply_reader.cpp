// Cutting replies out of a source: a reply ends at a line end, and at a space
// unless the prompt takes spaces; "(" starts a LISP expression that runs to
// its closing parenthesis across spaces and lines.
#include "editor/reply.h"

namespace tarn::editor {
namespace {

bool endsReply(int c, bool takesSpaces) { return c == '\n' || (c == ' ' && !takesSpaces); }

// Reads a parenthesised expression; strings (with backslash escapes) and
// comments may hold parentheses that do not count.
void readExpression(ReplySource& in, std::string& out) {
  int depth = 0;
  bool inString = false;
  for (int c = in.peek(); c >= 0; c = in.peek()) {
    in.get();
    if (out.size() < kMaxReplyLength) out += char(c);
    if (inString) {
      if (c == '\\' && in.peek() >= 0) out += char(in.get());
      else if (c == '"') inString = false;
      continue;
    }
    if (c == '"') inString = true;
    else if (c == ';') while (in.peek() >= 0 && in.peek() != '\n') in.get();
    else if (c == '(') ++depth;
    else if (c == ')' && --depth == 0) break;
  }
  // The space or line end after the expression closes the reply.
  if (in.peek() == ' ' || in.peek() == '\n') in.get();
  else if (in.peek() == '\r') { in.get(); if (in.peek() == '\n') in.get(); }
}

}  // namespace

Reply readReply(ReplySource& in, bool takesSpaces) {
  Reply r;
  r.where = in.location();
  if (in.peek() < 0) return r;  // End
  if (in.peek() == '(') {
    r.kind = ReplyKind::Lisp;
    readExpression(in, r.text);
    return r;
  }
  for (int c = in.get(); c >= 0; c = in.get()) {
    if (endsReply(c, takesSpaces)) break;
    if (c == '\r' || r.text.size() >= kMaxReplyLength) continue;
    r.text += char(c);
  }
  if (r.text == "^C" || r.text == "^c") r.kind = ReplyKind::Cancel;
  else r.kind = r.text.empty() ? ReplyKind::Enter : ReplyKind::Text;
  return r;
}

}  // namespace tarn::editor
