#pragma once
// What the chart area's panes draw from: the settings, the main series and the one ChartWindow they
// follow, the comparison brands' series, and the crosshair the price chart and the technical pane
// share. The main window owns all of it; the panes only read, except that scrolling moves the window.
#include <QPoint>
#include <QWidget>

#include "core/chart/chart_window.h"
#include "core/chart/comparison_series.h"
#include "core/chart/price_series.h"
#include "core/settings/settings_store.h"
#include "core/store/brand_table.h"

namespace sorano {

struct ChartModel {
  SettingsStore* settings = nullptr;
  PriceSeries* series = nullptr;
  ChartWindow* window = nullptr;
  const BrandTable* brands = nullptr;
  const bool* monochrome = nullptr;            // the print mode's black-and-white flag
  ComparisonSeriesSet* comparisons = nullptr;  // the comparison brands of both charts

  bool Monochrome() const { return monochrome != nullptr && *monochrome; }
};

// The crosshair is drawn across the frame that holds the price chart and the technical pane: a
// vertical line through the cursor across both panes and a horizontal one across the price chart.
// The position is in frame coordinates; (-1, -1) when none is shown.
struct Crosshair {
  QWidget* frame = nullptr;
  QPoint pos{-1, -1};
  bool Shown() const { return pos.x() >= 0; }
};

}  // namespace sorano
