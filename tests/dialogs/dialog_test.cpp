// Dialogs driven from scripts through every control kind, the ways a
// dialog ends, refused actions with their messages, and templates from a
// resource module.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <tarnsdk/tcdialog.h>

#include "editor/editor.h"
#include "editor/reply_source.h"

namespace {

constexpr const char* kWalkTemplate =
    "dialog 3001 \"Layer Walk Test\"\n"
    "static 0 \"Pick the layers to show.\"\n"
    "list 1001 \"Layers\" multi\n"
    "check 1002 \"Restore on exit\" checked\n"
    "radio 1003 \"Off\" group checked\n"
    "radio 1004 \"Lock\"\n"
    "radio 1005 \"Freeze\"\n"
    "edit 1006 \"Filter\"\n"
    "combo 1007 \"Mode\"\n"
    "  item \"Show\"\n"
    "  item \"Hide\"\n"
    "combo 1008 \"Name\" editable\n"
    "checklist 1009 \"Flags\"\n"
    "  item \"Plot\" checked\n"
    "  item \"Freeze\"\n"
    "button 1010 \"Purge\" disabled\n"
    "button 1011 \"Apply\"\n"
    "edit 1012 \"Secret\" hidden\n"
    "button 1 \"OK\" default\n"
    "button 2 \"Cancel\"\n";

class WalkDialog : public TcDialog {
 public:
  WalkDialog() : TcDialog(3001) {
    setTemplateText(kWalkTemplate);
    onSelChange(1001, &WalkDialog::LayersChanged);
    onClicked(1002, &WalkDialog::RestoreClicked);
    onEditChange(1006, &WalkDialog::FilterEdited);
    onSelChange(1007, &WalkDialog::ModeChanged);
    onEditChange(1008, &WalkDialog::NameEdited);
    onItemCheck(1009, &WalkDialog::FlagChecked);
    onClicked(1010, &WalkDialog::Purge);
    onClicked(1011, &WalkDialog::Apply);
  }

  std::vector<std::string> log;
  int cancels = 0;

 protected:
  void OnInitDialog() override {
    for (const char* layer : {"0", "Walls", "Doors"}) {
      const int index = addString(1001, layer);
      setItemData(1001, index, (index + 1) * 10);
    }
    addString(1008, "Plan");
    addString(1008, "Section");
    setItemText(1006, "*");
  }
  void OnCancel() override {
    ++cancels;
    TcDialog::OnCancel();
  }

 private:
  void LayersChanged() { log.push_back("layers " + std::to_string(selCount(1001))); }
  void RestoreClicked() { log.push_back("restore " + std::to_string(isChecked(1002))); }
  void FilterEdited() {
    log.push_back("filter " + itemText(1006));
    enableItem(1010, !itemText(1006).empty());
  }
  void ModeChanged() { log.push_back("mode " + itemText(1007)); }
  void NameEdited() { log.push_back("name " + itemText(1008)); }
  void FlagChecked() { log.push_back("flag " + std::to_string(eventItem()) + " " + std::to_string(isItemChecked(1009, eventItem()))); }
  void Purge() { log.push_back("purge"); }
  void Apply() {
    if (selCount(1001) == 0) {
      messageBox("Select a layer first.", nullptr, TCPL_MB_OK | TCPL_MB_ICONWARNING);
      return;
    }
    EndDialog(7);
  }
};

class Dialogs : public testing::Test {
 protected:
  Dialogs() { tarn::editor::setCurrentEditor(&editor_); }
  ~Dialogs() override { tarn::editor::setCurrentEditor(nullptr); }

  void Script(const std::string& text) {
    editor_.pushSource(std::make_unique<tarn::editor::StringSource>(text, "dlg.scr"));
  }
  std::string Transcript() const { return editor_.transcriptText(); }
  bool Shows(const std::string& text) const { return Transcript().find(text) != std::string::npos; }

  tarn::editor::Editor editor_;
};

TEST_F(Dialogs, AScriptDrivesEveryControlKind) {
  WalkDialog dialog;
  Script("select 1001 0,2\n"
         "check 1002 off\n"
         "click 1004\n"
         "text 1006 \"W*\"\n"
         "select 1007 \"Hide\"\n"
         "text 1008 Custom name\n"
         "check 1009 1 on\n"
         "click 1010\n"
         "ok\n");
  ASSERT_EQ(dialog.DoModal(), TCPL_IDOK) << Transcript();
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"layers 2", "restore 0", "filter W*", "mode Hide",
                                                  "name Custom name", "flag 1 1", "purge"}));
  EXPECT_EQ(dialog.selectedItems(1001), (std::vector<int>{0, 2}));
  EXPECT_EQ(dialog.itemData(1001, 2), 30);
  EXPECT_EQ(dialog.isChecked(1002), 0);
  EXPECT_EQ(dialog.checkedRadioButton(1003, 1005), 1004);
  EXPECT_EQ(dialog.isChecked(1003), 0) << "one radio button of a group";
  EXPECT_EQ(dialog.itemText(1006), "W*");
  EXPECT_EQ(dialog.curSel(1007), 1);
  EXPECT_EQ(dialog.itemText(1008), "Custom name");
  EXPECT_EQ(dialog.curSel(1008), -1);
  EXPECT_TRUE(dialog.isItemChecked(1009, 0));
  EXPECT_TRUE(dialog.isItemChecked(1009, 1));
  EXPECT_EQ(dialog.cancels, 0);
}

TEST_F(Dialogs, TheDialogAndEachChangeAreShownOnTheCommandLine) {
  WalkDialog dialog;
  Script("select 1001 1\ncheck 1009 0 off\nok\n");
  dialog.DoModal();
  EXPECT_TRUE(Shows("Dialog \"Layer Walk Test\":\n"
                    "  [0] static \"Pick the layers to show.\"\n"
                    "  [1001] list \"Layers\" (several):\n"
                    "        0 \"0\"\n"
                    "        1 \"Walls\"\n"
                    "        2 \"Doors\"\n"
                    "  [1002] check \"Restore on exit\": on\n"
                    "  [1003] radio \"Off\": on\n"))
      << Transcript();
  EXPECT_TRUE(Shows("  [1006] edit \"Filter\": \"*\"\n"));
  EXPECT_TRUE(Shows("  [1010] button \"Purge\" (disabled)\n"));
  EXPECT_FALSE(Shows("Secret")) << "hidden controls are not shown";
  EXPECT_TRUE(Shows("Dialog action (? for help): select 1001 1\n"
                    "  [1001] list \"Layers\" (several):\n"
                    "        0 \"0\"\n"
                    "      > 1 \"Walls\"\n"));
  EXPECT_TRUE(Shows("  [1009] checklist \"Flags\":\n        0 [ ] \"Plot\"\n        1 [ ] \"Freeze\"\n"));
}

TEST_F(Dialogs, EscapeCancelsThroughTheCancelHandler) {
  WalkDialog dialog;
  Script("select 1001 0\n^C\nok\n");
  EXPECT_EQ(dialog.DoModal(), TCPL_IDCANCEL);
  EXPECT_EQ(dialog.cancels, 1);
  EXPECT_TRUE(Shows("*Cancel*"));
}

TEST_F(Dialogs, TheEndOfTheInputCancelsEvenWhenTheHandlerKeepsTheDialogOpen) {
  struct Stubborn : WalkDialog {
    void OnCancel() override { ++cancels; }   // refuses to end
  } dialog;
  Script("cancel\n");
  EXPECT_EQ(dialog.DoModal(), TCPL_IDCANCEL);
  EXPECT_EQ(dialog.cancels, 2) << "the cancel action, then the end of the input";
}

TEST_F(Dialogs, EnterPressesTheDefaultButtonAndCloseCancels) {
  WalkDialog first;
  Script("\n");
  EXPECT_EQ(first.DoModal(), TCPL_IDOK);
  WalkDialog second;
  Script("close\n");
  EXPECT_EQ(second.DoModal(), TCPL_IDCANCEL);
  EXPECT_EQ(second.cancels, 1);
}

TEST_F(Dialogs, AHandlerEndsWithItsOwnCodeAfterAMessageBox) {
  WalkDialog dialog;
  Script("click 1011\nselect 1001 \"Doors\"\nclick 1011\n");
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_TRUE(Shows("Layer Walk Test: Select a layer first.\n"));
  EXPECT_EQ(dialog.curSel(1001), 2);
}

TEST_F(Dialogs, RefusedActionsAreNamedWithTheirPlaceAndChangeNothing) {
  WalkDialog dialog;
  Script("click 1010\n"
         "click 9999\n"
         "select 1007 0,1\n"
         "select 1001 7\n"
         "frobnicate\n"
         "text 1003 x\n"
         "check 1003 off\n"
         "text 1012 peek\n"
         "check 1009 on\n"
         "select 1006 1\n"
         "cancel\n");
  EXPECT_EQ(dialog.DoModal(), TCPL_IDCANCEL);
  for (const char* message : {"dlg.scr:1: Control 1010 (button) is disabled.",
                              "dlg.scr:2: No control 9999 is shown in this dialog.",
                              "dlg.scr:3: Control 1007 (combo) takes one item.",
                              "dlg.scr:4: Control 1001 (list) has no item 7.",
                              "dlg.scr:5: Invalid dialog action: unknown dialog action \"frobnicate\"; type ? for help.",
                              "dlg.scr:6: Control 1003 (radio) takes no typed text.",
                              "dlg.scr:7: A radio button is switched off by choosing another one of its group.",
                              "dlg.scr:8: No control 1012 is shown in this dialog.",
                              "dlg.scr:9: Control 1009 (checklist) needs an item number.",
                              "dlg.scr:10: Control 1006 (edit) has no items."}) {
    EXPECT_TRUE(Shows(message)) << message << "\n" << Transcript();
  }
  EXPECT_TRUE(dialog.log.empty());
  EXPECT_EQ(dialog.checkedRadioButton(1003, 1005), 1003);
}

TEST_F(Dialogs, AQuestionFromTheCancelButtonCanKeepTheDialogOpen) {
  struct Asking : WalkDialog {
    Asking() { onClicked(TCPL_IDCANCEL, &Asking::AskFirst); }
    void AskFirst() {
      if (messageBox("Discard the changes?", nullptr, TCPL_MB_YESNO) == TCPL_IDYES) EndDialog(TCPL_IDCANCEL);
    }
  } dialog;
  Script("cancel\nN\nclick 2\nY\n");
  EXPECT_EQ(dialog.DoModal(), TCPL_IDCANCEL);
  EXPECT_TRUE(Shows("Layer Walk Test: Discard the changes? [Yes/No] <Yes>: N\n"));
  EXPECT_EQ(dialog.cancels, 0) << "the button's own handler replaced OnCancel";
}

TEST_F(Dialogs, ProgrammaticChangesCallNoHandlersAndReportWrongIds) {
  WalkDialog dialog;
  Script("ok\n");
  dialog.DoModal();
  EXPECT_TRUE(dialog.setCurSel(1001, 1));
  EXPECT_TRUE(dialog.setSel(1001, 2, true));
  EXPECT_EQ(dialog.selectedItems(1001), (std::vector<int>{1, 2}));
  EXPECT_FALSE(dialog.setSel(1007, 0, true)) << "a combo box is not a several-selection list";
  EXPECT_EQ(dialog.insertString(1007, 0, "First"), 0);
  EXPECT_EQ(dialog.findString(1007, "Hide"), 2);
  EXPECT_TRUE(dialog.deleteString(1007, 0));
  EXPECT_TRUE(dialog.setItemText(1007, "Hide"));
  EXPECT_FALSE(dialog.setItemText(1007, "Other")) << "a drop-down list takes only its items";
  EXPECT_EQ(dialog.itemText(1007), "Hide");
  EXPECT_TRUE(dialog.checkRadioButton(1003, 1005, 1005));
  EXPECT_EQ(dialog.checkedRadioButton(1003, 1005), 1005);
  EXPECT_FALSE(dialog.checkRadioButton(1003, 1005, 1002));
  EXPECT_EQ(dialog.isChecked(1006), -1);
  EXPECT_EQ(dialog.itemCount(9999), -1);
  EXPECT_EQ(dialog.curSel(1006), -1);
  EXPECT_EQ(dialog.itemData(1001, 99), -1);
  EXPECT_TRUE(dialog.resetContent(1001));
  EXPECT_EQ(dialog.itemCount(1001), 0);
  EXPECT_TRUE(dialog.log.empty());
}

TEST_F(Dialogs, TemplatesComeFromTheResourceModule) {
  tcpl_module module = tcplLoadModule(TARN_TEST_MODULE_DIR "/TestDialogRes.so");
  ASSERT_NE(module, nullptr);
  {
    TcDialog dialog(3002, module);
    Script("text 100 \"Level 2\"\nok\n");
    EXPECT_EQ(dialog.DoModal(), TCPL_IDOK);
    EXPECT_EQ(dialog.itemText(100), "Level 2");
    EXPECT_TRUE(Shows("Dialog \"From the module\":"));

    TcDialog missing(3999, module);
    EXPECT_EQ(missing.DoModal(), TCDLG_FAILED);
    EXPECT_TRUE(Shows("Dialog 3999: the resource module has no template of this id."));

    TcDialog damaged(3003, module);
    EXPECT_EQ(damaged.DoModal(), TCDLG_FAILED);
    EXPECT_TRUE(Shows("dialog 3003:2: unknown control kind \"slider\"\nThe dialog cannot be shown.\n"));
  }
  tcplFreeModule(module);
}

TEST_F(Dialogs, WithoutAResourceModuleTheDialogIsNotShown) {
  TcDialog dialog(3002);
  EXPECT_EQ(dialog.DoModal(), TCDLG_FAILED);
  EXPECT_TRUE(Shows("Dialog 3002: no resource module is open to find its template.")) << Transcript();
}

}  // namespace
