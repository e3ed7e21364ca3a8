// Arbitrary bytes as a script: cut into replies (prompts with and without
// spaces by turns) and each reply read as a number, point and keyword. Must
// never crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/keyword_list.h"
#include "editor/reply.h"
#include "editor/reply_values.h"

using namespace tarn::editor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const KeywordList keywords = KeywordList::parse("Window Crossing LType eXit _Fenetre Croisee Ltype Quitter");
  StringSource in(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.scr");
  bool spaces = false;
  for (Reply r = readReply(in, spaces); r.kind != ReplyKind::End; r = readReply(in, spaces)) {
    if (r.text.size() > kMaxReplyLength + 2) __builtin_trap();  // a reply is cut to its limit
    parseReal(r.text);
    parseInteger(r.text);
    parsePoint(r.text, {1, 2, 3});
    keywords.match(r.text);
    spaces = !spaces;
  }
  return 0;
}
