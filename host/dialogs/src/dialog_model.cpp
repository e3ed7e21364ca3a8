// Operations on a dialog's controls and their text form.
#include "dialog_model.h"

#include <utility>

#include "tokens.h"

namespace tarn::dialogs::detail {
namespace {

Control FromTemplate(const ControlTemplate& t, int group) {
  Control c;
  c.kind = t.kind;
  c.id = t.id;
  c.label = t.label;
  c.checked = t.checked;
  c.enabled = !t.disabled;
  c.visible = !t.hidden;
  c.multi = t.multi;
  c.editable = t.editable;
  c.isDefault = t.isDefault;
  c.readOnly = t.readOnly;
  c.group = t.kind == ControlKind::kRadio ? group : -1;
  for (const ItemTemplate& item : t.items) c.items.push_back(ListItem{item.text, 0, false, item.checked});
  return c;
}

std::string Flags(const Control& c) {
  std::string flags;
  auto add = [&](bool on, const char* word) {
    if (on) flags += std::string(flags.empty() ? " (" : ", ") + word;
  };
  add(c.multi, "several");
  add(c.editable, "editable");
  add(c.readOnly, "read-only");
  add(c.isDefault, "default");
  add(!c.enabled, "disabled");
  return flags.empty() ? flags : flags + ")";
}

std::string StateOf(const Control& c, const DialogModel& model) {
  switch (c.kind) {
    case ControlKind::kCheck:
    case ControlKind::kRadio: return c.checked ? ": on" : ": off";
    case ControlKind::kEdit: return ": " + Quote(c.text);
    case ControlKind::kCombo: return ": " + Quote(model.text(c));
    case ControlKind::kList:
    case ControlKind::kCheckList: return ":";
    default: return "";
  }
}

}  // namespace

DialogModel::DialogModel(const DialogTemplate& source) : caption_(source.caption) {
  int group = -1;
  bool inRadios = false;
  for (const ControlTemplate& t : source.controls) {
    const bool radio = t.kind == ControlKind::kRadio;
    if (radio && (t.groupStart || !inRadios)) ++group;
    inRadios = radio;
    controls_.push_back(FromTemplate(t, group));
    // A group shows at most one radio button checked: the first one.
    if (radio && t.checked) {
      for (Control& other : controls_) {
        if (&other != &controls_.back() && other.group == group && other.checked) controls_.back().checked = false;
      }
    }
  }
}

Control* DialogModel::find(int id) {
  for (Control& c : controls_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const Control* DialogModel::find(int id) const { return const_cast<DialogModel*>(this)->find(id); }

bool DialogModel::setText(Control& c, const std::string& text) {
  switch (c.kind) {
    case ControlKind::kEdit:
      c.text = text;
      return true;
    case ControlKind::kCombo:
      if (c.editable) {
        c.text = text;
        for (ListItem& item : c.items) item.selected = item.text == text;
        bool first = true;   // a single selection, even with equal item texts
        for (ListItem& item : c.items) item.selected = item.selected && std::exchange(first, false);
        return true;
      }
      for (size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i].text == text) return setSelection(c, {static_cast<int>(i)});
      }
      return false;
    case ControlKind::kList:
    case ControlKind::kCheckList:
      return false;
    default:
      c.label = text;
      return true;
  }
}

std::string DialogModel::text(const Control& c) const {
  switch (c.kind) {
    case ControlKind::kEdit: return c.text;
    case ControlKind::kCombo:
      if (c.editable) return c.text;
      [[fallthrough]];
    case ControlKind::kList:
    case ControlKind::kCheckList: {
      const int index = firstSelected(c);
      return index >= 0 ? c.items[static_cast<size_t>(index)].text : std::string();
    }
    default: return c.label;
  }
}

bool DialogModel::setCheck(Control& c, bool checked) {
  if (c.kind != ControlKind::kCheck && c.kind != ControlKind::kRadio) return false;
  if (c.kind == ControlKind::kRadio && checked) {
    for (Control& other : controls_) {
      if (other.kind == ControlKind::kRadio && other.group == c.group) other.checked = false;
    }
  }
  c.checked = checked;
  return true;
}

bool DialogModel::setSelection(Control& c, const std::vector<int>& indices) {
  if (!HasItems(c.kind) || (indices.size() > 1 && !c.multi)) return false;
  for (int index : indices) {
    if (!validIndex(c, index)) return false;
  }
  for (ListItem& item : c.items) item.selected = false;
  for (int index : indices) c.items[static_cast<size_t>(index)].selected = true;
  if (c.kind == ControlKind::kCombo && c.editable) c.text = indices.empty() ? "" : c.items[static_cast<size_t>(indices[0])].text;
  return true;
}

bool DialogModel::setItemSelected(Control& c, int index, bool selected) {
  if (!HasItems(c.kind) || !validIndex(c, index)) return false;
  if (!c.multi) {
    if (selected) return setSelection(c, {index});
    c.items[static_cast<size_t>(index)].selected = false;
    return true;
  }
  c.items[static_cast<size_t>(index)].selected = selected;
  return true;
}

int DialogModel::firstSelected(const Control& c) const {
  for (size_t i = 0; i < c.items.size(); ++i) {
    if (c.items[i].selected) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int> DialogModel::selected(const Control& c) const {
  std::vector<int> indices;
  for (size_t i = 0; i < c.items.size(); ++i) {
    if (c.items[i].selected) indices.push_back(static_cast<int>(i));
  }
  return indices;
}

std::string DialogModel::render(const Control& c) const {
  std::string out = "  [" + std::to_string(c.id) + "] " + std::string(KindName(c.kind)) + " " + Quote(c.label) +
                    Flags(c) + StateOf(c, *this) + "\n";
  if (!HasItems(c.kind)) return out;
  for (size_t i = 0; i < c.items.size(); ++i) {
    const ListItem& item = c.items[i];
    out += std::string(item.selected ? "      > " : "        ") + std::to_string(i) + " ";
    if (c.kind == ControlKind::kCheckList) out += item.checked ? "[x] " : "[ ] ";
    out += Quote(item.text) + "\n";
  }
  return out;
}

std::string DialogModel::render() const {
  std::string out = "Dialog " + Quote(caption_) + ":\n";
  for (const Control& c : controls_) {
    if (c.visible) out += render(c);
  }
  return out;
}

}  // namespace tarn::dialogs::detail
