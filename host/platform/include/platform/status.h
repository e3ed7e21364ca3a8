// Status codes of the platform layer and a small value-or-status result.
// The numbers are those of the Windows error codes each case stands for, so
// the SDK layer can hand them on unchanged to code written against them.
#ifndef TARN_PLATFORM_STATUS_H
#define TARN_PLATFORM_STATUS_H

#include <cstdint>
#include <string_view>
#include <utility>

namespace tarn::platform {

enum class Status : int32_t {
  kOk = 0,
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kInvalidHandle = 6,
  kNotEnoughMemory = 8,
  kWriteFault = 29,
  kReadFault = 30,
  kGeneralFailure = 31,
  kSharingViolation = 32,
  kFileExists = 80,
  kInvalidParameter = 87,
  kDiskFull = 112,
  kAlreadyExists = 183,
  kMoreData = 234,
  kNoMoreItems = 259,
  kNotADirectory = 267,        // a file stands where a folder was asked for
  kKeyDeleted = 1018,          // the key was deleted while open
  kNoUnicodeTranslation = 1113,
  kDatatypeMismatch = 1629,
  kKeyHasChildren = 1020,      // a key with subkeys cannot be deleted alone
};

// A short English description, for messages on the command line.
std::string_view StatusText(Status status);

// A value together with the status of the operation that produced it; the
// value is meaningful only when ok().
template <class T>
struct Result {
  Status status = Status::kOk;
  T value{};

  bool ok() const { return status == Status::kOk; }
  static Result Fail(Status s) { return Result{s, T{}}; }
  static Result Ok(T v) { return Result{Status::kOk, std::move(v)}; }
};

}  // namespace tarn::platform

#endif
