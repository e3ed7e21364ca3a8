// A test session with the runtime bound to its editor, and the test modules.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/scenario_session.h"
#include "lisp/printer.h"
#include "runtime/document_manager.h"
#include "runtime/dynamic_linker.h"
#include "runtime/lisp_bridge.h"
#include "runtime/runtime_commands.h"

namespace tarn::runtime::test {

inline std::string modulePath(const std::string& name) { return std::string(TM_DIR) + "/" + name + ".so"; }

inline size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session = std::make_unique<editor::ScenarioSession>();
    registerRuntimeCommands(session->editor());
    bindEditor(session->editor());
  }
  void TearDown() override {
    dynamicLinker().quitAll();
    documentManager().closeAll();
    session.reset();
  }
  bool load(const std::string& name) { return dynamicLinker().loadModule(modulePath(name).c_str(), true); }
  const std::string& transcript() const { return session->transcript(); }
  // Evaluates LISP in the session's editor: the printed value, or the error.
  std::string eval(const std::string& text) {
    lisp::Outcome out = session->editor().lisp().evaluate(text);
    return out.ok() ? lisp::toString(out.value()) : "error: " + out.error();
  }

  std::unique_ptr<editor::ScenarioSession> session;
};

}  // namespace tarn::runtime::test
