// Translation of POSIX errno values into the platform's status codes.
#include "errno_status.h"

#include <cerrno>

namespace tarn::platform::detail {
namespace {

struct ErrnoEntry {
  int err;
  Status status;
};

constexpr ErrnoEntry kErrnoTable[] = {
    {EACCES, Status::kAccessDenied},     {EPERM, Status::kAccessDenied},
    {EROFS, Status::kAccessDenied},      {EISDIR, Status::kAccessDenied},
    {ENOTDIR, Status::kPathNotFound},    {EEXIST, Status::kAlreadyExists},
    {ENOSPC, Status::kDiskFull},         {EDQUOT, Status::kDiskFull},
    {ENOMEM, Status::kNotEnoughMemory},  {EBUSY, Status::kSharingViolation},
    {ETXTBSY, Status::kSharingViolation}, {ENAMETOOLONG, Status::kInvalidParameter},
    {EINVAL, Status::kInvalidParameter}, {EIO, Status::kWriteFault},
};

}  // namespace

Status StatusFromErrno(int err, Status notFound) {
  if (err == ENOENT) return notFound;
  for (const ErrnoEntry& entry : kErrnoTable) {
    if (entry.err == err) return entry.status;
  }
  return Status::kGeneralFailure;
}

}  // namespace tarn::platform::detail
