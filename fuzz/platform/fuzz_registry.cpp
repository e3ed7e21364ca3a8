// Fuzz target: the settings-file reader on arbitrary bytes. Beyond not
// crashing, what it read must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarn::platform;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const RegistryText first = ParseRegistryText(text, "fuzz");
  const std::string written = FormatRegistryText(first.keys, "HKEY_CURRENT_USER");
  const RegistryText second = ParseRegistryText(written, "again");
  if (!second.problems.empty() || second.keys != first.keys) std::abort();
  return 0;
}
