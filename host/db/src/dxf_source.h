// Tag sources for the DXF reader: ASCII text (streamed from a file or taken
// from memory) and binary DXF. Each yields one group code and its value at a
// time, with the line (or byte offset) where it stands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text_codec.h"

namespace tarn::db::detail {

class TagSource {
 public:
  virtual ~TagSource() = default;
  // Moves to the next tag. False at the end of the data or on a fault
  // (then error() is not empty).
  virtual bool next() = 0;
  // The value as text, decoded to UTF-8 (string kinds and the "0" names).
  virtual std::string_view text() = 0;
  virtual bool real(double& v) = 0;
  virtual bool integer(int64_t& v) = 0;
  // The undecoded value as it stands (handles, hex data, numbers).
  virtual std::string_view raw() = 0;

  int code = 0;
  uint64_t line = 0;
  std::string error;
  TextCodec codec;
};

// Reads lines from a file descriptor in large chunks, or from memory.
class LineReader {
 public:
  explicit LineReader(int fd);
  explicit LineReader(std::string_view memory);
  bool next(std::string_view& line);
  uint64_t lineNumber() const { return lineNo_; }
  bool ioError() const { return ioError_; }

 private:
  bool refill();
  int fd_ = -1;
  std::vector<char> buf_;
  const char* data_ = nullptr;
  size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool ioError_ = false;
  uint64_t lineNo_ = 0;
};

class AsciiSource final : public TagSource {
 public:
  explicit AsciiSource(LineReader& lines) : lines_(lines) {}
  bool next() override;
  std::string_view text() override { return codec.decode(value_); }
  bool real(double& v) override;
  bool integer(int64_t& v) override;
  std::string_view raw() override { return value_; }

 private:
  LineReader& lines_;
  std::string_view value_;
};

class BinarySource final : public TagSource {
 public:
  // `data` starts right after the sentinel.
  BinarySource(std::string_view data, uint64_t offset);
  bool next() override;
  std::string_view text() override { return codec.decode(str_); }
  bool real(double& v) override;
  bool integer(int64_t& v) override;
  std::string_view raw() override;

 private:
  bool take(size_t n, const char*& at);
  const char* p_;
  const char* end_;
  const char* begin_;
  uint64_t offset_;
  bool wideCodes_ = true;
  enum class Value { Text, Real, Int } valueKind_ = Value::Text;
  std::string_view str_;
  double real_ = 0;
  int64_t int_ = 0;
  std::string scratch_;
};

// The sentinel of binary DXF files, without its first eight bytes.
inline constexpr std::string_view kBinarySentinelTail{"Binary DXF\r\n\x1a\0", 14};
inline constexpr size_t kBinarySentinelSize = 22;

}  // namespace tarn::db::detail
