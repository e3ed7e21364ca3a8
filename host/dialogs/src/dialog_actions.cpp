// Reading the control actions typed while a dialog is open.
#include "dialog_actions.h"

#include <array>

#include "tokens.h"

namespace tarn::dialogs::detail {
namespace {

struct VerbEntry {
  std::string_view word;
  Verb verb;
  bool takesId;
};

constexpr std::array<VerbEntry, 10> kVerbs{{{"click", Verb::kClick, true},
                                            {"check", Verb::kCheck, true},
                                            {"select", Verb::kSelect, true},
                                            {"text", Verb::kText, true},
                                            {"ok", Verb::kOk, false},
                                            {"cancel", Verb::kCancel, false},
                                            {"close", Verb::kClose, false},
                                            {"show", Verb::kShow, false},
                                            {"?", Verb::kHelp, false},
                                            {"help", Verb::kHelp, false}}};

constexpr long kMaxIndex = 1000000;

ActionReading Fail(std::string problem) { return ActionReading{std::nullopt, std::move(problem)}; }

bool OnOff(const Token& t, bool* on) {
  if (t.quoted) return false;
  if (EqualsIgnoringCase(t.text, "on")) return *on = true, true;
  if (EqualsIgnoringCase(t.text, "off")) return *on = false, true;
  return false;
}

ActionReading ReadCheck(Action a, const std::vector<Token>& t) {
  // check ID [on|off] | check ID ITEM [on|off]
  size_t next = 2;
  long item = 0;
  if (next < t.size() && !t[next].quoted && ParseInt(t[next].text, 0, kMaxIndex, &item)) {
    a.item = static_cast<int>(item);
    ++next;
  }
  if (next < t.size() && !OnOff(t[next++], &a.on)) return Fail("check takes \"on\" or \"off\" after the id (and item)");
  if (next < t.size()) return Fail("too many words after check");
  return ActionReading{a, {}};
}

ActionReading ReadSelect(Action a, const std::vector<Token>& t) {
  if (t.size() < 3) return Fail("select needs item numbers, \"none\" or item texts after the id");
  if (t.size() == 3 && !t[2].quoted && EqualsIgnoringCase(t[2].text, "none")) return ActionReading{a, {}};
  for (size_t i = 2; i < t.size(); ++i) {
    if (t[i].quoted) {
      a.texts.push_back(t[i].text);
      continue;
    }
    std::string_view rest = t[i].text;
    while (!rest.empty()) {   // "2,4" and "2, 4" and "2 4"
      const size_t comma = rest.find(',');
      const std::string_view part = rest.substr(0, comma);
      long index = 0;
      if (!part.empty() && !ParseInt(part, 0, kMaxIndex, &index)) return Fail("\"" + std::string(part) + "\" is not an item number");
      if (!part.empty()) a.indices.push_back(static_cast<int>(index));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
  if (!a.indices.empty() && !a.texts.empty()) return Fail("select takes item numbers or item texts, not both");
  if (a.indices.empty() && a.texts.empty()) return Fail("select needs item numbers, \"none\" or item texts after the id");
  return ActionReading{a, {}};
}

ActionReading ReadText(Action a, std::string_view line, const std::vector<Token>& t) {
  if (t.size() == 3 && t[2].quoted) a.text = t[2].text;
  else if (t.size() >= 3) a.text = std::string(line.substr(t[2].offset));
  while (!a.text.empty() && (a.text.back() == ' ' || a.text.back() == '\t') && !(t.size() == 3 && t[2].quoted)) a.text.pop_back();
  return ActionReading{a, {}};
}

}  // namespace

ActionReading ReadAction(std::string_view line) {
  const Tokens split = SplitTokens(line);
  if (!split.problem.empty()) return Fail(split.problem);
  const std::vector<Token>& t = split.tokens;
  if (t.empty()) return Fail("type a dialog action, or ? for help");
  const VerbEntry* verb = nullptr;
  for (const VerbEntry& v : kVerbs) {
    if (!t[0].quoted && EqualsIgnoringCase(t[0].text, v.word)) verb = &v;
  }
  if (verb == nullptr) return Fail("unknown dialog action \"" + t[0].text + "\"; type ? for help");
  Action a;
  a.verb = verb->verb;
  if (!verb->takesId) {
    if (t.size() > 1) return Fail("\"" + std::string(verb->word) + "\" takes nothing after it");
    return ActionReading{a, {}};
  }
  long id = 0;
  if (t.size() < 2 || t[1].quoted || !ParseInt(t[1].text, 0, 65535, &id)) return Fail(std::string(verb->word) + " needs a control id");
  a.id = static_cast<int>(id);
  switch (a.verb) {
    case Verb::kClick: return t.size() == 2 ? ActionReading{a, {}} : Fail("click takes only a control id");
    case Verb::kCheck: return ReadCheck(a, t);
    case Verb::kSelect: return ReadSelect(a, t);
    default: return ReadText(a, line, t);
  }
}

std::string_view ActionHelp() {
  return "Dialog actions:\n"
         "  click ID                press a button, click a check box or radio button\n"
         "  check ID on|off         set a check box, or choose a radio button\n"
         "  check ID ITEM on|off    set an item of a check list\n"
         "  select ID N[,N...]      choose list or combo box items by number (from 0)\n"
         "  select ID \"text\"...     choose items by their text; select ID none clears\n"
         "  text ID \"value\"         type into an edit field or editable combo box\n"
         "  ok | cancel | close     end the dialog\n"
         "  show                    show the whole dialog again\n"
         "  Enter presses the default button; ^C cancels the dialog.\n";
}

}  // namespace tarn::dialogs::detail
