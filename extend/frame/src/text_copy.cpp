#include "text_copy.h"

#include <cstdlib>
#include <cstring>

namespace tarn::frame::detail {
namespace {

bool IsContinuationByte(char ch) { return (static_cast<unsigned char>(ch) & 0xC0) == 0x80; }

}  // namespace

void CopyToBuffer(std::string_view text, char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0) return;
    size_t length = text.size();
    if (length >= capacity) {
        length = capacity - 1;
        while (length > 0 && IsContinuationByte(text[length])) --length;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

char* HostTextCopy(std::string_view text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

}  // namespace tarn::frame::detail
