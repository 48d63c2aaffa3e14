#pragma once
// The settings the price chart reads, named after their registry values. The pane fills this view
// from the SettingsStore; tests set the fields directly. Defaults are the initial values.
#include <array>
#include <cstdint>

#include "core/gfx/canvas.h"

namespace sorano {

struct ChartSettings {
  int32_t check_chsize = 5;
  int32_t check_ymd = 0;         // ChartPeriod
  int32_t check_adjustment = 0;  // split-adjusted prices
  int32_t check_font_size = 18;  // the pane font is trunc(check_font_size / 1.3) pixels high

  // Grid
  int32_t check_line_y = 1;
  int32_t check_line_w_x = 0;
  int32_t check_line_m_x = 1;

  // Chart types
  int32_t check_roubh = 0;  // 0 filled candle bodies, 1 hollow
  int32_t check_soku = 0;
  int32_t check_soku_check = 0;
  std::array<int32_t, 14> check_sokup = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  int32_t check_shi_shinne = 3;
  double check_shi_kagi = 0.03;
  double check_shi_renkou = 0.03;

  // Averages and bands
  int32_t check_shi_sma = 1;
  int32_t check_shi_nakati = 0;
  int32_t check_shi_wma = 0;
  int32_t check_shi_tma = 0;
  int32_t check_shi_ema = 0;
  int32_t check_shi_lma = 0;
  int32_t check_shi_epma = 0;
  int32_t check_shi_swma = 0;
  int32_t check_shi_enbe_sma = 0;
  int32_t check_shi_enbe_wma = 0;
  int32_t check_shi_bori_sma = 0;
  int32_t check_shi_bori_wma = 0;
  int32_t para_shi_sma01 = 5;
  int32_t para_shi_sma02 = 25;
  int32_t para_shi_sma03 = 75;
  int32_t para_shi_enbe = 20;
  int32_t para_shi_enbe01 = 5;
  int32_t para_shi_enbe02 = 10;
  int32_t para_shi_enbe03 = 15;
  int32_t para_shi_bori = 20;
  int32_t para_shi_bori01 = 1;
  int32_t para_shi_bori02 = 2;
  int32_t para_shi_bori03 = 3;

  // Trend overlays
  int32_t check_shi_itimoku = 0;
  int32_t para_shi_itimoku01 = 26;  // base line period
  int32_t para_shi_itimoku02 = 9;   // conversion line period
  int32_t para_shi_itimoku03 = 52;  // second leading span period
  int32_t para_shi_itimoku04 = 26;  // lagging shift
  int32_t check_shi_para = 0;
  int32_t check_shi_zigzag = 0;
  double para_shi_zigzag = 0.08;
  int32_t check_shi_tenpen = 0;
  int32_t check_shi_kakakutai = 0;
  int32_t check_shi_pf = 0;
  int32_t check_hikakuline = 0;
  int32_t check_hikakulinecode = 1020;
  int32_t check_adjuston = 0;

  std::array<Color, 15> color_chart = {0x001E00, 0x787878, 0xFFFFFF, 0xD7C8AA, 0x6464FF,
                                       0xCCCCCC, 0x0000FF, 0xFFFFFF, 0xFF80FF, 0x80FFFF,
                                       0x80FF80, 0xFFFF80, 0x0000C4, 0x80FF80, 0x0000C4};
  std::array<Color, 20> color_shisuu = {0x009600, 0x00AA00, 0x00C800, 0x646464, 0x787878, 0x8C8C8C, 0xAAAAAA,
                                        0xC8C8AA, 0xC8C832, 0xC8C846, 0xC8C864, 0x4182FF, 0xE6DC64, 0x006E00,
                                        0x4080FF, 0xFFFFFF, 0xCEFFFF, 0xCEFFFF, 0xCEFFFF, 0xFFB0D8};

  // Not stored: the base-line switch of the menu (off at every start), and the print mode.
  int32_t baseLines = 0;
  bool monochrome = false;
};

}  // namespace sorano
