// Modal dialogs of a module. A dialog is a class with handlers by control
// id over a template: a text in the host's dialog template language, found
// by id in the resource module on top of the document manager's resource-
// handle stack (or given directly). The host shows an open dialog as text
// on the command line and takes control actions from the input (a person,
// a script or a test) until a handler ends the dialog.
#ifndef TARNSDK_TCDIALOG_H
#define TARNSDK_TCDIALOG_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "tcplatform.h"

/* What a control reports to its handlers. */
enum TcDialogEvent {
  TCDLG_CLICKED = 0,     /* a button pressed, a check box or radio button clicked */
  TCDLG_SELCHANGE = 1,   /* the selection of a list, check list or combo box changed */
  TCDLG_EDITCHANGE = 2,  /* the text of an edit field or editable combo box changed */
  TCDLG_ITEMCHECK = 3    /* an item of a check list was checked or unchecked */
};

/* DoModal's answer when the dialog could not be shown (no template, or a
   template that cannot be read: the host prints why). */
#define TCDLG_FAILED (-1)

class TcDialog {
 public:
  /* The template of this id from the resource module on top of the
     resource-handle stack when DoModal runs. */
  explicit TcDialog(uint32_t templateId);
  /* The template of this id from the given resource module. */
  TcDialog(uint32_t templateId, tcpl_module resourceModule);
  virtual ~TcDialog();
  TcDialog(const TcDialog&) = delete;
  TcDialog& operator=(const TcDialog&) = delete;

  /* Uses this template text instead of the resource module's. */
  void setTemplateText(const char* text);

  /* Shows the dialog and takes actions until it ends: the end code
     (TCPL_IDOK, TCPL_IDCANCEL or a code given to EndDialog), or
     TCDLG_FAILED. The controls keep their state after the dialog ends, so
     the caller may read them. */
  int DoModal();
  /* Ends the dialog with this code once the running handler returns. */
  void EndDialog(int code);
  bool isOpen() const;

  /* A handler for an event of a control; a later one for the same control
     and event replaces it. */
  void bindEvent(int controlId, TcDialogEvent event, std::function<void()> handler);
  template <class D>
  void onClicked(int id, void (D::*handler)()) { bindMember(id, TCDLG_CLICKED, handler); }
  template <class D>
  void onSelChange(int id, void (D::*handler)()) { bindMember(id, TCDLG_SELCHANGE, handler); }
  template <class D>
  void onEditChange(int id, void (D::*handler)()) { bindMember(id, TCDLG_EDITCHANGE, handler); }
  template <class D>
  void onItemCheck(int id, void (D::*handler)()) { bindMember(id, TCDLG_ITEMCHECK, handler); }
  /* The item of the event being handled (TCDLG_ITEMCHECK), else -1. */
  int eventItem() const;

  /* ---- Controls by id. Calls on an id the dialog does not have, or of a
     kind the control is not, answer false, -1 or an empty text. Changes
     made here do not call handlers. */
  /* An edit field's text, a combo box's text, a list's selected item, or
     the label of any other control. */
  bool setItemText(int id, const char* text);
  std::string itemText(int id) const;
  /* Check boxes and radio buttons (1 checked, 0 not); checking a radio
     button unchecks the others of its group. */
  bool setCheck(int id, int checked);
  int isChecked(int id) const;
  bool checkRadioButton(int firstId, int lastId, int checkId);
  /* The checked radio button among the ids, or 0. */
  int checkedRadioButton(int firstId, int lastId) const;
  bool enableItem(int id, bool enable);
  bool isItemEnabled(int id) const;
  bool showItem(int id, bool show);
  bool isItemVisible(int id) const;

  /* List boxes, check lists and combo boxes: items by index from 0. */
  int addString(int id, const char* text);
  int insertString(int id, int index, const char* text);
  bool deleteString(int id, int index);
  bool resetContent(int id);
  int itemCount(int id) const;
  std::string itemString(int id, int index) const;
  /* The first item with exactly this text, or -1. */
  int findString(int id, const char* text) const;
  bool setItemData(int id, int index, intptr_t data);
  intptr_t itemData(int id, int index) const;
  /* The selected item (the first one of a several-selection list), or -1;
     setCurSel(id, -1) clears the selection. */
  int curSel(int id) const;
  bool setCurSel(int id, int index);
  /* Several-selection lists. */
  bool setSel(int id, int index, bool selected);
  bool isSelected(int id, int index) const;
  int selCount(int id) const;
  std::vector<int> selectedItems(int id) const;
  /* Check lists. */
  bool setItemCheck(int id, int index, bool checked);
  bool isItemChecked(int id, int index) const;

  /* A message box over the dialog (tcplMessageBox); a null caption takes
     the dialog's. */
  int messageBox(const char* text, const char* caption, unsigned type);

 protected:
  /* Called when the dialog opens, after the template's controls exist. */
  virtual void OnInitDialog();
  /* "ok" or the OK button (id 1) without a handler of its own: ends with
     TCPL_IDOK. */
  virtual void OnOK();
  /* "cancel", ^C, the Cancel button (id 2) without a handler of its own:
     ends with TCPL_IDCANCEL. */
  virtual void OnCancel();
  /* "close": calls OnCancel. */
  virtual void OnClose();

 private:
  template <class D>
  void bindMember(int id, TcDialogEvent event, void (D::*handler)()) {
    D* self = static_cast<D*>(this);
    bindEvent(id, event, [self, handler] { (self->*handler)(); });
  }

  struct Impl;
  Impl* impl_;
};

#endif
