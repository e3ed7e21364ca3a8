// ASCII and binary DXF tag sources.
#include "dxf_source.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include <tarnsdk/groupcodes.h>

namespace tarn::db::detail {

// ---- lines

LineReader::LineReader(int fd) : fd_(fd), buf_(size_t(8) << 20) { data_ = buf_.data(); }

LineReader::LineReader(std::string_view memory) : data_(memory.data()), end_(memory.size()), eof_(true) {}

bool LineReader::refill() {
  if (eof_ || fd_ < 0) return false;
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);  // a very long line
  data_ = buf_.data();
  ssize_t n;
  do {
    n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
  } while (n < 0 && errno == EINTR);
  if (n < 0) { ioError_ = true; eof_ = true; return false; }
  if (n == 0) { eof_ = true; return false; }
  end_ += size_t(n);
  return true;
}

bool LineReader::next(std::string_view& line) {
  for (;;) {
    const char* start = data_ + pos_;
    const void* nl = std::memchr(start, '\n', end_ - pos_);
    if (nl) {
      const char* e = static_cast<const char*>(nl);
      size_t len = size_t(e - start);
      pos_ += len + 1;
      while (len && start[len - 1] == '\r') --len;  // "\r\r\n" from double conversions too
      line = {start, len};
      ++lineNo_;
      return true;
    }
    if (!refill()) {
      if (pos_ >= end_) return false;
      size_t len = end_ - pos_;
      while (len && start[len - 1] == '\r') --len;
      line = {start, len};
      pos_ = end_;
      ++lineNo_;
      return true;
    }
  }
}

// ---- ASCII

static std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool AsciiSource::next() {
  std::string_view codeLine;
  if (!lines_.next(codeLine)) {
    if (lines_.ioError()) error = "read error";
    return false;
  }
  line = lines_.lineNumber();
  std::string_view t = trim(codeLine);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  int c = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), c);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size()) {
    error = "a group code was expected, not \"" + std::string(codeLine.substr(0, 40)) + "\"";
    return false;
  }
  code = c;
  if (!lines_.next(value_)) {
    error = "the file ends after group code " + std::to_string(c) + " without its value";
    return false;
  }
  return true;
}

bool AsciiSource::real(double& v) {
  std::string_view t = trim(value_);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  return !t.empty() && ec == std::errc() && p == t.data() + t.size();
}

bool AsciiSource::integer(int64_t& v) {
  std::string_view t = trim(value_);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (!t.empty() && ec == std::errc() && p == t.data() + t.size()) return true;
  // Some programs write integers as reals ("1.0"); accept whole numbers.
  double d;
  if (!real(d) || !(std::fabs(d) < 9.0e18) || d != std::trunc(d)) return false;
  v = int64_t(d);
  return true;
}

// ---- binary

BinarySource::BinarySource(std::string_view data, uint64_t offset)
    : p_(data.data()), end_(data.data() + data.size()), begin_(data.data()), offset_(offset) {
  // Files of release 13 and later write two-byte group codes: the first tag
  // (0, "SECTION") then starts with two zero bytes.
  wideCodes_ = data.size() >= 2 && data[0] == 0 && data[1] == 0;
}

bool BinarySource::take(size_t n, const char*& at) {
  if (size_t(end_ - p_) < n) {
    error = "the binary data end inside a tag";
    return false;
  }
  at = p_;
  p_ += n;
  return true;
}

bool BinarySource::next() {
  if (p_ >= end_) return false;
  line = offset_ + uint64_t(p_ - begin_);
  const char* at;
  if (wideCodes_) {
    if (!take(2, at)) return false;
    int16_t c;
    std::memcpy(&c, at, 2);
    code = c;
  } else {
    if (!take(1, at)) return false;
    code = static_cast<unsigned char>(*at);
    if (code == 255) {
      if (!take(2, at)) return false;
      int16_t c;
      std::memcpy(&c, at, 2);
      code = c;
    }
  }
  switch (tcValueKind(code)) {
    case TC_KIND_REAL:
    case TC_KIND_POINT: {
      if (!take(8, at)) return false;
      std::memcpy(&real_, at, 8);
      valueKind_ = Value::Real;
      return true;
    }
    case TC_KIND_SHORT: {
      bool isBool = code >= 290 && code <= 299;
      if (isBool || (!wideCodes_ && code >= 280 && code <= 289)) {
        if (!take(1, at)) return false;
        int_ = static_cast<unsigned char>(*at);
      } else {
        if (!take(2, at)) return false;
        int16_t v;
        std::memcpy(&v, at, 2);
        int_ = v;
      }
      valueKind_ = Value::Int;
      return true;
    }
    case TC_KIND_LONG: {
      if (!take(4, at)) return false;
      int32_t v;
      std::memcpy(&v, at, 4);
      int_ = v;
      valueKind_ = Value::Int;
      return true;
    }
    case TC_KIND_INT64: {
      if (!take(8, at)) return false;
      std::memcpy(&int_, at, 8);
      valueKind_ = Value::Int;
      return true;
    }
    case TC_KIND_BINARY: {
      if (!take(1, at)) return false;
      size_t n = static_cast<unsigned char>(*at);
      if (!take(n, at)) return false;
      static const char* hex = "0123456789ABCDEF";
      scratch_.clear();
      for (size_t i = 0; i < n; ++i) {
        scratch_ += hex[static_cast<unsigned char>(at[i]) >> 4];
        scratch_ += hex[static_cast<unsigned char>(at[i]) & 15];
      }
      str_ = scratch_;
      valueKind_ = Value::Text;
      return true;
    }
    default: {
      const void* nul = std::memchr(p_, 0, size_t(end_ - p_));
      if (!nul) {
        error = "a text value is not terminated";
        return false;
      }
      size_t n = size_t(static_cast<const char*>(nul) - p_);
      str_ = {p_, n};
      p_ += n + 1;
      valueKind_ = Value::Text;
      return true;
    }
  }
}

bool BinarySource::real(double& v) {
  if (valueKind_ == Value::Real) { v = real_; return true; }
  if (valueKind_ == Value::Int) { v = double(int_); return true; }
  return false;
}

bool BinarySource::integer(int64_t& v) {
  if (valueKind_ == Value::Int) { v = int_; return true; }
  return false;
}

std::string_view BinarySource::raw() {
  if (valueKind_ == Value::Text) return str_;
  scratch_ = valueKind_ == Value::Int ? std::to_string(int_) : std::to_string(real_);
  return scratch_;
}

}  // namespace tarn::db::detail
