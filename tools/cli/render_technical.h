#pragma once
// The technical pane under the price chart for sorano-cli render: one picture, as the main window
// shows the two panes one above the other.
#ifdef SORANO_HAVE_QT_CANVAS

#include <QImage>

#include "core/chart/chart_window.h"
#include "core/chart/price_series.h"
#include "core/settings/settings_store.h"

namespace sorano::cli {

// The chart picture with the technical pane of the same width and techHeight pixels painted below it,
// bar for bar under the chart (the window the chart paint fitted), with the indicator switches and
// single or multiple display of the store. techHeight 0 gives the chart picture unchanged.
QImage WithTechnicalPane(const QImage& chart, const SettingsStore& store, const PriceSeries& series,
                         const ChartWindow& window, int techHeight);

}  // namespace sorano::cli

#endif  // SORANO_HAVE_QT_CANVAS
