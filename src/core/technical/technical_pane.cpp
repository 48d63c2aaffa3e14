#include "core/technical/technical_pane.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/technical/indicators.h"
#include "core/technical/volume_indicators.h"

namespace sorano {

namespace {

// Pen widths of the slots 00-25; 20 is dash-dot-dot, 21 and 25 dashed, the rest solid.
constexpr std::array<int, 26> kSlotWidth = {1, 1, 2, 2, 2, 1, 2, 1, 1, 2, 1, 1, 2,
                                            2, 1, 1, 2, 1, 1, 2, 1, 1, 2, 1, 1, 1};

PenStyle SlotStyle(size_t slot) {
  if (slot == 20) return PenStyle::DashDotDot;
  if (slot == 21 || slot == 25) return PenStyle::Dash;
  return PenStyle::Solid;
}

// Slots by role.
enum Slot : int {
  kPlus = 0,
  kMinus = 1,
  kVolume = 2,
  kVolumeSma = 3,
  kFirstLine = 6,  // RSI, MFI
  kSecondLine = 7,
  kWilliams1 = 8,
  kWilliams2 = 9,
  kStochA = 10,
  kStochB = 11,
  kStochC = 12,
  kRci = 13,
  kMomentum1 = 14,
  kMomentum2 = 15,
  kRatio1 = 16,  // VR, WVR, DVR
  kRatio2 = 17,
  kPsy1 = 18,
  kPsy2 = 19,
  kMacdSignal = 20,
  kMacdLine = 21,
  kMacdHist = 22,
  kUp = 23,  // Aroon up, +DI
  kDown = 24,
  kOscillator = 25,  // Aroon oscillator, ADX
};

// Values far outside the scale are drawn toward the far side at a bounded distance, so that a canvas
// never receives coordinates near the integer limits.
constexpr int64_t kFar = 1 << 20;
int ClampY(int64_t y) {
  return static_cast<int>(std::clamp<int64_t>(y, -kFar, kFar));
}

bool On(int32_t flag) {
  return flag > 0;
}

std::string Num(int64_t v) {
  return std::to_string(v);
}
std::string Params(std::string_view name, std::initializer_list<int32_t> values) {
  std::string out(name);
  bool firstValue = true;
  for (int32_t v : values) {
    if (!firstValue) out += ' ';
    out += Num(v);
    firstValue = false;
  }
  return out;
}

class Painter {
 public:
  Painter(Canvas& canvas, const TechnicalSettings& s, const PriceSeries& series, const ChartWindow& win)
      : c_(canvas),
        s_(s),
        pal_(MakeTechnicalPalette(s)),
        hasFile_(series.HasFile()),
        w_(ClampedWindow(series.bars(), win.first, win.visible)),
        unit_(win.unit),
        pitch_(win.pitch) {}

  void Paint();

 private:
  // ---- the pieces every indicator uses ----
  int Y(int64_t v, int scale) const { return ClampY(top_ + h_ - v * h_ / scale); }
  // The start rule: position 1 when the period lies within first, else the period itself. Periods
  // beyond any series start beyond the window.
  int Start(int64_t n) const { return n < w_.first ? 1 : Fixed(n); }
  // A start that does not depend on first (ADX, the MACD histogram and signal).
  static int Fixed(int64_t n) { return static_cast<int>(std::clamp<int64_t>(n, 1, kMaxPeriod + 1)); }

  void Label(int slot, const std::string& text);
  void RefLine(int r, int scale, std::string_view text);
  void RefLines3070() {
    RefLine(30, 100, "30%");
    RefLine(70, 100, "70%");
  }
  // The top of a text written at y, moved up or down so that the whole text stays in the sub-pane
  // (a sub-pane lower than the text keeps it at its top).
  int TextTop(int y) const { return std::max(top_, std::min(y, top_ + h_ - ch_)); }
  void RightText(const std::string& text, int y) {
    c_.Text(right_ - cw_ * static_cast<int>(text.size()), TextTop(y), text);
  }
  // An indicator line: a segment from position i - 1 to i for i = start ... visible - 1, broken
  // where a value is missing.
  template <class Map>
  void DrawLine(const IndicatorValues& v, int start, int slot, Map y);
  void DrawLine(const IndicatorValues& v, int start, int slot, int scale) {
    DrawLine(v, start, slot, [&](int64_t x) { return Y(x, scale); });
  }
  // Bars from the zero value to v[i - 1] for i = start ... visible, coloured by the side v[i - 1]
  // lies on, joined by the segments of the line (deviation rate and DPO).
  void DrawBars(const IndicatorValues& v, int start, int scale, int zero, int minusBelow);

  // ---- the steps of the paint ----
  void DateGrid();
  bool UsesSharedReferenceLines() const;
  void SharedReferenceLines();
  void VolumeGraph();
  void DeviationRateStep(int n);
  void DpoStep();
  void AroonStep();
  void TwoLines(int n1, int n2, int slot1, int slot2, int scale, IndicatorValues (*f)(const BarWindow&, int));
  void DmiStep();
  void StochasticStep();
  void MacdStep();
  void VrStep();

  Canvas& c_;
  const TechnicalSettings& s_;
  TechnicalPalette pal_;
  bool hasFile_;
  BarWindow w_;
  int unit_;
  int pitch_;
  int right_ = 0;
  int height_ = 0;
  int cw_ = 0;
  int ch_ = 0;
  bool multiple_ = false;
  int top_ = 0;  // the current sub-pane
  int h_ = 0;
  int labelX_ = 0;
  std::vector<Point> run_;  // the polyline being collected by DrawLine
};

void Painter::Label(int slot, const std::string& text) {
  const std::string written = text + " ";
  c_.SetTextColor(pal_.label[static_cast<size_t>(slot)]);
  c_.Text(multiple_ ? 0 : labelX_, top_, written);
  c_.SetTextColor(pal_.afterLabel);
  labelX_ += c_.MeasureText(written).width;
}

void Painter::RefLine(int r, int scale, std::string_view text) {
  const int y = Y(r, scale);
  c_.SetPen(pal_.grid);
  c_.Line(unit_, y, right_ - 2 * cw_, y);
  c_.Text(right_ - 2 * cw_, TextTop(y), text);
}

template <class Map>
void Painter::DrawLine(const IndicatorValues& v, int start, int slot, Map y) {
  c_.SetPen(pal_.slot[static_cast<size_t>(slot)]);
  // Each unbroken run of values is one polyline: the same pixels as a MoveTo and a LineTo per
  // segment, in one call.
  run_.clear();
  auto flush = [&] {
    if (run_.size() >= 2) c_.Polyline(run_);
    run_.clear();
  };
  for (int i = std::max(1, start); i < w_.visible; ++i) {
    const int32_t a = v[static_cast<size_t>(i - 1)], b = v[static_cast<size_t>(i)];
    if (a == kNoValue || b == kNoValue) {
      flush();
      continue;
    }
    if (run_.empty()) run_.push_back(Point{pitch_ * i, y(a)});
    run_.push_back(Point{pitch_ * (i + 1), y(b)});
  }
  flush();
}

void Painter::DrawBars(const IndicatorValues& v, int start, int scale, int zero, int minusBelow) {
  const int yZero = Y(zero, scale);
  for (int i = std::max(1, start); i <= w_.visible; ++i) {
    const int32_t a = v[static_cast<size_t>(i - 1)];
    if (a == kNoValue) continue;
    const size_t slot = a < minusBelow ? kMinus : kPlus;
    c_.SetPen(pal_.slot[slot]);
    c_.SetBrush(pal_.slotBrush[slot]);
    const int ya = Y(a, scale);
    if (i < w_.visible && v[static_cast<size_t>(i)] != kNoValue) {
      c_.MoveTo(pitch_ * i, ya);
      c_.LineTo(pitch_ * (i + 1), Y(v[static_cast<size_t>(i)], scale));
    }
    c_.Rectangle(pitch_ * i - unit_, std::min(ya, yZero), pitch_ * i + unit_, std::max(ya, yZero));
  }
}

void Painter::Paint() {
  right_ = c_.Width();
  height_ = c_.Height();
  c_.SetTextBackground(pal_.background, true);
  c_.SetFont(TechnicalFont(s_));
  c_.FillRect(0, 0, right_, height_, pal_.background);
  const TextSize a = c_.MeasureText("あ");
  cw_ = a.width;
  ch_ = a.height;
  c_.SetTextColor(pal_.text);

  if (!hasFile_) {
    c_.Text(0, 0, "　テクニカル画面：この株価コードは、データがダウンロードされていません。");
    c_.Text(0, 3 * ch_,
            "　　　手順：チャート画面内で右クリックして、｢選択銘柄のチャート初期化｣をクリックしてください。");
    return;
  }
  // No geometry yet, or none a chart width could give (pitch is at most 25): nothing to line up with,
  // and x = pitch * position must stay far inside int.
  if (pitch_ <= 0 || pitch_ > 1000 || unit_ < 0 || unit_ > 1000) return;

  DateGrid();

  const int count = CountTechnicalIndicators(s_);
  multiple_ = On(s_.check_tec_dc);
  h_ = multiple_ && count > 0 ? height_ / count : height_;
  top_ = 0;
  if (count == 0) return;
  // In single display every indicator shares the one area: the lines are drawn once, under them all.
  if (!multiple_ && UsesSharedReferenceLines()) SharedReferenceLines();

  const bool index = IsIndexBrand(s_.check_code);
  int p = 0;
  // Each step runs in the next sub-pane; an indicator skipped for an index brand keeps its place
  // for the next one, so the empty sub-panes are the last ones.
  auto step = [&](int32_t flag, bool needsVolume, auto&& draw) {
    if (!On(flag) || (needsVolume && index)) return;
    top_ = multiple_ ? h_ * p : 0;
    draw();
    ++p;
  };
  step(s_.check_tec_volume, true, [&] { VolumeGraph(); });
  // In multiple display the shared lines stand in each sub-pane that is drawn on their scale.
  auto shared = [&] {
    if (multiple_) SharedReferenceLines();
  };
  step(s_.check_tec_kairi_sma01, false, [&] {
    shared();
    DeviationRateStep(s_.para_shi_sma01);
  });
  step(s_.check_tec_kairi_sma02, false, [&] {
    shared();
    DeviationRateStep(s_.para_shi_sma02);
  });
  step(s_.check_tec_kairi_sma03, false, [&] {
    shared();
    DeviationRateStep(s_.para_shi_sma03);
  });
  step(s_.check_tec_dpo, false, [&] { DpoStep(); });
  step(s_.check_tec_aroon, false, [&] { AroonStep(); });
  step(s_.check_tec_rsi, false, [&] {
    Label(kSecondLine, Params("RSI ", {s_.para_tec_rsi01, s_.para_tec_rsi02}));
    RefLines3070();
    TwoLines(s_.para_tec_rsi01, s_.para_tec_rsi02, kFirstLine, kSecondLine, 100, Rsi);
  });
  step(s_.check_tec_dmi, false, [&] { DmiStep(); });
  step(s_.check_tec_mfi, true, [&] {
    Label(kSecondLine, Params("MFI ", {s_.para_tec_rsi01, s_.para_tec_rsi02}));
    RefLines3070();
    TwoLines(s_.para_tec_rsi01, s_.para_tec_rsi02, kFirstLine, kSecondLine, 100, Mfi);
  });
  step(s_.check_tec_william, false, [&] {
    Label(kWilliams2, Params("William's %R ", {s_.para_tec_rsi01, s_.para_tec_rsi02}));
    RefLines3070();
    TwoLines(s_.para_tec_rsi01, s_.para_tec_rsi02, kWilliams1, kWilliams2, 100, WilliamsR);
  });
  step(s_.check_tec_stochastic, false, [&] { StochasticStep(); });
  step(s_.check_tec_momentamu, false, [&] {
    Label(kMomentum1, Params("Momentamu ", {s_.para_tec_m_r01, s_.para_tec_m_r02}));
    RefLines3070();
    TwoLines(s_.para_tec_m_r01, s_.para_tec_m_r02, kMomentum1, kMomentum2, 100, Momentum);
  });
  step(s_.check_tec_roc, false, [&] {
    Label(kMomentum1, Params("ROC ", {s_.para_tec_m_r01, s_.para_tec_m_r02}));
    RefLines3070();
    TwoLines(s_.para_tec_m_r01, s_.para_tec_m_r02, kMomentum1, kMomentum2, 100, Momentum);
  });
  step(s_.check_tec_rci, false, [&] {
    shared();
    Label(kMomentum2, Params("RCI ", {s_.para_tec_rci}));
    DrawLine(Rci(w_, s_.para_tec_rci), Start(s_.para_tec_rci), kRci, 200);
  });
  step(s_.check_tec_macd_sma, false, [&] { MacdStep(); });
  step(s_.check_tec_vr, true, [&] { VrStep(); });
  step(s_.check_tec_wvr, true, [&] {
    shared();
    Label(kRatio2, Params("WVR ", {s_.para_tec_vr01, s_.para_tec_vr02}));
    TwoLines(s_.para_tec_vr01, s_.para_tec_vr02, kRatio1, kRatio2, 200, Wvr);
  });
  step(s_.check_tec_dvr, true, [&] {
    Label(kRatio2, Params("DVR ", {s_.para_tec_vr01, s_.para_tec_vr02}));
    RefLines3070();
    TwoLines(s_.para_tec_vr01, s_.para_tec_vr02, kRatio1, kRatio2, 100, Dvr);
  });
  step(s_.check_tec_psy, false, [&] {
    Label(kPsy2, Params("PSY ", {s_.para_tec_psy01, s_.para_tec_psy02}));
    RefLines3070();
    TwoLines(s_.para_tec_psy01, s_.para_tec_psy02, kPsy1, kPsy2, 100, Psy);
  });
  // The margin balance only holds its (last) sub-pane: nothing of it is drawn.
}

void Painter::DateGrid() {
  c_.SetPen(pal_.grid);
  const int yTop = height_ - 10 * (height_ / 10);
  // The line at x = pitch * i stands at bar b = first + i - 1 when it opens a new week, month or year
  // against the bar before it; the leftmost bar of the series has no bar before it.
  for (int i = 1; i < w_.visible; ++i) {
    const int ai = w_.first + i - 2;
    if (ai < 0) continue;
    const PriceBar& a = w_.bars[static_cast<size_t>(ai)];
    const PriceBar& b = w_.bars[static_cast<size_t>(ai + 1)];
    const int64_t dd = int64_t{b.day} - a.day;  // days read from a file may hold any values
    const bool week = On(s_.check_line_w_x) && ((dd >= 3 && dd <= 7) || dd < 0);
    const bool month = On(s_.check_line_m_x) && s_.check_ymd != kPeriodMonthly &&
                       (a.month < b.month || (a.month == 12 && b.month == 1));
    const bool year = a.year < b.year;
    if (week || month || year) c_.Line(pitch_ * i, height_, pitch_ * i, yTop);
  }
}

bool Painter::UsesSharedReferenceLines() const {
  return On(s_.check_tec_kairi_sma01) || On(s_.check_tec_kairi_sma02) || On(s_.check_tec_kairi_sma03) ||
         On(s_.check_tec_rci) || On(s_.check_tec_wvr);
}

// -50 %, 0 % and +50 % of a scale of 200, in the current sub-pane.
void Painter::SharedReferenceLines() {
  RefLine(50, 200, "-50%");
  RefLine(100, 200, "+-0%");
  RefLine(150, 200, "+50%");
}

void Painter::VolumeGraph() {
  Label(kVolume, "出来高");
  const VolumeScale scale = VolumeScaleFor(w_);
  auto y = [&](int64_t u) { return ClampY(scale.Y(u, top_, h_)); };
  c_.SetPen(pal_.slot[kVolume]);
  c_.SetBrush(pal_.slotBrush[kVolume]);
  for (int i = 1; i <= w_.visible; ++i) {
    const int32_t vol = w_.bars[static_cast<size_t>(w_.first + i - 1)].volume;
    c_.Rectangle(pitch_ * i - unit_, y(vol), pitch_ * i + unit_, top_ + h_);
  }
  if (On(s_.check_tec_volume_sma)) {
    const int n = s_.para_tec_volume_sma;
    DrawLine(VolumeSma(w_, n), Start(n), kVolumeSma, y);
  }
  // The scale's texts stand over the newest bars: written after them, so that no bar hides digits, and
  // right-aligned by their measured width (half a full-width character per digit cut "549000").
  const std::string lo = Num(scale.lo), hi = Num(scale.hi);
  c_.Text(right_ - c_.MeasureText(lo).width, TextTop(top_ + h_ - (h_ * 30) / 200), lo);
  c_.Text(right_ - c_.MeasureText(hi).width, top_, hi);
}

void Painter::DeviationRateStep(int n) {
  Label(kPlus, "移動平均乖離率 " + Num(n));
  // Scale 50 with 25 as no deviation: -25 % at the bottom, +25 % at the top.
  DrawBars(DeviationRate(w_, n), Start(n), 50, 25, 26);
}

void Painter::DpoStep() {
  const int n = s_.para_tec_dpo;
  Label(kPlus, Params("DPO ", {n}));
  const DpoValues dpo = Dpo(w_, n);
  RefLine(100, 200, "+-0%");
  RefLine(30, 200, "-70%");
  RefLine(170, 200, "+70%");
  DrawBars(dpo.v, Start(n), 200, 100, 101);
}

void Painter::AroonStep() {
  const int n = s_.para_tec_aroon;
  Label(kSecondLine, Params("Aroon ", {n}));
  const AroonValues a = Aroon(w_, n);
  RefLines3070();
  DrawLine(a.up, Start(n), kUp, 100);
  DrawLine(a.down, Start(n), kDown, 100);
  DrawLine(a.oscillator, Start(n), kOscillator, 200);
}

// The second period's line first, then the first's over it.
void Painter::TwoLines(int n1, int n2, int slot1, int slot2, int scale,
                       IndicatorValues (*f)(const BarWindow&, int)) {
  DrawLine(f(w_, n2), Start(n2), slot2, scale);
  DrawLine(f(w_, n1), Start(n1), slot1, scale);
}

void Painter::DmiStep() {
  const int n = s_.para_tec_dmi;
  Label(kSecondLine, Params("DMI ", {n}));
  const DmiValues d = Dmi(w_, n);
  if (w_.visible > 0) {
    const size_t last = static_cast<size_t>(w_.visible - 1);
    // The newest values, right-aligned: +DI at the top, -DI at three quarters, ADX at half height.
    if (d.plus[last] != kNoValue) RightText(Num(d.plus[last]), Y(200, 200));
    if (d.minus[last] != kNoValue) RightText(Num(d.minus[last]), Y(150, 200));
    if (d.adx[last] != kNoValue) RightText(Num(d.adx[last]), Y(100, 200));
  }
  DrawLine(d.plus, Start(n), kUp, 100);
  DrawLine(d.minus, Start(n), kDown, 100);
  DrawLine(d.adx, Fixed(int64_t{n} + 1), kOscillator, 100);
}

void Painter::StochasticStep() {
  const int k = s_.para_tec_s_k, d = s_.para_tec_s_d, sd = s_.para_tec_s_sd;
  Label(kStochA, Params("Stochastic ", {k, d, sd}));
  const StochasticValues st = Stochastic(w_, k, d, sd);
  RefLines3070();
  DrawLine(st.c, Start(d), kStochC, 100);
  DrawLine(st.b, Start(k), kStochB, 100);
  DrawLine(st.a, Start(sd), kStochA, 100);
}

void Painter::MacdStep() {
  const int s = s_.para_tec_macd01, l = s_.para_tec_macd02, g = s_.para_tec_macd03;
  Label(kMacdHist, Params("MACD ", {g, s, l}));
  const MacdValues m = Macd(w_, s, l, g);
  const int64_t r = m.range;
  // Its own scale: R spans the largest magnitude both ways, 0 at mid-height.
  auto y = [&](int64_t v) { return ClampY(top_ + h_ - ((v + r / 2) * h_) / r); };
  RightText(Num(r / 2), top_);
  const int zeroY = y(0);
  RightText("0", zeroY);
  c_.SetPen(pal_.grid);
  c_.Line(unit_, zeroY, right_ - 2 * cw_, zeroY);
  RightText(Num(-(r / 2)), top_ + h_ - (h_ * 10) / 200);
  DrawLine(m.hist, Fixed(int64_t{l} + 1), kMacdHist, y);
  DrawLine(m.macd, Start(l), kMacdLine, y);
  DrawLine(m.signal, Fixed(l), kMacdSignal, y);
}

void Painter::VrStep() {
  const int n1 = s_.para_tec_vr01, n2 = s_.para_tec_vr02;
  Label(kRatio2, Params("VR ", {n1, n2}));
  RefLines3070();
  // The first line sums N1 + 1 bars, the second N2.
  if (n2 > 0) DrawLine(Vr(w_, n2), Start(n2), kRatio2, 100);
  if (n1 > 0) DrawLine(Vr(w_, int64_t{n1} + 1), Start(n1), kRatio1, 100);
}

}  // namespace

TechnicalPalette MakeTechnicalPalette(const TechnicalSettings& s) {
  TechnicalPalette p;
  for (size_t n = 0; n < p.slot.size(); ++n) {
    if (s.monochrome) {
      p.slot[n] = Pen{kBlack, 1, PenStyle::Solid};
      p.slotBrush[n] = Brush{kBlack, false};
      p.label[n] = kBlack;
    } else {
      p.slot[n] = Pen{s.color_tec[n], kSlotWidth[n], SlotStyle(n)};
      p.slotBrush[n] = Brush{s.color_tec[n], false};
      p.label[n] = s.color_tec[n];
    }
  }
  if (s.monochrome) {
    p.grid = Pen{kBlack, 1, PenStyle::Dot};
    p.background = kWhite;
    p.text = p.afterLabel = kBlack;
  } else {
    p.grid = Pen{s.color_chart[1], 1, PenStyle::Dot};
    p.background = s.color_chart[0];
    p.text = s.color_chart[2];
    p.afterLabel = s.color_chart[7];
  }
  return p;
}

Font TechnicalFont(const TechnicalSettings& s) {
  Font f;
  f.face = "MS UI Gothic";
  f.height = static_cast<int>(s.check_font_size / 1.3);
  return f;
}

int CountTechnicalIndicators(const TechnicalSettings& s) {
  int n = 0;
  for (int32_t flag :
       {s.check_tec_kairi_sma01, s.check_tec_kairi_sma02, s.check_tec_kairi_sma03, s.check_tec_dpo,
        s.check_tec_volume,      s.check_tec_shinyouu,    s.check_tec_aroon,       s.check_tec_mfi,
        s.check_tec_rsi,         s.check_tec_dmi,         s.check_tec_william,     s.check_tec_stochastic,
        s.check_tec_momentamu,   s.check_tec_roc,         s.check_tec_rci,         s.check_tec_macd_sma,
        s.check_tec_vr,          s.check_tec_wvr,         s.check_tec_dvr,         s.check_tec_psy})
    n += On(flag) ? 1 : 0;
  return n;
}

void PaintTechnicalPane(Canvas& canvas, const TechnicalSettings& s, const PriceSeries& series,
                        const ChartWindow& window) {
  Painter(canvas, s, series, window).Paint();
}

}  // namespace sorano
