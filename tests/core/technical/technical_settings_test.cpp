#include "core/technical/technical_settings.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/settings/settings_store.h"

namespace sorano {
namespace {

// The view's defaults are the store's initial values, and every value reaches the view.
TEST(TechnicalSettings, ViewOfTheStore) {
  auto store = std::make_unique<SettingsStore>();
  const TechnicalSettings initial = TechnicalSettingsFrom(*store);
  const TechnicalSettings defaults;
  EXPECT_EQ(initial.check_tec_volume, defaults.check_tec_volume);
  EXPECT_EQ(initial.check_tec_volume_sma, defaults.check_tec_volume_sma);
  EXPECT_EQ(initial.para_tec_rsi01, defaults.para_tec_rsi01);
  EXPECT_EQ(initial.para_tec_s_k, defaults.para_tec_s_k);
  EXPECT_EQ(initial.para_tec_macd01, defaults.para_tec_macd01);
  EXPECT_EQ(initial.para_shi_sma03, defaults.para_shi_sma03);
  EXPECT_EQ(initial.color_tec, defaults.color_tec);
  EXPECT_EQ(initial.color_chart, defaults.color_chart);
  EXPECT_EQ(initial.check_font_size, defaults.check_font_size);
  EXPECT_EQ(initial.check_line_m_x, defaults.check_line_m_x);
  EXPECT_EQ(initial.check_code, defaults.check_code);

  store->check_tec_dc = 1;
  store->check_tec_psy = 1;
  store->para_tec_psy02 = 31;
  store->para_tec_macd03 = 11;
  store->color_tec[25] = 0x123456;
  store->color_chart[7] = 0x654321;
  store->check_code = 1020;
  store->check_ymd = 2;
  const TechnicalSettings v = TechnicalSettingsFrom(*store);
  EXPECT_EQ(v.check_tec_dc, 1);
  EXPECT_EQ(v.check_tec_psy, 1);
  EXPECT_EQ(v.para_tec_psy02, 31);
  EXPECT_EQ(v.para_tec_macd03, 11);
  EXPECT_EQ(v.color_tec[25], 0x123456u);
  EXPECT_EQ(v.color_chart[7], 0x654321u);
  EXPECT_EQ(v.check_code, 1020);
  EXPECT_EQ(v.check_ymd, 2);
  EXPECT_FALSE(v.monochrome);
}

}  // namespace
}  // namespace sorano
