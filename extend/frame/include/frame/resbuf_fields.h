// Building single result buffers and reading or changing single fields of
// entity lists and result-buffer chains, as command handlers do all the time.
// Readers answer RTNORM or RTERROR; each looks at the first buffer whose
// type equals the group code asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <tarnsdk/tctypes.h>

namespace tarn::frame {

// A new result buffer of `type` with its value set as `tag` says (compared
// without regard to case), from what `value` points to:
//   "rint"    a short            "rreal"  a double
//   "rpoint"  three doubles      "rlong"  an int32_t
//   "rlname"  two int32_t words  "rstring" the text itself (const char*)
// A text is copied into host-owned memory, so the buffer can be released
// with tcutRelRb whatever the caller does with its own text. Any other tag,
// a null value, or "rstring" on a type that carries no text leaves the value
// zero. Null when the host gives no buffer.
struct resbuf* MakeResbuf(int type, std::string_view tag, const void* value);

// Chain readers: RTERROR for a null chain, an absent code or a value of
// another kind. Integers are read from short and long buffers alike.
int ChainInteger(const struct resbuf* chain, int code, int32_t* value);
int ChainEntityName(const struct resbuf* chain, int code, tc_name name);
// Copies the text into `buffer` of `capacity` bytes (with its NUL), cut at a
// character boundary when it does not fit.
int ChainText(const struct resbuf* chain, int code, char* buffer, size_t capacity);
// Replaces the text by a host-owned copy of `text`, releasing the old one.
int SetChainText(struct resbuf* chain, int code, std::string_view text);
int SetChainInteger(struct resbuf* chain, int code, int32_t value);

// Entity readers: read the entity's list (RTERROR when it cannot be read)
// and always release it. A code the entity lacks answers RTNORM with the
// output untouched.
int EntityType(const tc_name entity, char* buffer, size_t capacity);
int EntityPoint(const tc_name entity, int code, tc_point point);
int EntityText(const tc_name entity, int code, char* buffer, size_t capacity);
int EntityInteger(const tc_name entity, int code, int32_t* value);

// Links `appended` (a buffer or a chain) after the last buffer of `chain`;
// an empty chain becomes `appended`. Returns the chain's head.
struct resbuf* AppendToChain(struct resbuf*& chain, struct resbuf* appended);

// Erases every member of a selection set, last member first. RTNORM.
int EraseSelection(const tc_name selection);

}  // namespace tarn::frame
