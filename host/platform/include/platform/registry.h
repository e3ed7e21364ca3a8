// The registry store: keys and typed values under the roots HKEY_CURRENT_USER
// and HKEY_LOCAL_MACHINE, each root kept in a text file (registry_text.h) in
// the user's configuration folder. Every change is written through at once,
// atomically, and the file is read again when another process changed it.
// Key paths and value names compare without regard to case.
#ifndef TARN_PLATFORM_REGISTRY_H
#define TARN_PLATFORM_REGISTRY_H

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_text.h"
#include "platform/status.h"

namespace tarn::platform {

enum class RegistryRoot { kCurrentUser, kLocalMachine };
enum class KeyAccess { kRead, kFull };

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::string_view RootName(RegistryRoot root);

// The folder of the user's settings: TARNCAD_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/tarncad, else ~/.config/tarncad.
std::filesystem::path ConfigDirectory();

struct ValueInfo {
  std::string name;
  ValueType type = ValueType::kNone;
  uint32_t size = 0;   // bytes a query needs (text: with its NUL)
};

class RegistryStore;
struct KeyView;

// An open key: a root, a path and an access. Operations look the key up each
// time, so a key deleted meanwhile answers kKeyDeleted. The store must
// outlive its keys.
class RegistryKey {
 public:
  RegistryKey() = default;

  bool IsOpen() const { return store_ != nullptr; }
  void Close() { store_ = nullptr; }
  RegistryRoot Root() const { return root_; }
  const std::string& Path() const { return path_; }
  KeyAccess Access() const { return access_; }

  // Windows-style query into a caller's buffer. *size is the buffer's size on
  // entry and the bytes needed on return; a null data only asks the size. A
  // buffer too small answers kMoreData. Text comes with its NUL. The type is
  // not checked: the caller gets whatever type the value has.
  Status QueryValue(std::string_view name, ValueType* type, void* data, uint32_t* size) const;
  // Typed queries: kDatatypeMismatch when the value has another type.
  Result<uint32_t> QueryDword(std::string_view name) const;
  Result<uint64_t> QueryQword(std::string_view name) const;
  Result<std::string> QueryString(std::string_view name) const;
  Result<std::string> QueryBinary(std::string_view name) const;

  // Writes need kFull access. Text given to SetValue may carry its NUL.
  Status SetValue(std::string_view name, ValueType type, const void* data, uint32_t size);
  Status SetDword(std::string_view name, uint32_t value);
  Status SetQword(std::string_view name, uint64_t value);
  Status SetString(std::string_view name, std::string_view text);
  Status SetBinary(std::string_view name, std::string_view bytes);
  Status DeleteValue(std::string_view name);

  // Enumeration: subkeys sorted without regard to case, values in the order
  // they were first set; an index past the end answers kNoMoreItems.
  Result<std::string> EnumSubkey(uint32_t index) const;
  Result<ValueInfo> EnumValue(uint32_t index) const;
  Result<std::vector<std::string>> SubkeyNames() const;
  Result<std::vector<ValueInfo>> Values() const;

  // Relative opens, as the Windows calls take a parent key.
  Status OpenSubkey(std::string_view subPath, KeyAccess access, RegistryKey* out) const;
  Status CreateSubkey(std::string_view subPath, RegistryKey* out) const;

 private:
  friend class RegistryStore;
  // Runs fn on the key's current values under the store's lock.
  Status WithView(const std::function<void(const KeyView&)>& fn) const;

  RegistryStore* store_ = nullptr;
  RegistryRoot root_ = RegistryRoot::kCurrentUser;
  std::string path_;
  KeyAccess access_ = KeyAccess::kRead;
};

// Values of a key that the store computes instead of keeping (read-only);
// an empty list means the key does not exist.
using ComputedValues = std::function<std::vector<RegistryValue>()>;

class RegistryStore {
 public:
  // A store whose files live in the given folder (created when first written).
  explicit RegistryStore(std::filesystem::path folder);
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  // The store of this user, in ConfigDirectory(), with the App Paths keys of
  // the office programs on PATH installed (app_paths.h).
  static std::unique_ptr<RegistryStore> OpenUserStore();

  // Creates the key and its missing parents; an existing key opens
  // unchanged. *created (optional) tells which happened. Access is full.
  Status CreateKey(RegistryRoot root, std::string_view path, RegistryKey* out,
                   bool* created = nullptr);
  // kFileNotFound when the key does not exist.
  Status OpenKey(RegistryRoot root, std::string_view path, KeyAccess access, RegistryKey* out);
  // Deletes a key without subkeys (kKeyHasChildren otherwise).
  Status DeleteKey(RegistryRoot root, std::string_view path);
  // Deletes a key with everything below it.
  Status DeleteTree(RegistryRoot root, std::string_view path);

  // Installs a computed key. A key kept in the file at the same path wins,
  // so a user can override what is computed.
  void AddComputedKey(RegistryRoot root, std::string_view path, ComputedValues values);

  // Messages about damaged files and failed writes since the last call, each
  // naming the file (and line); the host prints them.
  std::vector<std::string> TakeMessages();

  std::filesystem::path FileOf(RegistryRoot root) const;

 private:
  friend class RegistryKey;
  struct Impl;
  RegistryKey MakeKey(RegistryRoot root, std::string_view path, KeyAccess access);
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarn::platform

#endif
