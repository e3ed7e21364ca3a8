// Internal: the command stack as modules see it, over the current editor's
// command stack. A module's handler is wrapped so that the host knows which
// module's code runs (a module is not unloaded while its code is on the
// stack) and can take a module's commands away when the module is unloaded.
#pragma once

#include <string>
#include <vector>

#include <tarnsdk/tcrxapi.h>

namespace tarn::runtime {

class CommandStackAdapter : public TcEdCommandStack {
 public:
  bool addCommand(const char* group, const char* globalName, const char* localName, int32_t flags,
                  TcRxFunctionPtr handler, void* uiContext = nullptr, int funcCode = -1,
                  void* resourceHandle = nullptr, TcEdCommand** commandOut = nullptr) override;
  bool removeGroup(const char* group) override;
  bool removeCmd(const char* group, const char* globalName) override;
  bool hasCommand(const char* globalName) const override;

  // Removes the commands whose handlers lie in the module loaded at `base`;
  // how many went.
  int removeCommandsOfModule(const void* base);

 private:
  struct Added {
    std::string group, globalName;
    TcRxFunctionPtr handler;
  };
  std::vector<Added> added_;
};

CommandStackAdapter& commandStackAdapter();

}  // namespace tarn::runtime
