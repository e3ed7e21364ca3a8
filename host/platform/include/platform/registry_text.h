// The text form of a registry root: the records a settings file holds, the
// reader that turns a file's bytes into them (reporting each damaged line
// with its file and line number) and the writer that turns them back.
//
// The format, one item per line:
//   ; comment                  (also lines starting with #, and blank lines)
//   [Software\Tarn\Key]        a key, by its full path below the root
//   "Name"="text"              a REG_SZ value; escapes \\ \" \n \r \t \xHH
//   "Name"=dword:0000002a      a REG_DWORD value, hexadecimal
//   "Name"=qword:000000000000002a
//   "Name"=hex:01,02,ff        a REG_BINARY value
//   @="text"                   the key's unnamed default value
#ifndef TARN_PLATFORM_REGISTRY_TEXT_H
#define TARN_PLATFORM_REGISTRY_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::platform {

// Value types, numbered as their Windows counterparts.
enum class ValueType : uint32_t {
  kNone = 0,
  kString = 1,   // REG_SZ: UTF-8 text, kept without its terminating NUL
  kBinary = 3,   // REG_BINARY
  kDword = 4,    // REG_DWORD: 4 bytes, little-endian
  kQword = 11,   // REG_QWORD: 8 bytes, little-endian
};

struct RegistryValue {
  std::string name;   // empty for the key's default value
  ValueType type = ValueType::kNone;
  std::string data;   // raw bytes as described for each type

  bool operator==(const RegistryValue&) const = default;
};

struct RegistryKeyRecord {
  std::string path;   // components separated by a backslash; empty: the root
  std::vector<RegistryValue> values;

  bool operator==(const RegistryKeyRecord&) const = default;
};

struct RegistryText {
  std::vector<RegistryKeyRecord> keys;   // in file order; a path may repeat
  std::vector<std::string> problems;     // "file:line: what is wrong"
};

// Longest key path (in components) and key name (in bytes) the store takes.
inline constexpr size_t kMaxKeyDepth = 512;
inline constexpr size_t kMaxKeyNameBytes = 255;

// Reads the text of a settings file. Never fails: damaged lines are skipped
// and reported, everything that could be read is kept.
RegistryText ParseRegistryText(std::string_view text, std::string_view fileName);

// Writes records in the format above, with a comment header naming the root.
std::string FormatRegistryText(const std::vector<RegistryKeyRecord>& keys,
                               std::string_view rootName);

// Whether a key path is acceptable: no empty, over-long or control-character
// components and at most kMaxKeyDepth of them. An empty path is the root.
bool IsValidKeyPath(std::string_view path);

// Little-endian byte forms of the integer value types.
std::string DwordBytes(uint32_t value);
std::string QwordBytes(uint64_t value);

}  // namespace tarn::platform

#endif
