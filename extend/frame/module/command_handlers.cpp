// The command handlers, by global name: one row per command of a family
// that is built. The command table (frame/command_table.h) gives each
// command's local-name string id and flags; a command without a row here is
// not registered. Add a family's commands as
//     {"LAYISO", &tarn::layer::LayIso},
#include "frame/command_table.h"
#include "module_tables.h"

namespace tarn::frame {
namespace {

constexpr CommandHandlerRow kCommandHandlers[] = {
    {nullptr, nullptr}  // end of the rows
};
static_assert(HandlerRowsMatchTable(kCommandHandlers),
              "every handler row must name a command of the command table, once");

}  // namespace

std::span<const CommandHandlerRow> CommandHandlers() {
    return std::span<const CommandHandlerRow>(kCommandHandlers, std::size(kCommandHandlers) - 1);
}

}  // namespace tarn::frame
