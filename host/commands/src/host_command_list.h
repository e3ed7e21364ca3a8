// The handlers of the host commands, each a function of the command line.
#pragma once

#include <span>

namespace tarn::commands {

// A host command: its name (typed with or without "_" and "."), its
// handler and its editor flags.
struct HostCommand {
  const char* name;
  int (*handler)();
  int flags;
};

// The groups of commands, each defined beside its handlers.
std::span<const HostCommand> geometryEditCommands();  // ARRAY, EXPLODE, OFFSET, TRIM, FILLET
std::span<const HostCommand> viewCommands();          // UCS, PLAN, ZOOM, AREA, -LINETYPE
std::span<const HostCommand> blockCommands();         // INSERT, BLOCK, PURGE, WIPEOUT, DIMEDIT, DIMOVERRIDE
std::span<const HostCommand> metafileCommands();      // WMFOUT, WMFIN

int uCommand();
int undoCommand();
int layerCommand();
int eraseCommand();
int moveCommand();
int copyCommand();
int mirrorCommand();
int lineCommand();
int plineCommand();
int circleCommand();
int arcCommand();
int pointCommand();
int textCommand();
int listCommand();
int idCommand();
int distCommand();
int selectCommand();
int redrawCommand();
int regenCommand();
int orthoCommand();

}  // namespace tarn::commands
