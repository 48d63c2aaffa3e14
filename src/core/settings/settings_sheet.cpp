#include "core/settings/settings_sheet.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

using R = FieldRule;
using T = FieldTool;
namespace p = sheet_page;

// name, offset and width of a member of SettingsStore.
#define AT(m) #m, offsetof(SettingsStore, m), sizeof(std::declval <SettingsStore&>().m)

// clang-format off
constexpr SheetField kFields[] = {
    {p::kChart, "簡易比較コード", "", R::kInteger, T::kNone, AT(check_hikakulinecode)},
    {p::kChart, "スクロール設定", "日数", R::kScrollRange, T::kNone, AT(check_slsize)},

    {p::kOverlayValues, "新値足(本数)", "", R::kInteger, T::kNone, AT(check_shi_shinne)},
    {p::kOverlayValues, "カギ足(値幅l率)", "%", R::kPercent, T::kNone, AT(check_shi_kagi)},
    {p::kOverlayValues, "練行足(値幅l率)", "%", R::kPercent, T::kNone, AT(check_shi_renkou)},
    {p::kOverlayValues, "移動平均線日数(短期・中期・長期)", "", R::kAtLeastOne, T::kNone, AT(para_shi_sma01)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_sma02)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_sma03)},
    {p::kOverlayValues, "エンベロープ(日数・乖離率)", "", R::kAtLeastOne, T::kNone, AT(para_shi_enbe)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_enbe01)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_enbe02)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_enbe03)},
    {p::kOverlayValues, "ボリジャーバンド(日数・倍率)", "", R::kAtLeastOne, T::kNone, AT(para_shi_bori)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_bori01)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_bori02)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_bori03)},
    {p::kOverlayValues, "パラボリック・加速因子(10倍値)", "", R::kAtLeastOne, T::kNone,
     AT(runtime.parabolic_af_min)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(runtime.parabolic_af_max)},
    {p::kOverlayValues, "ジグザグ(%)", "%", R::kZigzag, T::kNone, AT(para_shi_zigzag)},
    {p::kOverlayValues, "一目均衡表(基準/転換/先行/遅行", "", R::kAtLeastOne, T::kNone, AT(para_shi_itimoku01)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_itimoku02)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_itimoku03)},
    {p::kOverlayValues, "", "", R::kAtLeastOne, T::kNone, AT(para_shi_itimoku04)},

    {p::kTechnicalValues, "DPO", "日数（偶数値のみ）", R::kInteger, T::kNone, AT(para_tec_dpo)},
    {p::kTechnicalValues, "Aroon", "日数", R::kInteger, T::kNone, AT(para_tec_aroon)},
    {p::kTechnicalValues, "MFI・RSI・VL-RSI・Wi%R", "", R::kInteger, T::kNone, AT(para_tec_rsi01)},
    {p::kTechnicalValues, "", "日数", R::kInteger, T::kNone, AT(para_tec_rsi02)},
    {p::kTechnicalValues, "Stochastic", "", R::kInteger, T::kNone, AT(para_tec_s_k)},
    {p::kTechnicalValues, "", "", R::kInteger, T::kNone, AT(para_tec_s_d)},
    {p::kTechnicalValues, "", "%K:%D:S%D", R::kInteger, T::kNone, AT(para_tec_s_sd)},
    {p::kTechnicalValues, "Momentum・ROC", "", R::kInteger, T::kNone, AT(para_tec_m_r01)},
    {p::kTechnicalValues, "", "何日前", R::kInteger, T::kNone, AT(para_tec_m_r02)},
    {p::kTechnicalValues, "RCI", "日数", R::kInteger, T::kNone, AT(para_tec_rci)},
    {p::kTechnicalValues, "MACD", "", R::kInteger, T::kNone, AT(para_tec_macd01)},
    {p::kTechnicalValues, "", "", R::kInteger, T::kNone, AT(para_tec_macd02)},
    {p::kTechnicalValues, "", "短期　長期　シグナル日数", R::kInteger, T::kNone, AT(para_tec_macd03)},
    {p::kTechnicalValues, "出来高移動平均", "日数", R::kInteger, T::kNone, AT(para_tec_volume_sma)},
    {p::kTechnicalValues, "VR・DVR・WVR", "", R::kInteger, T::kNone, AT(para_tec_vr01)},
    {p::kTechnicalValues, "", "日数", R::kInteger, T::kNone, AT(para_tec_vr02)},
    {p::kTechnicalValues, "PSY", "", R::kInteger, T::kNone, AT(para_tec_psy01)},
    {p::kTechnicalValues, "", "日数", R::kInteger, T::kNone, AT(para_tec_psy02)},

    {p::kConnection, "タイムアウト", "秒", R::kSeconds, T::kNone, AT(check_DL_time)},
    {p::kConnection, "リトライ回数", "回", R::kRetries, T::kNone, AT(check_DL_restart)},
    {p::kConnection, "プロキシサーバのアドレス", "", R::kText, T::kNone, AT(check_proxyserver)},
    {p::kConnection, "ポート", "", R::kText, T::kNone, AT(check_proxyprot)},
    {p::kConnection, "ユーザー名", "", R::kText, T::kNone, AT(check_proxyuser)},
    {p::kConnection, "パスワード", "", R::kText, T::kSecret, AT(check_proxypass)},

    {p::kOther, "保管場所フォルダ", "", R::kFolder, T::kFolderBrowser, AT(check_path)},
    {p::kOther, "エディタの設定", "", R::kText, T::kEditorBrowser, AT(check_editer)},
    {p::kOther, "F9キー　(例:証券会社)", "", R::kText, T::kNone, AT(check_key_link01)},
    {p::kOther, "F10キー (例:銀行)", "", R::kText, T::kNone, AT(check_key_link02)},
    {p::kOther, "F11キー (例:ヤフー F)", "", R::kText, T::kNone, AT(check_key_link03)},
};

constexpr SheetCheckBox kBoxes[] = {
    {p::kList, "＋－時の文字と背景色を反転(&B)", false, AT(check_list_bk)},
    {p::kChart, "ローソク内を塗り潰す(&B)", true, AT(check_roubh)},
    {p::kChart, "横目盛表示(&U)", false, AT(check_line_y)},
    {p::kChart, "週間の縦目盛表示(&M)", false, AT(check_line_w_x)},
    {p::kChart, "月間の縦目盛表示(&I)", false, AT(check_line_m_x)},
    {p::kConnection, "プロキシサーバ使用(&V)", false, AT(check_proxy)},
    {p::kConnection, "プロキシサーバにログオンする(&G)", false, AT(check_proxylogon)},
    {p::kOther, "多重起動を許可する(&R)", false, AT(check_start2)},
    {p::kOther, "ウィンドウ位置を保存する(&F)", false, AT(check_window)},
    {p::kOther, "バージョンアップをお知らせする(&G)", false, AT(check_version)},
};

constexpr std::string_view kListColours[] = {"背景", "背景(交互の行)", "文字", "上昇", "下落"};
constexpr std::string_view kChartColours[] = {
    "背景",       "目盛線",     "折れ線",         "はらみ",         "つつみ",
    "陽線",       "陰線",       "文字",           "入力ライン",     "比較線1",
    "比較線2",    "比較線3",    "基準線(最安値)", "基準線(基準値)", "基準線(最高値)"};
constexpr std::string_view kOverlayColours[] = {
    "移動平均(短期)", "移動平均(中期)", "移動平均(長期)", "エンベロープ(中心)", "エンベロープ1",
    "エンベロープ2",  "エンベロープ3",  "ボリジャー(中心)", "ボリジャー1",      "ボリジャー2",
    "ボリジャー3",    "パラボリック",   "ジグザグ",         "一目・基準線",     "一目・転換線",
    "一目・遅行線",   "一目・先行スパン", "一目・遅行スパン", "一目・雲",       "価格帯別出来高"};
constexpr std::string_view kTechnicalColours[] = {
    "DPO・乖離率(＋)", "DPO・乖離率(－)", "出来高",          "出来高移動平均",   "信用売残",
    "信用買残",        "MFI・RSI(1)",     "MFI・RSI(2)",     "Wi%R(1)",          "Wi%R(2)",
    "Stochastic %K",   "Stochastic %D",   "Stochastic S%D",  "RCI",              "Momentum・ROC(1)",
    "Momentum・ROC(2)", "VR・DVR・WVR(1)", "VR・DVR・WVR(2)", "PSY(1)",          "PSY(2)",
    "MACD 短期",       "MACD 長期",       "MACD シグナル",   "Aroon 上昇",       "Aroon 下降",
    "Aroon オシレータ"};

constexpr SheetColourFamily kColours[] = {
    {p::kList, kListColours, AT(color_list)},
    {p::kChart, kChartColours, AT(color_chart)},
    {p::kOverlayColours, kOverlayColours, AT(color_shisuu)},
    {p::kTechnicalColours, kTechnicalColours, AT(color_tec)},
};
// clang-format on

#undef AT

constexpr bool FieldsFitTheirRules() {
  for (const SheetField& f : kFields) {
    switch (f.rule) {
      case R::kPercent:
      case R::kZigzag:
        if (f.width != sizeof(double)) return false;
        break;
      case R::kText:
      case R::kFolder:
        if (f.width < 2) return false;
        break;
      default:
        if (f.width != sizeof(int32_t)) return false;
    }
  }
  for (const SheetCheckBox& b : kBoxes)
    if (b.width != sizeof(int32_t)) return false;
  for (const SheetColourFamily& c : kColours)
    if (c.width != c.labels.size() * sizeof(int32_t)) return false;
  return true;
}
static_assert(FieldsFitTheirRules(), "every field, box and colour family matches the member it names");

constexpr int32_t kTimeoutSecondsMin = 1;
constexpr int32_t kTimeoutSecondsMax = 3600;  // an hour: x 1000 stays far inside int32
constexpr int32_t kRetriesMax = 10;

std::span<char> Chars(SettingsStore& s, size_t offset, size_t width) {
  return {reinterpret_cast<char*>(&s) + offset, width};
}
std::span<const char> Chars(const SettingsStore& s, size_t offset, size_t width) {
  return {reinterpret_cast<const char*>(&s) + offset, width};
}

template <typename V>
V Get(const SettingsStore& s, size_t offset) {
  V v;
  std::memcpy(&v, reinterpret_cast<const char*>(&s) + offset, sizeof v);
  return v;
}
template <typename V>
void Put(SettingsStore& s, size_t offset, V v) {
  std::memcpy(reinterpret_cast<char*>(&s) + offset, &v, sizeof v);
}

// Up to ten significant digits, locale-free: 0.03 shows as "3", 0.035 as "3.5".
std::string Decimal(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 10);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string ShownText(const SettingsStore& s, const SheetField& f) {
  switch (f.rule) {
    case R::kPercent:
    case R::kZigzag:
      return Decimal(Get<double>(s, f.offset) * 100);
    case R::kSeconds:
      return std::to_string(Get<int32_t>(s, f.offset) / 1000);
    case R::kText:
      return SjisToUtf8(FieldText(Chars(s, f.offset, f.width)));
    case R::kFolder:
      return std::string(FieldText(Chars(s, f.offset, f.width)));
    default:
      return std::to_string(Get<int32_t>(s, f.offset));
  }
}

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

int32_t StoredInteger(FieldRule rule, std::string_view text) {
  const int32_t v = LeadingInt(text);
  switch (rule) {
    case R::kAtLeastOne:
      return v <= 0 ? 1 : v;
    case R::kScrollRange:
      return v < 0 ? 1 : v;
    case R::kSeconds:
      return std::clamp(v, kTimeoutSecondsMin, kTimeoutSecondsMax) * 1000;
    case R::kRetries:
      return std::clamp(v, 0, kRetriesMax);
    default:
      return v;
  }
}

}  // namespace

std::span<const SheetField> SheetFields() {
  return kFields;
}
std::span<const SheetCheckBox> SheetCheckBoxes() {
  return kBoxes;
}
std::span<const SheetColourFamily> SheetColourFamilies() {
  return kColours;
}

std::string_view SheetPageNote(int page) {
  switch (page) {
    case p::kOverlayValues:
    case p::kTechnicalValues:
      return "※非表示にする場合には、1を入力するかもしくは、同じ値を入力してください。";
    case p::kOther:
      return "※保管場所フォルダの変更は、次回の起動から有効になります。";
    default:
      return {};
  }
}

SettingsSheet::SettingsSheet(const SettingsStore& store) : work_(store) {
  for (const SheetField& f : kFields) shown_.push_back(ShownText(store, f));
  texts_ = shown_;
}

size_t SettingsSheet::FieldIndex(std::string_view name) {
  for (size_t i = 0; i < std::size(kFields); ++i)
    if (kFields[i].name == name) return i;
  return std::string_view::npos;
}

bool SettingsSheet::Checked(size_t box) const {
  const SheetCheckBox& b = kBoxes[box];
  return (Get<int32_t>(work_, b.offset) > 0) != b.ticksZero;
}

void SettingsSheet::SetChecked(size_t box, bool ticked) {
  const SheetCheckBox& b = kBoxes[box];
  Put<int32_t>(work_, b.offset, ticked != b.ticksZero ? 1 : 0);
}

int32_t SettingsSheet::Colour(size_t family, size_t element) const {
  const SheetColourFamily& c = kColours[family];
  return Get<int32_t>(work_, c.offset + sizeof(int32_t) * std::min(element, c.labels.size() - 1));
}

void SettingsSheet::SetColour(size_t family, size_t element, int32_t colour) {
  const SheetColourFamily& c = kColours[family];
  if (element < c.labels.size()) Put<int32_t>(work_, c.offset + sizeof(int32_t) * element, colour);
}

std::string SettingsSheet::FontFace() const {
  return SjisToUtf8(FieldText(work_.check_font_name));
}

void SettingsSheet::SetFont(std::string_view utf8Face, int32_t pixels) {
  SetField(work_.check_font_name, Utf8ToSjis(utf8Face));
  work_.check_font_size = pixels;
}

std::optional<SheetProblem> SettingsSheet::Check() const {
  for (size_t i = 0; i < std::size(kFields); ++i) {
    const SheetField& f = kFields[i];
    // A character Shift_JIS cannot hold would be stored as '?': a password or a program path that
    // silently no longer works.
    if (f.rule == R::kText && texts_[i] != shown_[i] &&
        std::ranges::count(Utf8ToSjis(texts_[i]), '?') != std::ranges::count(texts_[i], '?'))
      return SheetProblem{i, "「" + std::string(f.label) +
                                 "」に保存できない文字が含まれています。\r\n別の文字に置き換えてください。"};
    // A folder is never cut: a shortened path would name another folder.
    if (f.rule == R::kFolder && texts_[i] != shown_[i] && WithSeparator(texts_[i]).size() >= f.width)
      return SheetProblem{i, "保管場所フォルダのパスが長すぎます。\r\n" + std::to_string(f.width - 1) +
                                 "バイト以内のフォルダを指定してください。"};
  }
  return std::nullopt;
}

void SettingsSheet::Apply(SettingsStore& store) const {
  for (size_t i = 0; i < std::size(kFields); ++i) {
    const SheetField& f = kFields[i];
    const std::string& text = texts_[i];
    const bool asShown = text == shown_[i];
    switch (f.rule) {
      case R::kPercent:
      case R::kZigzag: {
        // The shown text is rounded; left alone, the stored fraction stays exact.
        double v = asShown ? Get<double>(work_, f.offset) : LeadingDouble(text) / 100;
        if (f.rule == R::kZigzag && !(v > 0)) v = 1.0;
        Put<double>(store, f.offset, v);
        break;
      }
      case R::kText:
        if (!asShown) SetField(Chars(store, f.offset, f.width), Utf8ToSjis(text));
        break;
      case R::kFolder:
        if (!asShown && WithSeparator(text).size() < f.width) {
          const std::string folder = WithSeparator(text);
          std::span<char> field = Chars(store, f.offset, f.width);
          std::fill(field.begin(), field.end(), '\0');
          std::memcpy(field.data(), folder.data(), folder.size());
        }
        break;
      default:
        Put<int32_t>(store, f.offset, StoredInteger(f.rule, text));
        break;
    }
  }
  for (const SheetCheckBox& b : kBoxes) Put<int32_t>(store, b.offset, Get<int32_t>(work_, b.offset));
  for (const SheetColourFamily& c : kColours)
    std::memcpy(reinterpret_cast<char*>(&store) + c.offset, reinterpret_cast<const char*>(&work_) + c.offset,
                c.width);
  std::memcpy(store.check_font_name, work_.check_font_name, sizeof store.check_font_name);
  store.check_font_size = work_.check_font_size;
}

}  // namespace sorano
