// The runtime's dictionary: named objects it owns until they are removed.
#include "runtime/system_registry.h"

namespace tarn::runtime {

TcRxObject* RxDictionary::at(const char* key) const {
  if (!key) return nullptr;
  auto it = entries_.find(std::string_view(key));
  return it == entries_.end() ? nullptr : it->second.get();
}

TcRxObject* RxDictionary::atPut(const char* key, TcRxObject* object) {
  if (!key || !object) return nullptr;  // a null key or object cannot be stored
  auto& slot = entries_[key];
  TcRxObject* former = slot.release();
  slot.reset(object);
  return former == object ? nullptr : former;
}

TcRxObject* RxDictionary::remove(const char* key) {
  if (!key) return nullptr;
  auto it = entries_.find(std::string_view(key));
  if (it == entries_.end()) return nullptr;
  TcRxObject* object = it->second.release();
  entries_.erase(it);
  return object;
}

bool RxDictionary::has(const char* key) const { return at(key) != nullptr; }

uint32_t RxDictionary::numEntries() const { return uint32_t(entries_.size()); }

}  // namespace tarn::runtime
