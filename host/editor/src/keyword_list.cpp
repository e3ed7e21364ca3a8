// Parsing and matching keyword lists.
#include "editor/keyword_list.h"

#include <cctype>
#include <sstream>

namespace tarn::editor {
namespace {

std::vector<std::string> words(std::string_view text) {
  std::vector<std::string> out;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

bool equalFold(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string capitals(std::string_view keyword) {
  std::string out;
  for (char c : keyword)
    if (std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c))) out += c;
  return out;
}

// Leading characters up to and including the last capital, when the
// capitals form the start of the word ("LType" -> 2; "eXit" -> 0).
size_t leadingCapitals(std::string_view keyword) {
  size_t n = 0;
  while (n < keyword.size() && !std::islower(static_cast<unsigned char>(keyword[n]))) ++n;
  return capitals(keyword).size() == n ? n : 0;
}

}  // namespace

bool keywordMatches(std::string_view keyword, std::string_view reply) {
  if (reply.empty()) return false;
  std::string caps = capitals(keyword);
  if (caps.empty()) caps = keyword;  // no capitals: only the full word
  if (equalFold(reply, caps) || equalFold(reply, keyword)) return true;
  size_t lead = leadingCapitals(keyword);
  return lead > 0 && reply.size() > lead && reply.size() < keyword.size() &&
         equalFold(reply, keyword.substr(0, reply.size()));
}

KeywordList KeywordList::parse(std::string_view text) {
  KeywordList list;
  size_t split = text.find(" _");
  bool globalsGiven = split != std::string_view::npos || text.starts_with('_');
  if (text.starts_with('_')) split = 0;
  list.local_ = words(text.substr(0, globalsGiven ? split : text.size()));
  if (globalsGiven) list.global_ = words(text.substr(split + (split == 0 ? 1 : 2)));
  if (split == 0) list.local_ = list.global_;
  // Globals that are missing stand for their local names; extra ones go.
  list.global_.resize(list.local_.size());
  for (size_t i = 0; i < list.local_.size(); ++i)
    if (list.global_[i].empty()) list.global_[i] = list.local_[i];
  return list;
}

std::optional<size_t> KeywordList::match(std::string_view reply) const {
  bool global = reply.starts_with('_');
  if (global) reply.remove_prefix(1);
  const auto& names = global ? global_ : local_;
  for (size_t i = 0; i < names.size(); ++i)
    if (keywordMatches(names[i], reply)) return i;
  if (!global)  // a global name typed without its underscore still counts
    for (size_t i = 0; i < global_.size(); ++i)
      if (equalFold(global_[i], reply)) return i;
  return std::nullopt;
}

}  // namespace tarn::editor
