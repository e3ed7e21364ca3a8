// U and UNDO: take back whole commands through the drawing's journal.
#include "command_support.h"
#include "host_command_list.h"

namespace tarn::commands {
namespace {

void reportUndone(const std::vector<std::string>& names) {
  for (const std::string& n : names) print((n.empty() ? std::string("GROUP") : n) + "\n");
  if (names.empty()) print("Everything has been undone\n");
}

}  // namespace

int uCommand() {
  reportUndone(drawing().undo(1));
  return RTNORM;
}

int undoCommand() {
  int count = 1;
  Answer a = askInteger("Enter the number of operations to undo <1>: ", count, 2 | 4);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  if (a.status == RTNONE) count = 1;
  reportUndone(drawing().undo(count));
  return RTNORM;
}

}  // namespace tarn::commands
