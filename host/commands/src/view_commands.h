// The view, UCS, inquiry and linetype commands, each defined in a file of
// its own and listed together in view_commands.cpp.
#pragma once

#include <string>

namespace tarn::commands {

int ucsCommand();
int planCommand();
int zoomCommand();
int areaCommand();
int linetypeCommand();

// Prints the named UCSs whose names match a wildcard pattern.
void listUcs(const std::string& pattern);
// Shows everything in model space along the current view direction.
int zoomToExtents();

}  // namespace tarn::commands
