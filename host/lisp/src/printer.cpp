// The printer: prin1 and princ forms of every kind of value.
#include "lisp/printer.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "function_object.h"

namespace tarn::lisp {

namespace {

class Printer {
 public:
  Printer(PrintStyle style, const PrintLimits& limits, std::string& out)
      : style_(style), limits_(limits), out_(out) {}

  bool print(const Value& v, int depth);

 private:
  bool emit(std::string_view text);
  bool printList(const Value& v, int depth);
  bool printString(const std::string& text);
  bool printName(const char* label, const Value& v);
  bool printFunction(const Value& v);

  PrintStyle style_;
  const PrintLimits& limits_;
  std::string& out_;
};

bool Printer::emit(std::string_view text) {
  std::size_t room = limits_.maxChars > out_.size() ? limits_.maxChars - out_.size() : 0;
  if (text.size() <= room) {
    out_.append(text);
    return true;
  }
  out_.append(text.substr(0, room));
  return false;
}

bool Printer::print(const Value& v, int depth) {
  switch (v.type()) {
    case Type::Nil: return emit("nil");
    case Type::Int: return emit(std::to_string(v.asInt()));
    case Type::Real: return emit(formatReal(v.asReal()));
    case Type::String: return printString(v.text());
    case Type::Symbol: return emit(v.text());
    case Type::Cons: return printList(v, depth + 1);
    case Type::EntityName: return printName("Entity name", v);
    case Type::SelectionSet: return printName("Selection set", v);
    case Type::Function: return printFunction(v);
  }
  return true;
}

bool Printer::printList(const Value& v, int depth) {
  if (depth > limits_.maxDepth) return emit("...");
  if (!emit("(")) return false;
  const Value* cell = &v;
  for (bool first = true; cell->isCons(); cell = &cell->cdr(), first = false) {
    if (!first && !emit(" ")) return false;
    if (!print(cell->car(), depth)) return false;
  }
  if (!cell->isNil()) {
    if (!emit(" . ") || !print(*cell, depth)) return false;
  }
  return emit(")");
}

bool Printer::printString(const std::string& text) {
  if (style_ == PrintStyle::Princ) return emit(text);
  std::string quoted = "\"";
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      case '\x1b': quoted += "\\e"; break;
      default:
        if (u < 0x20 || u == 0x7f) {
          char octal[8];
          std::snprintf(octal, sizeof octal, "\\%03o", u);
          quoted += octal;
        } else {
          quoted.push_back(c);
        }
    }
  }
  quoted.push_back('"');
  return emit(quoted);
}

bool Printer::printName(const char* label, const Value& v) {
  std::uint64_t word = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(v.nameWord(1))) << 32) |
                       static_cast<std::uint32_t>(v.nameWord(0));
  char text[64];
  std::snprintf(text, sizeof text, "<%s: %llx>", label, static_cast<unsigned long long>(word));
  return emit(text);
}

bool Printer::printFunction(const Value& v) {
  static constexpr const char* kLabels[] = {"SUBR", "USUBR", "EXSUBR"};
  const std::string& name = v.functionName();
  std::string text = std::string("#<") + kLabels[static_cast<int>(v.functionKind())] + " " +
                     (name.empty() ? "lambda" : name) + ">";
  return emit(text);
}

}  // namespace

std::string formatReal(double d) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 6);
  std::string text(buf, ec == std::errc() ? end : buf);
  if (text.find_first_of("in") != std::string::npos) return text;  // inf, nan
  std::size_t e = text.find('e');
  std::size_t mantissaEnd = e == std::string::npos ? text.size() : e;
  if (text.find('.') == std::string::npos) text.insert(mantissaEnd, ".0");
  return text;
}

bool printValue(const Value& v, PrintStyle style, const PrintLimits& limits, std::string& out) {
  Printer printer(style, limits, out);
  return printer.print(v, 0);
}

std::string toString(const Value& v, PrintStyle style) {
  std::string out;
  printValue(v, style, PrintLimits{}, out);
  return out;
}

std::string toShortString(const Value& v, std::size_t maxChars) {
  PrintLimits limits;
  limits.maxChars = maxChars;
  std::string out;
  if (!printValue(v, PrintStyle::Prin1, limits, out)) out += "...";
  return out;
}

}  // namespace tarn::lisp
