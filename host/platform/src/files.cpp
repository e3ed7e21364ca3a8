// Files and folders: temporary folder, folder creation, copy, delete.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "errno_status.h"

namespace tarn::platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool StatPath(const std::string& path, struct stat* info) {
  return ::stat(path.c_str(), info) == 0;
}

std::string ParentOf(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const size_t slash = trimmed.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : trimmed.substr(0, slash);
}

// ENOENT means a missing file when its folder exists, else a missing path.
Status MissingStatus(const std::string& path) {
  struct stat info {};
  const std::string parent = ParentOf(path);
  return StatPath(parent, &info) && S_ISDIR(info.st_mode) ? Status::kFileNotFound
                                                          : Status::kPathNotFound;
}

Status CopyBytes(int from, int to) {
  std::vector<char> buffer(256 * 1024);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Status::kReadFault;
    if (got == 0) return Status::kOk;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return detail::StatusFromErrno(errno);
      done += put;
    }
  }
}

// Checks the target of a copy before anything is written.
Status CheckCopyTarget(const struct stat& source, const std::string& to, bool overwrite) {
  struct stat target {};
  if (!StatPath(to, &target)) {
    return errno == ENOENT || errno == ENOTDIR ? Status::kOk : detail::StatusFromErrno(errno);
  }
  if (S_ISDIR(target.st_mode)) return Status::kAccessDenied;
  if (target.st_dev == source.st_dev && target.st_ino == source.st_ino) {
    return Status::kSharingViolation;
  }
  return overwrite ? Status::kOk : Status::kFileExists;
}

// Moves the finished temporary copy into place; without overwrite a link
// fails when the target appeared meanwhile instead of replacing it.
Status PlaceCopy(const std::string& temp, const std::string& to, bool overwrite) {
  if (overwrite) {
    return ::rename(temp.c_str(), to.c_str()) == 0 ? Status::kOk
                                                   : detail::StatusFromErrno(errno);
  }
  if (::link(temp.c_str(), to.c_str()) != 0) {
    return errno == EEXIST ? Status::kFileExists : detail::StatusFromErrno(errno);
  }
  ::unlink(temp.c_str());
  return Status::kOk;
}

Status WriteCopy(int source, const struct stat& info, const std::string& to, bool overwrite) {
  std::string temp = to + ".copy-XXXXXX";
  Fd out(::mkstemp(temp.data()));
  if (out.get() < 0) return detail::StatusFromErrno(errno, Status::kPathNotFound);
  Status status = CopyBytes(source, out.get());
  if (status == Status::kOk) {
    ::fchmod(out.get(), info.st_mode & 07777);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    ::futimens(out.get(), times);
    if (::close(out.release()) != 0) status = Status::kWriteFault;
  }
  if (status == Status::kOk) status = PlaceCopy(temp, to, overwrite);
  if (status != Status::kOk) ::unlink(temp.c_str());
  return status;
}

}  // namespace

std::string NativePath(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
  if (folder.back() != '/') folder.push_back('/');
  return folder;
}

Status CreateFolder(std::string_view path) {
  std::string native = NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (native.empty()) return Status::kPathNotFound;
  if (::mkdir(native.c_str(), 0777) == 0) return Status::kOk;
  const int err = errno;
  if (err == EEXIST) return FolderExists(native) ? Status::kAlreadyExists : Status::kNotADirectory;
  return detail::StatusFromErrno(err, Status::kPathNotFound);
}

bool FolderCreatedOrExists(Status createStatus) {
  return createStatus == Status::kOk || createStatus == Status::kAlreadyExists;
}

Status CopyFile(std::string_view from, std::string_view to, bool overwrite) {
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  Fd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) {
    return errno == ENOENT ? MissingStatus(source) : detail::StatusFromErrno(errno);
  }
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) return detail::StatusFromErrno(errno);
  if (!S_ISREG(info.st_mode)) return Status::kAccessDenied;
  const Status checked = CheckCopyTarget(info, target, overwrite);
  if (checked != Status::kOk) return checked;
  if (!FolderExists(ParentOf(target))) return Status::kPathNotFound;
  return WriteCopy(in.get(), info, target, overwrite);
}

Status DeleteFile(std::string_view path) {
  const std::string native = NativePath(path);
  if (FolderExists(native)) return Status::kAccessDenied;
  if (::unlink(native.c_str()) == 0) return Status::kOk;
  return errno == ENOENT ? MissingStatus(native) : detail::StatusFromErrno(errno);
}

bool FileExists(std::string_view path) {
  struct stat info {};
  return StatPath(NativePath(path), &info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(std::string_view path) {
  struct stat info {};
  return StatPath(NativePath(path), &info) && S_ISDIR(info.st_mode);
}

}  // namespace tarn::platform
