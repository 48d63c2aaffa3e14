#pragma once
// Loading a PriceSeries from the chart data files, and the pane's view of the settings and of the
// brand figures.
#include <cstdint>

#include "core/chart/chart_settings.h"
#include "core/chart/price_series.h"
#include "core/chart/trend_overlays.h"
#include "core/settings/data_folder.h"

namespace sorano {

struct SettingsStore;
struct BrandRecord;

// series.count() = ReadChart(code, period, adjust): the number of bars, or -1 when the brand has no
// price file (then the series is left empty). Returns the new count.
int LoadPriceSeries(PriceSeries& series, const DataFolder& folder, int32_t code, int period, int adjust);

// The main series of the settings: check_code, check_ymd, check_adjustment.
int LoadMainSeries(PriceSeries& series, const SettingsStore& settings);

// The values the price chart reads, from the settings store (the base-line switch from its runtime
// part; monochrome is the caller's print flag).
ChartSettings ChartSettingsFrom(const SettingsStore& settings, bool monochrome = false);

// bps, equity ratio and shares issued of a brand record.
BaseLineInputs BaseLineInputsFrom(const BrandRecord& brand);

}  // namespace sorano
