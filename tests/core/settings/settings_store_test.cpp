#include "core/settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/memory_registry.h"
#include "core/settings/registry_file.h"
#include "core/settings/settings_table.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"
#include "support/fake_prompt.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace sorano {
namespace {

using test::ScopedEnv;

const std::string kAlice = SettingsKey("alice");

std::string Bytes(std::span<const uint8_t> s) {
  return {reinterpret_cast<const char*>(s.data()), s.size()};
}

std::string Field(const SettingsStore& s, std::string_view name) {
  const SettingValue* v = FindSetting(name);
  EXPECT_NE(v, nullptr) << name;
  return v ? Bytes(FieldBytes(s, *v)) : std::string();
}

std::string Dw(uint32_t v) {
  std::string d(4, '\0');
  for (int i = 0; i < 4; ++i) d[i] = static_cast<char>(v >> (8 * i));
  return d;
}

std::string Text(const char* field, size_t width) {
  return std::string(FieldText({field, width}));
}

// A store in which every stored field differs from its initial value: each entry gets bytes derived
// from its position in the table, texts get a short Shift_JIS text with a '\' trail byte.
SettingsStore EveryFieldChanged() {
  SettingsStore s;
  const std::vector<SettingValue>& all = SettingValues();
  for (size_t i = 0; i < all.size(); ++i) {
    std::span<uint8_t> f = FieldBytes(s, all[i]);
    if (all[i].type == RegType::Sz) {
      std::string t = Utf8ToSjis("ソ表") + "\\\"v" + std::to_string(i);
      if (t.size() >= f.size()) t = std::to_string(i % 10000);
      SetField({reinterpret_cast<char*>(f.data()), f.size()}, t);
    } else {
      for (size_t b = 0; b < f.size(); ++b) f[b] = static_cast<uint8_t>(i * 7 + b * 13 + 1);
    }
  }
  return s;
}

TEST(SettingsStoreTest, FirstStartGivesInitialValuesAndThePerUserDataFolder) {
  test::TempDir dir;
  ScopedEnv xdg("XDG_DATA_HOME", (dir / "share").c_str());
  const std::string regPath = dir / "config/Vantor/Sorano.reg";
  std::vector<std::string> steps;
  SettingsLoadHooks hooks;
  hooks.first_start = [&](SettingsStore& s) {
    steps.push_back("first:" + Text(s.check_path, sizeof s.check_path));
  };
  hooks.single_instance = [&](const SettingsStore&) {
    steps.push_back("single");
    return true;
  };

  SettingsStore s;
  {
    RegistryFile reg(regPath);
    ASSERT_TRUE(s.load(reg, kAlice, hooks));
  }
  const std::string folder = dir / "share/Sorano/";
  EXPECT_EQ(steps, (std::vector<std::string>{"first:" + folder, "single"}));
  EXPECT_EQ(Text(s.check_path, sizeof s.check_path), folder);
  EXPECT_EQ(s.data_folder().Path("data/view.dat"), folder + "data/view.dat");
  for (const SettingValue& v : SettingValues()) {
    if (v.name == "check_path") continue;
    EXPECT_EQ(Bytes(FieldBytes(s, v)), v.initial) << v.name;
  }
  EXPECT_EQ(s.runtime.parabolic_af_min, 2);
  EXPECT_EQ(s.runtime.parabolic_af_max, 20);
  EXPECT_EQ(s.runtime.base_line, 0);
  // The record went to disk at once: the next start is not a first start, and nothing else was
  // written, so check_path stays as the first start set it until the exit saves it.
  ASSERT_FALSE(test::ReadBytes(regPath).empty());
  steps.clear();
  {
    SettingsStore again;
    RegistryFile reg(regPath);
    ASSERT_TRUE(again.load(reg, kAlice, hooks));
    EXPECT_EQ(steps, std::vector<std::string>{"single"});
    EXPECT_EQ(Text(again.check_path, sizeof again.check_path), "");
  }
  // After a save every name of the tables is under the key, with its type and width.
  {
    RegistryFile reg(regPath);
    ASSERT_TRUE(s.save(reg, kAlice));
  }
  RegistryFile reg(regPath);
  for (const SettingValue& v : SettingValues()) {
    std::optional<RegValue> stored = reg.Read(kAlice, v.name);
    ASSERT_TRUE(stored) << v.name;
    EXPECT_EQ(stored->type, v.type) << v.name;
    if (v.type == RegType::Sz) {
      std::string text(FieldText({reinterpret_cast<const char*>(FieldBytes(s, v).data()), v.width}));
      EXPECT_EQ(stored->data, text + '\0') << v.name;
    } else {
      EXPECT_EQ(stored->data.size(), v.width) << v.name;
    }
  }
}

TEST(SettingsStoreTest, PerUserDataFolderFallsBackToHome) {
  {
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", "/home/alice");
    EXPECT_EQ(PerUserDataFolder(), "/home/alice/.local/share/Sorano/");
  }
  {
    ScopedEnv xdg("XDG_DATA_HOME", "relative/share");  // not absolute: ignored
    ScopedEnv home("HOME", "/home/bob/");
    EXPECT_EQ(PerUserDataFolder(), "/home/bob/.local/share/Sorano/");
  }
  {
    ScopedEnv xdg("XDG_DATA_HOME", "/data/");
    EXPECT_EQ(PerUserDataFolder(), "/data/Sorano/");
  }
}

TEST(SettingsStoreTest, RoundTripThroughTheFileKeepsEveryValueWithItsType) {
  test::TempDir dir;
  ScopedEnv xdg("XDG_DATA_HOME", (dir / "share").c_str());
  const std::string regPath = dir / "Sorano.reg";
  SettingsStore before = EveryFieldChanged();
  {
    SettingsStore first;  // the first start writes the record
    RegistryFile reg(regPath);
    ASSERT_TRUE(first.load(reg, kAlice));
  }
  {
    RegistryFile reg(regPath);
    ASSERT_TRUE(before.save(reg, kAlice));
  }
  RegistryFile reg(regPath);
  EXPECT_FALSE(reg.garbled());
  for (const SettingValue& v : SettingValues()) {
    std::optional<RegValue> stored = reg.Read(kAlice, v.name);
    ASSERT_TRUE(stored) << v.name;
    EXPECT_EQ(stored->type, v.type) << v.name;
  }
  int firstStarts = 0;
  SettingsLoadHooks hooks;
  hooks.first_start = [&](SettingsStore&) { ++firstStarts; };
  SettingsStore after;
  ASSERT_TRUE(after.load(reg, kAlice, hooks));
  EXPECT_EQ(firstStarts, 0);
  // A text is stored up to its terminating zero, so only that much of its field comes back.
  for (const SettingValue& v : SettingValues()) {
    std::string a = Bytes(FieldBytes(after, v)), b = Bytes(FieldBytes(before, v));
    if (v.type == RegType::Sz) {
      a.resize(a.find('\0'));
      b.resize(b.find('\0'));
    }
    EXPECT_EQ(a, b) << v.name;
  }
}

TEST(SettingsStoreTest, WindowRectangleAndMacdPeriodsSurviveARestart) {
  MemoryRegistry reg;
  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  s.para_tec_macd01 = 8;
  s.para_tec_macd02 = 17;
  s.para_tec_macd03 = 4;
  s.para_tec_rci = 13;
  ASSERT_TRUE(s.save(reg, kAlice, WindowGeometry{-4, 20, 800, 600}));
  const auto& key = reg.keys.at(kAlice);
  EXPECT_EQ(key.at("check_rc.left"), (RegValue{RegType::Dword, Dw(static_cast<uint32_t>(-4))}));
  EXPECT_EQ(key.at("check_rc.top"), (RegValue{RegType::Dword, Dw(20)}));
  EXPECT_EQ(key.at("check_rc.right"), (RegValue{RegType::Dword, Dw(800)}));
  EXPECT_EQ(key.at("check_rc.bottom"), (RegValue{RegType::Dword, Dw(600)}));
  EXPECT_EQ(key.at("para_tec_macd02"), (RegValue{RegType::Dword, Dw(17)}));
  EXPECT_EQ(key.at("para_tec_rci"), (RegValue{RegType::Dword, Dw(13)}));

  SettingsStore t;
  ASSERT_TRUE(t.load(reg, kAlice));
  EXPECT_EQ(t.check_rc.left, -4);
  EXPECT_EQ(t.check_rc.top, 20);
  EXPECT_EQ(t.check_rc.right, 800);
  EXPECT_EQ(t.check_rc.bottom, 600);
  EXPECT_EQ(t.para_tec_macd01, 8);
  EXPECT_EQ(t.para_tec_macd02, 17);
  EXPECT_EQ(t.para_tec_macd03, 4);
  EXPECT_EQ(t.para_tec_rci, 13);

  // Without a window the rectangle is saved as it stands.
  t.check_rc.right = 1024;
  ASSERT_TRUE(t.save(reg, kAlice));
  EXPECT_EQ(reg.keys.at(kAlice).at("check_rc.right").data, Dw(1024));
  EXPECT_EQ(reg.keys.at(kAlice).at("check_rc.left").data, Dw(static_cast<uint32_t>(-4)));
}

TEST(SettingsStoreTest, SingleInstanceCheckSeesOnlyCheckStart2AndCanStopTheLoad) {
  MemoryRegistry reg;
  reg.keys[kAlice]["sorano_first_start"] = {RegType::Dword, Dw(1)};
  reg.keys[kAlice]["check_start2"] = {RegType::Dword, Dw(1)};
  reg.keys[kAlice]["check_menu"] = {RegType::Dword, Dw(0)};
  int seenStart2 = -1, seenMenu = -1;
  SettingsLoadHooks hooks;
  hooks.single_instance = [&](const SettingsStore& s) {
    seenStart2 = s.check_start2;
    seenMenu = s.check_menu;
    return false;
  };
  SettingsStore s;
  EXPECT_FALSE(s.load(reg, kAlice, hooks));
  EXPECT_EQ(seenStart2, 1);
  EXPECT_EQ(seenMenu, 1);  // not read yet
  EXPECT_EQ(s.check_menu, 1);

  hooks.single_instance = [](const SettingsStore&) { return true; };
  EXPECT_TRUE(s.load(reg, kAlice, hooks));
  EXPECT_EQ(s.check_menu, 0);
}

TEST(SettingsStoreTest, WithoutTheKeyTheInitialValuesStandAndNothingIsWritten) {
  MemoryRegistry reg;
  reg.unavailable = true;
  int firstStarts = 0, checks = 0;
  SettingsLoadHooks hooks;
  hooks.first_start = [&](SettingsStore&) { ++firstStarts; };
  hooks.single_instance = [&](const SettingsStore&) { return ++checks > 0; };
  SettingsStore s;
  EXPECT_TRUE(s.load(reg, kAlice, hooks));
  EXPECT_EQ(firstStarts, 0);
  EXPECT_EQ(checks, 1);
  EXPECT_EQ(Text(s.check_path, sizeof s.check_path), "");
  EXPECT_FALSE(s.save(reg, kAlice));
  EXPECT_TRUE(reg.keys.empty());
}

TEST(SettingsStoreTest, AllUsersKeyWhenTheLoginNameCannotBeHad) {
  const std::string parent = "HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\";
  EXPECT_EQ(SettingsKey("alice"), parent + "alice");
  EXPECT_EQ(SettingsKey(""), parent + "All Users");
  EXPECT_EQ(SettingsKey(std::string(256, 'a')), parent + "All Users");
  EXPECT_EQ(SettingsKey(std::string(255, 'a')), parent + std::string(255, 'a'));
  EXPECT_EQ(SettingsKey("a]b"), parent + "All Users");
  EXPECT_EQ(SettingsKey("a\\b"), parent + "All Users");
  EXPECT_EQ(SettingsKey("a\nb"), parent + "All Users");

  test::TempDir dir;
  ScopedEnv xdg("XDG_DATA_HOME", (dir / "share").c_str());
  SettingsStore s;
  {
    RegistryFile reg(dir / "Sorano.reg");
    ASSERT_TRUE(s.load(reg, SettingsKey("")));
    s.check_code = 9984;
    ASSERT_TRUE(s.save(reg, SettingsKey("")));
  }
  std::string file = test::ReadBytes(dir / "Sorano.reg");
  EXPECT_NE(file.find("\r\n[HKEY_CURRENT_USER\\Software\\Vantor\\Sorano\\All Users]\r\n"), std::string::npos);
  EXPECT_NE(file.find("\r\n\"check_code\"=dword:00002700\r\n"), std::string::npos);
  RegistryFile reg(dir / "Sorano.reg");
  SettingsStore t;
  ASSERT_TRUE(t.load(reg, SettingsKey("")));
  EXPECT_EQ(t.check_code, 9984);
}

TEST(SettingsStoreTest, MistypedValuesAreReadByteForByteAndOversizedOnesAreMissing) {
  MemoryRegistry reg;
  auto& key = reg.keys[kAlice];
  key["sorano_first_start"] = {RegType::Dword, Dw(1)};
  key["check_code"] = {RegType::Sz, std::string("12\0", 3)};                // 3 of 4 bytes
  key["check_font_size"] = {RegType::Dword, Dw(24)};                        // DWORD into a BINARY field
  key["check_font_name"] = {RegType::Binary, std::string("Sans\0", 5)};     // BINARY into a text
  key["check_proxyprot"] = {RegType::Sz, std::string("1234567\0", 8)};      // 8 > 6: missing
  key["check_proxyserver"] = {RegType::Sz, std::string(256, 'x')};          // fills 256, no zero: missing
  key["check_proxyuser"] = {RegType::Sz, std::string(255, 'u') + '\0'};     // exactly 256: read
  key["check_shi_kagi"] = {RegType::Binary, std::string(9, '\x01')};        // 9 > 8: missing
  key["check_shi_renkou"] = {RegType::Binary, std::string("\0\0\0\0", 4)};  // the low half only
  key["rbBand01"] = {RegType::Binary, std::string(81, '\x02')};             // 81 > 80: missing
  key["rbBand02"] = {RegType::Binary, std::string(80, '\x03')};
  key["color_tec07"] = {RegType::Dword, Dw(0x123456)};
  key["para_shi_sma01"] = {RegType::Binary, ""};                                    // empty: nothing to copy
  key["check_key_link01"] = {static_cast<RegType>(7), std::string("a\0b\0\0", 5)};  // foreign type

  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  EXPECT_EQ(Field(s, "check_code"), std::string("12\0\0", 4));  // 7004 = 5c 1b 00 00, fourth byte kept
  EXPECT_EQ(s.check_font_size, 24);
  EXPECT_EQ(Text(s.check_font_name, sizeof s.check_font_name), "Sans");
  EXPECT_EQ(Text(s.check_proxyprot, sizeof s.check_proxyprot), "");
  EXPECT_EQ(Text(s.check_proxyserver, sizeof s.check_proxyserver), "");
  EXPECT_EQ(Text(s.check_proxyuser, sizeof s.check_proxyuser), std::string(255, 'u'));
  EXPECT_DOUBLE_EQ(s.check_shi_kagi, 0.03);
  double expected = 0.03;
  std::memset(&expected, 0, 4);
  EXPECT_EQ(std::memcmp(&s.check_shi_renkou, &expected, 8), 0);
  EXPECT_EQ(Bytes(s.rbBand[1]), RebarBandPreset(1));
  EXPECT_EQ(Bytes(s.rbBand[2]), std::string(80, '\x03'));
  EXPECT_EQ(s.color_tec[7], 0x123456);
  EXPECT_EQ(s.para_shi_sma01, 5);
  EXPECT_EQ(Text(s.check_key_link01, sizeof s.check_key_link01), "a");
}

TEST(SettingsStoreTest, TextsAreWrittenUpToTheirTerminatingZero) {
  MemoryRegistry reg;
  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  std::memset(s.check_path, 'z', sizeof s.check_path);
  std::memcpy(s.check_path, "/d/\0", 4);  // bytes after the zero are not part of the text
  std::memset(s.check_proxyprot, '9', sizeof s.check_proxyprot);  // no zero at all: cut to 5 + zero
  ASSERT_TRUE(s.save(reg, kAlice));
  const auto& key = reg.keys.at(kAlice);
  EXPECT_EQ(key.at("check_path"), (RegValue{RegType::Sz, std::string("/d/\0", 4)}));
  EXPECT_EQ(key.at("check_proxyprot"), (RegValue{RegType::Sz, std::string("99999\0", 6)}));
  EXPECT_EQ(key.at("check_editer"), (RegValue{RegType::Sz, std::string("xdg-open\0", 9)}));
}

TEST(SettingsStoreTest, TheDataFolderIsFixedForTheRunAtLoad) {
  MemoryRegistry reg;
  reg.keys[kAlice]["sorano_first_start"] = {RegType::Dword, Dw(1)};
  reg.keys[kAlice]["check_path"] = {RegType::Sz, std::string("/srv/kabu/\0", 11)};
  SettingsStore s;
  ASSERT_TRUE(s.load(reg, kAlice));
  EXPECT_EQ(s.data_folder().Path("data/view.dat"), "/srv/kabu/data/view.dat");
  // The settings dialog changes check_path; this run keeps reading and writing the folder it began with.
  std::strcpy(s.check_path, "/elsewhere/");
  EXPECT_EQ(s.data_folder().prefix(), "/srv/kabu/");
  ASSERT_TRUE(s.save(reg, kAlice));
  EXPECT_EQ(reg.keys[kAlice]["check_path"].data, std::string("/elsewhere/\0", 12));
}

TEST(SettingsStoreTest, ResetAnsweredNoChangesNothing) {
  SettingsStore s = EveryFieldChanged();
  s.runtime.parabolic_af_min = 5;
  s.runtime.parabolic_af_max = 9;
  s.runtime.base_line = 1;
  SettingsStore before = s;
  test::FakePrompt prompt;
  prompt.answers = {PromptAnswer::No};
  EXPECT_FALSE(s.reset_to_defaults(prompt));
  for (const SettingValue& v : SettingValues()) EXPECT_EQ(Field(s, v.name), Field(before, v.name)) << v.name;
  EXPECT_EQ(s.runtime.parabolic_af_min, 5);
  EXPECT_EQ(s.runtime.parabolic_af_max, 9);
  EXPECT_EQ(s.runtime.base_line, 1);
  ASSERT_EQ(prompt.calls.size(), 1u);
  EXPECT_EQ(prompt.calls[0].text, "本当にすべての環境設定を\n初期化いたしますか？");
  EXPECT_EQ(prompt.calls[0].caption, "最終確認");
  EXPECT_EQ(prompt.calls[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompt.calls[0].icon, PromptIcon::Stop);
  EXPECT_EQ(prompt.calls[0].defaultAnswer, PromptAnswer::No);
}

TEST(SettingsStoreTest, ResetAnsweredYesSetsTheResetColumnAndKeepsTheRest) {
  SettingsStore s = EveryFieldChanged();
  s.runtime.parabolic_af_min = 5;
  s.runtime.parabolic_af_max = 9;
  s.runtime.base_line = 1;
  const SettingsStore before = s;
  test::FakePrompt prompt;
  prompt.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(s.reset_to_defaults(prompt));

  // Reset values that differ from the initial ones.
  EXPECT_EQ(s.para_shi_sma01, 6);
  EXPECT_EQ(s.para_shi_sma02, 26);
  EXPECT_EQ(s.para_shi_sma03, 51);
  EXPECT_EQ(s.para_shi_enbe, 21);
  EXPECT_EQ(s.para_shi_bori, 21);
  EXPECT_EQ(s.para_tec_rsi01, 6);
  EXPECT_EQ(s.para_tec_rsi02, 26);
  EXPECT_EQ(s.para_tec_s_k, 14);
  EXPECT_EQ(s.para_tec_macd01, 5);
  EXPECT_EQ(s.para_tec_macd02, 20);
  EXPECT_EQ(s.para_tec_macd03, 9);
  EXPECT_EQ(s.runtime.parabolic_af_min, 2);
  EXPECT_EQ(s.runtime.parabolic_af_max, 40);
  const int32_t shihon[7] = {100, 150, 100, 100, 100, 150, 150};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(s.list_shihon_size[i], shihon[i]) << i;
  // Reset values equal to the initial ones.
  EXPECT_EQ(s.check_menu, 1);
  EXPECT_EQ(s.check_code, 7004);
  EXPECT_EQ(Text(s.check_font_name, sizeof s.check_font_name), "MS UI Gothic");
  EXPECT_EQ(Text(s.check_key_link03, sizeof s.check_key_link03), "http://127.0.0.1:47150/");
  EXPECT_EQ(Text(s.check_proxypass, sizeof s.check_proxypass), "");
  EXPECT_DOUBLE_EQ(s.para_shi_zigzag, 0.08);
  EXPECT_EQ(s.check_sokup[0], 1);
  EXPECT_EQ(s.check_sokup[1], 0);
  EXPECT_EQ(s.check_sokup[2], 1);
  EXPECT_EQ(s.color_chart[0], 0x001E00);
  EXPECT_EQ(s.color_chart[11], 0xFFFF80);
  EXPECT_EQ(s.color_tec[25], 0xFFFFFF);

  // Kept: compared byte for byte with the state before the reset.
  for (const char* name : {"check_path",
                           "check_editer",
                           "check_rc.top",
                           "check_rc.left",
                           "check_rc.right",
                           "check_rc.bottom",
                           "rbBand00",
                           "rbBand01",
                           "rbBand02",
                           "check_btab",
                           "check_tree_hItem",
                           "list_shihon_size07",
                           "list_shihon_size08",
                           "check_adjuston",
                           "check_downloadday00",
                           "check_downloadday03",
                           "check_hikaku_code00",
                           "check_hikaku_code01",
                           "check_hikaku_code02",
                           "check_to_data00",
                           "check_to_data05",
                           "check_to_data13",
                           "check_hikakuline",
                           "check_hikakulinecode",
                           "check_shi_pf",
                           "color_chart12",
                           "color_chart13",
                           "color_chart14",
                           "host_chart",
                           "host_quote",
                           "host_chart_image",
                           "host_maker",
                           "host_news",
                           "host_board",
                           "host_profile",
                           "host_analysis",
                           "host_statements",
                           "host_search"})
    EXPECT_EQ(Field(s, name), Field(before, name)) << name;
  EXPECT_EQ(s.runtime.base_line, 0);
}

}  // namespace
}  // namespace sorano
