// Text decoding for DXF files: the drawing's code page before version 2007,
// UTF-8 from 2007 on, and \U+XXXX sequences in both.
#pragma once

#include <string>
#include <string_view>

namespace tarn::db::detail {

class TextCodec {
 public:
  TextCodec() = default;
  TextCodec(const TextCodec&) = delete;
  TextCodec& operator=(const TextCodec&) = delete;

  // From now on bytes above 127 are in this code page ("ANSI_1252" ...);
  // an empty name means UTF-8.
  void setCodepage(std::string_view name);
  // The text in UTF-8; a view into the input when nothing needed decoding.
  std::string_view decode(std::string_view raw);

 private:
  int codePage_ = 0;  // 0: UTF-8
  std::string scratch_, converted_;
};

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, uint32_t cp);

}  // namespace tarn::db::detail
