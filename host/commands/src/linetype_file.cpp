// The reader of linetype definition files.
#include "linetype_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

namespace tarn::commands {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool number(std::string_view s, double& out) {
  s = trim(s);
  if (s.starts_with('+')) s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

// An angle with an optional unit: "90", "90d", "1.5r", "100g" (degrees
// without a unit).
bool angle(std::string_view s, double& radians) {
  s = trim(s);
  double unit = std::numbers::pi / 180;
  if (!s.empty() && (s.back() == 'd' || s.back() == 'D')) s.remove_suffix(1);
  else if (!s.empty() && (s.back() == 'r' || s.back() == 'R')) unit = 1, s.remove_suffix(1);
  else if (!s.empty() && (s.back() == 'g' || s.back() == 'G')) unit = std::numbers::pi / 200, s.remove_suffix(1);
  double v = 0;
  if (!number(s, v)) return false;
  radians = v * unit;
  return true;
}

// Fields separated by commas outside quotes and brackets.
bool splitFields(std::string_view s, std::vector<std::string_view>& out) {
  bool quoted = false;
  int depth = 0;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') quoted = !quoted;
    else if (!quoted && c == '[') ++depth;
    else if (!quoted && c == ']') --depth;
    else if (!quoted && depth == 0 && c == ',') {
      out.push_back(trim(s.substr(start, i - start)));
      start = i + 1;
    }
    if (depth < 0 || depth > 1) return false;
  }
  if (quoted || depth != 0) return false;
  out.push_back(trim(s.substr(start)));
  return true;
}

// The inside of "[...]": what it embeds and how.
std::string embedded(std::string_view inside, LinetypeElement& e) {
  std::vector<std::string_view> f;
  if (!splitFields(inside, f) || f.size() < 2) return "an embedded element needs a text or shape and a style or file";
  if (f[0].size() >= 2 && f[0].front() == '"' && f[0].back() == '"') {
    e.embedded = LinetypeElement::Embedded::Text;
    e.text = std::string(f[0].substr(1, f[0].size() - 2));
  } else if (!f[0].empty() && f[0].find('"') == std::string_view::npos) {
    e.embedded = LinetypeElement::Embedded::Shape;
    e.text = std::string(f[0]);
  } else {
    return "the embedded text \"" + std::string(f[0]) + "\" is not quoted properly";
  }
  e.source = std::string(f[1]);
  if (e.source.empty()) return "an embedded element needs a style or shape file";
  for (size_t i = 2; i < f.size(); ++i) {
    std::string_view field = f[i];
    size_t eq = field.find('=');
    if (eq != 1) return "\"" + std::string(field) + "\" is not a setting such as S=1";
    char key = char(std::toupper(static_cast<unsigned char>(field[0])));
    std::string_view value = field.substr(2);
    bool ok = key == 'S' ? number(value, e.scale)
              : key == 'X' ? number(value, e.xOffset)
              : key == 'Y' ? number(value, e.yOffset)
              : (key == 'R' || key == 'A' || key == 'U') ? angle(value, e.rotation)
                                                         : false;
    if (!ok) return "\"" + std::string(field) + "\" is not a valid setting";
    if (key == 'A' || key == 'U') e.absoluteRotation = true;
  }
  return {};
}

std::string patternElements(std::string_view line, LinetypeDefinition& def) {
  std::vector<std::string_view> f;
  if (!splitFields(line, f)) return "unbalanced quotes or brackets";
  if (f.empty() || (f[0] != "A" && f[0] != "a")) return "a pattern line starts with \"A,\"";
  if (f.size() < 2) return "the pattern has no dashes";
  for (size_t i = 1; i < f.size(); ++i) {
    std::string_view field = f[i];
    if (field.starts_with('[')) {
      if (def.elements.empty() || !field.ends_with(']')) return "an embedded element must follow a dash or gap";
      if (def.elements.back().embedded != LinetypeElement::Embedded::None) return "two embedded elements in a row";
      if (std::string why = embedded(field.substr(1, field.size() - 2), def.elements.back()); !why.empty()) return why;
      continue;
    }
    LinetypeElement e;
    if (!number(field, e.length)) return "\"" + std::string(field) + "\" is not a dash length";
    def.elements.push_back(e);
  }
  if (def.elements.empty()) return "the pattern has no dashes";
  if (!std::isfinite(def.patternLength())) return "the pattern is too long";
  return {};
}

std::string where(std::string_view file, int line) { return std::string(file) + ":" + std::to_string(line) + ": "; }

}  // namespace

double LinetypeDefinition::patternLength() const {
  double total = 0;
  for (const LinetypeElement& e : elements) total += std::fabs(e.length);
  return total;
}

bool parseLinetypes(std::string_view text, std::string_view fileName, std::vector<LinetypeDefinition>& out,
                    std::string& error) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  bool awaitingPattern = false;
  int lineNo = 0;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = trim(text.substr(0, nl));
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    ++lineNo;
    if (line.empty() || line.starts_with(';')) continue;
    if (line.starts_with('*')) {
      if (awaitingPattern) {
        error = where(fileName, out.back().line) + "linetype " + out.back().name + " has no pattern line";
        return false;
      }
      size_t comma = line.find(',');
      LinetypeDefinition def;
      def.name = std::string(trim(line.substr(1, comma == std::string_view::npos ? std::string_view::npos : comma - 1)));
      if (comma != std::string_view::npos) def.description = std::string(trim(line.substr(comma + 1)));
      def.line = lineNo;
      if (def.name.empty() || def.name.find_first_of("<>/\\\":;?*|,=`") != std::string::npos) {
        error = where(fileName, lineNo) + "\"" + def.name + "\" is not a valid linetype name";
        return false;
      }
      out.push_back(std::move(def));
      awaitingPattern = true;
      continue;
    }
    if (!awaitingPattern) {
      error = where(fileName, lineNo) + "a pattern line must follow a *NAME line";
      return false;
    }
    if (std::string why = patternElements(line, out.back()); !why.empty()) {
      error = where(fileName, lineNo) + why;
      return false;
    }
    awaitingPattern = false;
  }
  if (awaitingPattern) {
    error = where(fileName, out.back().line) + "linetype " + out.back().name + " has no pattern line";
    return false;
  }
  return true;
}

}  // namespace tarn::commands
