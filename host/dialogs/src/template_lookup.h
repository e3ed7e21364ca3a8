// Where a dialog's template text comes from.
#ifndef TARN_DIALOGS_TEMPLATE_LOOKUP_H
#define TARN_DIALOGS_TEMPLATE_LOOKUP_H

#include <cstdint>
#include <string>

#include <tarnsdk/tcplatform.h>

namespace tarn::dialogs::detail {

struct TemplateText {
  const char* text = nullptr;   // null: not found, `problem` says why
  std::string problem;
};

// The template of `id` in `module`, or, with a null module, in the resource
// module on top of the document manager's resource-handle stack.
TemplateText FindTemplate(uint32_t id, tcpl_module module);

}  // namespace tarn::dialogs::detail

#endif
