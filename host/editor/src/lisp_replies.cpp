// The LISP inside the editor: what a "(" reply evaluates to as a reply, and
// the host calls of the LISP (print, variables, commands) on the editor.
#include "lisp_replies.h"

#include "editor/reply_values.h"

#include <tarnsdk/tcdbapi.h>

#include "api/sysvars.h"
#include "lisp/printer.h"

namespace tarn::editor {
namespace {

bool pointText(const lisp::Value& v, std::string& out) {
  int n = 0;
  std::string text;
  for (const auto& item : lisp::ListView(v)) {
    if (!item.isNumber() || ++n > 3) return false;
    text += (n > 1 ? "," : "") + replyNumber(item.asNumber());
  }
  if (n < 2 || !lisp::isProperList(v)) return false;
  out = text;
  return true;
}

lisp::Value varToValue(const host::SysVarValue& v) {
  using host::VarType;
  switch (v.type) {
    case VarType::Short:
    case VarType::Long: return lisp::Value::integer(int32_t(v.number));
    case VarType::Real: return lisp::Value::real(v.number);
    case VarType::Text: return lisp::Value::string(v.text);
    case VarType::Point2: return lisp::Value::list({lisp::Value::real(v.point.x), lisp::Value::real(v.point.y)});
    case VarType::Point3:
      return lisp::Value::list({lisp::Value::real(v.point.x), lisp::Value::real(v.point.y), lisp::Value::real(v.point.z)});
  }
  return {};
}

class EditorLispHost : public lisp::LispHost {
 public:
  explicit EditorLispHost(Editor& e) : editor_(e) {}
  void print(std::string_view text) override { editor_.print(text); }
  lisp::Outcome getVar(std::string_view name) override {
    host::SysVarValue v;
    return lisp::Outcome::success(host::getSysVar(name, v) ? varToValue(v) : lisp::Value());
  }
  lisp::Outcome setVar(std::string_view name, const lisp::Value& value) override;
  lisp::Outcome command(std::span<const lisp::Value> args) override {
    std::vector<FedReply> replies;
    for (const auto& a : args) replies.push_back({valueToReply(a), false});
    int rc = editor_.feedCommands(std::move(replies));
    return rc == RTCAN ? lisp::Outcome::failure("Function cancelled") : lisp::Outcome::success({});
  }
  lisp::Outcome callExternal(const lisp::ExternalFunction& fn, std::span<const lisp::Value> args) override {
    if (editor_.externalCalls) return editor_.externalCalls(fn, args);
    return lisp::Outcome::failure("no function definition");
  }
  lisp::Outcome formatNumber(lisp::NumberFormat kind, double value, int mode, int precision) override {
    char buf[128];
    int rc = kind == lisp::NumberFormat::Distance ? tcdbRToS(value, mode, precision, buf, sizeof buf)
                                                  : tcdbAngToS(value, mode, precision, buf, sizeof buf);
    return rc == RTNORM ? lisp::Outcome::success(lisp::Value::string(buf)) : lisp::Outcome::failure("bad argument value");
  }

 private:
  Editor& editor_;
};

lisp::Outcome EditorLispHost::setVar(std::string_view name, const lisp::Value& value) {
  const host::SysVarInfo* info = host::findSysVar(name);
  if (!info) return lisp::Outcome::failure("unknown variable " + std::string(name));
  host::SysVarValue v;
  v.type = info->type;
  std::string pt;
  if (value.isNumber()) v.number = value.asNumber();
  else if (value.isString()) v.text = value.text();
  else if (pointText(value, pt)) {
    auto items = lisp::ListView(value);
    double* xyz[3] = {&v.point.x, &v.point.y, &v.point.z};
    int i = 0;
    for (const auto& item : items) *xyz[i++] = item.asNumber();
  } else {
    return lisp::Outcome::failure("bad argument type");
  }
  if (!host::setSysVar(name, v)) return lisp::Outcome::failure("system variable setting rejected: " + db::upperAscii(name));
  return lisp::Outcome::success(value);
}

}  // namespace

Reply valueToReply(const lisp::Value& v) {
  Reply r;
  r.kind = ReplyKind::Text;
  if (v.isNil()) r.kind = ReplyKind::Enter;
  else if (v.type() == lisp::Type::Int) r.text = std::to_string(v.asInt());
  else if (v.type() == lisp::Type::Real) r.text = replyNumber(v.asReal());
  else if (v.isString()) r.text = v.text();
  else if (v.type() == lisp::Type::EntityName || v.type() == lisp::Type::SelectionSet) {
    r.kind = v.type() == lisp::Type::EntityName ? ReplyKind::Entity : ReplyKind::Picks;
    r.name[0] = v.nameWord(0);
    r.name[1] = v.nameWord(1);
  } else if (!pointText(v, r.text)) {
    r.text = lisp::toString(v, lisp::PrintStyle::Princ);
  }
  if (r.kind == ReplyKind::Text && r.text.empty()) r.kind = ReplyKind::Enter;
  return r;
}

std::unique_ptr<lisp::LispHost> makeEditorLispHost(Editor& editor) { return std::make_unique<EditorLispHost>(editor); }

}  // namespace tarn::editor
