// Code-page conversion and the Chinese script mapping. A text that cannot
// be converted exactly is refused (-1) rather than handed back with
// replacement characters: the caller decides what to do with it.
#include <cstring>
#include <string>
#include <string_view>

#include <tarnsdk/tcplatform.h>

#include "platform/chinese_script.h"
#include "platform/code_page.h"

namespace {

namespace platform = tarn::platform;

// A length of (size_t)-1 means a text ended by its NUL.
std::string_view TextOf(const char* text, size_t length) {
  if (text == nullptr) return {};
  return length == static_cast<size_t>(-1) ? std::string_view(text) : std::string_view(text, length);
}

// The result into the caller's buffer with its NUL; a null buffer asks the length.
long CopyOut(const std::string& result, char* buffer, size_t size) {
  if (buffer == nullptr) return static_cast<long>(result.size());
  if (result.size() + 1 > size) return -1;
  std::memcpy(buffer, result.data(), result.size());
  buffer[result.size()] = '\0';
  return static_cast<long>(result.size());
}

}  // namespace

extern "C" {

long tcplCodePageToUtf8(int codePage, const char* text, size_t length, char* buffer, size_t size) {
  if (text == nullptr) return -1;
  const platform::DecodeResult decoded = platform::DecodeToUtf8(TextOf(text, length), codePage);
  if (decoded.status != platform::Status::kOk || decoded.invalidSequences > 0 || decoded.fellBack) return -1;
  return CopyOut(decoded.text, buffer, size);
}

long tcplUtf8ToCodePage(int codePage, const char* text, size_t length, char* buffer, size_t size) {
  if (text == nullptr) return -1;
  const platform::EncodeResult encoded =
      platform::EncodeFromUtf8(TextOf(text, length), codePage, platform::Unrepresentable::kStop);
  if (encoded.status != platform::Status::kOk || !encoded.unrepresentable.empty() || encoded.fellBack) return -1;
  return CopyOut(encoded.bytes, buffer, size);
}

long tcplChineseScript(int direction, const char* text, char* buffer, size_t size) {
  if (text == nullptr || (direction != 0 && direction != 1)) return -1;
  const auto target = direction == 0 ? platform::ChineseScript::kTraditional : platform::ChineseScript::kSimplified;
  const platform::Result<std::string> mapped = platform::MapChineseScript(text, target);
  if (!mapped.ok()) return -1;
  return CopyOut(mapped.value, buffer, size);
}

}  // extern "C"
