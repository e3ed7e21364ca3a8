// TcDialog's calls on controls by id: texts, check marks, radio groups,
// enabling and showing, and the items of lists, check lists and combo boxes.
#include <tarnsdk/tcdialog.h>

#include "dialog_impl.h"

using tarn::dialogs::ControlKind;
using tarn::dialogs::HasItems;
using tarn::dialogs::detail::Control;
using tarn::dialogs::detail::ListItem;

namespace {

bool IsCheckable(const Control* c) {
  return c != nullptr && (c->kind == ControlKind::kCheck || c->kind == ControlKind::kRadio);
}

Control* ListControl(tarn::dialogs::detail::DialogModel& model, int id) {
  Control* c = model.find(id);
  return c != nullptr && HasItems(c->kind) ? c : nullptr;
}

const Control* ListControl(const tarn::dialogs::detail::DialogModel& model, int id) {
  const Control* c = model.find(id);
  return c != nullptr && HasItems(c->kind) ? c : nullptr;
}

const ListItem* ItemOf(const tarn::dialogs::detail::DialogModel& model, int id, int index) {
  const Control* c = ListControl(model, id);
  return c != nullptr && model.validIndex(*c, index) ? &c->items[static_cast<size_t>(index)] : nullptr;
}

}  // namespace

bool TcDialog::setItemText(int id, const char* text) {
  Control* c = impl_->model.find(id);
  return c != nullptr && text != nullptr && impl_->model.setText(*c, text);
}

std::string TcDialog::itemText(int id) const {
  const Control* c = impl_->model.find(id);
  return c != nullptr ? impl_->model.text(*c) : std::string();
}

bool TcDialog::setCheck(int id, int checked) {
  Control* c = impl_->model.find(id);
  return IsCheckable(c) && impl_->model.setCheck(*c, checked != 0);
}

int TcDialog::isChecked(int id) const {
  const Control* c = impl_->model.find(id);
  return IsCheckable(c) ? (c->checked ? 1 : 0) : -1;
}

bool TcDialog::checkRadioButton(int firstId, int lastId, int checkId) {
  if (checkId < firstId || checkId > lastId) return false;
  Control* chosen = impl_->model.find(checkId);
  if (chosen == nullptr || chosen->kind != ControlKind::kRadio) return false;
  for (const Control& c : impl_->model.controls()) {
    if (c.kind == ControlKind::kRadio && c.id >= firstId && c.id <= lastId) setCheck(c.id, 0);
  }
  return setCheck(checkId, 1);
}

int TcDialog::checkedRadioButton(int firstId, int lastId) const {
  for (const Control& c : impl_->model.controls()) {
    if (c.kind == ControlKind::kRadio && c.id >= firstId && c.id <= lastId && c.checked) return c.id;
  }
  return 0;
}

bool TcDialog::enableItem(int id, bool enable) {
  Control* c = impl_->model.find(id);
  if (c == nullptr) return false;
  c->enabled = enable;
  return true;
}

bool TcDialog::isItemEnabled(int id) const {
  const Control* c = impl_->model.find(id);
  return c != nullptr && c->enabled;
}

bool TcDialog::showItem(int id, bool show) {
  Control* c = impl_->model.find(id);
  if (c == nullptr) return false;
  c->visible = show;
  return true;
}

bool TcDialog::isItemVisible(int id) const {
  const Control* c = impl_->model.find(id);
  return c != nullptr && c->visible;
}

int TcDialog::addString(int id, const char* text) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr || text == nullptr) return -1;
  c->items.push_back(ListItem{text, 0, false, false});
  return static_cast<int>(c->items.size() - 1);
}

int TcDialog::insertString(int id, int index, const char* text) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr || text == nullptr) return -1;
  if (index < 0 || static_cast<size_t>(index) >= c->items.size()) return addString(id, text);
  c->items.insert(c->items.begin() + index, ListItem{text, 0, false, false});
  return index;
}

bool TcDialog::deleteString(int id, int index) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr || !impl_->model.validIndex(*c, index)) return false;
  c->items.erase(c->items.begin() + index);
  return true;
}

bool TcDialog::resetContent(int id) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr) return false;
  c->items.clear();
  if (c->kind == ControlKind::kCombo) c->text.clear();
  return true;
}

int TcDialog::itemCount(int id) const {
  const Control* c = ListControl(impl_->model, id);
  return c != nullptr ? static_cast<int>(c->items.size()) : -1;
}

std::string TcDialog::itemString(int id, int index) const {
  const ListItem* item = ItemOf(impl_->model, id, index);
  return item != nullptr ? item->text : std::string();
}

int TcDialog::findString(int id, const char* text) const {
  const Control* c = ListControl(impl_->model, id);
  if (c == nullptr || text == nullptr) return -1;
  for (size_t i = 0; i < c->items.size(); ++i) {
    if (c->items[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

bool TcDialog::setItemData(int id, int index, intptr_t data) {
  auto* item = const_cast<ListItem*>(ItemOf(impl_->model, id, index));
  if (item == nullptr) return false;
  item->data = data;
  return true;
}

intptr_t TcDialog::itemData(int id, int index) const {
  const ListItem* item = ItemOf(impl_->model, id, index);
  return item != nullptr ? item->data : -1;
}

int TcDialog::curSel(int id) const {
  const Control* c = ListControl(impl_->model, id);
  return c != nullptr ? impl_->model.firstSelected(*c) : -1;
}

bool TcDialog::setCurSel(int id, int index) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr) return false;
  if (index < 0) return impl_->model.setSelection(*c, {});
  return impl_->model.setSelection(*c, {index});
}

bool TcDialog::setSel(int id, int index, bool selected) {
  Control* c = ListControl(impl_->model, id);
  return c != nullptr && c->multi && impl_->model.setItemSelected(*c, index, selected);
}

bool TcDialog::isSelected(int id, int index) const {
  const ListItem* item = ItemOf(impl_->model, id, index);
  return item != nullptr && item->selected;
}

int TcDialog::selCount(int id) const {
  const Control* c = ListControl(impl_->model, id);
  return c != nullptr ? static_cast<int>(impl_->model.selected(*c).size()) : -1;
}

std::vector<int> TcDialog::selectedItems(int id) const {
  const Control* c = ListControl(impl_->model, id);
  return c != nullptr ? impl_->model.selected(*c) : std::vector<int>{};
}

bool TcDialog::setItemCheck(int id, int index, bool checked) {
  Control* c = ListControl(impl_->model, id);
  if (c == nullptr || c->kind != ControlKind::kCheckList || !impl_->model.validIndex(*c, index)) return false;
  c->items[static_cast<size_t>(index)].checked = checked;
  return true;
}

bool TcDialog::isItemChecked(int id, int index) const {
  const Control* c = ListControl(impl_->model, id);
  if (c == nullptr || c->kind != ControlKind::kCheckList) return false;
  const ListItem* item = ItemOf(impl_->model, id, index);
  return item != nullptr && item->checked;
}
