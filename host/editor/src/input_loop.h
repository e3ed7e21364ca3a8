// Internal: the loop every input call shares: ask, judge the reply, take
// keywords and arbitrary text, re-prompt with a message when the reply does
// not fit, and stop on Enter or cancel.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/editor.h"

namespace tarn::editor {

struct Judgement {
  int status = 0;        // RTNORM accepted, RTCAN cancelled, 0 not accepted
  std::string message;   // why not; empty: the call's usual message
};
using Judge = std::function<Judgement(const Reply&)>;

struct PromptCall {
  const char* prompt = nullptr;
  std::string_view invalid;      // "Invalid point."
  bool takesSpaces = false;
  InputControl control;
};

int promptLoop(Editor& editor, const PromptCall& call, const Judge& judge);

// The message for a number that the control bits refuse, or "".
std::string refusedNumber(double v, int bits);

// Copies a text into a caller's buffer; RTINPUTTRUNCATED when it is cut.
int copyOut(const std::string& text, char* out, size_t size);

void setErrno(int value);

}  // namespace tarn::editor
