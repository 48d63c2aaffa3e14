// The settings sheet: what each field shows, the input rules on OK, texts cut on whole characters,
// the data folder's separator and length check.
#include "core/settings/settings_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "core/settings/settings_table.h"
#include "core/text/fixed_field.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

size_t Field(std::string_view name) {
  const size_t i = SettingsSheet::FieldIndex(name);
  EXPECT_NE(i, std::string_view::npos) << name;
  return i;
}

int32_t Int(const SettingsStore& s, std::string_view name) {
  int32_t v;
  std::memcpy(&v, reinterpret_cast<const char*>(&s) + SheetFields()[Field(name)].offset, 4);
  return v;
}

TEST(SettingsSheetTest, EveryPageHasContentAndStoredFieldsMatchTheDescriptorTable) {
  std::set<int> pages;
  for (const SheetField& f : SheetFields()) {
    pages.insert(f.page);
    if (f.name.starts_with("runtime.")) continue;
    const SettingValue* v = FindSetting(f.name);
    ASSERT_NE(v, nullptr) << f.name;
    EXPECT_EQ(v->offset, f.offset) << f.name;
    EXPECT_EQ(v->width, f.width) << f.name;
  }
  for (const SheetCheckBox& b : SheetCheckBoxes()) {
    pages.insert(b.page);
    EXPECT_NE(FindSetting(b.name), nullptr) << b.name;
  }
  for (const SheetColourFamily& c : SheetColourFamilies()) {
    pages.insert(c.page);
    // Element n - 1 is a stored value and element n is not: the labels cover the family exactly.
    auto element = [&](size_t i) {
      char name[64];
      std::snprintf(name, sizeof name, "%s%02zu", std::string(c.name).c_str(), i);
      return FindSetting(name);
    };
    EXPECT_NE(element(c.labels.size() - 1), nullptr) << c.name;
    EXPECT_EQ(element(c.labels.size()), nullptr) << c.name;
  }
  EXPECT_EQ(pages.size(), kSheetPageCaptions.size());
}

TEST(SettingsSheetTest, IntegerFieldsFollowTheirRules) {
  struct Case {
    const char* name;
    const char* entry;
    int32_t stored;
  };
  const Case cases[] = {
      {"para_shi_sma01", "0", 1},           // a period of 0 becomes 1
      {"para_shi_bori02", "-4", 1},         //
      {"para_shi_itimoku03", "26日", 26},   // the leading integer
      {"runtime.parabolic_af_min", "", 1},  //
      {"check_slsize", "-3", 1},            // negative scroll ranges become 1, 0 stays
      {"check_slsize", "0", 0},             //
      {"para_tec_dpo", "25", 25},           // stored as entered, odd or not
      {"check_hikakulinecode", "1010", 1010},
      {"check_DL_time", "3", 3000},  // seconds shown, milliseconds stored
      {"check_DL_time", "0", 1000},  // 0 would mean no time-out at all
      {"check_DL_time", "-20", 1000},
      {"check_DL_time", "99999999999", 3600000},  // x 1000 never overflows
      {"check_DL_restart", "1000000000", 10},     // a job must end
      {"check_DL_restart", "-1", 0},
      {"check_DL_restart", "4", 4},
  };
  for (const Case& c : cases) {
    SettingsStore store;
    SettingsSheet sheet(store);
    sheet.SetText(Field(c.name), c.entry);
    ASSERT_FALSE(sheet.Check());
    sheet.Apply(store);
    EXPECT_EQ(Int(store, c.name), c.stored) << c.name << " <- " << c.entry;
  }
}

TEST(SettingsSheetTest, FractionsShowAsPercentAndStoreAHundredth) {
  SettingsStore store;
  store.check_shi_renkou = 0.0312345678912345;
  SettingsSheet sheet(store);
  EXPECT_EQ(sheet.Text(Field("check_shi_kagi")), "3");
  EXPECT_EQ(sheet.Text(Field("para_shi_zigzag")), "8");
  EXPECT_EQ(sheet.Text(Field("check_DL_time")), "3");
  sheet.SetText(Field("check_shi_kagi"), "5.5");
  sheet.SetText(Field("para_shi_zigzag"), "0");
  sheet.Apply(store);
  EXPECT_DOUBLE_EQ(store.check_shi_kagi, 0.055);
  EXPECT_EQ(store.para_shi_zigzag, 1.0);                  // a zigzag of 0 % becomes 100 %
  EXPECT_EQ(store.check_shi_renkou, 0.0312345678912345);  // left as shown: not rounded to the text

  SettingsSheet negative(store);
  negative.SetText(Field("para_shi_zigzag"), "-2");
  negative.Apply(store);
  EXPECT_EQ(store.para_shi_zigzag, 1.0);
}

TEST(SettingsSheetTest, TextsAreCutOnAWholeCharacterAndUntouchedTextsKeepTheirBytes) {
  SettingsStore store;
  const char odd[] = "edit\x81";  // a lead byte without its trail byte: not valid Shift_JIS
  std::memcpy(store.check_editer, odd, sizeof odd);
  SettingsSheet sheet(store);
  // Four two-byte characters do not fit the 5 bytes of the port: two whole ones are kept.
  sheet.SetText(Field("check_proxyprot"), "８０８０");
  sheet.SetText(Field("check_proxyserver"), "proxy.example.jp");
  sheet.Apply(store);
  EXPECT_EQ(std::string(FieldText(store.check_proxyprot)), Utf8ToSjis("８０"));
  EXPECT_EQ(std::string(FieldText(store.check_proxyserver)), "proxy.example.jp");
  EXPECT_EQ(std::string(FieldText(store.check_editer)), "edit\x81");
}

TEST(SettingsSheetTest, ATextShiftJisCannotHoldIsRefusedNotStoredWithQuestionMarks) {
  struct Case {
    const char* name;
    const char* entry;
    bool refused;
  };
  const Case cases[] = {
      {"check_proxypass", "abc😀", true},
      {"check_editer", "/home/josé/bin/ed", true},
      {"check_key_link01", "http://example.jp/?q=1", false},  // a question mark of its own
      {"check_editer", "/home/太郎/bin/ed", false},
  };
  for (const Case& c : cases) {
    SettingsStore store;
    std::strcpy(store.check_proxypass, "old");
    std::strcpy(store.check_editer, "old");
    SettingsSheet sheet(store);
    sheet.SetText(Field(c.name), c.entry);
    const auto problem = sheet.Check();
    EXPECT_EQ(problem.has_value(), c.refused) << c.entry;
    if (!problem) continue;
    EXPECT_EQ(problem->field, Field(c.name));
    EXPECT_NE(problem->message.find("保存できない文字"), std::string::npos);
  }
}

TEST(SettingsSheetTest, TheDataFolderGetsItsSeparatorKeepsItsBytesAndIsNeverCut) {
  struct Case {
    std::string entry;
    std::string stored;
  };
  const Case cases[] = {
      {"/home/taro/kabu", "/home/taro/kabu/"},
      {"/home/taro/kabu/", "/home/taro/kabu/"},
      {"/home/太郎/株", "/home/太郎/株/"},  // UTF-8 as the file system has it, not Shift_JIS
      {"", ""},                             // the folder "data" under the working folder
  };
  for (const Case& c : cases) {
    SettingsStore store;
    std::strcpy(store.check_path, "/old/");
    SettingsSheet sheet(store);
    sheet.SetText(Field("check_path"), c.entry);
    ASSERT_FALSE(sheet.Check()) << c.entry;
    sheet.Apply(store);
    EXPECT_EQ(std::string(FieldText(store.check_path)), c.stored);
  }

  SettingsStore store;
  std::strcpy(store.check_path, "/old/");
  SettingsSheet sheet(store);
  sheet.SetText(Field("check_path"), "/" + std::string(1022, 'a'));  // 1024 bytes with the separator
  const auto problem = sheet.Check();
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->field, Field("check_path"));
  EXPECT_NE(problem->message.find("長すぎます"), std::string::npos);
  sheet.Apply(store);
  EXPECT_EQ(std::string(FieldText(store.check_path)), "/old/");
  sheet.SetText(Field("check_path"), "/" + std::string(1021, 'a'));  // 1023 bytes: fits
  EXPECT_FALSE(sheet.Check());
}

TEST(SettingsSheetTest, BoxesColoursAndFontReachTheStoreOnlyThroughApply) {
  SettingsStore store;
  SettingsSheet sheet(store);
  const auto boxes = SheetCheckBoxes();
  const size_t filled = static_cast<size_t>(
      std::find_if(boxes.begin(), boxes.end(), [](const auto& b) { return b.name == "check_roubh"; }) -
      boxes.begin());
  EXPECT_TRUE(sheet.Checked(filled));  // check_roubh 0: filled candles, the box ticked
  sheet.SetChecked(filled, false);
  sheet.SetColour(1, 0, 0x123456);  // color_chart00
  sheet.SetFont("IPAGothic", 20);
  EXPECT_EQ(store.check_roubh, 0);
  EXPECT_EQ(store.color_chart[0], 0x001E00);

  sheet.Apply(store);
  EXPECT_EQ(store.check_roubh, 1);
  EXPECT_EQ(store.color_chart[0], 0x123456);
  EXPECT_EQ(std::string(FieldText(store.check_font_name)), "IPAGothic");
  EXPECT_EQ(store.check_font_size, 20);
}

}  // namespace
}  // namespace sorano
