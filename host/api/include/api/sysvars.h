// The host's system variables: their types, where each is kept (the
// drawing's header, or the session), which are read-only, and defaults.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tctypes.h>

#include "db/database.h"

namespace tarn::host {

enum class VarType { Short, Real, Text, Point3, Point2, Long };

struct SysVarValue {
  VarType type = VarType::Short;
  double number = 0;        // Short, Long and Real
  db::Point3 point;         // Point2 and Point3
  std::string text;         // Text
};

struct SysVarInfo {
  std::string_view name;
  VarType type;
  bool readOnly;
  bool inDrawing;           // kept in the drawing's header as "$NAME"
};

const SysVarInfo* findSysVar(std::string_view name);
std::vector<std::string_view> sysVarNames();

// Read and write through the current database; false for an unknown name
// (get), or an unknown, read-only or mistyped one (set).
bool getSysVar(std::string_view name, SysVarValue& out);
bool setSysVar(std::string_view name, const SysVarValue& value);
// The host's own changes to read-only variables (AREA, VIEWCTR, UCSNAME ...).
void setSysVarInternal(std::string_view name, const SysVarValue& value);

SysVarValue shortValue(int v);
SysVarValue realValue(double v);
SysVarValue textValue(std::string_view v);
SysVarValue pointValue(db::Point3 p);

}  // namespace tarn::host
