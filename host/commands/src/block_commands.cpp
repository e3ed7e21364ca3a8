// The table of the block, wipeout and dimension host commands.
#include "block_commands.h"

#include "host_command_list.h"

namespace tarn::commands {
namespace {

constexpr HostCommand kBlockCommands[] = {
    {"INSERT", insertCommand, 0},   {"-INSERT", insertCommand, 0},       {"BLOCK", blockCommand, 0},
    {"-BLOCK", blockCommand, 0},    {"PURGE", purgeCommand, 0},          {"-PURGE", purgeCommand, 0},
    {"WIPEOUT", wipeoutCommand, 0}, {"DIMEDIT", dimeditCommand, 0},      {"DIMOVERRIDE", dimoverrideCommand, 0},
    {"DIMOVER", dimoverrideCommand, 0},
};

}  // namespace

std::span<const HostCommand> blockCommands() { return kBlockCommands; }

}  // namespace tarn::commands
