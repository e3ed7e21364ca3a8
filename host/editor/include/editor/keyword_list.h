// Keyword lists of prompts: "Local1 Local2 _Global1 Global2". The part after
// " _" holds the global names, one for each local name. A keyword is typed
// by its capitals (its abbreviation) or in full; "_Name" picks a global one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::editor {

class KeywordList {
 public:
  KeywordList() = default;
  static KeywordList parse(std::string_view text);

  bool empty() const { return local_.empty(); }
  size_t size() const { return local_.size(); }
  const std::string& local(size_t i) const { return local_[i]; }
  const std::string& global(size_t i) const { return global_[i]; }

  // The index of the keyword the reply names, if any.
  std::optional<size_t> match(std::string_view reply) const;

 private:
  std::vector<std::string> local_;
  std::vector<std::string> global_;
};

// True when the reply names the keyword: its capitals, or the keyword in
// full, or any longer prefix of it that holds all its leading capitals
// (letter case ignored).
bool keywordMatches(std::string_view keyword, std::string_view reply);

}  // namespace tarn::editor
