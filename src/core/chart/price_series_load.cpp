#include "core/chart/price_series_load.h"

#include <algorithm>
#include <vector>

#include "core/settings/settings_store.h"
#include "core/store/brand_record.h"
#include "core/store/chart_file.h"

namespace sorano {

int LoadPriceSeries(PriceSeries& series, const DataFolder& folder, int32_t code, int period, int adjust) {
  std::vector<ChartRecord> records(PriceSeries::kCapacity);
  std::vector<VolumeRecord> volumes(PriceSeries::kCapacity);
  const int n = ReadChart(folder, records, volumes, code, period, adjust);
  if (n < 0) {
    series.SetCount(-1);
    return -1;
  }
  const int count = std::min(n, PriceSeries::kCapacity);
  std::span<PriceBar> out = series.buffer();
  for (int i = 0; i < count; ++i) {
    const ChartRecord& r = records[static_cast<size_t>(i)];
    const VolumeRecord& v = volumes[static_cast<size_t>(i)];
    out[static_cast<size_t>(i)] =
        PriceBar{r.year, r.month, r.day, r.open, r.high, r.low, r.close, v.volume, v.factor};
  }
  series.SetCount(count);
  return count;
}

int LoadMainSeries(PriceSeries& series, const SettingsStore& s) {
  return LoadPriceSeries(series, s.data_folder(), s.check_code, s.check_ymd, s.check_adjustment);
}

ChartSettings ChartSettingsFrom(const SettingsStore& st, bool monochrome) {
  ChartSettings c;
  c.check_chsize = st.check_chsize;
  c.check_ymd = st.check_ymd;
  c.check_adjustment = st.check_adjustment;
  c.check_font_size = st.check_font_size;
  c.check_line_y = st.check_line_y;
  c.check_line_w_x = st.check_line_w_x;
  c.check_line_m_x = st.check_line_m_x;
  c.check_roubh = st.check_roubh;
  c.check_soku = st.check_soku;
  c.check_soku_check = st.check_soku_check;
  std::copy(std::begin(st.check_sokup), std::end(st.check_sokup), c.check_sokup.begin());
  c.check_shi_shinne = st.check_shi_shinne;
  c.check_shi_kagi = st.check_shi_kagi;
  c.check_shi_renkou = st.check_shi_renkou;
  c.check_shi_sma = st.check_shi_sma;
  c.check_shi_nakati = st.check_shi_nakati;
  c.check_shi_wma = st.check_shi_wma;
  c.check_shi_tma = st.check_shi_tma;
  c.check_shi_ema = st.check_shi_ema;
  c.check_shi_lma = st.check_shi_lma;
  c.check_shi_epma = st.check_shi_epma;
  c.check_shi_swma = st.check_shi_swma;
  c.check_shi_enbe_sma = st.check_shi_enbe_sma;
  c.check_shi_enbe_wma = st.check_shi_enbe_wma;
  c.check_shi_bori_sma = st.check_shi_bori_sma;
  c.check_shi_bori_wma = st.check_shi_bori_wma;
  c.para_shi_sma01 = st.para_shi_sma01;
  c.para_shi_sma02 = st.para_shi_sma02;
  c.para_shi_sma03 = st.para_shi_sma03;
  c.para_shi_enbe = st.para_shi_enbe;
  c.para_shi_enbe01 = st.para_shi_enbe01;
  c.para_shi_enbe02 = st.para_shi_enbe02;
  c.para_shi_enbe03 = st.para_shi_enbe03;
  c.para_shi_bori = st.para_shi_bori;
  c.para_shi_bori01 = st.para_shi_bori01;
  c.para_shi_bori02 = st.para_shi_bori02;
  c.para_shi_bori03 = st.para_shi_bori03;
  c.check_shi_itimoku = st.check_shi_itimoku;
  c.para_shi_itimoku01 = st.para_shi_itimoku01;
  c.para_shi_itimoku02 = st.para_shi_itimoku02;
  c.para_shi_itimoku03 = st.para_shi_itimoku03;
  c.para_shi_itimoku04 = st.para_shi_itimoku04;
  c.check_shi_para = st.check_shi_para;
  c.check_shi_zigzag = st.check_shi_zigzag;
  c.para_shi_zigzag = st.para_shi_zigzag;
  c.check_shi_tenpen = st.check_shi_tenpen;
  c.check_shi_kakakutai = st.check_shi_kakakutai;
  c.check_shi_pf = st.check_shi_pf;
  c.check_hikakuline = st.check_hikakuline;
  c.check_hikakulinecode = st.check_hikakulinecode;
  c.check_adjuston = st.check_adjuston;
  for (size_t i = 0; i < c.color_chart.size(); ++i) c.color_chart[i] = static_cast<Color>(st.color_chart[i]);
  for (size_t i = 0; i < c.color_shisuu.size(); ++i)
    c.color_shisuu[i] = static_cast<Color>(st.color_shisuu[i]);
  c.baseLines = st.runtime.base_line;
  c.monochrome = monochrome;
  return c;
}

BaseLineInputs BaseLineInputsFrom(const BrandRecord& brand) {
  return BaseLineInputs{brand.bps, brand.equityRatio, static_cast<double>(brand.sharesIssued)};
}

}  // namespace sorano
