// Files and settings the editor's calls reach: the support path searched
// by tcedFindFile, and the settings store behind tcedGetEnv/tcedSetEnv.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tarn::editor {

// The folders searched after the drawing's folder and the current folder:
// SUPPORTPATH, TARNCAD_SUPPORT (";" or ":" separated), then the support
// folder of the installation (beside the program, one folder up, or
// share/tarncad/support).
std::vector<std::string> supportFolders();

// The file found by name along the search order of tcedFindFile.
std::optional<std::string> findFile(const std::string& name);

// The settings store that environment values are kept in; null: the user's
// own store, opened when first needed. The host sets its shared store here.
void setEnvironmentRegistry(platform::RegistryStore* store);

}  // namespace tarn::editor
