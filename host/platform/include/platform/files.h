// Files and folders with the success rules of the Windows calls they stand
// for. Paths may use backslashes: they are taken as folder separators.
#ifndef TARN_PLATFORM_FILES_H
#define TARN_PLATFORM_FILES_H

#include <string>
#include <string_view>

#include "platform/status.h"

namespace tarn::platform {

// The path with every backslash turned into a slash.
std::string NativePath(std::string_view path);

// TMPDIR (when set and not empty) or /tmp, always ending with a separator.
std::string TempFolder();

// Creates one folder (not its parents):
//   kOk            created;
//   kAlreadyExists a folder of that name is already there;
//   kNotADirectory a file stands in its place;
//   kPathNotFound  the parent folder does not exist;
//   others         as the system reports (kAccessDenied ...).
Status CreateFolder(std::string_view path);

// The rule callers use: created now, or already there as a folder.
bool FolderCreatedOrExists(Status createStatus);

// Copies a file's bytes, permissions and modification time:
//   kFileNotFound     no such source file;
//   kAccessDenied     the source or the target is a folder, or no permission;
//   kFileExists       the target exists and overwrite is false;
//   kSharingViolation source and target are the same file;
//   kPathNotFound     the target's folder does not exist.
// The copy is written beside the target and renamed over it, so a failed
// copy never leaves a damaged or half-written target.
Status CopyFile(std::string_view from, std::string_view to, bool overwrite);

// Deletes a file: kFileNotFound when absent, kAccessDenied for a folder.
Status DeleteFile(std::string_view path);

bool FileExists(std::string_view path);     // a file (not a folder)
bool FolderExists(std::string_view path);

}  // namespace tarn::platform

#endif
