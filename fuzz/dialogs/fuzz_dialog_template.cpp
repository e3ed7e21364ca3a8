// Fuzz target of the dialog template reader: any bytes are read without a
// crash; a template is either accepted without problems or refused with
// them, and an accepted one stays within the reader's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dialogs/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tarn::dialogs::TemplateReading reading = tarn::dialogs::ReadDialogTemplate(text, "fuzz");
  if (reading.dialog.has_value() != reading.problems.empty()) std::abort();
  if (reading.dialog && reading.dialog->controls.size() > tarn::dialogs::kMaxControls) std::abort();
  return 0;
}
