// A drawing file as a block definition: its model space becomes the block,
// its blocks, layers, linetypes, text styles, dimension styles and
// application names come along where the drawing has none of that name, and
// every copied object gets a new handle.
#pragma once

#include <cstdint>
#include <string>

#include "db/database.h"

namespace tarn::commands::blocks {

struct ImportResult {
  bool ok = false;
  std::string message;           // what went wrong, naming the file (and line)
  uint32_t block = db::kNoObject;  // the definition made or redefined
};

// Reads the file and defines (or, with `redefine`, replaces the content of)
// block `name` from its model space, with the file's $INSBASE as base point.
// Nothing in `target` changes when the file cannot be read or would make the
// block contain itself.
ImportResult importDrawingAsBlock(db::Database& target, const std::string& path, const std::string& name);

// Where a typed drawing file is: as given, beside the current drawing, or on
// the support path; with ".dxf" added or put in place of ".dwg" when the name
// so given is not found. Empty when it is nowhere.
std::string findDrawingFile(const std::string& typed);

}  // namespace tarn::commands::blocks
