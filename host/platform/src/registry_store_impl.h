// The state behind a RegistryStore: one tree per root, the stamp of the file
// it was read from, the computed keys and the pending messages.
#ifndef TARN_PLATFORM_SRC_REGISTRY_STORE_IMPL_H
#define TARN_PLATFORM_SRC_REGISTRY_STORE_IMPL_H

#include <sys/types.h>

#include <array>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "platform/registry.h"
#include "registry_tree.h"

namespace tarn::platform {

// What identifies one version of a file on disk; a change means another
// process (or an editor) replaced it.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

struct RootState {
  std::filesystem::path file;
  std::string rootName;
  detail::KeyNode tree;
  FileStamp stamp;
  bool loaded = false;
  bool damaged = false;   // the file on disk could not be read cleanly
};

struct ComputedKey {
  RegistryRoot root;
  std::string foldedPath;
  ComputedValues values;
};

// A key as an operation sees it: a kept node, or computed values.
struct KeyView {
  detail::KeyNode* node = nullptr;
  std::vector<RegistryValue> computed;
  bool isComputed = false;
};

struct RegistryStore::Impl {
  std::mutex mutex;
  std::filesystem::path folder;
  std::array<RootState, 2> roots;
  std::vector<ComputedKey> computed;
  std::vector<std::string> messages;

  explicit Impl(std::filesystem::path dir);

  // Taken by every change before the file is read again, so that the change
  // is made to the latest file and no other process writes in between.
  detail::FolderLock LockForWrite() const { return detail::FolderLock(folder / "registry.lock"); }

  // The root's tree, read again first when its file changed on disk.
  RootState& Fresh(RegistryRoot root);
  void Load(RootState& state);
  // Writes the root's tree; on failure the tree is read back from the file,
  // which the atomic write left as it was.
  Status Save(RootState& state);

  // The key at the path: a node, or a computed key when no node is kept.
  Status View(RegistryRoot root, std::string_view path, KeyView* view);
  // The node of a key for a change: kAccessDenied for computed keys and
  // read access, kKeyDeleted when it vanished.
  Status NodeForWrite(const RegistryKey& key, detail::KeyNode** node);
};

}  // namespace tarn::platform

#endif
