// The command table: the module's commands in registration order, each with
// its global name, the string id of its local name and its command flags.
// A command is registered once its family adds a handler row
// (command_handlers.cpp in the module); until then it is listed here only.
#pragma once

#include <array>
#include <string_view>

#include "frame/registration.h"

namespace tarn::frame {

namespace command_flags {
inline constexpr int32_t kPick = TCRX_CMD_USEPICKSET;
inline constexpr int32_t kPickKeep = TCRX_CMD_USEPICKSET | TCRX_CMD_REDRAW;
// Takes the pickfirst set; refused in a perspective view, on the model tab
// and in the block editor.
inline constexpr int32_t kChspace =
    TCRX_CMD_USEPICKSET | TCRX_CMD_NOPERSPECTIVE | TCRX_CMD_NOTILEMODE | TCRX_CMD_NOBEDIT;
}  // namespace command_flags

inline constexpr std::array<CommandName, 117> kCommandTable{{
    {"DIMEX", 6000, 0},
    {"DIMIM", 6001, 0},
    {"QLDETACHSET", 6002, 0},
    {"QLATTACHSET", 6003, 0},
    {"DIMREASSOC", 6004, 0},
    {"EXTRIM", 6005, 0},
    {"MPEDIT", 6006, 0},
    {"SYSVDLG", 6007, 0},
    {"BREAKLINE", 6008, 0},
    {"EXOFFSET", 6009, 0},
    {"COPYM", 6010, command_flags::kPickKeep},
    {"EXPLAN", 6011, 0},
    {"XDATA", 6012, 0},
    {"XDLIST", 6013, 0},
    {"TEXTFIT", 6031, 0},
    {"TXT2MTXT", 6032, 0},
    {"TJUST", 6033, command_flags::kPick},
    {"TORIENT", 6034, 0},
    {"TCIRCLE", 6035, 0},
    {"TCOUNT", 6036, 0},
    {"TCASE", 6037, 0},
    {"CHGTHEI", 6038, 0},
    {"CURSTYLE", 6039, 0},
    {"TXTULINE", 6040, 0},
    {"DELULINE", 6041, 0},
    {"TEXTMASK", 6042, 0},
    {"TEXTUNMASK", 6043, 0},
    {"MATHEI", 6044, 0},
    {"MTEXP", 6045, 0},
    {"TXTALIGN", 6046, 0},
    {"NCOPY", 6177, 0},
    {"BURST", 6047, command_flags::kPickKeep},
    {"ATTOUT", 6048, 0},
    {"ATTIN", 6049, 0},
    {"BSCALE", 6050, command_flags::kPickKeep},
    {"BLOCK?", 6051, 0},
    {"BCOUNT", 6052, 0},
    {"CHGBWID", 6053, command_flags::kPickKeep},
    {"CHGBANG", 6054, command_flags::kPickKeep},
    {"CHGBHEI", 6055, command_flags::kPickKeep},
    {"CHGBLAY", 6056, command_flags::kPickKeep},
    {"CHGBCOL", 6057, command_flags::kPickKeep},
    {"EXF", 6058, 0},
    {"EXP1", 6059, command_flags::kPickKeep},
    {"EXW", 6060, 0},
    {"EXC", 6061, 0},
    {"EXWP", 6062, 0},
    {"EXCP", 6063, 0},
    {"GETSEL", 6064, 0},
    {"MKLTYPE", 6065, 0},
    {"EXSCALE", 6066, command_flags::kPickKeep},
    {"EXCEL", 6067, 0},
    {"WORD", 6068, 0},
    {"ARCSUM", 6069, 0},
    {"DELDIM", 6070, 0},
    {"DIMTXTREV", 6071, 0},
    {"DIMASBX", 6072, 0},
    {"DIMTXTCOL", 6073, 0},
    {"QLATTACH", 6074, 0},
    {"AREASUM", 6075, 0},
    {"DELHATCH", 6076, command_flags::kPick},
    {"LINESUM", 6077, 0},
    {"ZVALTO0", 6078, 0},
    {"BLOCKSUM", 6079, 0},
    {"AI_DIM_TEXTHOME", 6080, command_flags::kPickKeep},
    {"AI_DIM_TEXTCENTER", 6081, command_flags::kPickKeep},
    {"AI_DIM_TEXTABOVE", 6082, command_flags::kPickKeep},
    {"DESELECT", 6083, 0},
    {"CON2DASH", 6084, 0},
    {"CHGLTSCA", 6085, 0},
    {"3DARRAY", 6088, command_flags::kPickKeep},
    {"AI_TORUS", 6098, 0},
    {"AI_CONE", 6094, 0},
    {"AI_WEDGE", 6092, 0},
    {"AI_SPHERE", 6095, 0},
    {"AI_PYRAMID", 6093, 0},
    {"AI_DOME", 6096, 0},
    {"AI_DISH", 6097, 0},
    {"AI_BOX", 6091, 0},
    {"PLT2DWG", 6089, 0},
    {"3D", 6090, 0},
    {"AI_CYLINDER", 6100, 0},
    {"TXTEXP", 6108, 0},
    {"SSX", 6110, 0},
    {"DELDUPL", 6111, command_flags::kPick},
    {"ARCCMP", 6112, 0},
    {"ANGDIV", 6113, 0},
    {"JOINL", 6114, 0},
    {"GATTE", 5999, 0},
    {"BLOCKEXTRACT", 6165, 0},
    {"BROWSER", 6109, 0},
    {"CHSPACE", 6103, command_flags::kChspace},
    {"GB2BIG5", 6107, 0},
    {"ISOLATEOBJECTS", 6104, command_flags::kPickKeep},
    {"HIDEOBJECTS", 6105, command_flags::kPickKeep},
    {"UNISOLATEOBJECTS", 6106, command_flags::kPickKeep},
    {"GROUPUNNAME", 6086, command_flags::kPickKeep},
    {"UNGROUP", 6087, command_flags::kPickKeep},
    {"LAYCUR1", 6014, 0},
    {"LAYDEL", 6015, 0},
    {"LAYTHW", 6016, 0},
    {"LAYISO", 6017, command_flags::kPickKeep},
    {"LAYUNISO", 6018, 0},
    {"LAYLCK", 6019, 0},
    {"LAYULK", 6020, 0},
    {"LAYMCH", 6021, 0},
    {"LAYON", 6022, 0},
    {"LAYOFF", 6023, 0},
    {"LAYCUR", 6024, command_flags::kPickKeep},
    {"LAYMRG", 6025, 0},
    {"COPYTOLAYER", 6026, command_flags::kPickKeep},
    {"LAYWALK", 6027, 0},
    {"-LAYDEL", 6028, 0},
    {"-LAYMCH", 6029, 0},
    {"-LAYMRG", 6030, 0},
    {"FCMP", 6101, 0},
    {"-FCMP", 6102, 0},
}};

// The row of a global name, or null.
constexpr const CommandName* FindCommandName(std::string_view globalName) {
    for (const CommandName& row : kCommandTable)
        if (globalName == row.globalName) return &row;
    return nullptr;
}

// True when every handler row names a command of the table and no command
// has two handlers; checked at compile time where the rows are written.
template <std::size_t N>
constexpr bool HandlerRowsMatchTable(const CommandHandlerRow (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (rows[i].globalName == nullptr) continue;  // the end marker
        if (FindCommandName(rows[i].globalName) == nullptr || rows[i].handler == nullptr) return false;
        for (std::size_t j = i + 1; j < N; ++j)
            if (rows[j].globalName != nullptr && std::string_view(rows[i].globalName) == rows[j].globalName)
                return false;
    }
    return true;
}

}  // namespace tarn::frame
