// The desktop-style registry calls over the host's registry store. Status
// numbers pass through unchanged (the platform layer numbers them as the
// desktop does), except where the desktop call answers otherwise.
#include <cstring>
#include <string>

#include <tarnsdk/tcplatform.h>

#include "platform/product.h"
#include "platformsdk/platform_sdk.h"
#include "registry_handles.h"

namespace {

using tarn::platform::KeyAccess;
using tarn::platform::RegistryKey;
using tarn::platform::Status;
namespace detail = tarn::platformsdk::detail;

constexpr long kInvalidHandle = 6;
constexpr uint32_t kWriteAccessBits = 0x2 | 0x4 | 0x10000;   // set value, create subkey, delete

long Code(Status status) {
  // Deleting a key that still has subkeys is refused as access denied.
  if (status == Status::kKeyHasChildren) return TCPL_ERROR_ACCESS_DENIED;
  return static_cast<long>(status);
}

// Runs a registry operation and prints what the store reports about its files.
template <class Fn>
long Reported(Fn fn) {
  const long code = fn();
  tarn::platformsdk::ReportRegistryMessages();
  return code;
}

std::string JoinPath(const std::string& parent, const char* sub) {
  std::string child = sub != nullptr ? sub : "";
  while (!child.empty() && child.back() == '\\') child.pop_back();
  if (parent.empty()) return child;
  return child.empty() ? parent : parent + "\\" + child;
}

// A name into the caller's buffer of `size` bytes with its NUL.
long CopyName(const std::string& name, char* buffer, uint32_t size) {
  if (buffer == nullptr) return TCPL_ERROR_INVALID_PARAMETER;
  if (name.size() + 1 > size) return TCPL_ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return TCPL_ERROR_SUCCESS;
}

long OpenKey(tcpl_hkey parent, const char* subKey, uint32_t access, tcpl_hkey* result) {
  if (result == nullptr) return TCPL_ERROR_INVALID_PARAMETER;
  *result = nullptr;
  auto key = detail::RegistryKeyOf(parent);
  if (!key) return kInvalidHandle;
  RegistryKey opened;
  const KeyAccess mode = (access & kWriteAccessBits) != 0 ? KeyAccess::kFull : KeyAccess::kRead;
  const Status status = key->OpenSubkey(subKey != nullptr ? subKey : "", mode, &opened);
  if (status != Status::kOk) return Code(status);
  *result = detail::AddRegistryHandle(opened);
  return TCPL_ERROR_SUCCESS;
}

long CreateKey(tcpl_hkey parent, const char* subKey, tcpl_hkey* result) {
  if (result == nullptr) return TCPL_ERROR_INVALID_PARAMETER;
  *result = nullptr;
  auto key = detail::RegistryKeyOf(parent);
  if (!key) return kInvalidHandle;
  RegistryKey created;
  const Status status = key->CreateSubkey(subKey != nullptr ? subKey : "", &created);
  if (status != Status::kOk) return Code(status);
  *result = detail::AddRegistryHandle(created);
  return TCPL_ERROR_SUCCESS;
}

long DeleteKey(tcpl_hkey parent, const char* subKey) {
  if (subKey == nullptr || *subKey == '\0') return TCPL_ERROR_INVALID_PARAMETER;
  auto key = detail::RegistryKeyOf(parent);
  if (!key) return kInvalidHandle;
  if (key->Access() != KeyAccess::kFull) return TCPL_ERROR_ACCESS_DENIED;
  const std::string path = JoinPath(key->Path(), subKey);
  return Code(tarn::platformsdk::SharedRegistryStore().DeleteKey(key->Root(), path));
}

}  // namespace

extern "C" {

long tcplRegOpenKey(tcpl_hkey parent, const char* subKey, uint32_t access, tcpl_hkey* result) {
  return Reported([&] { return OpenKey(parent, subKey, access, result); });
}

long tcplRegCreateKey(tcpl_hkey parent, const char* subKey, tcpl_hkey* result) {
  return Reported([&] { return CreateKey(parent, subKey, result); });
}

long tcplRegCloseKey(tcpl_hkey key) {
  return detail::CloseRegistryHandle(key) ? long{TCPL_ERROR_SUCCESS} : kInvalidHandle;
}

long tcplRegQueryValue(tcpl_hkey key, const char* valueName, uint32_t* type, void* data,
                       uint32_t* size) {
  return Reported([&]() -> long {
    auto k = detail::RegistryKeyOf(key);
    if (!k) return kInvalidHandle;
    tarn::platform::ValueType found = tarn::platform::ValueType::kNone;
    const Status status = k->QueryValue(valueName != nullptr ? valueName : "", &found, data, size);
    if (type != nullptr && (status == Status::kOk || status == Status::kMoreData)) {
      *type = static_cast<uint32_t>(found);
    }
    return Code(status);
  });
}

long tcplRegSetValue(tcpl_hkey key, const char* valueName, uint32_t type, const void* data,
                     uint32_t size) {
  return Reported([&]() -> long {
    auto k = detail::RegistryKeyOf(key);
    if (!k) return kInvalidHandle;
    return Code(k->SetValue(valueName != nullptr ? valueName : "",
                            static_cast<tarn::platform::ValueType>(type), data, size));
  });
}

long tcplRegDeleteValue(tcpl_hkey key, const char* valueName) {
  return Reported([&]() -> long {
    auto k = detail::RegistryKeyOf(key);
    if (!k) return kInvalidHandle;
    return Code(k->DeleteValue(valueName != nullptr ? valueName : ""));
  });
}

long tcplRegDeleteKey(tcpl_hkey parent, const char* subKey) {
  return Reported([&] { return DeleteKey(parent, subKey); });
}

long tcplRegEnumKey(tcpl_hkey key, uint32_t index, char* name, uint32_t size) {
  return Reported([&]() -> long {
    auto k = detail::RegistryKeyOf(key);
    if (!k) return kInvalidHandle;
    auto found = k->EnumSubkey(index);
    return found.ok() ? CopyName(found.value, name, size) : Code(found.status);
  });
}

long tcplRegEnumValue(tcpl_hkey key, uint32_t index, char* name, uint32_t size) {
  return Reported([&]() -> long {
    auto k = detail::RegistryKeyOf(key);
    if (!k) return kInvalidHandle;
    auto found = k->EnumValue(index);
    return found.ok() ? CopyName(found.value.name, name, size) : Code(found.status);
  });
}

const char* tcplProductRegistryRoot(void) {
  static const std::string root(tarn::platform::kProductRootKey);
  return root.c_str();
}

}  // extern "C"
