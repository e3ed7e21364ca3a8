// TcDialog: a modal dialog shown as text on the command line, driven by the
// control actions read through the editor until a handler ends it.
#include <tarnsdk/tcdialog.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "dialog_impl.h"
#include "template_lookup.h"
#include "tokens.h"

using tarn::dialogs::ControlKind;
using tarn::dialogs::detail::Action;
using tarn::dialogs::detail::Control;
using tarn::dialogs::detail::Verb;

namespace {

std::string Described(const Control& c) {
  return "Control " + std::to_string(c.id) + " (" + std::string(tarn::dialogs::KindName(c.kind)) + ")";
}

}  // namespace

bool TcDialog::Impl::load() {
  std::string text;
  std::string name = "dialog " + std::to_string(templateId);
  if (templateText) {
    text = *templateText;
    name += " (template text)";
  } else {
    const tarn::dialogs::detail::TemplateText found = tarn::dialogs::detail::FindTemplate(templateId, module);
    if (found.text == nullptr) {
      editor().print(found.problem + "\n");
      return false;
    }
    text = found.text;
  }
  const tarn::dialogs::TemplateReading reading = tarn::dialogs::ReadDialogTemplate(text, name);
  if (!reading.dialog) {
    for (const std::string& problem : reading.problems) editor().print(problem + "\n");
    editor().print("The dialog cannot be shown.\n");
    return false;
  }
  model = tarn::dialogs::detail::DialogModel(*reading.dialog);
  return true;
}

std::vector<std::string> TcDialog::Impl::snapshot() const {
  std::vector<std::string> lines;
  for (const Control& c : model.controls()) lines.push_back(c.visible ? model.render(c) : std::string());
  return lines;
}

void TcDialog::Impl::printChanges(const std::vector<std::string>& before) {
  const std::vector<std::string> after = snapshot();
  std::string changes;
  for (size_t i = 0; i < after.size() && i < before.size(); ++i) {
    if (after[i] == before[i]) continue;
    changes += after[i].empty() ? "  [" + std::to_string(model.controls()[i].id) + "] hidden\n" : after[i];
  }
  editor().print(changes);
}

Control* TcDialog::Impl::acting(int id) {
  Control* c = model.find(id);
  if (c == nullptr || !c->visible) {
    complain("No control " + std::to_string(id) + " is shown in this dialog.");
    return nullptr;
  }
  if (!c->enabled) {
    complain(Described(*c) + " is disabled.");
    return nullptr;
  }
  return c;
}

void TcDialog::Impl::click(Control& c) {
  switch (c.kind) {
    case ControlKind::kButton:
      if (fire(c.id, TCDLG_CLICKED)) return;
      if (c.id == TCPL_IDOK) self->OnOK();
      else if (c.id == TCPL_IDCANCEL) self->OnCancel();
      return;
    case ControlKind::kCheck:
      model.setCheck(c, !c.checked);
      fire(c.id, TCDLG_CLICKED);
      return;
    case ControlKind::kRadio:
      model.setCheck(c, true);
      fire(c.id, TCDLG_CLICKED);
      return;
    default:
      complain(Described(c) + " cannot be clicked.");
  }
}

void TcDialog::Impl::check(Control& c, const Action& a) {
  if (c.kind == ControlKind::kCheckList) {
    if (!model.validIndex(c, a.item)) {
      complain(a.item < 0 ? Described(c) + " needs an item number." : Described(c) + " has no item " + std::to_string(a.item) + ".");
      return;
    }
    auto& item = c.items[static_cast<size_t>(a.item)];
    if (item.checked == a.on) return;
    item.checked = a.on;
    fire(c.id, TCDLG_ITEMCHECK, a.item);
    return;
  }
  if ((c.kind != ControlKind::kCheck && c.kind != ControlKind::kRadio) || a.item >= 0) {
    complain(Described(c) + " has no check mark" + (a.item >= 0 ? " on items." : "."));
    return;
  }
  if (c.kind == ControlKind::kRadio && !a.on) {
    complain("A radio button is switched off by choosing another one of its group.");
    return;
  }
  if (c.checked == a.on) return;
  model.setCheck(c, a.on);
  fire(c.id, TCDLG_CLICKED);
}

void TcDialog::Impl::select(Control& c, const Action& a) {
  if (!tarn::dialogs::HasItems(c.kind)) {
    complain(Described(c) + " has no items.");
    return;
  }
  std::vector<int> indices = a.indices;
  for (const std::string& text : a.texts) {
    const int found = self->findString(c.id, text.c_str());
    if (found < 0) return complain(Described(c) + " has no item " + tarn::dialogs::detail::Quote(text) + ".");
    indices.push_back(found);
  }
  for (int index : indices) {
    if (!model.validIndex(c, index)) return complain(Described(c) + " has no item " + std::to_string(index) + ".");
  }
  if (indices.size() > 1 && !c.multi) return complain(Described(c) + " takes one item.");
  const std::vector<int> before = model.selected(c);
  model.setSelection(c, indices);
  if (model.selected(c) != before) fire(c.id, TCDLG_SELCHANGE);
}

void TcDialog::Impl::type(Control& c, const Action& a) {
  const bool typable = c.kind == ControlKind::kEdit || (c.kind == ControlKind::kCombo && c.editable);
  if (!typable) return complain(Described(c) + " takes no typed text.");
  if (c.readOnly) return complain(Described(c) + " is read-only.");
  if (model.text(c) == a.text) return;
  model.setText(c, a.text);
  fire(c.id, TCDLG_EDITCHANGE);
}

void TcDialog::Impl::okAction() {
  Control* ok = model.find(TCPL_IDOK);
  if (ok != nullptr && ok->kind == ControlKind::kButton) {
    if (Control* c = acting(TCPL_IDOK)) click(*c);
    return;
  }
  self->OnOK();
}

void TcDialog::Impl::cancelAction() {
  Control* cancel = model.find(TCPL_IDCANCEL);
  if (cancel != nullptr && cancel->kind == ControlKind::kButton && fire(TCPL_IDCANCEL, TCDLG_CLICKED)) return;
  self->OnCancel();
}

// ^C and the end of the input: the cancel handler runs, and the dialog ends
// even when it did not end itself, so that a script never hangs in a dialog.
void TcDialog::Impl::cancelFirmly() {
  cancelAction();
  if (!ended) self->EndDialog(TCPL_IDCANCEL);
}

void TcDialog::Impl::perform(const Action& a) {
  switch (a.verb) {
    case Verb::kOk: return okAction();
    case Verb::kCancel: return cancelAction();
    case Verb::kClose: return self->OnClose();
    case Verb::kShow: return editor().print(model.render());
    case Verb::kHelp: return editor().print(std::string(tarn::dialogs::detail::ActionHelp()));
    default: break;
  }
  Control* c = acting(a.id);
  if (c == nullptr) return;
  if (a.verb == Verb::kClick) click(*c);
  else if (a.verb == Verb::kCheck) check(*c, a);
  else if (a.verb == Verb::kSelect) select(*c, a);
  else type(*c, a);
}

void TcDialog::Impl::handleReply(const tarn::editor::Reply& reply) {
  using tarn::editor::ReplyKind;
  if (reply.kind == ReplyKind::End || reply.kind == ReplyKind::Cancel) return cancelFirmly();
  const std::vector<std::string> before = snapshot();
  if (reply.kind == ReplyKind::Enter) {
    const auto& controls = model.controls();
    auto button = std::find_if(controls.begin(), controls.end(), [](const Control& c) {
      return c.kind == ControlKind::kButton && c.isDefault && c.acting();
    });
    if (button == controls.end()) return complain("There is no default button; type a dialog action, or ? for help.");
    click(*model.find(button->id));
  } else if (reply.kind == ReplyKind::Text) {
    const tarn::dialogs::detail::ActionReading reading = tarn::dialogs::detail::ReadAction(reply.text);
    if (!reading.action) return complain("Invalid dialog action: " + reading.problem + ".");
    if (reading.action->verb == Verb::kShow || reading.action->verb == Verb::kHelp) return perform(*reading.action);
    perform(*reading.action);
  } else {
    return complain("Type a dialog action, or ? for help.");
  }
  if (!ended) printChanges(before);
}

void TcDialog::Impl::run() {
  if (ended) return;   // the init handler may end the dialog at once
  editor().print(model.render());
  while (!ended) handleReply(editor().ask("Dialog action (? for help): ", true));
}

// ---- TcDialog

TcDialog::TcDialog(uint32_t templateId) : impl_(new Impl(this, templateId, nullptr)) {}

TcDialog::TcDialog(uint32_t templateId, tcpl_module resourceModule)
    : impl_(new Impl(this, templateId, resourceModule)) {}

TcDialog::~TcDialog() { delete impl_; }

void TcDialog::setTemplateText(const char* text) {
  if (text != nullptr) impl_->templateText = text;
  else impl_->templateText.reset();
}

int TcDialog::DoModal() {
  if (impl_->open || !impl_->load()) return TCDLG_FAILED;
  impl_->open = true;
  impl_->ended = false;
  impl_->endCode = TCPL_IDCANCEL;
  OnInitDialog();
  impl_->run();
  impl_->open = false;
  return impl_->endCode;
}

void TcDialog::EndDialog(int code) {
  if (!impl_->open) return;
  impl_->ended = true;
  impl_->endCode = code;
}

bool TcDialog::isOpen() const { return impl_->open && !impl_->ended; }

void TcDialog::bindEvent(int controlId, TcDialogEvent event, std::function<void()> handler) {
  impl_->handlers[{controlId, event}] = std::move(handler);
}

int TcDialog::eventItem() const { return impl_->eventItem; }

void TcDialog::OnInitDialog() {}
void TcDialog::OnOK() { EndDialog(TCPL_IDOK); }
void TcDialog::OnCancel() { EndDialog(TCPL_IDCANCEL); }
void TcDialog::OnClose() { OnCancel(); }

int TcDialog::messageBox(const char* text, const char* caption, unsigned type) {
  const std::string title = caption != nullptr ? caption : impl_->model.caption();
  return tcplMessageBox(text, title.c_str(), type);
}
