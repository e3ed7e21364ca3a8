// The handlers of the block, wipeout and dimension host commands, and what
// more than one of them uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/database.h"

namespace tarn::commands {

int insertCommand();
int blockCommand();
int purgeCommand();
int wipeoutCommand();
int dimeditCommand();
int dimoverrideCommand();

namespace blocks {
// The attribute definitions of a block that make attributes of a reference
// (constant ones do not), in order.
std::vector<uint32_t> attributeDefinitions(const db::Database& d, uint32_t block);
// "Defined blocks." and the names of the drawing's named blocks.
void listBlocks();
// "Block "X" already exists. Redefine it?": false when cancelled, else the
// answer in `yes`.
bool askRedefine(const std::string& name, bool& yes);
}  // namespace blocks

}  // namespace tarn::commands
