// Finding a template in a resource module. The document manager belongs to
// the host's runtime; it is referenced weakly so that the dialogs also work
// in programs without it (tests that name their resource module or give
// the template text).
#include "template_lookup.h"

#include <tarnsdk/tcrxapi.h>

TcApDocManager* tcDocManagerPtr() __attribute__((weak));

namespace tarn::dialogs::detail {
namespace {

tcpl_module TopResourceModule() {
  if (tcDocManagerPtr == nullptr) return nullptr;
  TcApDocManager* manager = tcDocManagerPtr();
  return manager != nullptr ? manager->topResourceHandle() : nullptr;
}

}  // namespace

TemplateText FindTemplate(uint32_t id, tcpl_module module) {
  const std::string name = "Dialog " + std::to_string(id);
  if (module == nullptr) module = TopResourceModule();
  if (module == nullptr) return {nullptr, name + ": no resource module is open to find its template."};
  const char* text = tcplFindDialogTemplate(module, id);
  if (text == nullptr) return {nullptr, name + ": the resource module has no template of this id."};
  return {text, {}};
}

}  // namespace tarn::dialogs::detail
