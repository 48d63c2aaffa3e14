#include "core/technical/technical_settings.h"

#include "core/settings/settings_store.h"

namespace sorano {

TechnicalSettings TechnicalSettingsFrom(const SettingsStore& store) {
  TechnicalSettings v;
  // Same names on both sides: one list, no chance of crossing two values.
#define SORANO_COPY(name) v.name = store.name;
  SORANO_COPY(check_tec_dc)
  SORANO_COPY(check_tec_kairi_sma01)
  SORANO_COPY(check_tec_kairi_sma02)
  SORANO_COPY(check_tec_kairi_sma03)
  SORANO_COPY(check_tec_dpo)
  SORANO_COPY(check_tec_volume)
  SORANO_COPY(check_tec_volume_sma)
  SORANO_COPY(check_tec_shinyouu)
  SORANO_COPY(check_tec_aroon)
  SORANO_COPY(check_tec_mfi)
  SORANO_COPY(check_tec_rsi)
  SORANO_COPY(check_tec_dmi)
  SORANO_COPY(check_tec_william)
  SORANO_COPY(check_tec_stochastic)
  SORANO_COPY(check_tec_momentamu)
  SORANO_COPY(check_tec_roc)
  SORANO_COPY(check_tec_rci)
  SORANO_COPY(check_tec_macd_sma)
  SORANO_COPY(check_tec_vr)
  SORANO_COPY(check_tec_wvr)
  SORANO_COPY(check_tec_dvr)
  SORANO_COPY(check_tec_psy)
  SORANO_COPY(para_shi_sma01)
  SORANO_COPY(para_shi_sma02)
  SORANO_COPY(para_shi_sma03)
  SORANO_COPY(para_tec_dpo)
  SORANO_COPY(para_tec_volume_sma)
  SORANO_COPY(para_tec_aroon)
  SORANO_COPY(para_tec_rsi01)
  SORANO_COPY(para_tec_rsi02)
  SORANO_COPY(para_tec_dmi)
  SORANO_COPY(para_tec_s_k)
  SORANO_COPY(para_tec_s_d)
  SORANO_COPY(para_tec_s_sd)
  SORANO_COPY(para_tec_m_r01)
  SORANO_COPY(para_tec_m_r02)
  SORANO_COPY(para_tec_rci)
  SORANO_COPY(para_tec_macd01)
  SORANO_COPY(para_tec_macd02)
  SORANO_COPY(para_tec_macd03)
  SORANO_COPY(para_tec_vr01)
  SORANO_COPY(para_tec_vr02)
  SORANO_COPY(para_tec_psy01)
  SORANO_COPY(para_tec_psy02)
  SORANO_COPY(check_font_size)
  SORANO_COPY(check_line_w_x)
  SORANO_COPY(check_line_m_x)
  SORANO_COPY(check_ymd)
  SORANO_COPY(check_code)
#undef SORANO_COPY
  for (size_t i = 0; i < v.color_tec.size(); ++i) v.color_tec[i] = static_cast<Color>(store.color_tec[i]);
  for (size_t i = 0; i < v.color_chart.size(); ++i)
    v.color_chart[i] = static_cast<Color>(store.color_chart[i]);
  return v;
}

}  // namespace sorano
