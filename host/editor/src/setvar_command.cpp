// SETVAR: "Enter variable name" then "Enter new value for NAME <current>",
// with the value read by the variable's type; Enter keeps the value.
#include "setvar_command.h"

#include <algorithm>
#include <cstdio>

#include <tarnsdk/tctypes.h>

#include "api/host_state.h"
#include "editor/reply_values.h"
#include "select/wildcard.h"

namespace tarn::editor {
namespace {

using host::SysVarValue;
using host::VarType;

std::string number(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// The typed value in the variable's type; false when it does not parse.
bool parseValue(const host::SysVarInfo& info, const std::string& text, SysVarValue& out) {
  out.type = info.type;
  if (info.type == VarType::Text) {
    out.text = text == "." ? "" : text;  // "." sets an empty text
    return true;
  }
  if (info.type == VarType::Point2 || info.type == VarType::Point3) {
    auto p = parsePoint(text, {});
    if (p) out.point = p->point;
    return p.has_value();
  }
  if (info.type == VarType::Real) {
    auto v = parseReal(text);
    if (v) out.number = *v;
    return v.has_value();
  }
  auto v = parseInteger(text);
  if (v) out.number = double(*v);
  return v.has_value();
}

}  // namespace

std::string formatVariable(const SysVarValue& v) {
  switch (v.type) {
    case VarType::Text: return "\"" + v.text + "\"";
    case VarType::Point2: return number(v.point.x) + "," + number(v.point.y);
    case VarType::Point3: return number(v.point.x) + "," + number(v.point.y) + "," + number(v.point.z);
    default: return number(v.number);
  }
}

int setVariableByName(Editor& editor, std::string_view name) {
  const host::SysVarInfo* info = host::findSysVar(name);
  SysVarValue current;
  if (!info || !host::getSysVar(name, current)) {
    editor.print("Unknown variable name.\n");
    return RTERROR;
  }
  std::string upper(info->name);
  if (info->readOnly) {
    editor.print(upper + " = " + formatVariable(current) + " (read only)\n");
    return RTNORM;
  }
  for (;;) {
    Reply r = editor.ask("Enter new value for " + upper + " <" + formatVariable(current) + ">: ",
                         info->type == VarType::Text);
    if (r.kind == ReplyKind::Cancel || r.kind == ReplyKind::End) return RTCAN;
    if (r.kind != ReplyKind::Text) return RTNORM;  // Enter keeps the value
    SysVarValue value;
    if (parseValue(*info, r.text, value) && host::setSysVar(upper, value)) return RTNORM;
    editor.complain("Invalid value for " + upper + ".");
  }
}

// "?": the variables whose names match a wildcard pattern, with their values.
int listVariables(Editor& editor) {
  Reply r = editor.ask("Enter variable(s) to list <*>: ", false);
  if (r.kind == ReplyKind::Cancel || r.kind == ReplyKind::End) return RTCAN;
  select::Wildcard pattern = select::Wildcard::compile(r.kind == ReplyKind::Text ? r.text : "*");
  int listed = 0;
  for (std::string_view name : host::sysVarNames()) {
    SysVarValue v;
    if (!pattern.matches(name) || !host::getSysVar(name, v)) continue;
    std::string line(name);
    line.resize(std::max<size_t>(line.size() + 1, 16), ' ');
    editor.print(line + formatVariable(v) + (host::findSysVar(name)->readOnly ? "  (read only)" : "") + "\n");
    ++listed;
  }
  if (listed == 0) editor.print("No variable matches.\n");
  return RTNORM;
}

int setvarCommand(Editor& editor) {
  for (;;) {
    Reply r = editor.ask("Enter variable name or [?]: ", false);
    if (r.kind == ReplyKind::Cancel || r.kind == ReplyKind::End) return RTCAN;
    if (r.kind != ReplyKind::Text) return RTNORM;
    if (r.text == "?") return listVariables(editor);
    if (host::findSysVar(r.text)) return setVariableByName(editor, r.text);
    editor.complain("Unknown variable name.");
  }
}

void registerHostCommands(Editor& editor) {
  // SETVAR runs inside other commands ('SETVAR) and leaves the pickfirst set alone.
  editor.commands().registerHostCommand("SETVAR", [&editor] { return setvarCommand(editor); },
                                        kCmdTransparent | kCmdUsePickSet | kCmdKeepPickSet);
}

}  // namespace tarn::editor
