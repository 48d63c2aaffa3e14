#include "render_technical.h"

#ifdef SORANO_HAVE_QT_CANVAS

#include <QPainter>

#include "core/technical/technical_pane.h"
#include "core/technical/technical_settings.h"
#include "ui/gfx/qt_canvas.h"

namespace sorano::cli {

QImage WithTechnicalPane(const QImage& chart, const SettingsStore& store, const PriceSeries& series,
                         const ChartWindow& window, int techHeight) {
  if (techHeight <= 0) return chart;
  QtCanvas pane(chart.width(), techHeight);
  PaintTechnicalPane(pane, TechnicalSettingsFrom(store), series, window);
  QImage both(chart.width(), chart.height() + techHeight, QImage::Format_RGB32);
  QPainter p(&both);
  p.drawImage(0, 0, chart);
  p.drawImage(0, chart.height(), pane.image());
  p.end();
  return both;
}

}  // namespace sorano::cli

#endif  // SORANO_HAVE_QT_CANVAS
