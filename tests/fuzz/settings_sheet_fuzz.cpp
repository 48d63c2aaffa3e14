// The settings sheet with any texts typed into its fields. Input: entries separated by a zero byte, each
// a byte choosing the field and the text (UTF-8, as the dialog hands it over).
// A sheet that Check() refuses names a data folder too long for its field or a text with a character
// Shift_JIS cannot hold. Otherwise every value Apply()
// stores keeps to its field's rule and fits its field as well-formed Shift_JIS, and what the sheet then
// shows is a fixed point: typed in again, and after a save and load through the settings store, it is
// shown the same (the running program's own values, which are never stored, kept).
#include <cmath>
#include <cstring>
#include <vector>

#include "core/settings/memory_registry.h"
#include "core/settings/settings_sheet.h"
#include "core/text/fixed_field.h"
#include "fuzz_support.h"

namespace {

using sorano::FieldRule;
using sorano::SettingsSheet;
using sorano::SettingsStore;

template <typename T>
T Value(const SettingsStore& store, size_t offset) {
  T v;
  std::memcpy(&v, reinterpret_cast<const char*>(&store) + offset, sizeof v);
  return v;
}

std::vector<std::string> Shown(const SettingsStore& store) {
  const SettingsSheet sheet(store);
  std::vector<std::string> texts;
  for (size_t i = 0; i < sorano::SheetFields().size(); ++i) texts.push_back(sheet.Text(i));
  return texts;
}

void CheckRules(const SettingsStore& store) {
  for (const sorano::SheetField& f : sorano::SheetFields()) {
    const auto* bytes = reinterpret_cast<const char*>(&store) + f.offset;
    switch (f.rule) {
      case FieldRule::kAtLeastOne:
        FUZZ_CHECK(Value<int32_t>(store, f.offset) >= 1);
        break;
      case FieldRule::kScrollRange:
        FUZZ_CHECK(Value<int32_t>(store, f.offset) >= 0);
        break;
      case FieldRule::kSeconds: {
        const int32_t ms = Value<int32_t>(store, f.offset);
        FUZZ_CHECK(ms >= 1000 && ms <= 3600000 && ms % 1000 == 0);
        break;
      }
      case FieldRule::kRetries:
        FUZZ_CHECK(Value<int32_t>(store, f.offset) >= 0 && Value<int32_t>(store, f.offset) <= 10);
        break;
      case FieldRule::kPercent:
        FUZZ_CHECK(std::isfinite(Value<double>(store, f.offset)));
        break;
      case FieldRule::kZigzag:
        FUZZ_CHECK(std::isfinite(Value<double>(store, f.offset)) && Value<double>(store, f.offset) > 0);
        break;
      case FieldRule::kText:
        FUZZ_CHECK(std::memchr(bytes, 0, f.width) != nullptr);
        FUZZ_CHECK(sorano::fuzz::IsWellFormedSjis(sorano::FieldText(std::span(bytes, f.width))));
        break;
      case FieldRule::kFolder:
        FUZZ_CHECK(std::memchr(bytes, 0, f.width) != nullptr);
        break;
      case FieldRule::kInteger:
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t fields = sorano::SheetFields().size();
  const SettingsStore defaults;
  SettingsSheet sheet(defaults);
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::string_view entry = rest.substr(0, rest.find('\0'));
    rest.remove_prefix(std::min(rest.size(), entry.size() + 1));
    if (!entry.empty())
      sheet.SetText(static_cast<unsigned char>(entry[0]) % fields, std::string(entry.substr(1)));
  }
  if (const auto problem = sheet.Check()) {
    FUZZ_CHECK(problem->field < fields);
    const FieldRule rule = sorano::SheetFields()[problem->field].rule;
    FUZZ_CHECK(rule == FieldRule::kFolder || rule == FieldRule::kText);
    FUZZ_CHECK(!problem->message.empty());
    return 0;
  }
  SettingsStore applied = defaults;
  sheet.Apply(applied);
  CheckRules(applied);
  const std::vector<std::string> shown = Shown(applied);

  // Typed in again over the defaults.
  SettingsSheet retyped(defaults);
  for (size_t i = 0; i < fields; ++i) retyped.SetText(i, shown[i]);
  FUZZ_CHECK(!retyped.Check());
  SettingsStore again = defaults;
  retyped.Apply(again);
  FUZZ_CHECK(Shown(again) == shown);

  // Saved and read back.
  sorano::MemoryRegistry registry;
  const std::string key = sorano::SettingsKey("fuzz");
  FUZZ_CHECK(applied.save(registry, key));
  // Not a first start, which would point check_path at the per-user folder.
  registry.keys[key]["sorano_first_start"] = {sorano::RegType::Dword, std::string("\x01\0\0\0", 4)};
  SettingsStore loaded;
  loaded.load(registry, key);
  loaded.runtime = applied.runtime;  // values of the running program, never stored
  FUZZ_CHECK(Shown(loaded) == shown);
  return 0;
}
