// A session for tests: a drawing (new, or read from a file) made current,
// an editor whose replies come from a script text, commands run the way a
// user runs them, and checks that a command left no result buffer,
// selection set or open object behind and which system variables it changed.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/host_state.h"
#include "db/database.h"
#include "editor/editor.h"

namespace tarn::editor {

struct Leaks {
  long resbufs = 0;
  long selectionSets = 0;
  long openObjects = 0;
  bool none() const { return resbufs == 0 && selectionSets == 0 && openObjects == 0; }
  std::string describe() const;
};

class ScenarioSession {
 public:
  ScenarioSession();  // a new drawing
  // A drawing read from a DXF file; null (and `error` set) when it cannot be read.
  static std::unique_ptr<ScenarioSession> open(const std::string& path, std::string* error = nullptr);
  ~ScenarioSession();
  ScenarioSession(const ScenarioSession&) = delete;
  ScenarioSession& operator=(const ScenarioSession&) = delete;

  Editor& editor() { return editor_; }
  db::Database& database() { return *db_; }

  // Runs one command with the replies of a script text; its status.
  int run(std::string_view command, std::string_view replies = {});
  // Runs a script text at the "Command: " prompt to its end.
  void runScript(std::string_view script, std::string name = "<script>");

  const std::string& transcript() const { return editor_.transcriptText(); }
  // What the last run left behind (counted from its start).
  Leaks leaks() const;
  // System variables whose values the last run changed.
  std::vector<std::string> changedVariables() const;

  // What the checks after every command found: a command that left result
  // buffers, selection sets or open objects behind, and a cancelled command
  // that did not restore the variables it changed. A test fails on any.
  const std::vector<std::string>& problems() const { return problems_; }
  std::vector<std::string> takeProblems() { return std::exchange(problems_, {}); }

 private:
  explicit ScenarioSession(std::unique_ptr<db::Database> db);
  void begin();
  void commandStarts(bool transparent);
  void commandEnded(const std::string& name, int status, bool transparent);
  std::unique_ptr<db::Database> db_;
  db::Database* previousDb_ = nullptr;
  Editor editor_;
  host::OwnershipCounters start_;
  std::vector<std::pair<std::string, std::string>> variables_;
  host::OwnershipCounters commandStart_;
  std::vector<std::pair<std::string, std::string>> commandVariables_;
  std::vector<std::pair<std::string, std::string>> transparentVariables_;
  std::vector<std::string> problems_;
};

// The values of all system variables as texts, by name.
std::vector<std::pair<std::string, std::string>> variableSnapshot();

}  // namespace tarn::editor
