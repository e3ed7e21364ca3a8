// The table of the view, UCS, area and linetype commands.
#include "view_commands.h"

#include "host_command_list.h"

namespace tarn::commands {
namespace {

constexpr HostCommand kViewCommands[] = {
    {"UCS", ucsCommand, 0},           {"PLAN", planCommand, 0},          {"ZOOM", zoomCommand, 0},
    {"AREA", areaCommand, 0},         {"-LINETYPE", linetypeCommand, 0}, {"LINETYPE", linetypeCommand, 0},
};

}  // namespace

std::span<const HostCommand> viewCommands() { return kViewCommands; }

}  // namespace tarn::commands
