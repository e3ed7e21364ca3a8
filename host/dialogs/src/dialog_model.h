// The live state of an open dialog's controls, built from its template,
// and the operations on them that both the module's calls and the user's
// actions go through. Rendering the state as command-line text is here too.
#ifndef TARN_DIALOGS_DIALOG_MODEL_H
#define TARN_DIALOGS_DIALOG_MODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/dialog_template.h"

namespace tarn::dialogs::detail {

struct ListItem {
  std::string text;
  intptr_t data = 0;
  bool selected = false;
  bool checked = false;
};

struct Control {
  ControlKind kind = ControlKind::kStatic;
  int id = 0;
  std::string label;
  std::string text;     // edit fields and editable combo boxes
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  bool multi = false;
  bool editable = false;
  bool isDefault = false;
  bool readOnly = false;
  int group = -1;       // radio buttons: their group
  std::vector<ListItem> items;

  bool acting() const { return enabled && visible; }
};

class DialogModel {
 public:
  DialogModel() = default;
  explicit DialogModel(const DialogTemplate& source);

  const std::string& caption() const { return caption_; }
  Control* find(int id);
  const Control* find(int id) const;
  const std::vector<Control>& controls() const { return controls_; }

  // Operations; false when they do not apply to the control.
  bool setText(Control& c, const std::string& text);
  std::string text(const Control& c) const;
  bool setCheck(Control& c, bool checked);
  bool setSelection(Control& c, const std::vector<int>& indices);   // replaces the selection
  bool setItemSelected(Control& c, int index, bool selected);
  int firstSelected(const Control& c) const;
  std::vector<int> selected(const Control& c) const;
  bool validIndex(const Control& c, int index) const {
    return index >= 0 && static_cast<size_t>(index) < c.items.size();
  }

  // The dialog as text: a caption line and each visible control.
  std::string render() const;
  // One control's lines.
  std::string render(const Control& c) const;

 private:
  std::string caption_;
  std::vector<Control> controls_;
};

}  // namespace tarn::dialogs::detail

#endif
