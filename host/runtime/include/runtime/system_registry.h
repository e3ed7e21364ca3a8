// The system registry of the runtime: a dictionary of named runtime objects
// ("ServiceDictionary", "DynamicLinker", "TCAD_REGISTERED_COMMANDS") that
// modules look up by name, and the dictionary class both it and the service
// dictionary are made of.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <tarnsdk/tcrxapi.h>

namespace tarn::runtime {

// A dictionary that owns its objects; keys are compared exactly.
class RxDictionary : public TcRxDictionary {
 public:
  TcRxObject* at(const char* key) const override;
  TcRxObject* atPut(const char* key, TcRxObject* object) override;
  TcRxObject* remove(const char* key) override;
  bool has(const char* key) const override;
  uint32_t numEntries() const override;

  // Removes and deletes every entry the test accepts; how many went.
  template <class Test>
  int eraseIf(Test test) {
    int n = 0;
    for (auto it = entries_.begin(); it != entries_.end();) {
      if (test(it->first, *it->second)) {
        it = entries_.erase(it);
        ++n;
      } else {
        ++it;
      }
    }
    return n;
  }

 private:
  std::map<std::string, std::unique_ptr<TcRxObject>, std::less<>> entries_;
};

// The dictionary of presence services ("ServiceDictionary").
RxDictionary& serviceDictionary();

// Removes the services a module left behind: those it registered by name
// and the objects of its own classes; how many went.
int removeServicesOf(const void* moduleBase);

}  // namespace tarn::runtime
