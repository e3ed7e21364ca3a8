// The reader of dialog templates: a header line, control lines and item
// lines, each checked; every fault is collected with its line.
#include "dialogs/dialog_template.h"

#include <algorithm>
#include <array>
#include <set>

#include "tokens.h"

namespace tarn::dialogs {
namespace {

using detail::Token;

struct KindEntry {
  std::string_view name;
  ControlKind kind;
};

constexpr std::array<KindEntry, 8> kKinds{{{"button", ControlKind::kButton},
                                           {"check", ControlKind::kCheck},
                                           {"radio", ControlKind::kRadio},
                                           {"edit", ControlKind::kEdit},
                                           {"static", ControlKind::kStatic},
                                           {"list", ControlKind::kList},
                                           {"checklist", ControlKind::kCheckList},
                                           {"combo", ControlKind::kCombo}}};

// A style word, the kinds it fits, and the flag it sets.
struct StyleEntry {
  std::string_view name;
  std::vector<ControlKind> fits;   // empty: every kind
  bool ControlTemplate::*flag;
};

const std::vector<StyleEntry>& Styles() {
  static const std::vector<StyleEntry> styles{
      {"disabled", {}, &ControlTemplate::disabled},
      {"hidden", {}, &ControlTemplate::hidden},
      {"group", {ControlKind::kRadio}, &ControlTemplate::groupStart},
      {"multi", {ControlKind::kList}, &ControlTemplate::multi},
      {"editable", {ControlKind::kCombo}, &ControlTemplate::editable},
      {"default", {ControlKind::kButton}, &ControlTemplate::isDefault},
      {"checked", {ControlKind::kCheck, ControlKind::kRadio}, &ControlTemplate::checked},
      {"readonly", {ControlKind::kEdit}, &ControlTemplate::readOnly},
  };
  return styles;
}

class Reader {
 public:
  explicit Reader(std::string_view name) : name_(name) {}

  void Line(std::string_view text, int number);
  TemplateReading Finish();

 private:
  void Problem(int line, const std::string& what) {
    problems_.push_back(std::string(name_) + ":" + std::to_string(line) + ": " + what);
  }
  void Header(const std::vector<Token>& t, int line);
  void Control(const std::vector<Token>& t, int line);
  void Item(const std::vector<Token>& t, int line);
  bool Id(const Token& t, int line, int* id);
  bool Styled(ControlTemplate& control, const Token& word, int line);

  std::string_view name_;
  DialogTemplate dialog_;
  std::vector<std::string> problems_;
  std::set<int> ids_;
  size_t items_ = 0;
  bool haveHeader_ = false;
  bool ended_ = false;
};

bool Reader::Id(const Token& t, int line, int* id) {
  long value = 0;
  if (t.quoted || !detail::ParseInt(t.text, 0, kMaxControlId, &value)) {
    Problem(line, "\"" + t.text + "\" is not an id (a whole number from 0 to 65535)");
    return false;
  }
  *id = static_cast<int>(value);
  return true;
}

void Reader::Header(const std::vector<Token>& t, int line) {
  haveHeader_ = true;
  if (t.size() != 3 || !t[2].quoted) {
    Problem(line, "the first line must be: dialog ID \"caption\"");
    return;
  }
  Id(t[1], line, &dialog_.id);
  dialog_.caption = t[2].text;
}

bool Reader::Styled(ControlTemplate& control, const Token& word, int line) {
  for (const StyleEntry& style : Styles()) {
    if (word.quoted || !detail::EqualsIgnoringCase(word.text, style.name)) continue;
    const bool fits = style.fits.empty() ||
                      std::find(style.fits.begin(), style.fits.end(), control.kind) != style.fits.end();
    if (!fits) {
      Problem(line, "the style \"" + word.text + "\" does not fit a " + std::string(KindName(control.kind)));
      return false;
    }
    control.*style.flag = true;
    return true;
  }
  Problem(line, "unknown style \"" + word.text + "\"");
  return false;
}

void Reader::Control(const std::vector<Token>& t, int line) {
  auto kind = std::find_if(kKinds.begin(), kKinds.end(),
                           [&](const KindEntry& k) { return !t[0].quoted && detail::EqualsIgnoringCase(t[0].text, k.name); });
  if (kind == kKinds.end()) {
    Problem(line, "unknown control kind \"" + t[0].text + "\"");
    return;
  }
  ControlTemplate control;
  control.kind = kind->kind;
  control.line = line;
  if (t.size() < 3 || !t[2].quoted) {
    Problem(line, "a control is written: KIND ID \"label\" [styles]");
    return;
  }
  if (!Id(t[1], line, &control.id)) return;
  const bool sharedStatic = control.kind == ControlKind::kStatic && control.id == 0;
  if (!sharedStatic && !ids_.insert(control.id).second) {
    Problem(line, "the id " + std::to_string(control.id) + " is used twice");
    return;
  }
  control.label = t[2].text;
  for (size_t i = 3; i < t.size(); ++i) {
    if (!Styled(control, t[i], line)) return;
  }
  if (dialog_.controls.size() >= kMaxControls) {
    Problem(line, "more than " + std::to_string(kMaxControls) + " controls");
    return;
  }
  dialog_.controls.push_back(std::move(control));
}

void Reader::Item(const std::vector<Token>& t, int line) {
  if (dialog_.controls.empty() || !HasItems(dialog_.controls.back().kind) ||
      dialog_.controls.back().line < 0) {
    Problem(line, "an item must follow a list, checklist or combo control");
    return;
  }
  ControlTemplate& owner = dialog_.controls.back();
  const bool checked = t.size() == 3 && !t[2].quoted && detail::EqualsIgnoringCase(t[2].text, "checked");
  if (t.size() < 2 || !t[1].quoted || t.size() > 3 || (t.size() == 3 && !checked) ||
      (checked && owner.kind != ControlKind::kCheckList)) {
    Problem(line, owner.kind == ControlKind::kCheckList ? "an item is written: item \"text\" [checked]"
                                                        : "an item is written: item \"text\"");
    return;
  }
  if (++items_ > kMaxItems) {
    if (items_ == kMaxItems + 1) Problem(line, "more than " + std::to_string(kMaxItems) + " items");
    return;
  }
  owner.items.push_back(ItemTemplate{t[1].text, checked});
}

void Reader::Line(std::string_view text, int number) {
  const detail::Tokens split = detail::SplitTokens(text);
  if (!split.problem.empty()) return Problem(number, split.problem);
  const std::vector<Token>& t = split.tokens;
  if (t.empty()) return;
  const std::string_view word = t[0].quoted ? std::string_view{} : std::string_view(t[0].text);
  if (ended_) return Problem(number, "text after \"end\"");
  if (!haveHeader_) {
    if (!detail::EqualsIgnoringCase(word, "dialog")) return Problem(number, "the first line must be: dialog ID \"caption\"");
    return Header(t, number);
  }
  if (detail::EqualsIgnoringCase(word, "end") && t.size() == 1) ended_ = true;
  else if (detail::EqualsIgnoringCase(word, "item")) Item(t, number);
  else if (detail::EqualsIgnoringCase(word, "dialog")) Problem(number, "a second \"dialog\" line");
  else Control(t, number);
}

TemplateReading Reader::Finish() {
  if (!haveHeader_) Problem(1, "the template is empty (it must start with: dialog ID \"caption\")");
  TemplateReading reading;
  reading.problems = std::move(problems_);
  if (reading.problems.empty()) reading.dialog = std::move(dialog_);
  return reading;
}

}  // namespace

std::string_view KindName(ControlKind kind) {
  for (const KindEntry& k : kKinds) {
    if (k.kind == kind) return k.name;
  }
  return "control";
}

bool HasItems(ControlKind kind) {
  return kind == ControlKind::kList || kind == ControlKind::kCheckList || kind == ControlKind::kCombo;
}

TemplateReading ReadDialogTemplate(std::string_view text, std::string_view name) {
  Reader reader(name);
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    reader.Line(text.substr(0, end), ++number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return reader.Finish();
}

}  // namespace tarn::dialogs
