// What the runtime adds to a tarncad session: drawings opened as documents,
// the module commands, the language module, the modules asked for and the
// default module at start, and quit and unload for every module at the end.
#pragma once

#include "editor/session.h"

namespace tarn::runtime {

// The module loaded by default when it is found in the module folders.
inline constexpr const char* kDefaultModule = "TarnExtend.trx";
// The language module, loaded at start when it is found.
inline constexpr const char* kLanguageModule = "TarnUinfo";

class RuntimeSessionHost : public editor::SessionHost {
 public:
  bool openDrawings(const std::vector<std::string>& files) override;
  bool start(editor::Editor& editor, const editor::SessionOptions& options) override;
  void finish() override;
};

}  // namespace tarn::runtime
