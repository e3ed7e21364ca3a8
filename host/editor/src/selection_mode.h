// Internal: the mode text of tcedSSGet read into its parts, and the
// selection run that gathers entities by those rules.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tarnsdk/tcedinput.h>

#include "editor/editor.h"
#include "entity_probe.h"

namespace tarn::editor {

struct SelectionMode {
  std::string method;        // "", "X", "A", "L", "P", "I", "W", "C", "WP", "CP", "F"
  bool single = false;       // :S
  bool customPrompts = false;// :$
  bool refuseLocked = false; // :L
  bool keywordCallback = false;  // :K
  bool otherCallback = false;    // :?
  bool allUnderPick = false;     // -M
};

// The members of a set that are entities of this drawing and not erased.
std::vector<uint32_t> liveMembers(const SelectionSet& set, const db::Database& db);

// Null mode text is interactive selection; nothing for an unknown mode.
std::optional<SelectionMode> parseSelectionMode(const char* text);

// What one selection gathers: the entities that pass the filter (and the
// locked-layer rule), with counts for the messages.
class SelectionRun {
 public:
  SelectionRun(Editor& editor, db::Database& db, EntityProbe& probe, const SelectionMode& mode)
      : editor_(editor), db_(db), probe_(probe), mode_(mode) {}
  // Adds (or, in remove mode, removes) the candidates; returns how many
  // were found and prints the counts when `report`.
  size_t apply(const std::vector<uint32_t>& candidates, bool report);
  // Every entity of the layouts that passes, without messages.
  void applyAll();
  SelectionSet& result() { return set_; }
  db::Database& database() { return db_; }
  bool removing = false;
  // Undo of the last operation: what it added and what it removed.
  void undoLast();

 private:
  bool eligible(uint32_t id, size_t& locked, size_t& filtered);
  Editor& editor_;
  db::Database& db_;
  EntityProbe& probe_;
  const SelectionMode& mode_;
  SelectionSet set_;
  struct Step { std::vector<EntityKey> added, removed; };
  std::vector<Step> steps_;
};

// Interactive selection with prompts; RTNORM, RTCAN.
int selectInteractively(Editor& editor, SelectionRun& run, const SelectionMode& mode, const void* prompts,
                        const InputControl& control);

// The callbacks of ":K" and ":?".
extern tcedSSCallback keywordCallback;
extern tcedSSCallback otherCallback;

}  // namespace tarn::editor
