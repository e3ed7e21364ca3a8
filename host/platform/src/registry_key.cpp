// Operations on an open registry key: typed queries and writes, deletion of
// values, enumeration and relative opens.
#include <algorithm>
#include <cstring>

#include "case_fold.h"
#include "platform/registry.h"
#include "registry_store_impl.h"

namespace tarn::platform {
namespace {

constexpr size_t kMaxValueNameBytes = 16383;

uint32_t QuerySizeOf(const RegistryValue& value) {
  const size_t nul = value.type == ValueType::kString ? 1 : 0;
  return static_cast<uint32_t>(value.data.size() + nul);
}

const RegistryValue* FindIn(const KeyView& view, std::string_view name) {
  if (view.node != nullptr) return view.node->FindValue(name);
  const std::string folded = detail::FoldCase(name);
  for (const RegistryValue& value : view.computed) {
    if (detail::FoldCase(value.name) == folded) return &value;
  }
  return nullptr;
}

// Checks a write's type and size; text is cut at its first NUL.
Status NormalizeData(ValueType type, std::string_view bytes, std::string* data) {
  switch (type) {
    case ValueType::kString:
      *data = std::string(bytes.substr(0, bytes.find('\0')));
      return Status::kOk;
    case ValueType::kBinary:
      *data = std::string(bytes);
      return Status::kOk;
    case ValueType::kDword:
    case ValueType::kQword: {
      const size_t want = type == ValueType::kDword ? 4 : 8;
      if (bytes.size() != want) return Status::kInvalidParameter;
      *data = std::string(bytes);
      return Status::kOk;
    }
    case ValueType::kNone:
      break;
  }
  return Status::kInvalidParameter;
}

uint64_t LittleEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (size_t i = bytes.size(); i > 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[i - 1]);
  }
  return value;
}

}  // namespace

Status RegistryKey::WithView(const std::function<void(const KeyView&)>& fn) const {
  if (store_ == nullptr) return Status::kInvalidHandle;
  std::lock_guard lock(store_->impl_->mutex);
  KeyView view;
  if (store_->impl_->View(root_, path_, &view) != Status::kOk) return Status::kKeyDeleted;
  fn(view);
  return Status::kOk;
}

Status RegistryKey::QueryValue(std::string_view name, ValueType* type, void* data,
                               uint32_t* size) const {
  if (data != nullptr && size == nullptr) return Status::kInvalidParameter;
  RegistryValue value;
  bool found = false;
  const Status status = WithView([&](const KeyView& view) {
    if (const RegistryValue* v = FindIn(view, name)) {
      value = *v;
      found = true;
    }
  });
  if (status != Status::kOk) return status;
  if (!found) return Status::kFileNotFound;
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return Status::kOk;
  const uint32_t needed = QuerySizeOf(value);
  const uint32_t room = *size;
  *size = needed;
  if (data == nullptr) return Status::kOk;
  if (room < needed) return Status::kMoreData;
  std::memcpy(data, value.data.data(), value.data.size());
  if (value.type == ValueType::kString) static_cast<char*>(data)[value.data.size()] = '\0';
  return Status::kOk;
}

namespace {

// A value of the wanted type, through the raw query.
Result<std::string> QueryTyped(const RegistryKey& key, std::string_view name, ValueType want) {
  ValueType type = ValueType::kNone;
  uint32_t size = 0;
  Status status = key.QueryValue(name, &type, nullptr, &size);
  if (status != Status::kOk) return Result<std::string>::Fail(status);
  if (type != want) return Result<std::string>::Fail(Status::kDatatypeMismatch);
  std::string bytes(size, '\0');
  status = key.QueryValue(name, &type, bytes.data(), &size);
  if (status != Status::kOk) return Result<std::string>::Fail(status);
  bytes.resize(size);
  if (want == ValueType::kString && !bytes.empty()) bytes.pop_back();
  return Result<std::string>::Ok(std::move(bytes));
}

}  // namespace

Result<uint32_t> RegistryKey::QueryDword(std::string_view name) const {
  const Result<std::string> raw = QueryTyped(*this, name, ValueType::kDword);
  if (!raw.ok()) return Result<uint32_t>::Fail(raw.status);
  return Result<uint32_t>::Ok(static_cast<uint32_t>(LittleEndian(raw.value)));
}

Result<uint64_t> RegistryKey::QueryQword(std::string_view name) const {
  const Result<std::string> raw = QueryTyped(*this, name, ValueType::kQword);
  if (!raw.ok()) return Result<uint64_t>::Fail(raw.status);
  return Result<uint64_t>::Ok(LittleEndian(raw.value));
}

Result<std::string> RegistryKey::QueryString(std::string_view name) const {
  return QueryTyped(*this, name, ValueType::kString);
}

Result<std::string> RegistryKey::QueryBinary(std::string_view name) const {
  return QueryTyped(*this, name, ValueType::kBinary);
}

Status RegistryKey::SetValue(std::string_view name, ValueType type, const void* data,
                             uint32_t size) {
  if (store_ == nullptr) return Status::kInvalidHandle;
  if ((data == nullptr && size > 0) || name.size() > kMaxValueNameBytes) {
    return Status::kInvalidParameter;
  }
  std::string bytes;
  const std::string_view given(static_cast<const char*>(data), data == nullptr ? 0 : size);
  const Status valid = NormalizeData(type, given, &bytes);
  if (valid != Status::kOk) return valid;
  const detail::FolderLock fileLock = store_->impl_->LockForWrite();
  std::lock_guard lock(store_->impl_->mutex);
  detail::KeyNode* node = nullptr;
  const Status access = store_->impl_->NodeForWrite(*this, &node);
  if (access != Status::kOk) return access;
  const RegistryValue* old = node->FindValue(name);
  if (old != nullptr && old->type == type && old->data == bytes) return Status::kOk;
  node->PutValue(RegistryValue{std::string(name), type, std::move(bytes)});
  return store_->impl_->Save(store_->impl_->Fresh(root_));
}

Status RegistryKey::SetDword(std::string_view name, uint32_t value) {
  const std::string bytes = DwordBytes(value);
  return SetValue(name, ValueType::kDword, bytes.data(), 4);
}

Status RegistryKey::SetQword(std::string_view name, uint64_t value) {
  const std::string bytes = QwordBytes(value);
  return SetValue(name, ValueType::kQword, bytes.data(), 8);
}

Status RegistryKey::SetString(std::string_view name, std::string_view text) {
  return SetValue(name, ValueType::kString, text.data(), static_cast<uint32_t>(text.size()));
}

Status RegistryKey::SetBinary(std::string_view name, std::string_view bytes) {
  return SetValue(name, ValueType::kBinary, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

Status RegistryKey::DeleteValue(std::string_view name) {
  if (store_ == nullptr) return Status::kInvalidHandle;
  const detail::FolderLock fileLock = store_->impl_->LockForWrite();
  std::lock_guard lock(store_->impl_->mutex);
  detail::KeyNode* node = nullptr;
  const Status access = store_->impl_->NodeForWrite(*this, &node);
  if (access != Status::kOk) return access;
  if (!node->EraseValue(name)) return Status::kFileNotFound;
  return store_->impl_->Save(store_->impl_->Fresh(root_));
}

Result<std::vector<std::string>> RegistryKey::SubkeyNames() const {
  std::vector<std::string> names;
  const Status status = WithView([&](const KeyView& view) {
    if (view.node == nullptr) return;
    for (const auto& entry : view.node->children) names.push_back(entry.second->name);
  });
  return {status, std::move(names)};
}

Result<std::vector<ValueInfo>> RegistryKey::Values() const {
  std::vector<ValueInfo> infos;
  const Status status = WithView([&](const KeyView& view) {
    const std::vector<RegistryValue>& values = view.node ? view.node->values : view.computed;
    for (const RegistryValue& value : values) {
      infos.push_back(ValueInfo{value.name, value.type, QuerySizeOf(value)});
    }
  });
  return {status, std::move(infos)};
}

Result<std::string> RegistryKey::EnumSubkey(uint32_t index) const {
  auto names = SubkeyNames();
  if (!names.ok()) return Result<std::string>::Fail(names.status);
  if (index >= names.value.size()) return Result<std::string>::Fail(Status::kNoMoreItems);
  return Result<std::string>::Ok(std::move(names.value[index]));
}

Result<ValueInfo> RegistryKey::EnumValue(uint32_t index) const {
  auto values = Values();
  if (!values.ok()) return Result<ValueInfo>::Fail(values.status);
  if (index >= values.value.size()) return Result<ValueInfo>::Fail(Status::kNoMoreItems);
  return Result<ValueInfo>::Ok(std::move(values.value[index]));
}

Status RegistryKey::OpenSubkey(std::string_view subPath, KeyAccess access,
                               RegistryKey* out) const {
  if (store_ == nullptr) return Status::kInvalidHandle;
  return store_->OpenKey(root_, detail::JoinKeyPath(path_, subPath), access, out);
}

Status RegistryKey::CreateSubkey(std::string_view subPath, RegistryKey* out) const {
  if (store_ == nullptr) return Status::kInvalidHandle;
  if (access_ != KeyAccess::kFull) return Status::kAccessDenied;
  return store_->CreateKey(root_, detail::JoinKeyPath(path_, subPath), out);
}

}  // namespace tarn::platform
