// Reading and writing the "DSTYLE" override list in extended data.
#include "dim_overrides.h"

namespace tarn::commands::dims {

using db::Tag;
using db::TagList;

namespace {

// [begin, end) of the "ACAD" application's extended data; begin == end when absent.
std::pair<size_t, size_t> acadGroup(const TagList& tags) {
  for (size_t i = 0; i < tags.size(); ++i) {
    if (tags[i].code != 1001 || tags[i].s != "ACAD") continue;
    size_t end = i + 1;
    while (end < tags.size() && tags[end].code != 1001) ++end;
    return {i, end};
  }
  return {tags.size(), tags.size()};
}

// [begin, end] of 1000 "DSTYLE" .. its closing 1002 "}" inside [from, to).
std::optional<std::pair<size_t, size_t>> dstyleList(const TagList& tags, size_t from, size_t to) {
  for (size_t i = from; i + 1 < to; ++i) {
    if (tags[i].code != 1000 || tags[i].s != "DSTYLE" || tags[i + 1].code != 1002 || tags[i + 1].s != "{") continue;
    int depth = 0;
    for (size_t j = i + 1; j < to; ++j) {
      if (tags[j].code != 1002) continue;
      depth += tags[j].s == "{" ? 1 : -1;
      if (depth == 0) return std::make_pair(i, j);
    }
    return std::make_pair(i, to - 1);  // an unclosed list runs to the end of the group
  }
  return std::nullopt;
}

}  // namespace

std::vector<OverridePair> readOverrides(const TagList& tags) {
  std::vector<OverridePair> out;
  auto [a, b] = acadGroup(tags);
  auto list = dstyleList(tags, a, b);
  if (!list) return out;
  for (size_t i = list->first + 2; i + 1 <= list->second; ++i) {
    if (tags[i].code != 1070 || i + 1 >= list->second || tags[i + 1].code == 1002) continue;
    out.push_back({int(tags[i].i), tags[i + 1]});
    ++i;
  }
  return out;
}

TagList withOverrides(const TagList& tags, const std::vector<OverridePair>& pairs) {
  TagList block;
  if (!pairs.empty()) {
    block = {Tag::str(1000, "DSTYLE"), Tag::str(1002, "{")};
    for (const OverridePair& p : pairs) {
      block.push_back(Tag::integer(1070, p.code));
      block.push_back(p.value);
    }
    block.push_back(Tag::str(1002, "}"));
  }
  TagList out(tags.begin(), tags.end());
  auto [a, b] = acadGroup(out);
  if (a == b) {
    if (block.empty()) return out;
    out.push_back(Tag::str(1001, "ACAD"));
    out.insert(out.end(), block.begin(), block.end());
    return out;
  }
  auto list = dstyleList(out, a, b);
  size_t at = list ? list->first : b;
  if (list) out.erase(out.begin() + long(list->first), out.begin() + long(list->second) + 1);
  out.insert(out.begin() + long(at), block.begin(), block.end());
  auto [a2, b2] = acadGroup(out);
  if (b2 == a2 + 1) out.erase(out.begin() + long(a2));  // nothing left of "ACAD"
  return out;
}

void mergeOverrides(std::vector<OverridePair>& into, const std::vector<OverridePair>& changes) {
  for (const OverridePair& c : changes) {
    bool set = false;
    for (OverridePair& p : into)
      if (p.code == c.code) {
        p.value = c.value;
        set = true;
      }
    if (!set) into.push_back(c);
  }
}

std::optional<Tag> overrideValue(const std::vector<OverridePair>& pairs, int code) {
  for (const OverridePair& p : pairs)
    if (p.code == code) return p.value;
  return std::nullopt;
}

}  // namespace tarn::commands::dims
