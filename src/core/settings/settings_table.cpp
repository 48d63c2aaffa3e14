#include "core/settings/settings_table.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "core/settings/settings_store.h"

namespace sorano {

// Field bytes are the registry bytes as they stand: 32-bit values and doubles are little-endian in the
// registry, so the in-memory layout must be too.
static_assert(std::endian::native == std::endian::little);
static_assert(std::is_standard_layout_v<SettingsStore>);

namespace {

// One value of the Initial or Reset column.
struct Init {
  enum Kind : uint8_t { kKept, kInt, kInts, kReal, kText, kBand } kind = kKept;
  int32_t i = 0;
  double d = 0;
  const char* text = nullptr;
  std::span<const int32_t> ints;
};

constexpr Init I(int32_t v) {
  return {Init::kInt, v, 0, nullptr, {}};
}
constexpr Init R(double v) {
  return {Init::kReal, 0, v, nullptr, {}};
}
constexpr Init T(const char* v) {
  return {Init::kText, 0, 0, v, {}};
}
constexpr Init L(std::span<const int32_t> v) {
  return {Init::kInts, 0, 0, nullptr, v};
}
constexpr Init kKept{};
constexpr Init kBand{Init::kBand, 0, 0, nullptr, {}};

struct Row {
  const char* name;  // value name, or the family name when count > 0
  RegType type;
  uint32_t width;  // per element
  size_t offset;   // of the member, element 0 for a family
  uint32_t count;  // 0: one value; n: a family stored as "%s%02d", elements 00 to n-1
  Init initial;
  Init reset;
  uint32_t resetCount;  // families: elements [0, resetCount) take the reset list, the rest are kept
};

constexpr RegType kDw = RegType::Dword;
constexpr RegType kBin = RegType::Binary;
constexpr RegType kSz = RegType::Sz;

// name, offset and width of a scalar member; name, offset, element width and count of a family.
#define SCALAR(m) #m, offsetof(SettingsStore, m)
#define TEXT(m) #m, kSz, sizeof(SettingsStore::m), offsetof(SettingsStore, m), 0
#define FAMILY(m)                                                                            \
#m, sizeof(std::remove_extent_t <decltype(SettingsStore::m)>), offsetof(SettingsStore, m), \
      std::extent_v < decltype(SettingsStore::m)>

constexpr Row Dword(const char* name, size_t offset, Init initial, Init reset) {
  return {name, kDw, 4, offset, 0, initial, reset, 0};
}
constexpr Row Bin4(const char* name, size_t offset, Init initial, Init reset) {
  return {name, kBin, 4, offset, 0, initial, reset, 0};
}
constexpr Row Bin8(const char* name, size_t offset, Init initial, Init reset) {
  return {name, kBin, 8, offset, 0, initial, reset, 0};
}
constexpr Row Family(const char* name, uint32_t width, size_t offset, uint32_t count, RegType type,
                     Init initial, Init reset, uint32_t resetCount) {
  return {name, type, width, offset, count, initial, reset, resetCount};
}

constexpr int32_t kListKabu[] = {100, 150, 80, 100, 100, 100, 80, 80, 100, 100, 150, 80, 80};
constexpr int32_t kListShihon[] = {100, 150, 100, 100, 100, 100, 100, 150, 150};
constexpr int32_t kListShihonReset[] = {100, 150, 100, 100, 100, 150, 150};  // 07-08 kept
constexpr int32_t kListGyouseki[] = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 150};
constexpr int32_t kListCompany[] = {100, 150, 100, 100, 100, 100};
constexpr int32_t kListKouza[] = {100, 150, 100, 100, 100, 100, 100, 100};
constexpr int32_t kListTorihiki[] = {100, 150, 100, 100, 100, 100, 100, 100, 100, 100, 100};
constexpr int32_t kConditions[] = {1, 0, 0, 16, 0, 0, 0, 0};
constexpr int32_t kDownloadDay[] = {0, 0, 0, 0};
constexpr int32_t kHikakuCode[] = {1020, 0, 0};
// first year, first month, last year, last month, period on, header, 日付 曜日 始値 高値 安値 終値 出来高,
// spare
constexpr int32_t kToData[] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0};
constexpr int32_t kSokup[] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr int32_t kColorList[] = {0xFFFFFF, 0xF0F0F0, 0x001E00, 0xA00000, 0x6464FF};
constexpr int32_t kColorChart[] = {0x001E00, 0x787878, 0xFFFFFF, 0xD7C8AA, 0x6464FF,
                                   0xCCCCCC, 0x0000FF, 0xFFFFFF, 0xFF80FF, 0x80FFFF,
                                   0x80FF80, 0xFFFF80, 0x0000C4, 0x80FF80, 0x0000C4};
constexpr int32_t kColorShisuu[] = {0x009600, 0x00AA00, 0x00C800, 0x646464, 0x787878, 0x8C8C8C, 0xAAAAAA,
                                    0xC8C8AA, 0xC8C832, 0xC8C846, 0xC8C864, 0x4182FF, 0xE6DC64, 0x006E00,
                                    0x4080FF, 0xFFFFFF, 0xCEFFFF, 0xCEFFFF, 0xCEFFFF, 0xFFB0D8};
constexpr int32_t kColorTec[] = {0xCCCCCC, 0x0000FF, 0x00B400, 0xFFFFFF, 0x008200, 0x008C00, 0x54FFFF,
                                 0x00C8C8, 0xFFB8A4, 0xFF6A55, 0x0080FF, 0x004D99, 0xACD6FF, 0xC0C0C0,
                                 0x7B7B7B, 0x8000FF, 0xEB87AF, 0xEB2DCD, 0xFAF591, 0xD2D200, 0x2CC59D,
                                 0xB1F3FF, 0x85F982, 0xFFC184, 0x0000FF, 0xFFFFFF};

// The desktop's opener starts the user's own program for a file type.
constexpr const char kDesktopOpener[] = "xdg-open";
constexpr const char kServiceHost[] = "127.0.0.1:47150";
constexpr const char kSearchHost[] = "www.google.com";
constexpr const char kQuoteTopPage[] = "http://127.0.0.1:47150/";

// clang-format off
// Load order. Columns: name, offset | type, width, offset, count; Initial; Reset (kKept: left alone).
constexpr Row kRows[] = {
    // ---- table 1 ----
    Dword(SCALAR(check_start2), I(0), I(0)),
    {TEXT(check_path), T(""), kKept, 0},
    Dword(SCALAR(check_menu), I(1), I(1)),
    Dword(SCALAR(check_tool), I(1), I(1)),
    Family(FAMILY(rbBand), kBin, kBand, kKept, 0),
    Dword(SCALAR(check_status), I(1), I(1)),
    Dword(SCALAR(check_task), I(0), I(0)),
    Dword(SCALAR(check_frame_V), I(200), I(200)),
    Dword(SCALAR(check_frame_HT), I(170), I(170)),
    Dword(SCALAR(check_frame_HB), I(380), I(380)),
    Dword(SCALAR(check_frame_wd), I(3), I(3)),
    Dword(SCALAR(check_bview), I(0), I(0)),
    Dword(SCALAR(check_btab), I(1), kKept),
    Dword(SCALAR(check_sizing), I(0), I(0)),
    Dword(SCALAR(check_window), I(1), I(1)),
    Dword(SCALAR(check_rc.top), I(0), kKept),
    Dword(SCALAR(check_rc.left), I(0), kKept),
    Dword(SCALAR(check_rc.right), I(0), kKept),
    Dword(SCALAR(check_rc.bottom), I(0), kKept),
    Bin4(SCALAR(check_font_size), I(18), I(18)),
    {TEXT(check_font_name), T("MS UI Gothic"), T("MS UI Gothic"), 0},
    Dword(SCALAR(check_version), I(1), I(1)),
    {TEXT(check_editer), T(kDesktopOpener), kKept, 0},
    {TEXT(check_key_link01), T("http://"), T("http://"), 0},
    {TEXT(check_key_link02), T("http://"), T("http://"), 0},
    {TEXT(check_key_link03), T(kQuoteTopPage), T(kQuoteTopPage), 0},
    Dword(SCALAR(check_tab), I(0), I(0)),
    Dword(SCALAR(check_tab_num), I(0), I(0)),
    Bin4(SCALAR(check_tree_hItem), I(0), kKept),
    Bin4(SCALAR(check_tree_view), I(1), I(1)),
    Dword(SCALAR(check_list_bk), I(0), I(0)),

    // ---- table 2 ----
    Family(FAMILY(list_kabu_size), kBin, L(kListKabu), L(kListKabu), 13),
    Family(FAMILY(list_shihon_size), kBin, L(kListShihon), L(kListShihonReset), 7),
    Family(FAMILY(list_gyouseki_size), kBin, L(kListGyouseki), L(kListGyouseki), 13),
    Family(FAMILY(list_company_size), kBin, L(kListCompany), L(kListCompany), 6),
    Family(FAMILY(list_kouza_size), kBin, L(kListKouza), L(kListKouza), 8),
    Family(FAMILY(list_torihiki_size), kBin, L(kListTorihiki), L(kListTorihiki), 11),

    // ---- table 3 ----
    Family(FAMILY(check_conditionsarch), kBin, L(kConditions), L(kConditions), 8),

    // ---- table 4 ----
    Dword(SCALAR(check_DL_time), I(3000), I(3000)),
    Dword(SCALAR(check_DL_restart), I(3), I(3)),
    Dword(SCALAR(check_proxy), I(0), I(0)),
    Dword(SCALAR(check_proxyIE), I(1), I(1)),
    Dword(SCALAR(check_proxylogon), I(0), I(0)),
    {TEXT(check_proxyserver), T(""), T(""), 0},
    {TEXT(check_proxyprot), T(""), T(""), 0},
    {TEXT(check_proxyuser), T(""), T(""), 0},
    {TEXT(check_proxypass), T(""), T(""), 0},
    Dword(SCALAR(check_adjustment), I(0), I(0)),
    Dword(SCALAR(check_adjuston), I(0), kKept),
    Family(FAMILY(check_downloadday), kDw, L(kDownloadDay), kKept, 0),
    Family(FAMILY(check_hikaku_code), kDw, L(kHikakuCode), kKept, 0),

    // ---- table 5 ----
    Family(FAMILY(check_to_data), kBin, L(kToData), kKept, 0),

    // ---- table 6 ----
    Dword(SCALAR(check_code), I(7004), I(7004)),
    Dword(SCALAR(check_chsize), I(5), I(5)),
    Dword(SCALAR(check_slsize), I(5), I(5)),
    Dword(SCALAR(check_ymd), I(0), I(0)),
    Dword(SCALAR(check_line_w_x), I(0), I(0)),
    Dword(SCALAR(check_line_m_x), I(1), I(1)),
    Dword(SCALAR(check_line_y), I(1), I(1)),
    Dword(SCALAR(check_cross), I(0), I(0)),
    Dword(SCALAR(check_roubh), I(0), I(0)),
    Dword(SCALAR(check_soku), I(0), I(0)),
    Family(FAMILY(check_sokup), kBin, L(kSokup), L(kSokup), 14),
    Dword(SCALAR(check_soku_check), I(0), I(0)),
    Dword(SCALAR(check_wline), I(0), I(0)),
    Dword(SCALAR(check_hikakuline), I(0), kKept),
    Dword(SCALAR(check_hikakulinecode), I(1020), kKept),
    Dword(SCALAR(check_shi_shinne), I(3), I(3)),
    Bin8(SCALAR(check_shi_kagi), R(0.03), R(0.03)),
    Bin8(SCALAR(check_shi_renkou), R(0.03), R(0.03)),

    // ---- table 7 ----
    Dword(SCALAR(check_shi_sma), I(1), I(1)),
    Dword(SCALAR(check_shi_nakati), I(0), I(0)),
    Dword(SCALAR(check_shi_wma), I(0), I(0)),
    Dword(SCALAR(check_shi_tma), I(0), I(0)),
    Dword(SCALAR(check_shi_ema), I(0), I(0)),
    Dword(SCALAR(check_shi_lma), I(0), I(0)),
    Dword(SCALAR(check_shi_tsma), I(0), I(0)),
    Dword(SCALAR(check_shi_epma), I(0), I(0)),
    Dword(SCALAR(check_shi_swma), I(0), I(0)),
    Dword(SCALAR(check_shi_enbe_sma), I(0), I(0)),
    Dword(SCALAR(check_shi_enbe_wma), I(0), I(0)),
    Dword(SCALAR(check_shi_enbe_tma), I(0), I(0)),
    Dword(SCALAR(check_shi_enbe_ema), I(0), I(0)),
    Dword(SCALAR(check_shi_enbe_tsma), I(0), I(0)),
    Dword(SCALAR(check_shi_bori_sma), I(0), I(0)),
    Dword(SCALAR(check_shi_bori_wma), I(0), I(0)),
    Dword(SCALAR(check_shi_bori_tma), I(0), I(0)),
    Dword(SCALAR(check_shi_bori_ema), I(0), I(0)),
    Dword(SCALAR(check_shi_bori_tsma), I(0), I(0)),
    Dword(SCALAR(check_shi_itimoku), I(0), I(0)),
    Dword(SCALAR(check_shi_para), I(0), I(0)),
    Dword(SCALAR(check_shi_pf), I(0), kKept),
    Dword(SCALAR(check_shi_kakakutai), I(0), I(0)),
    Dword(SCALAR(check_shi_zigzag), I(0), I(0)),
    Dword(SCALAR(check_shi_tenpen), I(0), I(0)),

    // ---- table 8 ----
    Dword(SCALAR(check_tec_dc), I(0), I(0)),
    Dword(SCALAR(check_tec_kairi_sma01), I(0), I(0)),
    Dword(SCALAR(check_tec_kairi_sma02), I(0), I(0)),
    Dword(SCALAR(check_tec_kairi_sma03), I(0), I(0)),
    Dword(SCALAR(check_tec_dpo), I(0), I(0)),
    Dword(SCALAR(check_tec_volume), I(1), I(1)),
    Dword(SCALAR(check_tec_volume_sma), I(1), I(1)),
    Dword(SCALAR(check_tec_shinyouu), I(0), I(0)),
    Dword(SCALAR(check_tec_aroon), I(0), I(0)),
    Dword(SCALAR(check_tec_mfi), I(0), I(0)),
    Dword(SCALAR(check_tec_rsi), I(0), I(0)),
    Dword(SCALAR(check_tec_dmi), I(0), I(0)),
    Dword(SCALAR(check_tec_william), I(0), I(0)),
    Dword(SCALAR(check_tec_stochastic), I(0), I(0)),
    Dword(SCALAR(check_tec_momentamu), I(0), I(0)),
    Dword(SCALAR(check_tec_roc), I(0), I(0)),
    Dword(SCALAR(check_tec_rci), I(0), I(0)),
    Dword(SCALAR(check_tec_macd_sma), I(0), I(0)),
    Dword(SCALAR(check_tec_vr), I(0), I(0)),
    Dword(SCALAR(check_tec_wvr), I(0), I(0)),
    Dword(SCALAR(check_tec_dvr), I(0), I(0)),
    Dword(SCALAR(check_tec_psy), I(0), I(0)),

    // ---- table 9 ----
    Dword(SCALAR(para_shi_sma01), I(5), I(6)),
    Dword(SCALAR(para_shi_sma02), I(25), I(26)),
    Dword(SCALAR(para_shi_sma03), I(75), I(51)),
    Dword(SCALAR(para_shi_nakati), I(0), I(0)),
    Dword(SCALAR(para_shi_itimoku01), I(26), I(26)),
    Dword(SCALAR(para_shi_itimoku02), I(9), I(9)),
    Dword(SCALAR(para_shi_itimoku03), I(52), I(52)),
    Dword(SCALAR(para_shi_itimoku04), I(26), I(26)),
    Dword(SCALAR(para_shi_para), I(2), I(2)),
    Dword(SCALAR(para_shi_enbe), I(20), I(21)),
    Dword(SCALAR(para_shi_enbe01), I(5), I(5)),
    Dword(SCALAR(para_shi_enbe02), I(10), I(10)),
    Dword(SCALAR(para_shi_enbe03), I(15), I(15)),
    Dword(SCALAR(para_shi_bori), I(20), I(21)),
    Dword(SCALAR(para_shi_bori01), I(1), I(1)),
    Dword(SCALAR(para_shi_bori02), I(2), I(2)),
    Dword(SCALAR(para_shi_bori03), I(3), I(3)),
    Bin8(SCALAR(para_shi_zigzag), R(0.08), R(0.08)),

    // ---- table 10 ----
    Dword(SCALAR(para_tec_dpo), I(26), I(26)),
    Dword(SCALAR(para_tec_volume_sma), I(26), I(26)),
    Dword(SCALAR(para_tec_aroon), I(14), I(14)),
    Dword(SCALAR(para_tec_rsi01), I(7), I(6)),
    Dword(SCALAR(para_tec_rsi02), I(14), I(26)),
    Dword(SCALAR(para_tec_dmi), I(14), I(14)),
    Dword(SCALAR(para_tec_s_k), I(5), I(14)),
    Dword(SCALAR(para_tec_s_d), I(3), I(3)),
    Dword(SCALAR(para_tec_s_sd), I(3), I(3)),
    Dword(SCALAR(para_tec_m_r01), I(6), I(6)),
    Dword(SCALAR(para_tec_m_r02), I(26), I(26)),
    Dword(SCALAR(para_tec_rci), I(26), I(26)),
    Dword(SCALAR(para_tec_macd01), I(12), I(5)),
    Dword(SCALAR(para_tec_macd02), I(26), I(20)),
    Dword(SCALAR(para_tec_macd03), I(9), I(9)),
    Dword(SCALAR(para_tec_vr01), I(6), I(6)),
    Dword(SCALAR(para_tec_vr02), I(26), I(26)),
    Dword(SCALAR(para_tec_psy01), I(6), I(6)),
    Dword(SCALAR(para_tec_psy02), I(26), I(26)),

    // ---- table 11 ----
    Family(FAMILY(color_list), kBin, L(kColorList), L(kColorList), 5),
    Family(FAMILY(color_chart), kBin, L(kColorChart), L(kColorChart), 12),  // 12-14 kept
    Family(FAMILY(color_shisuu), kBin, L(kColorShisuu), L(kColorShisuu), 20),
    Family(FAMILY(color_tec), kBin, L(kColorTec), L(kColorTec), 26),

    // ---- service hosts ----
    {TEXT(host_chart), T(kServiceHost), kKept, 0},
    {TEXT(host_quote), T(kServiceHost), kKept, 0},
    {TEXT(host_chart_image), T(kServiceHost), kKept, 0},
    {TEXT(host_maker), T(kServiceHost), kKept, 0},
    {TEXT(host_news), T(kServiceHost), kKept, 0},
    {TEXT(host_board), T(kServiceHost), kKept, 0},
    {TEXT(host_profile), T(kServiceHost), kKept, 0},
    {TEXT(host_analysis), T(kServiceHost), kKept, 0},
    {TEXT(host_statements), T(kServiceHost), kKept, 0},
    // The search path still works on a real search engine.
    {TEXT(host_search), T(kSearchHost), kKept, 0},
};
// clang-format on

#undef SCALAR
#undef TEXT
#undef FAMILY

void PutInt32(std::string& out, size_t at, int32_t v) {
  std::memcpy(out.data() + at, &v, 4);
}

// The width bytes of element `element` of an Initial or Reset cell.
std::string CellBytes(const Row& row, const Init& cell, uint32_t element) {
  std::string bytes(row.width, '\0');
  switch (cell.kind) {
    case Init::kInt:
      if (row.width != 4) throw std::logic_error(std::string("int cell of width != 4: ") + row.name);
      PutInt32(bytes, 0, cell.i);
      break;
    case Init::kInts:
      if (row.width != 4 || element >= cell.ints.size())
        throw std::logic_error(std::string("list cell does not fit its family: ") + row.name);
      PutInt32(bytes, 0, cell.ints[element]);
      break;
    case Init::kReal:
      if (row.width != 8) throw std::logic_error(std::string("double cell of width != 8: ") + row.name);
      std::memcpy(bytes.data(), &cell.d, 8);
      break;
    case Init::kText: {
      size_t n = std::strlen(cell.text);
      if (n >= row.width) throw std::logic_error(std::string("text cell too long: ") + row.name);
      std::memcpy(bytes.data(), cell.text, n);
      break;
    }
    case Init::kBand:
      bytes = RebarBandPreset(static_cast<int>(element));
      if (bytes.size() != row.width) throw std::logic_error("rebar band width");
      break;
    case Init::kKept:
      throw std::logic_error(std::string("no initial value: ") + row.name);
  }
  return bytes;
}

std::vector<SettingValue> Expand() {
  std::vector<SettingValue> out;
  for (const Row& row : kRows) {
    uint32_t elements = row.count == 0 ? 1 : row.count;
    if (row.initial.kind == Init::kInts && row.initial.ints.size() != elements)
      throw std::logic_error(std::string("initial list length differs from the family: ") + row.name);
    for (uint32_t e = 0; e < elements; ++e) {
      SettingValue v;
      if (row.count == 0) {
        v.name = row.name;
      } else {
        char name[96];
        std::snprintf(name, sizeof name, "%s%02u", row.name, static_cast<unsigned>(e));
        v.name = name;
      }
      v.type = row.type;
      v.width = row.width;
      v.offset = row.offset + static_cast<size_t>(e) * row.width;
      v.initial = CellBytes(row, row.initial, e);
      bool resets = row.reset.kind != Init::kKept && (row.count == 0 || e < row.resetCount);
      if (resets) v.reset = CellBytes(row, row.reset, e);
      if (v.offset + v.width > sizeof(SettingsStore)) throw std::logic_error("field outside the store");
      out.push_back(std::move(v));
    }
  }
  return out;
}

}  // namespace

std::string RebarBandPreset(int band) {
  static constexpr int32_t kWidths[3] = {435, 165, 230};
  std::string bytes(rebar_band::kRecordSize, '\0');
  PutInt32(bytes, rebar_band::kCbSize, static_cast<int32_t>(rebar_band::kRecordSize));
  PutInt32(bytes, rebar_band::kMask, rebar_band::kPresetMask);
  PutInt32(bytes, rebar_band::kCxMinChild, 0);
  PutInt32(bytes, rebar_band::kCyMinChild, 28);
  PutInt32(bytes, rebar_band::kCx, band >= 0 && band < 3 ? kWidths[band] : 0);
  return bytes;
}

const std::vector<SettingValue>& SettingValues() {
  static const std::vector<SettingValue> values = Expand();
  return values;
}

const SettingValue* FindSetting(std::string_view name) {
  for (const SettingValue& v : SettingValues())
    if (v.name == name) return &v;
  return nullptr;
}

std::span<uint8_t> FieldBytes(SettingsStore& store, const SettingValue& value) {
  return {reinterpret_cast<uint8_t*>(&store) + value.offset, value.width};
}

std::span<const uint8_t> FieldBytes(const SettingsStore& store, const SettingValue& value) {
  return {reinterpret_cast<const uint8_t*>(&store) + value.offset, value.width};
}

}  // namespace sorano
