// Whole-file reads and crash-safe whole-file writes.
#ifndef TARN_PLATFORM_SRC_ATOMIC_FILE_H
#define TARN_PLATFORM_SRC_ATOMIC_FILE_H

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace tarn::platform::detail {

// The file's bytes; kFileNotFound when it does not exist.
Result<std::string> ReadWholeFile(const std::filesystem::path& path);

// Writes a temporary file in the same folder, flushes it to the disk and
// renames it over the target, then flushes the folder: a crash at any moment
// leaves either the old or the new file, never a mix. Creates the folder
// when missing. A leftover temporary file of a crashed write is never read.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view contents);

// An exclusive lock between processes on a lock file (created when missing,
// with its folder), held for the object's life. Writers of one store take it
// around read-modify-write so that two programs never lose each other's
// changes. When the lock file cannot be made, the lock is skipped.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& lockFile);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace tarn::platform::detail

#endif
