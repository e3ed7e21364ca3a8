// The registry store: roots kept in text files, keys created, opened and
// deleted by path, files read again when they change on disk.
#include <sys/stat.h>

#include "atomic_file.h"
#include "case_fold.h"
#include "platform/registry.h"
#include "registry_store_impl.h"

namespace tarn::platform {
namespace {

constexpr const char* kRootFileNames[] = {"registry-current-user.txt",
                                          "registry-local-machine.txt"};

size_t IndexOf(RegistryRoot root) { return root == RegistryRoot::kCurrentUser ? 0 : 1; }

FileStamp StampOf(const std::filesystem::path& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return FileStamp{};
  return FileStamp{true, info.st_dev, info.st_ino, info.st_size,
                   static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace

RegistryStore::Impl::Impl(std::filesystem::path dir) : folder(std::move(dir)) {
  for (RegistryRoot root : {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine}) {
    RootState& state = roots[IndexOf(root)];
    state.file = folder / kRootFileNames[IndexOf(root)];
    state.rootName = std::string(RootName(root));
  }
}

RootState& RegistryStore::Impl::Fresh(RegistryRoot root) {
  RootState& state = roots[IndexOf(root)];
  if (!state.loaded || StampOf(state.file) != state.stamp) Load(state);
  return state;
}

void RegistryStore::Impl::Load(RootState& state) {
  state.tree = detail::KeyNode{};
  state.loaded = true;
  state.damaged = false;
  state.stamp = StampOf(state.file);
  if (!state.stamp.exists) return;
  const Result<std::string> bytes = detail::ReadWholeFile(state.file);
  if (!bytes.ok()) {
    messages.push_back(state.file.string() + ": cannot be read (" +
                       std::string(StatusText(bytes.status)) + "); the defaults are used");
    state.damaged = true;
    return;
  }
  RegistryText text = ParseRegistryText(bytes.value, state.file.string());
  size_t duplicates = 0;
  detail::BuildTree(state.tree, text.keys, &duplicates);
  if (duplicates > 0) {
    text.problems.push_back(state.file.string() + ": " + std::to_string(duplicates) +
                            " values were given more than once; the last one is used");
  }
  if (text.problems.empty()) return;
  state.damaged = true;
  messages.insert(messages.end(), text.problems.begin(), text.problems.end());
  messages.push_back(state.file.string() +
                     ": damaged; the values that could be read are used, the rest keep "
                     "their defaults");
}

Status RegistryStore::Impl::Save(RootState& state) {
  if (state.damaged && state.stamp.exists) {
    // Keep what the user had before the damaged file is replaced.
    const Result<std::string> old = detail::ReadWholeFile(state.file);
    const std::filesystem::path copy = state.file.string() + ".damaged";
    if (old.ok() && detail::WriteFileAtomically(copy, old.value) == Status::kOk) {
      messages.push_back(state.file.string() + ": the damaged file was kept as " + copy.string());
    }
  }
  const std::string text = FormatRegistryText(detail::FlattenTree(state.tree), state.rootName);
  const Status status = detail::WriteFileAtomically(state.file, text);
  if (status != Status::kOk) {
    messages.push_back(state.file.string() + ": settings not saved (" +
                       std::string(StatusText(status)) + ")");
    Load(state);
    return status;
  }
  state.stamp = StampOf(state.file);
  state.damaged = false;
  return Status::kOk;
}

Status RegistryStore::Impl::View(RegistryRoot root, std::string_view path, KeyView* view) {
  RootState& state = Fresh(root);
  *view = KeyView{};
  view->node = detail::FindNode(state.tree, path);
  if (view->node != nullptr) return Status::kOk;
  const std::string folded = detail::FoldCase(path);
  for (const ComputedKey& key : computed) {
    if (key.root != root || key.foldedPath != folded) continue;
    view->computed = key.values();
    view->isComputed = !view->computed.empty();
    if (view->isComputed) return Status::kOk;
  }
  return Status::kFileNotFound;
}

Status RegistryStore::Impl::NodeForWrite(const RegistryKey& key, detail::KeyNode** node) {
  if (key.Access() != KeyAccess::kFull) return Status::kAccessDenied;
  KeyView view;
  if (View(key.Root(), key.Path(), &view) != Status::kOk) return Status::kKeyDeleted;
  if (view.isComputed) return Status::kAccessDenied;
  *node = view.node;
  return Status::kOk;
}

std::string_view RootName(RegistryRoot root) {
  return root == RegistryRoot::kCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

RegistryStore::RegistryStore(std::filesystem::path folder)
    : impl_(std::make_unique<Impl>(std::move(folder))) {}

RegistryStore::~RegistryStore() = default;

Status RegistryStore::CreateKey(RegistryRoot root, std::string_view path, RegistryKey* out,
                                bool* created) {
  if (out == nullptr || !IsValidKeyPath(path)) return Status::kInvalidParameter;
  const detail::FolderLock fileLock = impl_->LockForWrite();
  std::lock_guard lock(impl_->mutex);
  RootState& state = impl_->Fresh(root);
  bool made = false;
  detail::FindOrCreateNode(state.tree, path, &made);
  if (made) {
    const Status saved = impl_->Save(state);
    if (saved != Status::kOk) return saved;
  }
  if (created != nullptr) *created = made;
  *out = MakeKey(root, path, KeyAccess::kFull);
  return Status::kOk;
}

Status RegistryStore::OpenKey(RegistryRoot root, std::string_view path, KeyAccess access,
                              RegistryKey* out) {
  if (out == nullptr || !IsValidKeyPath(path)) return Status::kInvalidParameter;
  std::lock_guard lock(impl_->mutex);
  KeyView view;
  const Status found = impl_->View(root, path, &view);
  if (found != Status::kOk) return found;
  if (view.isComputed && access == KeyAccess::kFull) return Status::kAccessDenied;
  *out = MakeKey(root, path, access);
  return Status::kOk;
}

Status RegistryStore::DeleteKey(RegistryRoot root, std::string_view path) {
  if (path.empty() || !IsValidKeyPath(path)) return Status::kInvalidParameter;
  const detail::FolderLock fileLock = impl_->LockForWrite();
  std::lock_guard lock(impl_->mutex);
  RootState& state = impl_->Fresh(root);
  const detail::KeyNode* node = detail::FindNode(state.tree, path);
  if (node == nullptr) return Status::kFileNotFound;
  if (!node->children.empty()) return Status::kKeyHasChildren;
  detail::EraseNode(state.tree, path);
  return impl_->Save(state);
}

Status RegistryStore::DeleteTree(RegistryRoot root, std::string_view path) {
  if (path.empty() || !IsValidKeyPath(path)) return Status::kInvalidParameter;
  const detail::FolderLock fileLock = impl_->LockForWrite();
  std::lock_guard lock(impl_->mutex);
  RootState& state = impl_->Fresh(root);
  if (!detail::EraseNode(state.tree, path)) return Status::kFileNotFound;
  return impl_->Save(state);
}

void RegistryStore::AddComputedKey(RegistryRoot root, std::string_view path,
                                   ComputedValues values) {
  std::lock_guard lock(impl_->mutex);
  impl_->computed.push_back({root, detail::FoldCase(path), std::move(values)});
}

std::vector<std::string> RegistryStore::TakeMessages() {
  std::lock_guard lock(impl_->mutex);
  return std::exchange(impl_->messages, {});
}

std::filesystem::path RegistryStore::FileOf(RegistryRoot root) const {
  return impl_->roots[IndexOf(root)].file;
}

RegistryKey RegistryStore::MakeKey(RegistryRoot root, std::string_view path, KeyAccess access) {
  RegistryKey key;
  key.store_ = this;
  key.root_ = root;
  key.path_ = std::string(path);
  key.access_ = access;
  return key;
}

}  // namespace tarn::platform
