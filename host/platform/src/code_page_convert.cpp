// Conversion of text between UTF-8 and a code page, both ways.
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "code_page_table.h"
#include "iconv_cache.h"
#include "platform/code_page.h"
#include "utf8.h"

namespace tarn::platform {
namespace {

using detail::CodePageInfo;

constexpr size_t kMinChunk = 64;
constexpr size_t kMaxChunk = 64 * 1024;

// Runs iconv over the whole input, growing the output as needed. At a byte
// sequence iconv cannot convert, onBad(position, piece) puts a stand-in into
// piece and answers how many input bytes to skip, or 0 to stop there.
//
// The input goes in chunks: iconv converts ahead into its own buffers and
// throws that work away when it stops at a bad sequence, so after one the
// chunks start small and grow again while the text converts cleanly.
template <class OnBad>
void RunIconv(iconv_t cd, std::string_view input, std::string& out, size_t sizeHint,
              OnBad onBad) {
  size_t used = out.size();
  out.resize(used + sizeHint + 16);
  size_t offset = 0;
  size_t chunk = kMaxChunk;
  std::string piece;
  while (offset < input.size()) {
    const size_t chunkEnd = std::min(input.size(), offset + chunk);
    char* in = const_cast<char*>(input.data() + offset);
    size_t inLeft = chunkEnd - offset;
    char* dst = out.data() + used;
    size_t dstLeft = out.size() - used;
    const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    const int err = errno;
    used = out.size() - dstLeft;
    offset = chunkEnd - inLeft;
    if (rc != static_cast<size_t>(-1) || (err == EINVAL && chunkEnd < input.size())) {
      chunk = std::min(kMaxChunk, chunk * 2);   // clean, or a sequence cut by the chunk end
      continue;
    }
    if (err == E2BIG) {
      out.resize(out.size() * 2 + 16);
      continue;
    }
    piece.clear();
    const size_t skip = onBad(offset, piece);
    if (out.size() - used < piece.size()) out.resize(out.size() * 2 + piece.size());
    out.replace(used, piece.size(), piece);
    used += piece.size();
    if (skip == 0) break;
    offset += skip;
    chunk = kMinChunk;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
}

bool IsC1Byte(unsigned value) { return value >= 0x80 && value <= 0x9F; }

DecodeResult DecodeWith(const CodePageInfo& info, std::string_view bytes) {
  DecodeResult result;
  if (info.codePage == kCodePageUtf8) {
    result.text = detail::SanitizeUtf8(bytes, &result.invalidSequences);
    return result;
  }
  if (info.asciiCompatible && detail::IsAscii(bytes)) {
    result.text = std::string(bytes);
    return result;
  }
  iconv_t cd = detail::CachedIconv(info, detail::IconvDirection::kDecode);
  if (cd == nullptr) {
    result.status = Status::kNoUnicodeTranslation;
    return result;
  }
  RunIconv(cd, bytes, result.text, bytes.size() * 3, [&](size_t at, std::string& piece) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (info.c1Holes && IsC1Byte(byte)) {
      detail::AppendUtf8(piece, byte);
    } else {
      detail::AppendUtf8(piece, detail::kReplacementChar);
      ++result.invalidSequences;
    }
    return size_t{1};
  });
  return result;
}

void AppendEscape(std::string& out, char32_t cp) {
  char buffer[16];
  auto unit = [&](unsigned value) {
    std::snprintf(buffer, sizeof buffer, "\\U+%04X", value);
    out += buffer;
  };
  if (cp >= 0x10000) {
    const char32_t v = cp - 0x10000;
    unit(0xD800 + static_cast<unsigned>(v >> 10));
    unit(0xDC00 + static_cast<unsigned>(v & 0x3FF));
  } else {
    unit(static_cast<unsigned>(cp));
  }
}

// iconv finds close characters through the tables of the thread's locale;
// a fixed UTF-8 locale makes the answer the same whatever locale the
// program runs in (the plain C locale has almost no such tables).
class BestFitLocaleScope {
 public:
  BestFitLocaleScope() {
    static const locale_t fixed = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (fixed != nullptr) previous_ = uselocale(fixed);
  }
  ~BestFitLocaleScope() {
    if (previous_ != nullptr) uselocale(previous_);
  }
  BestFitLocaleScope(const BestFitLocaleScope&) = delete;
  BestFitLocaleScope& operator=(const BestFitLocaleScope&) = delete;

 private:
  locale_t previous_ = nullptr;
};

// A close character for one code point, or empty.
std::string BestFitOf(const CodePageInfo& info, std::string_view utf8Char) {
  iconv_t cd = detail::CachedIconv(info, detail::IconvDirection::kEncodeBestFit);
  if (cd == nullptr) return {};
  const BestFitLocaleScope locale;
  std::string out;
  bool failed = false;
  RunIconv(cd, utf8Char, out, 8, [&](size_t, std::string&) {
    failed = true;
    return size_t{0};
  });
  return failed ? std::string() : out;
}

class Encoder {
 public:
  Encoder(const CodePageInfo& info, std::string_view utf8, Unrepresentable mode)
      : info_(info), input_(utf8), mode_(mode) {}

  EncodeResult Run() {
    if (info_.codePage == kCodePageUtf8 || (info_.asciiCompatible && detail::IsAscii(input_))) {
      return CopyUtf8();
    }
    iconv_t cd = detail::CachedIconv(info_, detail::IconvDirection::kEncode);
    if (cd == nullptr) {
      result_.status = Status::kNoUnicodeTranslation;
      return std::move(result_);
    }
    RunIconv(cd, input_, result_.bytes, input_.size(),
             [this](size_t at, std::string& piece) { return OnBad(at, piece); });
    return std::move(result_);
  }

 private:
  // UTF-8 target or pure ASCII: only invalid input needs handling.
  EncodeResult CopyUtf8() {
    size_t pos = 0;
    while (pos < input_.size()) {
      const size_t start = pos;
      if (detail::DecodeUtf8At(input_, pos) != detail::kInvalidCodePoint) {
        result_.bytes.append(input_.substr(start, pos - start));
      } else if (Substitute(start, detail::kReplacementChar, {}, result_.bytes) == 0) {
        break;
      }
    }
    return std::move(result_);
  }

  size_t OnBad(size_t at, std::string& piece) {
    size_t pos = at;
    char32_t cp = detail::DecodeUtf8At(input_, pos);
    const size_t length = pos - at;
    if (cp == detail::kInvalidCodePoint) cp = detail::kReplacementChar;
    if (info_.c1Holes && IsC1Byte(static_cast<unsigned>(cp))) {
      piece.push_back(static_cast<char>(cp));
      return length;
    }
    return Substitute(at, cp, input_.substr(at, length), piece) == 0 ? 0 : length;
  }

  // Writes the stand-in of one character to sink; answers 0 when stopping.
  size_t Substitute(size_t at, char32_t cp, std::string_view utf8Char, std::string& sink) {
    if (mode_ == Unrepresentable::kBestFit && !utf8Char.empty()) {
      const std::string fit = BestFitOf(info_, utf8Char);
      if (!fit.empty() && fit != "?") {
        sink += fit;
        return 1;
      }
    }
    result_.unrepresentable.push_back({at, cp});
    switch (mode_) {
      case Unrepresentable::kStop:
        result_.status = Status::kNoUnicodeTranslation;
        return 0;
      case Unrepresentable::kEscape:
        AppendEscape(sink, cp);
        return 1;
      case Unrepresentable::kBestFit:
      case Unrepresentable::kDefaultChar:
        sink.push_back('?');
        return 1;
    }
    return 1;
  }

  const CodePageInfo& info_;
  std::string_view input_;
  Unrepresentable mode_;
  EncodeResult result_;
};

}  // namespace

DecodeResult DecodeToUtf8(std::string_view bytes, int codePage) {
  const CodePageInfo* info = detail::FindCodePage(codePage);
  if (info == nullptr) {
    DecodeResult result;
    result.status = Status::kInvalidParameter;
    return result;
  }
  return DecodeWith(*info, bytes);
}

DecodeResult DecodeToUtf8(std::string_view bytes, std::string_view codePageName) {
  const CodePageLookup lookup = CodePageFromName(codePageName);
  DecodeResult result = DecodeToUtf8(bytes, lookup.codePage);
  result.fellBack = lookup.fellBack;
  return result;
}

EncodeResult EncodeFromUtf8(std::string_view utf8, int codePage, Unrepresentable mode) {
  const CodePageInfo* info = detail::FindCodePage(codePage);
  if (info == nullptr) {
    EncodeResult result;
    result.status = Status::kInvalidParameter;
    return result;
  }
  return Encoder(*info, utf8, mode).Run();
}

EncodeResult EncodeFromUtf8(std::string_view utf8, std::string_view codePageName,
                            Unrepresentable mode) {
  const CodePageLookup lookup = CodePageFromName(codePageName);
  EncodeResult result = EncodeFromUtf8(utf8, lookup.codePage, mode);
  result.fellBack = lookup.fellBack;
  return result;
}

}  // namespace tarn::platform
