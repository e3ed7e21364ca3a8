// One reply to a prompt, and the reader that cuts replies out of a source by
// the rules of the input language (see docs/input-language.md).
#pragma once

#include <cstdint>
#include <string>

#include "editor/reply_source.h"

namespace tarn::editor {

enum class ReplyKind : std::uint8_t {
  Text,       // something typed
  Enter,      // an empty reply
  Cancel,     // ^C
  End,        // the source has no more replies
  Lisp,       // a LISP expression, to be evaluated
  Entity,     // an entity name given by a program (command arguments, LISP)
  Picks,      // a selection set given by a program
};

struct Reply {
  ReplyKind kind = ReplyKind::End;
  std::string text;
  std::int32_t name[2] = {0, 0};   // Entity and Picks
  SourceLocation where;
};

// The longest reply kept; longer ones are cut (a runaway line in a script
// must not eat the memory).
constexpr size_t kMaxReplyLength = 1 << 16;

// Reads one reply. `takesSpaces`: the reply ends only at a line end.
Reply readReply(ReplySource& source, bool takesSpaces);

}  // namespace tarn::editor
