// The dimension variables: name, the DXF group code a dimension style and a
// per-object override ("DSTYLE" extended data) store each under, and the
// kind of value.
#pragma once

#include <optional>
#include <string_view>

namespace tarn::commands::dims {

// How a value is written in the override list: 1070 integer, 1040 real,
// 1000 text, 1005 handle of a block (arrowheads) or of a text style or
// linetype record.
enum class DimValueKind { Integer, Real, Text, BlockHandle, StyleHandle, LinetypeHandle };

struct DimVariable {
  std::string_view name;
  int code;
  DimValueKind kind;
};

// By name, letter case ignored ("dimtad", "DIMTAD").
std::optional<DimVariable> findDimVariable(std::string_view name);
std::optional<DimVariable> dimVariableByCode(int code);
// The extended-data group code a value of this kind is written with.
int xdataCode(DimValueKind kind);

}  // namespace tarn::commands::dims
