// Where the host finds its modules (the extension modules, the language
// module and the resource modules) and how a module name becomes a file.
#ifndef TARN_PLATFORM_MODULES_H
#define TARN_PLATFORM_MODULES_H

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

// The folders searched for modules, in order: those of TARNCAD_MODULE_PATH
// (separated by ':'), then the build's module folder.
std::vector<std::filesystem::path> ModuleFolders();

// The name a module is known by: its file name without folder and without a
// ".dll" or ".so" extension ("TarnUinfo.dll" -> "TarnUinfo"); ".trx" stays.
std::string ModuleBaseName(std::string_view name);

// The file of a module: a name with a folder is taken as it is (with ".so"
// added when no such file exists but that one does); a bare name is searched
// in ModuleFolders() as given, then as its base name with ".so". Empty when
// nothing is found.
std::filesystem::path ResolveModuleFile(std::string_view name);

}  // namespace tarn::platform

#endif
