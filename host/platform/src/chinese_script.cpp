// Simplified and traditional Chinese mapping with OpenCC's tables, and the
// code page 936/950 re-encoding built on it.
#include "platform/chinese_script.h"

#include <opencc.h>

#include <cstdlib>
#include <mutex>

#include "utf8.h"

namespace tarn::platform {
namespace {

const opencc_t kNoConverter = reinterpret_cast<opencc_t>(-1);

// One converter per direction, opened on first use and shared; calls are
// serialised because a converter is not documented as thread-safe.
class ScriptConverter {
 public:
  explicit ScriptConverter(const char* tableName) : tableName_(tableName) {}
  ~ScriptConverter() {
    if (handle_ != kNoConverter) opencc_close(handle_);
  }

  Result<std::string> Convert(std::string_view utf8) {
    std::lock_guard lock(mutex_);
    if (!opened_) Open();
    if (handle_ == kNoConverter) return Result<std::string>::Fail(Status::kFileNotFound);
    char* converted = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
    if (converted == nullptr) return Result<std::string>::Fail(Status::kGeneralFailure);
    std::string out(converted);
    opencc_convert_utf8_free(converted);
    return Result<std::string>::Ok(std::move(out));
  }

 private:
  void Open() {
    opened_ = true;
    const auto table = FindScriptTable(tableName_);
    if (table) handle_ = opencc_open(table->c_str());
  }

  const char* tableName_;
  std::mutex mutex_;
  bool opened_ = false;
  opencc_t handle_ = kNoConverter;
};

ScriptConverter& ConverterFor(ChineseScript target) {
  static ScriptConverter toTraditional("s2t.json");
  static ScriptConverter toSimplified("t2s.json");
  return target == ChineseScript::kTraditional ? toTraditional : toSimplified;
}

// Maps pieces between NULs, which the converter would stop at.
Result<std::string> MapPieces(std::string_view utf8, ChineseScript target) {
  std::string out;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t nul = utf8.find('\0', start);
    if (nul == std::string_view::npos) nul = utf8.size();
    const std::string_view piece = utf8.substr(start, nul - start);
    if (!piece.empty()) {
      Result<std::string> mapped = ConverterFor(target).Convert(piece);
      if (!mapped.ok()) return mapped;
      out += mapped.value;
    }
    if (nul < utf8.size()) out.push_back('\0');
    start = nul + 1;
  }
  return Result<std::string>::Ok(std::move(out));
}

bool IsChineseCodePage(int codePage) { return codePage == 936 || codePage == 950; }

}  // namespace

std::optional<std::filesystem::path> FindScriptTable(std::string_view fileName) {
  std::vector<std::filesystem::path> folders;
  if (const char* dir = std::getenv("TARNCAD_OPENCC_DIR"); dir != nullptr && *dir != '\0') {
    folders.emplace_back(dir);
  }
  folders.emplace_back("/usr/share/opencc");
  folders.emplace_back("/usr/local/share/opencc");
  for (const auto& folder : folders) {
    std::error_code ec;
    const std::filesystem::path candidate = folder / fileName;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

Result<std::string> MapChineseScript(std::string_view utf8, ChineseScript target) {
  // The converter trusts its input to be UTF-8; anything else is refused
  // before it gets there.
  if (!detail::IsValidUtf8(utf8)) return Result<std::string>::Fail(Status::kInvalidParameter);
  if (detail::IsAscii(utf8)) return Result<std::string>::Ok(std::string(utf8));
  return MapPieces(utf8, target);
}

EncodeResult ConvertChineseCodePage(std::string_view bytes, int fromCodePage, int toCodePage) {
  EncodeResult result;
  if (!IsChineseCodePage(fromCodePage) || !IsChineseCodePage(toCodePage)) {
    result.status = Status::kInvalidParameter;
    return result;
  }
  const DecodeResult decoded = DecodeToUtf8(bytes, fromCodePage);
  if (decoded.status != Status::kOk) {
    result.status = decoded.status;
    return result;
  }
  const ChineseScript target =
      toCodePage == 950 ? ChineseScript::kTraditional : ChineseScript::kSimplified;
  const Result<std::string> mapped = MapChineseScript(decoded.text, target);
  if (!mapped.ok()) {
    result.status = mapped.status;
    return result;
  }
  return EncodeFromUtf8(mapped.value, toCodePage, Unrepresentable::kDefaultChar);
}

}  // namespace tarn::platform
