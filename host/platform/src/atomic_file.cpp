// Whole-file reads and crash-safe whole-file writes.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "errno_status.h"

namespace tarn::platform::detail {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    contents.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

void SyncFolder(const std::filesystem::path& folder) {
  FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// Writes and syncs the temporary file; answers its status, errno kept.
Status WriteTemporary(int fd, std::string_view contents) {
  if (!WriteAll(fd, contents) || ::fsync(fd) != 0) {
    return StatusFromErrno(errno);
  }
  return Status::kOk;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::filesystem::path& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Result<std::string>::Fail(StatusFromErrno(errno));
  std::string contents;
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Result<std::string>::Fail(Status::kReadFault);
    if (got == 0) break;
    contents.append(buffer.data(), static_cast<size_t>(got));
  }
  return Result<std::string>::Ok(std::move(contents));
}

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::string tempName = path.string() + ".tmp-XXXXXX";
  FileDescriptor fd(::mkstemp(tempName.data()));
  if (fd.get() < 0) return StatusFromErrno(errno, Status::kPathNotFound);
  ::fchmod(fd.get(), 0600);
  Status status = WriteTemporary(fd.get(), contents);
  if (status == Status::kOk && ::close(fd.release()) != 0) status = Status::kWriteFault;
  if (status == Status::kOk && ::rename(tempName.c_str(), path.c_str()) != 0) {
    status = StatusFromErrno(errno);
  }
  if (status != Status::kOk) {
    ::unlink(tempName.c_str());
    return status;
  }
  SyncFolder(folder);
  return Status::kOk;
}

FolderLock::FolderLock(const std::filesystem::path& lockFile) {
  std::error_code ec;
  std::filesystem::create_directories(lockFile.parent_path(), ec);
  fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);   // closing releases the lock
}

}  // namespace tarn::platform::detail
