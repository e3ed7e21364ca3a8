// Strings and dialog templates of a resource module: the exported tables
// TCPL_STRING_TABLE and TCPL_DIALOG_TABLE, each sorted by id and ended by
// an entry with a null text.
#include <algorithm>
#include <cstring>

#include <tarnsdk/tcplatform.h>

namespace {

// The longest table read; a table without its end entry stops here.
constexpr size_t kMaxEntries = size_t{1} << 20;

// The text of an id: by binary search when the table is sorted as it must
// be, else by a plain scan, so that a badly built module still answers.
const char* FindText(tcpl_module module, const char* symbol, uint32_t id) {
  if (module == nullptr) return nullptr;
  const auto* table = static_cast<const tcpl_resource_entry*>(tcplGetProcAddress(module, symbol));
  if (table == nullptr) return nullptr;
  size_t count = 0;
  bool sorted = true;
  for (; count < kMaxEntries && table[count].text != nullptr; ++count) {
    if (count > 0 && table[count - 1].id >= table[count].id) sorted = false;
  }
  const tcpl_resource_entry* end = table + count;
  const tcpl_resource_entry* hit =
      sorted ? std::lower_bound(table, end, id, [](const tcpl_resource_entry& e, uint32_t v) { return e.id < v; })
             : std::find_if(table, end, [id](const tcpl_resource_entry& e) { return e.id == id; });
  return hit != end && hit->id == id ? hit->text : nullptr;
}

// The bytes of `text` that fit in `room`, not cutting a UTF-8 character.
size_t FittingBytes(const char* text, size_t length, size_t room) {
  if (length <= room) return length;
  size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

}  // namespace

extern "C" {

int tcplLoadString(tcpl_module module, uint32_t id, char* buffer, size_t size) {
  const char* text = FindText(module, TCPL_STRING_TABLE, id);
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  if (buffer == nullptr) return static_cast<int>(length);
  if (size == 0) return 0;
  const size_t copied = FittingBytes(text, length, size - 1);
  if (copied > 0) std::memcpy(buffer, text, copied);
  buffer[copied] = '\0';
  return static_cast<int>(copied);
}

const char* tcplFindDialogTemplate(tcpl_module module, uint32_t id) {
  return FindText(module, TCPL_DIALOG_TABLE, id);
}

}  // extern "C"
