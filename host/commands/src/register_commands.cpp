// The table of host commands and their registration with an editor. Each
// command runs inside an undo group of its own, or inside the group of the
// command that issued it.
#include "commands/host_commands.h"
#include "editor/command_stack.h"
#include "host_command_list.h"

namespace tarn::commands {
namespace {

constexpr int kTransparent = editor::kCmdTransparent;

constexpr HostCommand kCommands[] = {
    {"U", uCommand, 0},           {"UNDO", undoCommand, 0},       {"LAYER", layerCommand, 0},
    {"-LAYER", layerCommand, 0},  {"ERASE", eraseCommand, 0},     {"MOVE", moveCommand, 0},
    {"COPY", copyCommand, 0},     {"MIRROR", mirrorCommand, 0},   {"LINE", lineCommand, 0},
    {"PLINE", plineCommand, 0},   {"CIRCLE", circleCommand, 0},   {"ARC", arcCommand, 0},
    {"POINT", pointCommand, 0},   {"TEXT", textCommand, 0},       {"-TEXT", textCommand, 0},
    {"LIST", listCommand, 0},     {"ID", idCommand, kTransparent}, {"DIST", distCommand, kTransparent},
    {"SELECT", selectCommand, 0}, {"REDRAW", redrawCommand, kTransparent},
    {"REDRAWALL", redrawCommand, kTransparent},                   {"REGEN", regenCommand, 0},
    {"ORTHO", orthoCommand, kTransparent},
};

void registerGroup(editor::Editor& editor, std::span<const HostCommand> group) {
  for (const HostCommand& c : group) {
    editor.commands().registerHostCommand(
        c.name,
        [c] {
          CommandJournalScope scope(c.name);
          return c.handler();
        },
        c.flags);
  }
}

}  // namespace

void registerHostCommands(editor::Editor& editor) {
  registerGroup(editor, kCommands);
  registerGroup(editor, geometryEditCommands());
  registerGroup(editor, viewCommands());
  registerGroup(editor, blockCommands());
  registerGroup(editor, metafileCommands());
}

}  // namespace tarn::commands
