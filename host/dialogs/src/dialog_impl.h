// The state behind a TcDialog: its template source, the live controls,
// the handlers by control id and event, and whether it is open.
#ifndef TARN_DIALOGS_DIALOG_IMPL_H
#define TARN_DIALOGS_DIALOG_IMPL_H

#include <tarnsdk/tcdialog.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialog_actions.h"
#include "dialog_model.h"
#include "editor/editor.h"


struct TcDialog::Impl {
  TcDialog* self;
  uint32_t templateId;
  tcpl_module module = nullptr;
  std::optional<std::string> templateText;
  tarn::dialogs::detail::DialogModel model;
  std::map<std::pair<int, int>, std::function<void()>> handlers;
  bool open = false;
  bool ended = false;
  int endCode = TCPL_IDCANCEL;
  int eventItem = -1;

  Impl(TcDialog* dialog, uint32_t id, tcpl_module m) : self(dialog), templateId(id), module(m) {}

  tarn::editor::Editor& editor() { return tarn::editor::currentEditor(); }
  void complain(const std::string& message) { editor().complain(message); }

  bool load();
  void run();
  void handleReply(const tarn::editor::Reply& reply);
  void perform(const tarn::dialogs::detail::Action& a);
  void cancelFirmly();

  // True when the event had a handler.
  bool fire(int id, TcDialogEvent event, int item = -1) {
    auto it = handlers.find({id, event});
    if (it == handlers.end()) return false;
    const std::function<void()> handler = it->second;   // it may rebind itself
    eventItem = item;
    handler();
    eventItem = -1;
    return true;
  }

  tarn::dialogs::detail::Control* acting(int id);
  void click(tarn::dialogs::detail::Control& c);
  void check(tarn::dialogs::detail::Control& c, const tarn::dialogs::detail::Action& a);
  void select(tarn::dialogs::detail::Control& c, const tarn::dialogs::detail::Action& a);
  void type(tarn::dialogs::detail::Control& c, const tarn::dialogs::detail::Action& a);
  void okAction();
  void cancelAction();
  std::vector<std::string> snapshot() const;
  void printChanges(const std::vector<std::string>& before);
};

#endif
