// Code ownership by address (dladdr) and the stack of running module code.
#include "module_code.h"

#include <algorithm>
#include <dlfcn.h>
#include <vector>

#include "editor/editor.h"

namespace tarn::runtime {
namespace {

std::vector<const void*>& running() {
  static std::vector<const void*> stack;
  return stack;
}

}  // namespace

const void* objectBaseOf(const void* address) {
  Dl_info info{};
  if (!address || dladdr(address, &info) == 0) return nullptr;
  return info.dli_fbase;
}

ModuleCodeScope::ModuleCodeScope(const void* base) : base_(base) { running().push_back(base); }

ModuleCodeScope::~ModuleCodeScope() {
  auto& r = running();
  auto it = std::find(r.rbegin(), r.rend(), base_);
  if (it != r.rend()) r.erase(std::next(it).base());
}

bool moduleCodeRunning(const void* base) {
  const auto& r = running();
  return base && std::find(r.begin(), r.end(), base) != r.end();
}

const void* innermostModuleCode() { return running().empty() ? nullptr : running().back(); }

void printLine(const std::string& text) { editor::currentEditor().print(text + "\n"); }

}  // namespace tarn::runtime
