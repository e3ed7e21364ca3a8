// Module functions per document: each document keeps the functions modules
// defined in it; the editor's LISP holds those of the current document.
#include <algorithm>
#include <set>

#include <tarnsdk/tctypes.h>

#include "lisp_definitions.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"

namespace tarn::runtime {
namespace {

bool boundTo(lisp::Interpreter& interp, const std::string& name, const LispDefinition& d) {
  lisp::Value v = interp.global(name);
  const lisp::ExternalFunction* fn = v.isFunction() ? v.externalFunction() : nullptr;
  return fn && fn->code == d.code && fn->owner == reinterpret_cast<std::uintptr_t>(d.appId);
}

bool bindName(lisp::Interpreter& interp, const std::string& name, const LispDefinition& d) {
  if (name.empty() || boundTo(interp, name, d)) return true;
  return interp.defineExternal(name, d.code, reinterpret_cast<std::uintptr_t>(d.appId));
}

// "C:NAME" as the command NAME; a command of that name that exists already wins.
void addLispCommand(editor::CommandStack& stack, const std::string& name) {
  if (name.size() <= 2 || name.compare(0, 2, "C:") != 0) return;
  std::string command = name.substr(2);
  if (stack.find("_" + command)) return;
  stack.addCommand(kLispCommandGroup, command, command, [name] {
    lisp::Outcome out = editor::currentEditor().lisp().callFunction(name, {});
    return out.ok() ? RTNORM : RTERROR;  // the value is not echoed; an error is printed by the LISP
  });
}

void addLispCommands(editor::Editor& e, const Document* doc) {
  e.commands().removeGroup(kLispCommandGroup);
  if (!doc) return;
  for (const LispDefinition& d : doc->lisp()) {
    addLispCommand(e.commands(), d.globalName);
    addLispCommand(e.commands(), d.localName);
  }
}

}  // namespace

void applyDocumentDefinitions() {
  editor::Editor& e = editor::currentEditor();
  if (!e.externalCalls) e.externalCalls = callModuleFunction;
  Document* doc = documentManager().current();
  std::set<std::pair<void*, int>> wanted, others;
  if (doc)
    for (const LispDefinition& d : doc->lisp()) wanted.insert({d.appId, d.code});
  for (Document* other : documentManager().documents())
    for (const LispDefinition& d : other->lisp())
      if (!wanted.count({d.appId, d.code})) others.insert({d.appId, d.code});
  for (auto [appId, code] : others) e.lisp().undefineExternals(reinterpret_cast<std::uintptr_t>(appId), code);
  if (doc)
    for (const LispDefinition& d : doc->lisp()) {
      bindName(e.lisp(), d.globalName, d);
      bindName(e.lisp(), d.localName, d);
    }
  addLispCommands(e, doc);
}

void bindEditor(editor::Editor& editor) {
  editor.externalCalls = callModuleFunction;
  editor::Editor* was = &editor::currentEditor();
  editor::setCurrentEditor(&editor);
  applyDocumentDefinitions();
  if (was != &editor) editor::setCurrentEditor(was);
}

int defineModuleFunction(const LispDefinition& definition) {
  Document* doc = documentManager().current();
  if (!doc) return RTERROR;
  lisp::Interpreter& interp = editor::currentEditor().lisp();
  LispDefinition d = definition;
  d.globalName = db::upperAscii(d.globalName);
  d.localName = db::upperAscii(d.localName);
  if (d.localName == d.globalName) d.localName.clear();
  if (!bindName(interp, d.globalName, d) || !bindName(interp, d.localName, d)) return RTERROR;
  auto& defs = doc->lisp();
  std::erase_if(defs, [&](const LispDefinition& o) { return o.globalName == d.globalName; });
  defs.push_back(d);
  applyDocumentDefinitions();
  return RTNORM;
}

int undefineModuleFunction(const std::string& globalName, int code) {
  Document* doc = documentManager().current();
  if (!doc) return RTERROR;
  std::string name = db::upperAscii(globalName);
  auto& defs = doc->lisp();
  auto it = std::find_if(defs.begin(), defs.end(),
                         [&](const LispDefinition& d) { return d.globalName == name && d.code == code; });
  if (it == defs.end()) return RTERROR;
  void* appId = it->appId;
  defs.erase(it);
  editor::currentEditor().lisp().undefineExternals(reinterpret_cast<std::uintptr_t>(appId), code);
  applyDocumentDefinitions();
  return RTNORM;
}

void forgetModuleFunctions(void* appId) {
  for (Document* d : documentManager().documents())
    std::erase_if(d->lisp(), [&](const LispDefinition& l) { return l.appId == appId; });
  editor::currentEditor().lisp().undefineExternals(reinterpret_cast<std::uintptr_t>(appId));
  applyDocumentDefinitions();
}

}  // namespace tarn::runtime
