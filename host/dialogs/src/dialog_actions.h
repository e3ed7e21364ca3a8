// The control actions a user types while a dialog is open (docs/dialogs.md):
//   click ID | check ID [ITEM] on|off | select ID N[,N...]|none|"text"...
//   text ID "value" | ok | cancel | close | show | ? (help)
#ifndef TARN_DIALOGS_DIALOG_ACTIONS_H
#define TARN_DIALOGS_DIALOG_ACTIONS_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::dialogs::detail {

enum class Verb { kClick, kCheck, kSelect, kText, kOk, kCancel, kClose, kShow, kHelp };

struct Action {
  Verb verb = Verb::kShow;
  int id = 0;
  int item = -1;                   // check: the check list's item
  bool on = true;                  // check
  std::vector<int> indices;        // select by number (empty with `none`)
  std::vector<std::string> texts;  // select by text
  std::string text;                // text
};

struct ActionReading {
  std::optional<Action> action;
  std::string problem;
};

ActionReading ReadAction(std::string_view line);

// The list of actions, for "?".
std::string_view ActionHelp();

}  // namespace tarn::dialogs::detail

#endif
