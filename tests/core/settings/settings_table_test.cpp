#include "core/settings/settings_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings/settings_store.h"

namespace sorano {
namespace {

// Every stored value in load order, transcribed separately from the tables of values:
//   name type width initial reset
// type D = REG_DWORD, B = REG_BINARY, S = REG_SZ; reset k = kept by the reset. A family is
// name[count] with comma-separated initial and reset lists; "=" repeats the initial list, a lone k
// keeps every element.
constexpr const char* kExpected = R"(
check_start2 D 4 0 0
check_path S 1024 "" k
check_menu D 4 1 1
check_tool D 4 1 1
rbBand[3] B 80 band k
check_status D 4 1 1
check_task D 4 0 0
check_frame_V D 4 200 200
check_frame_HT D 4 170 170
check_frame_HB D 4 380 380
check_frame_wd D 4 3 3
check_bview D 4 0 0
check_btab D 4 1 k
check_sizing D 4 0 0
check_window D 4 1 1
check_rc.top D 4 0 k
check_rc.left D 4 0 k
check_rc.right D 4 0 k
check_rc.bottom D 4 0 k
check_font_size B 4 18 18
check_font_name S 256 "MS UI Gothic" "MS UI Gothic"
check_version D 4 1 1
check_editer S 1024 "xdg-open" k
check_key_link01 S 1024 "http://" "http://"
check_key_link02 S 1024 "http://" "http://"
check_key_link03 S 1024 "http://127.0.0.1:47150/" "http://127.0.0.1:47150/"
check_tab D 4 0 0
check_tab_num D 4 0 0
check_tree_hItem B 4 0 k
check_tree_view B 4 1 1
check_list_bk D 4 0 0
list_kabu_size[13] B 4 100,150,80,100,100,100,80,80,100,100,150,80,80 =
list_shihon_size[9] B 4 100,150,100,100,100,100,100,150,150 100,150,100,100,100,150,150,k,k
list_gyouseki_size[13] B 4 100,100,100,100,100,100,100,100,100,100,100,100,150 =
list_company_size[6] B 4 100,150,100,100,100,100 =
list_kouza_size[8] B 4 100,150,100,100,100,100,100,100 =
list_torihiki_size[11] B 4 100,150,100,100,100,100,100,100,100,100,100 =
check_conditionsarch[8] B 4 1,0,0,16,0,0,0,0 =
check_DL_time D 4 3000 3000
check_DL_restart D 4 3 3
check_proxy D 4 0 0
check_proxyIE D 4 1 1
check_proxylogon D 4 0 0
check_proxyserver S 256 "" ""
check_proxyprot S 6 "" ""
check_proxyuser S 256 "" ""
check_proxypass S 64 "" ""
check_adjustment D 4 0 0
check_adjuston D 4 0 k
check_downloadday[4] D 4 0,0,0,0 k
check_hikaku_code[3] D 4 1020,0,0 k
check_to_data[14] B 4 0,0,0,0,0,1,1,1,1,1,1,1,1,0 k
check_code D 4 7004 7004
check_chsize D 4 5 5
check_slsize D 4 5 5
check_ymd D 4 0 0
check_line_w_x D 4 0 0
check_line_m_x D 4 1 1
check_line_y D 4 1 1
check_cross D 4 0 0
check_roubh D 4 0 0
check_soku D 4 0 0
check_sokup[14] B 4 1,0,1,0,0,0,0,0,0,0,0,0,0,0 =
check_soku_check D 4 0 0
check_wline D 4 0 0
check_hikakuline D 4 0 k
check_hikakulinecode D 4 1020 k
check_shi_shinne D 4 3 3
check_shi_kagi B 8 0.03 0.03
check_shi_renkou B 8 0.03 0.03
check_shi_sma D 4 1 1
check_shi_nakati D 4 0 0
check_shi_wma D 4 0 0
check_shi_tma D 4 0 0
check_shi_ema D 4 0 0
check_shi_lma D 4 0 0
check_shi_tsma D 4 0 0
check_shi_epma D 4 0 0
check_shi_swma D 4 0 0
check_shi_enbe_sma D 4 0 0
check_shi_enbe_wma D 4 0 0
check_shi_enbe_tma D 4 0 0
check_shi_enbe_ema D 4 0 0
check_shi_enbe_tsma D 4 0 0
check_shi_bori_sma D 4 0 0
check_shi_bori_wma D 4 0 0
check_shi_bori_tma D 4 0 0
check_shi_bori_ema D 4 0 0
check_shi_bori_tsma D 4 0 0
check_shi_itimoku D 4 0 0
check_shi_para D 4 0 0
check_shi_pf D 4 0 k
check_shi_kakakutai D 4 0 0
check_shi_zigzag D 4 0 0
check_shi_tenpen D 4 0 0
check_tec_dc D 4 0 0
check_tec_kairi_sma01 D 4 0 0
check_tec_kairi_sma02 D 4 0 0
check_tec_kairi_sma03 D 4 0 0
check_tec_dpo D 4 0 0
check_tec_volume D 4 1 1
check_tec_volume_sma D 4 1 1
check_tec_shinyouu D 4 0 0
check_tec_aroon D 4 0 0
check_tec_mfi D 4 0 0
check_tec_rsi D 4 0 0
check_tec_dmi D 4 0 0
check_tec_william D 4 0 0
check_tec_stochastic D 4 0 0
check_tec_momentamu D 4 0 0
check_tec_roc D 4 0 0
check_tec_rci D 4 0 0
check_tec_macd_sma D 4 0 0
check_tec_vr D 4 0 0
check_tec_wvr D 4 0 0
check_tec_dvr D 4 0 0
check_tec_psy D 4 0 0
para_shi_sma01 D 4 5 6
para_shi_sma02 D 4 25 26
para_shi_sma03 D 4 75 51
para_shi_nakati D 4 0 0
para_shi_itimoku01 D 4 26 26
para_shi_itimoku02 D 4 9 9
para_shi_itimoku03 D 4 52 52
para_shi_itimoku04 D 4 26 26
para_shi_para D 4 2 2
para_shi_enbe D 4 20 21
para_shi_enbe01 D 4 5 5
para_shi_enbe02 D 4 10 10
para_shi_enbe03 D 4 15 15
para_shi_bori D 4 20 21
para_shi_bori01 D 4 1 1
para_shi_bori02 D 4 2 2
para_shi_bori03 D 4 3 3
para_shi_zigzag B 8 0.08 0.08
para_tec_dpo D 4 26 26
para_tec_volume_sma D 4 26 26
para_tec_aroon D 4 14 14
para_tec_rsi01 D 4 7 6
para_tec_rsi02 D 4 14 26
para_tec_dmi D 4 14 14
para_tec_s_k D 4 5 14
para_tec_s_d D 4 3 3
para_tec_s_sd D 4 3 3
para_tec_m_r01 D 4 6 6
para_tec_m_r02 D 4 26 26
para_tec_rci D 4 26 26
para_tec_macd01 D 4 12 5
para_tec_macd02 D 4 26 20
para_tec_macd03 D 4 9 9
para_tec_vr01 D 4 6 6
para_tec_vr02 D 4 26 26
para_tec_psy01 D 4 6 6
para_tec_psy02 D 4 26 26
color_list[5] B 4 0xFFFFFF,0xF0F0F0,0x001E00,0xA00000,0x6464FF =
color_chart[15] B 4 0x001E00,0x787878,0xFFFFFF,0xD7C8AA,0x6464FF,0xCCCCCC,0x0000FF,0xFFFFFF,0xFF80FF,0x80FFFF,0x80FF80,0xFFFF80,0x0000C4,0x80FF80,0x0000C4 0x001E00,0x787878,0xFFFFFF,0xD7C8AA,0x6464FF,0xCCCCCC,0x0000FF,0xFFFFFF,0xFF80FF,0x80FFFF,0x80FF80,0xFFFF80,k,k,k
color_shisuu[20] B 4 0x009600,0x00AA00,0x00C800,0x646464,0x787878,0x8C8C8C,0xAAAAAA,0xC8C8AA,0xC8C832,0xC8C846,0xC8C864,0x4182FF,0xE6DC64,0x006E00,0x4080FF,0xFFFFFF,0xCEFFFF,0xCEFFFF,0xCEFFFF,0xFFB0D8 =
color_tec[26] B 4 0xCCCCCC,0x0000FF,0x00B400,0xFFFFFF,0x008200,0x008C00,0x54FFFF,0x00C8C8,0xFFB8A4,0xFF6A55,0x0080FF,0x004D99,0xACD6FF,0xC0C0C0,0x7B7B7B,0x8000FF,0xEB87AF,0xEB2DCD,0xFAF591,0xD2D200,0x2CC59D,0xB1F3FF,0x85F982,0xFFC184,0x0000FF,0xFFFFFF =
host_chart S 256 "127.0.0.1:47150" k
host_quote S 256 "127.0.0.1:47150" k
host_chart_image S 256 "127.0.0.1:47150" k
host_maker S 256 "127.0.0.1:47150" k
host_news S 256 "127.0.0.1:47150" k
host_board S 256 "127.0.0.1:47150" k
host_profile S 256 "127.0.0.1:47150" k
host_analysis S 256 "127.0.0.1:47150" k
host_statements S 256 "127.0.0.1:47150" k
host_search S 256 "www.google.com" k
)";

struct Expected {
  std::string name;
  RegType type;
  uint32_t width;
  std::string initial;
  std::optional<std::string> reset;
};

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::stringstream in(s);
  for (std::string item; std::getline(in, item, sep);) out.push_back(item);
  return out;
}

// A cell: "text", a number (0x.. hex, decimal, or a double with '.'), "band" for band `element`.
std::string CellBytes(const std::string& cell, uint32_t width, uint32_t element) {
  std::string bytes(width, '\0');
  if (cell.front() == '"') {
    std::string text = cell.substr(1, cell.size() - 2);
    std::memcpy(bytes.data(), text.data(), text.size());
  } else if (cell == "band") {
    const int32_t widths[3] = {435, 165, 230};
    const int32_t fields[][2] = {{0, 80}, {4, 0x171}, {36, 0}, {40, 28}, {44, widths[element]}};
    for (auto [offset, value] : fields) std::memcpy(bytes.data() + offset, &value, 4);
  } else if (cell.find('.') != std::string::npos) {
    double d = std::stod(cell);
    std::memcpy(bytes.data(), &d, 8);
  } else {
    int32_t v = static_cast<int32_t>(std::stol(cell, nullptr, 0));
    std::memcpy(bytes.data(), &v, 4);
  }
  return bytes;
}

std::vector<Expected> ParseExpected() {
  std::vector<Expected> out;
  std::stringstream in(kExpected);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) continue;
    // Texts hold spaces: split off the quoted cells first.
    std::vector<std::string> cols;
    for (size_t i = 0; i < line.size();) {
      if (line[i] == ' ') {
        ++i;
      } else if (line[i] == '"') {
        size_t close = line.find('"', i + 1);
        cols.push_back(line.substr(i, close - i + 1));
        i = close + 1;
      } else {
        size_t end = line.find(' ', i);
        if (end == std::string::npos) end = line.size();
        cols.push_back(line.substr(i, end - i));
        i = end;
      }
    }
    EXPECT_EQ(cols.size(), 5u) << line;
    if (cols.size() != 5) continue;
    RegType type = cols[1] == "D" ? RegType::Dword : cols[1] == "B" ? RegType::Binary : RegType::Sz;
    uint32_t width = static_cast<uint32_t>(std::stoul(cols[2]));
    size_t bracket = cols[0].find('[');
    if (bracket == std::string::npos) {
      Expected e{cols[0], type, width, CellBytes(cols[3], width, 0), std::nullopt};
      if (cols[4] != "k") e.reset = CellBytes(cols[4], width, 0);
      out.push_back(e);
      continue;
    }
    std::string family = cols[0].substr(0, bracket);
    uint32_t count = static_cast<uint32_t>(std::stoul(cols[0].substr(bracket + 1)));
    std::vector<std::string> init = Split(cols[3], ',');
    std::vector<std::string> reset = cols[4] == "=" ? init : Split(cols[4], ',');
    if (cols[3] == "band") init.assign(count, "band");
    if (cols[4] == "k") reset.assign(count, "k");
    EXPECT_EQ(init.size(), count) << line;
    EXPECT_EQ(reset.size(), count) << line;
    for (uint32_t i = 0; i < count && i < init.size() && i < reset.size(); ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "%s%02u", family.c_str(), i);
      Expected e{name, type, width, CellBytes(init[i], width, i), std::nullopt};
      if (reset[i] != "k") e.reset = CellBytes(reset[i], width, i);
      out.push_back(e);
    }
  }
  return out;
}

TEST(SettingsTableTest, EveryValueHasItsNameTypeWidthInitialAndResetValueInLoadOrder) {
  std::vector<Expected> expected = ParseExpected();
  const std::vector<SettingValue>& actual = SettingValues();
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) {
    const SettingValue& a = actual[i];
    const Expected& e = expected[i];
    EXPECT_EQ(a.name, e.name) << i;
    EXPECT_EQ(a.type, e.type) << e.name;
    EXPECT_EQ(a.width, e.width) << e.name;
    EXPECT_EQ(a.initial, e.initial) << e.name;
    EXPECT_EQ(a.reset, e.reset) << e.name;
    EXPECT_EQ(FindSetting(e.name), &a) << e.name;
  }
  EXPECT_EQ(FindSetting("check_nothing"), nullptr);
}

TEST(SettingsTableTest, EveryFieldOfTheStoreBelongsToExactlyOneName) {
  // Each byte before the run-time values belongs to one entry, apart from alignment padding.
  std::vector<int> owner(offsetof(SettingsStore, runtime), -1);
  const std::vector<SettingValue>& all = SettingValues();
  for (size_t i = 0; i < all.size(); ++i) {
    ASSERT_LE(all[i].offset + all[i].width, owner.size()) << all[i].name;
    for (size_t b = all[i].offset; b < all[i].offset + all[i].width; ++b) {
      EXPECT_EQ(owner[b], -1) << all[i].name << " overlaps " << (owner[b] >= 0 ? all[owner[b]].name : "");
      owner[b] = static_cast<int>(i);
    }
  }
  size_t unowned = 0;
  for (int o : owner) unowned += o == -1;
  EXPECT_LT(unowned, 8u);

  std::set<std::string> names;
  for (const SettingValue& v : all) EXPECT_TRUE(names.insert(v.name).second) << v.name;

  // A few members checked by address, the way other modules read them.
  SettingsStore s;
  auto at = [&](const void* p) {
    return static_cast<size_t>(static_cast<const char*>(p) - reinterpret_cast<const char*>(&s));
  };
  EXPECT_EQ(FindSetting("check_rc.right")->offset, at(&s.check_rc.right));
  EXPECT_EQ(FindSetting("color_tec07")->offset, at(&s.color_tec[7]));
  EXPECT_EQ(FindSetting("rbBand02")->offset, at(s.rbBand[2].data()));
  EXPECT_EQ(FindSetting("para_tec_macd03")->offset, at(&s.para_tec_macd03));
  EXPECT_EQ(FindSetting("check_proxyprot")->offset, at(s.check_proxyprot));
}

}  // namespace
}  // namespace sorano
