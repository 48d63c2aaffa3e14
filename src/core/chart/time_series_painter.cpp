#include "core/chart/time_series_painter.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/chart/chart_window.h"
#include "core/settings/settings_store.h"

namespace sorano {

namespace {

// Header titles and the column each starts at. "日付" ends at column 14: 14 - its 4 Shift_JIS bytes.
struct Title {
  const char* text;
  int column;
};
constexpr Title kTitles[] = {{"日付", 10},   {"始値", 21}, {"高値", 31},   {"安値", 41},  {"終値", 51},
                             {"前日比", 57}, {"比率", 67}, {"出来高", 75}, {"出来額", 91}};

// The columns the numbers of a row end at.
constexpr int kOpenEnd = 25, kHighEnd = 35, kLowEnd = 45, kCloseEnd = 55, kChangeEnd = 63, kRatioEnd = 71,
              kVolumeEnd = 81;
// The traded value: its number of 億 ends at column 87; a value below 1億 has its number end at 93.
constexpr int kOkuEnd = 87, kManEnd = 93;

std::string Fmt(const char* format, auto... args) {
  char buf[96];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

class Table {
 public:
  Table(Canvas& c, int w) : c_(c), w_(w) {}

  void At(int column, int y, const std::string& text) { c_.Text(column * w_, y, text); }
  // Numbers and other single-byte texts, right-aligned to end at column `end`.
  void EndingAt(int end, int y, const std::string& text) { At(end - static_cast<int>(text.size()), y, text); }

  void Row(const PriceBar& b, const PriceBar& prev, int y) {
    At(0, y,
       Fmt("%d %02d %02d (%s)", b.year, b.month, b.day, DayOfWeekName(DayOfWeek(b.year, b.month, b.day))));
    EndingAt(kOpenEnd, y, std::to_string(b.open));
    EndingAt(kHighEnd, y, std::to_string(b.high));
    EndingAt(kLowEnd, y, std::to_string(b.low));
    EndingAt(kCloseEnd, y, std::to_string(b.close));
    const int64_t change = static_cast<int64_t>(b.close) - prev.close;
    EndingAt(kChangeEnd, y, std::to_string(change));
    // No ratio against a close of 0.
    if (prev.close != 0)
      EndingAt(kRatioEnd, y, Fmt("%0.2f%%", static_cast<double>(change) / prev.close * 100));
    EndingAt(kVolumeEnd, y, std::to_string(b.volume));
    // In units of ten thousand yen; at most about 4.6e14, so 64 bits hold it.
    const int64_t t = static_cast<int64_t>(b.volume / 10000.0 * b.close);
    if (t >= 10000) {
      const std::string oku = std::to_string(t / 10000);
      At(kOkuEnd - static_cast<int>(oku.size()), y,
         oku + "億" + Fmt("%04lld", static_cast<long long>(t % 10000)) + "万円");
    } else {
      const std::string man = std::to_string(t);
      At(kManEnd - static_cast<int>(man.size()), y, man + "万円");
    }
  }

 private:
  Canvas& c_;
  int w_;
};

}  // namespace

TimeSeriesStyle TimeSeriesStyleFrom(const SettingsStore& settings, bool monochrome) {
  TimeSeriesStyle s;
  s.check_font_size = settings.check_font_size;
  s.background = static_cast<Color>(settings.color_list[0]);
  s.text = static_cast<Color>(settings.color_list[2]);
  s.monochrome = monochrome;
  return s;
}

void PaintTimeSeriesTable(Canvas& canvas, const TimeSeriesStyle& style, const PriceSeries& series) {
  const Color text = style.monochrome ? kBlack : style.text;
  const Color background = style.monochrome ? kWhite : style.background;
  canvas.SetFont(Font{"MS UI Gothic", std::max(1, static_cast<int>(style.check_font_size / 1.2))});
  canvas.SetTextColor(text);
  canvas.SetTextBackground(background, true);
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), background);
  const TextSize one = canvas.MeasureText("1");
  const int w = std::max(1, one.width), h = std::max(1, one.height);
  if (!series.HasFile()) {
    canvas.Text(0, 0, "　時系列画面：この株価コードは、データがダウンロードされていません。");
    canvas.Text(0, 3 * h,
                "　　　手順：この画面内で右クリックして、｢選択銘柄のチャート初期化｣をクリックしてください");
    return;
  }
  Table table(canvas, w);
  for (const Title& t : kTitles) table.At(t.column, 0, t.text);
  const int lines = canvas.Height() / h;
  int i = series.count() - 1;
  for (int line = 1; line <= lines && i >= 1; ++line, --i) table.Row(series[i], series[i - 1], line * h);
}

}  // namespace sorano
