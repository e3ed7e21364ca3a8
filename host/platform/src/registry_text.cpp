// Reading and writing the text form of a registry root.
#include "platform/registry_text.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "utf8.h"

namespace tarn::platform {
namespace {

constexpr size_t kMaxProblemsKept = 100;

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexNumber(std::string_view digits, size_t maxDigits, uint64_t* out) {
  if (digits.empty() || digits.size() > maxDigits) return false;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  *out = value;
  return true;
}

// The escape after a backslash inside quotes; pos is on the escaped letter.
bool ParseEscape(std::string_view line, size_t& pos, std::string& out) {
  static constexpr struct { char letter; char value; } kSimple[] = {
      {'\\', '\\'}, {'"', '"'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}};
  const char letter = line[pos];
  for (const auto& e : kSimple) {
    if (e.letter == letter) {
      out.push_back(e.value);
      ++pos;
      return true;
    }
  }
  if (letter != 'x' || pos + 3 > line.size()) return false;
  const int hi = HexDigit(line[pos + 1]);
  const int lo = HexDigit(line[pos + 2]);
  if (hi < 0 || lo < 0) return false;
  out.push_back(static_cast<char>(hi * 16 + lo));
  pos += 3;
  return true;
}

// A quoted text starting at pos (on the opening quote); pos ends after the
// closing quote.
std::optional<std::string> ParseQuoted(std::string_view line, size_t& pos) {
  std::string out;
  ++pos;
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      ++pos;
      if (pos >= line.size() || !ParseEscape(line, pos, out)) return std::nullopt;
      continue;
    }
    out.push_back(c);
    ++pos;
  }
  return std::nullopt;
}

bool ParseHexBytes(std::string_view list, std::string* out) {
  list = TrimSpaces(list);
  if (list.empty()) return true;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    uint64_t byte = 0;
    if (!ParseHexNumber(TrimSpaces(list.substr(start, comma - start)), 2, &byte)) return false;
    out->push_back(static_cast<char>(byte));
    start = comma + 1;
  }
  return true;
}

// The data after '=': a quoted text or one of the typed prefixes.
std::optional<RegistryValue> ParseValueData(std::string_view data, std::string* error) {
  data = TrimSpaces(data);
  RegistryValue value;
  if (!data.empty() && data.front() == '"') {
    size_t pos = 0;
    auto text = ParseQuoted(data, pos);
    if (!text || !TrimSpaces(data.substr(pos)).empty()) {
      *error = "text value not properly quoted";
      return std::nullopt;
    }
    value.type = ValueType::kString;
    value.data = std::move(*text);
    return value;
  }
  uint64_t number = 0;
  if (data.starts_with("dword:")) {
    if (!ParseHexNumber(data.substr(6), 8, &number)) {
      *error = "dword value needs 1 to 8 hexadecimal digits";
      return std::nullopt;
    }
    value.type = ValueType::kDword;
    value.data = DwordBytes(static_cast<uint32_t>(number));
    return value;
  }
  if (data.starts_with("qword:")) {
    if (!ParseHexNumber(data.substr(6), 16, &number)) {
      *error = "qword value needs 1 to 16 hexadecimal digits";
      return std::nullopt;
    }
    value.type = ValueType::kQword;
    value.data = QwordBytes(number);
    return value;
  }
  if (data.starts_with("hex:")) {
    value.type = ValueType::kBinary;
    if (!ParseHexBytes(data.substr(4), &value.data)) {
      *error = "hex value needs two-digit bytes separated by commas";
      return std::nullopt;
    }
    return value;
  }
  *error = "unknown kind of value (expected \"text\", dword:, qword: or hex:)";
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::string_view fileName) : fileName_(fileName) {}

  RegistryText Run(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      ++lineNumber_;
      ParseLine(TrimSpaces(text.substr(start, end - start)));
      start = end + 1;
    }
    if (dropped_ > 0) {
      result_.problems.push_back(fileName_ + ": " + std::to_string(dropped_) +
                                 " further problems not listed");
    }
    return std::move(result_);
  }

 private:
  void ParseLine(std::string_view line) {
    if (line.empty() || line.front() == ';' || line.front() == '#') return;
    if (line.front() == '[') {
      ParseKeyHeader(line);
    } else if (line.front() == '"' || line.front() == '@') {
      ParseValueLine(line);
    } else {
      Problem("not a key, a value or a comment");
    }
  }

  void ParseKeyHeader(std::string_view line) {
    if (line.back() != ']' || line.size() < 2) {
      Problem("key line must end with ']'");
      inBadKey_ = true;
      return;
    }
    const std::string_view path = line.substr(1, line.size() - 2);
    if (!IsValidKeyPath(path)) {
      Problem("invalid key path; its values are skipped");
      inBadKey_ = true;
      return;
    }
    inBadKey_ = false;
    result_.keys.push_back(RegistryKeyRecord{std::string(path), {}});
  }

  void ParseValueLine(std::string_view line) {
    if (inBadKey_) return;   // reported once, at the key line
    if (result_.keys.empty()) {
      Problem("value before any [key] line");
      return;
    }
    std::string name;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      auto quoted = ParseQuoted(line, pos);
      if (!quoted) {
        Problem("value name not properly quoted");
        return;
      }
      name = std::move(*quoted);
    }
    const std::string_view rest = TrimSpaces(line.substr(pos));
    if (rest.empty() || rest.front() != '=') {
      Problem("expected '=' after the value name");
      return;
    }
    std::string error;
    auto value = ParseValueData(rest.substr(1), &error);
    if (!value) {
      Problem(error);
      return;
    }
    value->name = std::move(name);
    result_.keys.back().values.push_back(std::move(*value));
  }

  void Problem(std::string_view what) {
    if (result_.problems.size() >= kMaxProblemsKept) {
      ++dropped_;
      return;
    }
    result_.problems.push_back(fileName_ + ":" + std::to_string(lineNumber_) + ": " +
                               std::string(what));
  }

  std::string fileName_;
  RegistryText result_;
  size_t lineNumber_ = 0;
  size_t dropped_ = 0;
  bool inBadKey_ = false;
};

void AppendHexByte(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

// Quoted text: printable UTF-8 as it is, the rest escaped.
void AppendQuoted(std::string& out, std::string_view text) {
  static constexpr struct { char value; const char* escape; } kSimple[] = {
      {'\\', "\\\\"}, {'"', "\\\""}, {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}};
  out.push_back('"');
  size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    const auto byte = static_cast<unsigned char>(c);
    const auto simple = std::find_if(std::begin(kSimple), std::end(kSimple),
                                     [c](const auto& e) { return e.value == c; });
    if (simple != std::end(kSimple)) {
      out += simple->escape;
      ++pos;
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      AppendHexByte(out, byte);
      ++pos;
    } else if (byte < 0x80) {
      out.push_back(c);
      ++pos;
    } else {
      const size_t start = pos;
      if (detail::DecodeUtf8At(text, pos) == detail::kInvalidCodePoint) {
        out += "\\x";
        AppendHexByte(out, byte);
      } else {
        out.append(text.substr(start, pos - start));
      }
    }
  }
  out.push_back('"');
}

uint64_t LittleEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (size_t i = bytes.size(); i > 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[i - 1]);
  }
  return value;
}

void AppendHexNumber(std::string& out, uint64_t value, int digits) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%0*llx", digits, static_cast<unsigned long long>(value));
  out += buffer;
}

void AppendValueData(std::string& out, const RegistryValue& value) {
  if (value.type == ValueType::kString) {
    AppendQuoted(out, value.data);
  } else if (value.type == ValueType::kDword && value.data.size() == 4) {
    out += "dword:";
    AppendHexNumber(out, LittleEndian(value.data), 8);
  } else if (value.type == ValueType::kQword && value.data.size() == 8) {
    out += "qword:";
    AppendHexNumber(out, LittleEndian(value.data), 16);
  } else {
    out += "hex:";
    for (size_t i = 0; i < value.data.size(); ++i) {
      if (i > 0) out.push_back(',');
      AppendHexByte(out, static_cast<unsigned char>(value.data[i]));
    }
  }
}

}  // namespace

RegistryText ParseRegistryText(std::string_view text, std::string_view fileName) {
  return Parser(fileName).Run(text);
}

std::string FormatRegistryText(const std::vector<RegistryKeyRecord>& keys,
                               std::string_view rootName) {
  std::string out;
  out += "; tarncad settings store: ";
  out += rootName;
  out += "\n; Written by tarncad. Each [key] is followed by its values:\n"
         "; \"name\"=\"text\", \"name\"=dword:hex, \"name\"=qword:hex, \"name\"=hex:bytes;"
         " @ is the default value.\n";
  for (const RegistryKeyRecord& key : keys) {
    out += "\n[";
    out += key.path;
    out += "]\n";
    for (const RegistryValue& value : key.values) {
      if (value.name.empty()) {
        out.push_back('@');
      } else {
        AppendQuoted(out, value.name);
      }
      out.push_back('=');
      AppendValueData(out, value);
      out.push_back('\n');
    }
  }
  return out;
}

bool IsValidKeyPath(std::string_view path) {
  if (path.empty()) return true;
  size_t depth = 0;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(start, end - start);
    if (name.empty() || name.size() > kMaxKeyNameBytes || ++depth > kMaxKeyDepth) return false;
    for (char c : name) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7F) return false;
    }
    if (!detail::IsValidUtf8(name)) return false;
    start = end + 1;
  }
  return true;
}

std::string DwordBytes(uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string QwordBytes(uint64_t value) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace tarn::platform
