#pragma once
// The descriptor table of every stored setting: registry name, type, width, the member of
// SettingsStore it lives in, its initial value and the value the settings reset gives it. Families
// appear expanded, one entry per element ("color_tec07"). Load, save, reset and the settings dialog
// walk this list.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/registry_backend.h"

namespace sorano {

struct SettingsStore;

struct SettingValue {
  std::string name;     // registry value name
  RegType type;         // the type the value is written with
  uint32_t width;       // field width in bytes: 4, 8, 80, or the text width (terminating zero included)
  size_t offset;        // byte offset of the field inside SettingsStore
  std::string initial;  // exactly width bytes
  std::optional<std::string> reset;  // exactly width bytes; nullopt: the reset keeps the field
};

// Every stored value in load order: check_start2, the rest of table 1, tables 2 to 11, the hosts.
const std::vector<SettingValue>& SettingValues();

// The entry of a registry name (compared exactly), or nullptr.
const SettingValue* FindSetting(std::string_view name);

// The bytes of the field an entry names.
std::span<uint8_t> FieldBytes(SettingsStore& store, const SettingValue& value);
std::span<const uint8_t> FieldBytes(const SettingsStore& store, const SettingValue& value);

// The preset of a rebar band record before any stored one replaces it (band 0, 1 or 2).
std::string RebarBandPreset(int band);

}  // namespace sorano
