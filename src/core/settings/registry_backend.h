#pragma once
// The RegistryBackend seam: typed values read and written by name under a key. The settings store
// talks only to this; the REGEDIT4 file (registry_file.h) and an in-memory registry
// (memory_registry.h) implement it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorano {

// Registry value types, numbered as the Windows registry numbers them (a file may carry others).
enum class RegType : uint32_t { Sz = 1, Binary = 3, Dword = 4 };

// A stored value: its type and its data bytes as the registry holds them. A DWORD is 4 little-endian
// bytes; a text (Sz) carries its terminating zero, so "12" is the 3 bytes '1', '2', 0.
struct RegValue {
  RegType type = RegType::Binary;
  std::string data;

  friend bool operator==(const RegValue&, const RegValue&) = default;
};

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Opens the key, creating it when missing. False when it can be neither opened nor created; then
  // nothing can be read from or written under it.
  virtual bool OpenKey(std::string_view key) = 0;

  // The value, or nullopt when the key or the value does not exist (or could not be read).
  virtual std::optional<RegValue> Read(std::string_view key, std::string_view name) const = 0;

  // Stores the value; false when it could not be stored.
  virtual bool Write(std::string_view key, std::string_view name, const RegValue& value) = 0;

  // Makes the writes so far durable (the file backend rewrites its file). False on failure.
  virtual bool Flush() = 0;
};

}  // namespace sorano
