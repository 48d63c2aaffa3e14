#pragma once
// A registry kept in memory: for tests, and for running without touching the user's settings.
#include <map>
#include <string>

#include "core/settings/registry_backend.h"

namespace sorano {

class MemoryRegistry : public RegistryBackend {
 public:
  // key -> value name -> value. Open to tests for setting up and inspecting.
  std::map<std::string, std::map<std::string, RegValue, std::less<>>, std::less<>> keys;
  bool unavailable = false;  // OpenKey fails, nothing can be read or written
  int flushes = 0;

  bool OpenKey(std::string_view key) override {
    if (unavailable) return false;
    keys.try_emplace(std::string(key));
    return true;
  }

  std::optional<RegValue> Read(std::string_view key, std::string_view name) const override {
    if (unavailable) return std::nullopt;
    auto k = keys.find(key);
    if (k == keys.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
  }

  bool Write(std::string_view key, std::string_view name, const RegValue& value) override {
    if (unavailable) return false;
    keys[std::string(key)][std::string(name)] = value;
    return true;
  }

  bool Flush() override {
    if (unavailable) return false;
    ++flushes;
    return true;
  }
};

}  // namespace sorano
