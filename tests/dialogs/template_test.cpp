// The dialog template reader: a template with every kind and style, and
// damaged templates refused with the fault and its line.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialog_template.h"

namespace {

using tarn::dialogs::ControlKind;
using tarn::dialogs::ReadDialogTemplate;

TEST(DialogTemplate, ReadsEveryKindStyleAndItem) {
  const auto reading = ReadDialogTemplate(
      "; the layer walk\n"
      "dialog 2001 \"Layer \\\"Walk\\\"\"\n"
      "  static 0 \"Layers:\"   ; a comment\n"
      "  static 0 \"Shared id\"\n"
      "  LIST 1001 \"Layers\" multi\n"
      "    item \"0\"\n"
      "    item \"A;B\"\n"
      "  check 1002 \"Restore\" checked disabled\n"
      "  radio 1003 \"Off\" group checked\n"
      "  edit 1004 \"Filter\" readonly hidden\n"
      "  combo 1005 \"Mode\" editable\n"
      "  checklist 1006 \"Flags\"\n"
      "    item \"Plot\" checked\n"
      "  button 1 \"OK\" default\n"
      "end\n",
      "t");
  ASSERT_TRUE(reading.dialog) << reading.problems.front();
  const auto& d = *reading.dialog;
  EXPECT_EQ(d.id, 2001);
  EXPECT_EQ(d.caption, "Layer \"Walk\"");
  ASSERT_EQ(d.controls.size(), 9u);
  EXPECT_EQ(d.controls[2].kind, ControlKind::kList);
  EXPECT_TRUE(d.controls[2].multi);
  ASSERT_EQ(d.controls[2].items.size(), 2u);
  EXPECT_EQ(d.controls[2].items[1].text, "A;B");
  EXPECT_TRUE(d.controls[3].checked && d.controls[3].disabled);
  EXPECT_TRUE(d.controls[4].groupStart);
  EXPECT_TRUE(d.controls[5].readOnly && d.controls[5].hidden);
  EXPECT_TRUE(d.controls[6].editable);
  EXPECT_TRUE(d.controls[7].items[0].checked);
  EXPECT_TRUE(d.controls[8].isDefault);
}

struct Damaged {
  const char* text;
  const char* problem;
};

class DamagedTemplate : public testing::TestWithParam<Damaged> {};

TEST_P(DamagedTemplate, IsRefusedNamingTheFaultAndItsLine) {
  const auto reading = ReadDialogTemplate(GetParam().text, "dialog 9");
  EXPECT_FALSE(reading.dialog);
  ASSERT_FALSE(reading.problems.empty());
  EXPECT_EQ(reading.problems.front(), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DamagedTemplate,
    testing::Values(
        Damaged{"", "dialog 9:1: the template is empty (it must start with: dialog ID \"caption\")"},
        Damaged{"button 1 \"OK\"\n", "dialog 9:1: the first line must be: dialog ID \"caption\""},
        Damaged{"dialog 9 Caption\n", "dialog 9:1: the first line must be: dialog ID \"caption\""},
        Damaged{"dialog 9 \"C\"\nslider 5 \"S\"\n", "dialog 9:2: unknown control kind \"slider\""},
        Damaged{"dialog 9 \"C\"\nbutton 5\n", "dialog 9:2: a control is written: KIND ID \"label\" [styles]"},
        Damaged{"dialog 9 \"C\"\nbutton x5 \"B\"\n", "dialog 9:2: \"x5\" is not an id (a whole number from 0 to 65535)"},
        Damaged{"dialog 9 \"C\"\nbutton 70000 \"B\"\n",
                "dialog 9:2: \"70000\" is not an id (a whole number from 0 to 65535)"},
        Damaged{"dialog 9 \"C\"\nbutton 5 \"A\"\nedit 5 \"B\"\n", "dialog 9:3: the id 5 is used twice"},
        Damaged{"dialog 9 \"C\"\nbutton 5 \"A\" multi\n", "dialog 9:2: the style \"multi\" does not fit a button"},
        Damaged{"dialog 9 \"C\"\nedit 5 \"A\" shiny\n", "dialog 9:2: unknown style \"shiny\""},
        Damaged{"dialog 9 \"C\"\nitem \"x\"\n", "dialog 9:2: an item must follow a list, checklist or combo control"},
        Damaged{"dialog 9 \"C\"\nlist 5 \"L\"\nitem \"x\" checked\n", "dialog 9:3: an item is written: item \"text\""},
        Damaged{"dialog 9 \"C\"\nedit 5 \"open\n", "dialog 9:2: a quoted text has no closing quote"},
        Damaged{"dialog 9 \"C\"\ndialog 10 \"D\"\n", "dialog 9:2: a second \"dialog\" line"},
        Damaged{"dialog 9 \"C\"\nend\nbutton 1 \"OK\"\n", "dialog 9:3: text after \"end\""}));

TEST(DialogTemplate, EveryFaultIsListedNotOnlyTheFirst) {
  const auto reading = ReadDialogTemplate("dialog 1 \"C\"\nslider 2 \"S\"\nbutton 3 \"B\" multi\n", "d");
  ASSERT_EQ(reading.problems.size(), 2u);
  EXPECT_EQ(reading.problems[1], "d:3: the style \"multi\" does not fit a button");
}

}  // namespace
