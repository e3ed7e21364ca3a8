// Descriptions of the platform's status codes.
#include "platform/status.h"

namespace tarn::platform {
namespace {

struct StatusEntry {
  Status status;
  std::string_view text;
};

constexpr StatusEntry kStatusTexts[] = {
    {Status::kOk, "done"},
    {Status::kFileNotFound, "file not found"},
    {Status::kPathNotFound, "folder not found"},
    {Status::kAccessDenied, "access denied"},
    {Status::kInvalidHandle, "not open"},
    {Status::kNotEnoughMemory, "not enough memory"},
    {Status::kWriteFault, "cannot write"},
    {Status::kReadFault, "cannot read"},
    {Status::kGeneralFailure, "failed"},
    {Status::kSharingViolation, "the file is in use"},
    {Status::kFileExists, "the file exists"},
    {Status::kInvalidParameter, "invalid argument"},
    {Status::kDiskFull, "the disk is full"},
    {Status::kAlreadyExists, "already exists"},
    {Status::kMoreData, "the buffer is too small"},
    {Status::kNoMoreItems, "no more items"},
    {Status::kNotADirectory, "a file stands where a folder was expected"},
    {Status::kKeyDeleted, "the key was deleted"},
    {Status::kNoUnicodeTranslation, "characters cannot be converted"},
    {Status::kDatatypeMismatch, "the value has another type"},
    {Status::kKeyHasChildren, "the key has subkeys"},
};

}  // namespace

std::string_view StatusText(Status status) {
  for (const StatusEntry& entry : kStatusTexts) {
    if (entry.status == status) return entry.text;
  }
  return "unknown error";
}

}  // namespace tarn::platform
