#include "core/settings/settings_store.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/prompt/prompt.h"
#include "core/settings/registry_backend.h"
#include "core/settings/settings_table.h"

namespace sorano {

namespace {

// Marks under the user's key that the first-start steps have run.
constexpr char kFirstStartRecord[] = "sorano_first_start";
constexpr char kKeyParent[] = "HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\";
constexpr size_t kLoginNameBuffer = 256;  // characters, terminating zero included

// Copies a stored value into its field. A value longer than the field counts as missing. A value of
// another type is taken byte for byte: a DWORD field read from the text "12" gets '1', '2', 0 and
// keeps its fourth byte. A text field must still hold a terminating zero afterwards, otherwise the
// value counts as missing too, so that no reader of the field runs past its end.
bool ReadInto(SettingsStore& store, const SettingValue& entry, const RegValue& stored) {
  if (stored.data.size() > entry.width) return false;
  std::span<uint8_t> field = FieldBytes(store, entry);
  if (entry.type == RegType::Sz) {
    std::vector<uint8_t> merged(field.begin(), field.end());
    std::memcpy(merged.data(), stored.data.data(), stored.data.size());
    if (std::find(merged.begin(), merged.end(), uint8_t{0}) == merged.end()) return false;
  }
  std::memcpy(field.data(), stored.data.data(), stored.data.size());
  return true;
}

// The data a field is written with. Texts go up to and including their terminating zero; a text
// field without one (only possible through a bug elsewhere) is cut to width - 1 bytes and terminated.
RegValue ValueOf(const SettingsStore& store, const SettingValue& entry) {
  std::span<const uint8_t> field = FieldBytes(store, entry);
  RegValue v;
  v.type = entry.type;
  if (entry.type == RegType::Sz) {
    auto zero = std::find(field.begin(), field.end(), uint8_t{0});
    size_t len = zero == field.end() ? field.size() - 1 : static_cast<size_t>(zero - field.begin());
    v.data.assign(reinterpret_cast<const char*>(field.data()), len);
    v.data.push_back('\0');
  } else {
    v.data.assign(reinterpret_cast<const char*>(field.data()), field.size());
  }
  return v;
}

void ReadValue(SettingsStore& store, const RegistryBackend& registry, std::string_view key,
               const SettingValue& entry) {
  if (std::optional<RegValue> stored = registry.Read(key, entry.name)) ReadInto(store, entry, *stored);
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
  return {};
}

// The run's data folder becomes check_path as it stands.
void FixDataFolder(SettingsStore& s) {
  static_assert(sizeof s.runtime.data_path == sizeof s.check_path);
  std::memcpy(s.runtime.data_path, s.check_path, sizeof s.check_path);
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

SettingsStore::SettingsStore() {
  std::memset(static_cast<void*>(this), 0, sizeof *this);
  for (const SettingValue& entry : SettingValues()) {
    std::span<uint8_t> field = FieldBytes(*this, entry);
    std::memcpy(field.data(), entry.initial.data(), field.size());
  }
  runtime.parabolic_af_min = 2;
  runtime.parabolic_af_max = 20;
  runtime.base_line = 0;
}

bool SettingsStore::load(RegistryBackend& registry, std::string_view key, const SettingsLoadHooks& hooks) {
  // Without the key nothing is read and the start goes on with the initial values; only the
  // single-instance check can still stop it.
  if (!registry.OpenKey(key)) return !hooks.single_instance || hooks.single_instance(*this);

  const std::vector<SettingValue>& entries = SettingValues();
  ReadValue(*this, registry, key, entries.front());  // check_start2

  if (!registry.Read(key, kFirstStartRecord)) {
    RegValue record{RegType::Dword, std::string("\x01\x00\x00\x00", 4)};
    if (registry.Write(key, kFirstStartRecord, record)) registry.Flush();
    std::string folder = PerUserDataFolder();
    if (folder.size() < sizeof check_path) {
      std::memset(check_path, 0, sizeof check_path);
      std::memcpy(check_path, folder.data(), folder.size());
    }
    FixDataFolder(*this);
    if (hooks.first_start) hooks.first_start(*this);
  }

  if (hooks.single_instance && !hooks.single_instance(*this)) return false;

  for (size_t i = 1; i < entries.size(); ++i) ReadValue(*this, registry, key, entries[i]);
  FixDataFolder(*this);
  return true;
}

bool SettingsStore::save(RegistryBackend& registry, std::string_view key,
                         std::optional<WindowGeometry> window) {
  if (window) {
    check_rc.left = window->left;
    check_rc.top = window->top;
    check_rc.right = window->width;
    check_rc.bottom = window->height;
  }
  if (!registry.OpenKey(key)) return false;
  bool ok = true;
  for (const SettingValue& entry : SettingValues())
    if (!registry.Write(key, entry.name, ValueOf(*this, entry))) ok = false;  // go on with the rest
  if (!registry.Flush()) ok = false;
  return ok;
}

bool SettingsStore::reset_to_defaults(Prompt& prompt) {
  PromptAnswer answer = prompt.Ask("本当にすべての環境設定を\n初期化いたしますか？", "最終確認",
                                   PromptButtons::YesNo, PromptIcon::Stop, PromptAnswer::No);
  if (answer != PromptAnswer::Yes) return false;
  for (const SettingValue& entry : SettingValues()) {
    if (!entry.reset) continue;
    std::span<uint8_t> field = FieldBytes(*this, entry);
    std::memcpy(field.data(), entry.reset->data(), field.size());
  }
  runtime.parabolic_af_min = 2;
  runtime.parabolic_af_max = 40;
  runtime.base_line = 0;  // the reset command also switches the base lines off
  return true;
}

DataFolder SettingsStore::data_folder() const {
  return DataFolder(std::string(runtime.data_path, strnlen(runtime.data_path, sizeof runtime.data_path)));
}

std::string SettingsKey(std::string_view loginName) {
  // The name becomes one path component of the key and the text between '[' and ']' of a REGEDIT4
  // section line, so separators, brackets and control characters disqualify it, like a name that
  // does not fit the 256-character buffer.
  bool usable = !loginName.empty() && loginName.size() < kLoginNameBuffer;
  for (unsigned char c : loginName)
    if (c < 0x20 || c == 0x7F || c == '\\' || c == '[' || c == ']') usable = false;
  return std::string(kKeyParent) + (usable ? std::string(loginName) : std::string("All Users"));
}

std::string CurrentLoginName() {
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
  if (const char* user = std::getenv("USER"); user && *user) return user;
  if (const char* login = ::getlogin(); login && *login) return login;
  return {};
}

std::string PerUserDataFolder() {
  // Relative values of XDG_DATA_HOME are invalid and ignored.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return WithSlash(xdg) + "Sorano/";
  std::string home = HomeFolder();
  if (home.empty()) return {};
  return WithSlash(home) + ".local/share/Sorano/";
}

}  // namespace sorano
