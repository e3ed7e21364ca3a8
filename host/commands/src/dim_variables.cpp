// The table of dimension variables and their group codes.
#include "dim_variables.h"

#include "db/database.h"

namespace tarn::commands::dims {
namespace {

using K = DimValueKind;

// clang-format off
constexpr DimVariable kVariables[] = {
    {"DIMPOST", 3, K::Text},       {"DIMAPOST", 4, K::Text},      {"DIMSCALE", 40, K::Real},
    {"DIMASZ", 41, K::Real},       {"DIMEXO", 42, K::Real},       {"DIMDLI", 43, K::Real},
    {"DIMEXE", 44, K::Real},       {"DIMRND", 45, K::Real},       {"DIMDLE", 46, K::Real},
    {"DIMTP", 47, K::Real},        {"DIMTM", 48, K::Real},        {"DIMFXL", 49, K::Real},
    {"DIMJOGANG", 50, K::Real},    {"DIMTFILL", 69, K::Integer},  {"DIMTFILLCLR", 70, K::Integer},
    {"DIMTOL", 71, K::Integer},    {"DIMLIM", 72, K::Integer},    {"DIMTIH", 73, K::Integer},
    {"DIMTOH", 74, K::Integer},    {"DIMSE1", 75, K::Integer},    {"DIMSE2", 76, K::Integer},
    {"DIMTAD", 77, K::Integer},    {"DIMZIN", 78, K::Integer},    {"DIMAZIN", 79, K::Integer},
    {"DIMARCSYM", 90, K::Integer}, {"DIMTXT", 140, K::Real},      {"DIMCEN", 141, K::Real},
    {"DIMTSZ", 142, K::Real},      {"DIMALTF", 143, K::Real},     {"DIMLFAC", 144, K::Real},
    {"DIMTVP", 145, K::Real},      {"DIMTFAC", 146, K::Real},     {"DIMGAP", 147, K::Real},
    {"DIMALTRND", 148, K::Real},   {"DIMALT", 170, K::Integer},   {"DIMALTD", 171, K::Integer},
    {"DIMTOFL", 172, K::Integer},  {"DIMSAH", 173, K::Integer},   {"DIMTIX", 174, K::Integer},
    {"DIMSOXD", 175, K::Integer},  {"DIMCLRD", 176, K::Integer},  {"DIMCLRE", 177, K::Integer},
    {"DIMCLRT", 178, K::Integer},  {"DIMADEC", 179, K::Integer},  {"DIMUNIT", 270, K::Integer},
    {"DIMDEC", 271, K::Integer},   {"DIMTDEC", 272, K::Integer},  {"DIMALTU", 273, K::Integer},
    {"DIMALTTD", 274, K::Integer}, {"DIMAUNIT", 275, K::Integer}, {"DIMFRAC", 276, K::Integer},
    {"DIMKFRAC", 276, K::Integer}, {"DIMLUNIT", 277, K::Integer}, {"DIMDSEP", 278, K::Integer},
    {"DIMTMOVE", 279, K::Integer}, {"DIMJUST", 280, K::Integer},  {"DIMSD1", 281, K::Integer},
    {"DIMSD2", 282, K::Integer},   {"DIMTOLJ", 283, K::Integer},  {"DIMTZIN", 284, K::Integer},
    {"DIMALTZ", 285, K::Integer},  {"DIMALTTZ", 286, K::Integer}, {"DIMFIT", 287, K::Integer},
    {"DIMUPT", 288, K::Integer},   {"DIMATFIT", 289, K::Integer}, {"DIMFXLON", 290, K::Integer},
    {"DIMTXTDIRECTION", 295, K::Integer},
    {"DIMTXSTY", 340, K::StyleHandle},    {"DIMLDRBLK", 341, K::BlockHandle}, {"DIMBLK", 342, K::BlockHandle},
    {"DIMBLK1", 343, K::BlockHandle},     {"DIMBLK2", 344, K::BlockHandle},   {"DIMLTYPE", 345, K::LinetypeHandle},
    {"DIMLTEX1", 346, K::LinetypeHandle}, {"DIMLTEX2", 347, K::LinetypeHandle},
    {"DIMLWD", 371, K::Integer},   {"DIMLWE", 372, K::Integer},
};
// clang-format on

}  // namespace

std::optional<DimVariable> findDimVariable(std::string_view name) {
  for (const DimVariable& v : kVariables)
    if (db::equalsNoCase(v.name, name)) return v;
  return std::nullopt;
}

std::optional<DimVariable> dimVariableByCode(int code) {
  for (const DimVariable& v : kVariables)
    if (v.code == code) return v;
  return std::nullopt;
}

int xdataCode(DimValueKind kind) {
  switch (kind) {
    case K::Integer: return 1070;
    case K::Real: return 1040;
    case K::Text: return 1000;
    default: return 1005;
  }
}

}  // namespace tarn::commands::dims
