// Internal: which loaded module a piece of code belongs to, and the record
// of module code running now (a module whose code is on the stack must not
// be unloaded).
#pragma once

#include <string>

namespace tarn::runtime {

// The load address of the shared object holding `address`, or null.
const void* objectBaseOf(const void* address);
// The same for a function pointer.
template <class Fn>
const void* objectBaseOfFunction(Fn fn) {
  return objectBaseOf(reinterpret_cast<const void*>(fn));
}

// Marks the code of the module at `base` as running while the scope lasts.
class ModuleCodeScope {
 public:
  explicit ModuleCodeScope(const void* base);
  ~ModuleCodeScope();
  ModuleCodeScope(const ModuleCodeScope&) = delete;
  ModuleCodeScope& operator=(const ModuleCodeScope&) = delete;

 private:
  const void* base_;
};

// Whether code of the module at `base` is running (a command, a message, a
// LISP function of it is on the stack).
bool moduleCodeRunning(const void* base);
// The module whose code was entered last and is still running, or null.
const void* innermostModuleCode();

// Host messages go to the command line of the current editor.
void printLine(const std::string& text);

}  // namespace tarn::runtime
