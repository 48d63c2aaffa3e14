#include "core/chart/chart_window.h"

#include <algorithm>
#include <cstdint>

namespace sorano {

void SetChartSize(ChartWindow& w, int chsize) {
  const int a = std::clamp(chsize, 1, 10);
  w.unit = a;
  w.gap = a;
  w.body = a + a / 2;
  w.pitch = w.gap + w.body;
}

void LayoutChartWindow(ChartWindow& w, int chsize, int clientWidth, int count) {
  SetChartSize(w, chsize);
  w.visible = std::max(0, (clientWidth - w.labelWidth - w.gap) / w.Stride());
  w.first = std::max(0, count);
}

void FitChartWindow(ChartWindow& w, int clientWidth, int count, int rightRoomBars) {
  FitChartWindow(w, clientWidth, count, rightRoomBars, w.labelWidth);
}

void FitChartWindow(ChartWindow& w, int clientWidth, int count, int rightRoomBars, int labelWidth) {
  // The room ahead of the last bar is counted in strides; a huge or negative period must not wrap.
  const long long room = static_cast<long long>(std::clamp(rightRoomBars, 0, 1 << 20)) * w.Stride();
  long long fit = (static_cast<long long>(clientWidth) - labelWidth - w.gap - room) / w.Stride();
  fit = std::clamp<long long>(fit, 0, std::max(0, count));
  w.visible = static_cast<int>(fit);
  const int last = std::max(0, count) - w.visible;
  if (w.first > last) w.first = last;
  if (w.first < 0) w.first = 0;
}

ScrollBarState ScrollBarFor(const ChartWindow& w, int count) {
  return ScrollBarState{0, count - 1, w.visible, w.first};
}

int ScrollRequestDelta(const ChartWindow& w, ScrollRequest request, int trackPos) {
  switch (request) {
    case ScrollRequest::LineLeft:
      return -5;
    case ScrollRequest::LineRight:
      return 5;
    case ScrollRequest::PageLeft:
      return -w.visible;
    case ScrollRequest::PageRight:
      return w.visible;
    case ScrollRequest::Track:
      return trackPos - w.first;
    case ScrollRequest::Other:
      return 0;
  }
  return 0;
}

bool ScrollBy(ChartWindow& w, int count, int delta) {
  if (count <= 0) return false;
  delta = std::min(delta, (count - 1) - w.first);
  delta = std::max(delta, -w.first);
  if (delta == 0) return false;
  w.first += delta;
  return true;
}

bool ScrollByKey(ChartWindow& w, int count, ChartKey key) {
  switch (key) {
    case ChartKey::Left:
    case ChartKey::Down:
    case ChartKey::PageDown:
      return ScrollBy(w, count, -5);
    case ChartKey::Right:
    case ChartKey::Up:
    case ChartKey::PageUp:
      if (w.first < count - w.visible) return ScrollBy(w, count, 5);
      return false;
    default:
      return false;
  }
}

bool ScrollByWheel(ChartWindow& w, int count, int wheelDelta) {
  if (wheelDelta < 0) return ScrollBy(w, count, -5);
  if (wheelDelta > 0 && w.first < count - w.visible) return ScrollBy(w, count, 5);
  return false;
}

int DayOfWeek(int year, int month, int day) {
  // In 64 bits: the date comes from a file and may hold any values.
  int64_t y = year, m = month;
  if (m == 1 || m == 2) {
    y -= 1;
    m += 12;
  }
  int64_t w = (day + (13 * m + 8) / 5 + y + y / 4 - y / 100 + y / 400) % 7;
  if (w < 0) w += 7;  // only for dates before year 0, which no sound file holds
  return static_cast<int>(w);
}

const char* DayOfWeekName(int weekday) {
  static const char* const kNames[7] = {"日", "月", "火", "水", "木", "金", "土"};
  if (weekday < 0 || weekday > 6) return "";
  return kNames[weekday];
}

}  // namespace sorano
