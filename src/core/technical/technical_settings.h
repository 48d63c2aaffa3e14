#pragma once
// The settings the technical pane reads, named after their registry values. The pane fills this view
// from the SettingsStore; tests set the fields directly. Defaults are the initial values.
#include <array>
#include <cstdint>

#include "core/gfx/canvas.h"

namespace sorano {

struct SettingsStore;

struct TechnicalSettings {
  int32_t check_tec_dc = 0;  // 0 single display, 1 multiple display

  // Indicator switches (any value > 0 is on).
  int32_t check_tec_kairi_sma01 = 0;
  int32_t check_tec_kairi_sma02 = 0;
  int32_t check_tec_kairi_sma03 = 0;
  int32_t check_tec_dpo = 0;
  int32_t check_tec_volume = 1;
  int32_t check_tec_volume_sma = 1;
  int32_t check_tec_shinyouu = 0;
  int32_t check_tec_aroon = 0;
  int32_t check_tec_mfi = 0;
  int32_t check_tec_rsi = 0;
  int32_t check_tec_dmi = 0;
  int32_t check_tec_william = 0;
  int32_t check_tec_stochastic = 0;
  int32_t check_tec_momentamu = 0;
  int32_t check_tec_roc = 0;
  int32_t check_tec_rci = 0;
  int32_t check_tec_macd_sma = 0;
  int32_t check_tec_vr = 0;
  int32_t check_tec_wvr = 0;
  int32_t check_tec_dvr = 0;
  int32_t check_tec_psy = 0;

  // Periods, bars.
  int32_t para_shi_sma01 = 5;
  int32_t para_shi_sma02 = 25;
  int32_t para_shi_sma03 = 75;
  int32_t para_tec_dpo = 26;
  int32_t para_tec_volume_sma = 26;
  int32_t para_tec_aroon = 14;
  int32_t para_tec_rsi01 = 7;
  int32_t para_tec_rsi02 = 14;
  int32_t para_tec_dmi = 14;
  int32_t para_tec_s_k = 5;
  int32_t para_tec_s_d = 3;
  int32_t para_tec_s_sd = 3;
  int32_t para_tec_m_r01 = 6;
  int32_t para_tec_m_r02 = 26;
  int32_t para_tec_rci = 26;
  int32_t para_tec_macd01 = 12;  // short
  int32_t para_tec_macd02 = 26;  // long
  int32_t para_tec_macd03 = 9;   // signal
  int32_t para_tec_vr01 = 6;
  int32_t para_tec_vr02 = 26;
  int32_t para_tec_psy01 = 6;
  int32_t para_tec_psy02 = 26;

  std::array<Color, 26> color_tec = {0xCCCCCC, 0x0000FF, 0x00B400, 0xFFFFFF, 0x008200, 0x008C00, 0x54FFFF,
                                     0x00C8C8, 0xFFB8A4, 0xFF6A55, 0x0080FF, 0x004D99, 0xACD6FF, 0xC0C0C0,
                                     0x7B7B7B, 0x8000FF, 0xEB87AF, 0xEB2DCD, 0xFAF591, 0xD2D200, 0x2CC59D,
                                     0xB1F3FF, 0x85F982, 0xFFC184, 0x0000FF, 0xFFFFFF};
  std::array<Color, 15> color_chart = {0x001E00, 0x787878, 0xFFFFFF, 0xD7C8AA, 0x6464FF,
                                       0xCCCCCC, 0x0000FF, 0xFFFFFF, 0xFF80FF, 0x80FFFF,
                                       0x80FF80, 0xFFFF80, 0x0000C4, 0x80FF80, 0x0000C4};

  int32_t check_font_size = 18;  // the pane font is trunc(check_font_size / 1.3) pixels high
  int32_t check_line_w_x = 0;    // weekly date grid
  int32_t check_line_m_x = 1;    // monthly date grid
  int32_t check_ymd = 0;         // ChartPeriod
  int32_t check_code = 7004;     // BrandCode shown

  // Not stored: the print mode.
  bool monochrome = false;
};

// The values of the store; monochrome stays off (the print commands set it on the view).
TechnicalSettings TechnicalSettingsFrom(const SettingsStore& store);

}  // namespace sorano
