// The metafile commands in the host's command table.
#include "host_command_list.h"
#include "wmf_commands.h"

namespace tarn::commands {

std::span<const HostCommand> metafileCommands() {
  static constexpr HostCommand kRows[] = {{"WMFOUT", wmfoutCommand, 0}, {"WMFIN", wmfinCommand, 0}};
  return kRows;
}

}  // namespace tarn::commands
