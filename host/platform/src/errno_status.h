// Translation of POSIX errno values into the platform's status codes.
#ifndef TARN_PLATFORM_SRC_ERRNO_STATUS_H
#define TARN_PLATFORM_SRC_ERRNO_STATUS_H

#include "platform/status.h"

namespace tarn::platform::detail {

// notFound is the status to give for ENOENT, which means a missing file or
// a missing folder depending on the call.
Status StatusFromErrno(int err, Status notFound = Status::kFileNotFound);

}  // namespace tarn::platform::detail

#endif
