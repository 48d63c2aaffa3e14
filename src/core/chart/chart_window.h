#pragma once
// The visible window onto the price series, shared by the price chart and the technical pane: which
// bar is leftmost, how many bars fit, the horizontal bar geometry, and scrolling.
//
// Window position j (0 <= j < visible) shows series index first + j, centred at x = pitch * (j + 1)
// pixels from the pane's left edge.
namespace sorano {

struct ChartWindow {
  int first = 0;       // series index of the leftmost bar shown
  int visible = 0;     // number of bars shown
  int unit = 5;        // check_chsize, 1 to 10
  int gap = 5;         // space between bodies: unit
  int body = 7;        // body width: unit + unit / 2
  int pitch = 12;      // distance between bar centres: gap + body
  int labelWidth = 0;  // width of the "%d" of the scale's top price, kept free at the right edge

  int X(int j) const { return pitch * (j + 1); }
  // The divisor of the fit and of the bar-under-the-cursor rule: body + unit.
  int Stride() const { return body + unit; }
};

// unit, gap, body and pitch from check_chsize (clamped to 1 ... 10).
void SetChartSize(ChartWindow& w, int chsize);

// On a size notification or re-layout: geometry from chsize, visible from the client width and the
// labelWidth of the last paint, and first = count (the paint clamps it: the newest bars are shown).
void LayoutChartWindow(ChartWindow& w, int chsize, int clientWidth, int count);

// At every paint, before drawing: visible from the client width, less rightRoomBars bar strides kept
// free at the right (para_shi_itimoku01 while Ichimoku is shown, else 0), at most count; first clamped
// so the window ends at the newest bar. Never leaves visible or first negative. The room kept for the
// labels at the right edge is w.labelWidth, or labelWidth for a pane with labels of its own.
void FitChartWindow(ChartWindow& w, int clientWidth, int count, int rightRoomBars);
void FitChartWindow(ChartWindow& w, int clientWidth, int count, int rightRoomBars, int labelWidth);

struct ScrollBarState {
  int min = 0;
  int max = 0;   // count - 1
  int page = 0;  // visible
  int pos = 0;   // first
};
ScrollBarState ScrollBarFor(const ChartWindow& w, int count);

enum class ScrollRequest { LineLeft, LineRight, PageLeft, PageRight, Track, Other };

// The raw delta of a scroll-bar request: -5/+5 for the arrows, -visible/+visible for the page areas,
// trackPos - first while the thumb is dragged, 0 otherwise.
int ScrollRequestDelta(const ChartWindow& w, ScrollRequest request, int trackPos);

// Clamps delta so that 0 <= first + delta <= count - 1 and applies it. True when first changed (the
// caller then updates the scroll bar and repaints both chart panes).
bool ScrollBy(ChartWindow& w, int count, int delta);

enum class ChartKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Other };

// Left, Down and Page Down: 5 bars earlier; Right, Up and Page Up: 5 bars later, only while
// first < count - visible. True when first changed.
bool ScrollByKey(ChartWindow& w, int count, ChartKey key);

// wheelDelta < 0 (turned toward the user): 5 bars earlier; > 0: 5 bars later, only while
// first < count - visible. True when first changed.
bool ScrollByWheel(ChartWindow& w, int count, int wheelDelta);

// Day of the week by Zeller's congruence (January and February as months 13 and 14 of the previous
// year): 0 Sunday ... 6 Saturday.
int DayOfWeek(int year, int month, int day);
// "日", "月", ... "土" (UTF-8) for 0 ... 6; "" for anything else.
const char* DayOfWeekName(int weekday);

}  // namespace sorano
