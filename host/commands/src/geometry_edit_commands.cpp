// The geometry editing commands of the host: ARRAY, EXPLODE, OFFSET, TRIM
// and FILLET, each defined in a file of its own.
#include "geometry_edit_support.h"
#include "host_command_list.h"

namespace tarn::commands {

std::span<const HostCommand> geometryEditCommands() {
  static constexpr HostCommand kCommands[] = {
      {"ARRAY", arrayCommand, 0},   {"-ARRAY", arrayCommand, 0}, {"EXPLODE", explodeCommand, 0},
      {"OFFSET", offsetCommand, 0}, {"TRIM", trimCommand, 0},    {"FILLET", filletCommand, 0},
  };
  return kCommands;
}

}  // namespace tarn::commands
