// The command handlers, by global name: one row per command of a family
// that is built. The command table (frame/command_table.h) gives each
// command's local-name string id and flags; a command without a row here is
// not registered. Add a family's commands as
//     {"LAYISO", &tarn::layer::LayIso},
#include "frame/command_table.h"
#include "module_tables.h"

#if defined(TARN_FRAME_WITH_LAYER)
#include "layer/layer_commands.h"
#endif

namespace tarn::frame {
namespace {

constexpr CommandHandlerRow kCommandHandlers[] = {
#if defined(TARN_FRAME_WITH_LAYER)
    {"LAYCUR1", &tarn::layer::LayCur1},
    {"LAYDEL", &tarn::layer::LayDel},
    {"LAYTHW", &tarn::layer::LayThw},
    {"LAYISO", &tarn::layer::LayIso},
    {"LAYUNISO", &tarn::layer::LayUniso},
    {"LAYLCK", &tarn::layer::LayLck},
    {"LAYULK", &tarn::layer::LayUlk},
    {"LAYMCH", &tarn::layer::LayMch},
    {"LAYON", &tarn::layer::LayOn},
    {"LAYOFF", &tarn::layer::LayOff},
    {"LAYCUR", &tarn::layer::LayCur},
    {"LAYMRG", &tarn::layer::LayMrg},
    {"COPYTOLAYER", &tarn::layer::CopyToLayer},
    {"LAYWALK", &tarn::layer::LayWalk},
    {"-LAYDEL", &tarn::layer::LayDel},
    {"-LAYMCH", &tarn::layer::LayMch},
    {"-LAYMRG", &tarn::layer::LayMrg},
#endif
    {nullptr, nullptr}  // end of the rows
};
static_assert(HandlerRowsMatchTable(kCommandHandlers),
              "every handler row must name a command of the command table, once");

}  // namespace

std::span<const CommandHandlerRow> CommandHandlers() {
    return std::span<const CommandHandlerRow>(kCommandHandlers, std::size(kCommandHandlers) - 1);
}

}  // namespace tarn::frame
