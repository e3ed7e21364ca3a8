// The dialog template language: a dialog's id and caption, then one control
// per line with its kind, id, label and styles, list items below their
// control. The reader is strict: a template with any fault is refused as a
// whole, with every fault named by template and line (docs/dialogs.md).
#ifndef TARN_DIALOGS_DIALOG_TEMPLATE_H
#define TARN_DIALOGS_DIALOG_TEMPLATE_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::dialogs {

enum class ControlKind { kButton, kCheck, kRadio, kEdit, kStatic, kList, kCheckList, kCombo };

// The template keyword of a kind ("button", "checklist" ...).
std::string_view KindName(ControlKind kind);
bool HasItems(ControlKind kind);

struct ItemTemplate {
  std::string text;
  bool checked = false;   // check lists
};

struct ControlTemplate {
  ControlKind kind = ControlKind::kStatic;
  int id = 0;
  std::string label;
  int line = 0;
  bool disabled = false;
  bool hidden = false;
  bool groupStart = false;  // radio: begins a new group
  bool multi = false;       // list: several items may be selected
  bool editable = false;    // combo: text may be typed
  bool isDefault = false;   // button: pressed by Enter
  bool checked = false;     // check box, radio button
  bool readOnly = false;    // edit
  std::vector<ItemTemplate> items;
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  std::vector<ControlTemplate> controls;
};

struct TemplateReading {
  std::optional<DialogTemplate> dialog;   // set only when there are no problems
  std::vector<std::string> problems;      // "name:line: what is wrong"
};

// Limits that keep a damaged or hostile template from eating memory.
inline constexpr size_t kMaxControls = 1000;
inline constexpr size_t kMaxItems = 100000;
inline constexpr int kMaxControlId = 65535;

TemplateReading ReadDialogTemplate(std::string_view text, std::string_view name);

}  // namespace tarn::dialogs

#endif
