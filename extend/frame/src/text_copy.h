// Copying texts into callers' buffers and into host-owned memory.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarn::frame::detail {

// Copies `text` into `buffer` of `capacity` bytes with its NUL; a text that
// does not fit is cut before the first UTF-8 character that would not.
void CopyToBuffer(std::string_view text, char* buffer, size_t capacity);

// A copy in the memory the host releases result-buffer texts with (the C
// allocator); null when out of memory.
char* HostTextCopy(std::string_view text);

}  // namespace tarn::frame::detail
