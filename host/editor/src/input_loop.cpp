// The shared prompt loop of the input calls.
#include "input_loop.h"

#include <cstring>

#include <tarnsdk/tctypes.h>

#include "api/sysvars.h"

namespace tarn::editor {
namespace {

// A typed keyword or arbitrary text ends the call with RTKWORD.
bool takeKeyword(Editor& editor, const Reply& r, const InputControl& control) {
  if (r.kind != ReplyKind::Text) return false;
  if (auto k = control.keywords.match(r.text)) {
    editor.lastInput = control.keywords.global(*k);
    return true;
  }
  if (control.bits & kArbitrary) {
    editor.lastInput = r.text;
    return true;
  }
  return false;
}

}  // namespace

int promptLoop(Editor& editor, const PromptCall& call, const Judge& judge) {
  for (;;) {
    Reply r = editor.ask(call.prompt ? call.prompt : "", call.takesSpaces);
    if (r.kind == ReplyKind::End || r.kind == ReplyKind::Cancel) return RTCAN;
    if (r.kind == ReplyKind::Enter) {
      if (!(call.control.bits & kNoEmpty)) return RTNONE;
      editor.complain(call.invalid);
      continue;
    }
    Judgement j = judge(r);
    if (j.status != 0) return j.status;
    if (j.message.empty() && takeKeyword(editor, r, call.control)) return RTKWORD;
    editor.complain(j.message.empty() ? std::string(call.invalid) : j.message);
  }
}

std::string refusedNumber(double v, int bits) {
  bool zero = (bits & kNoZero) && v == 0, negative = (bits & kNoNegative) && v < 0;
  if (!zero && !negative) return "";
  if ((bits & kNoZero) && (bits & kNoNegative)) return "Value must be positive and nonzero.";
  return zero ? "Value must be nonzero." : "Value must be positive.";
}

int copyOut(const std::string& text, char* out, size_t size) {
  if (!out || size == 0) return RTERROR;
  size_t n = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return n < text.size() ? RTINPUTTRUNCATED : RTNORM;
}

void setErrno(int value) { host::setSysVar("ERRNO", host::shortValue(value)); }

}  // namespace tarn::editor
