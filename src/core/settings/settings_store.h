#pragma once
// The process-wide configuration values. Every stored value is a member named exactly after its
// registry value name; a family stored as "<family>00", "<family>01", ... is an array member named
// after the family. Which member is stored under which name, with which registry type, width, initial
// and reset value, is the one descriptor table (settings_table.h/.cpp); load, save and reset walk it.
//
// Flags are int32 0/1 (any value > 0 counts as on). Colours are 0x00BBGGRR. Text members are
// NUL-terminated Shift_JIS bytes in fixed-size arrays (the array size is the registry width).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/data_folder.h"

namespace sorano {

class Prompt;
class RegistryBackend;
struct SettingsStore;

// Byte offsets inside an 80-byte rebar band record (rbBand00-02). The record is the 32-bit layout of
// the band-information structure; the desktop layer reads the size it needs from kCx.
namespace rebar_band {
inline constexpr size_t kRecordSize = 80;
inline constexpr size_t kCbSize = 0;       // int32: record size, 80
inline constexpr size_t kMask = 4;         // int32: which fields are valid
inline constexpr size_t kStyle = 8;        // int32
inline constexpr size_t kCxMinChild = 36;  // int32
inline constexpr size_t kCyMinChild = 40;  // int32
inline constexpr size_t kCx = 44;          // int32: band width, pixels
inline constexpr size_t kId = 52;          // int32
// style | child | child size | size | identifier
inline constexpr int32_t kPresetMask = 0x0001 | 0x0010 | 0x0020 | 0x0040 | 0x0100;
}  // namespace rebar_band

// The main window's outer rectangle as the desktop layer hands it to save().
struct WindowGeometry {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// What load() cannot do by itself. Both may be empty.
struct SettingsLoadHooks {
  // The single-instance check; runs after check_start2 was read and before everything else.
  // Returning false fails the load (another instance runs, or the check could not be made).
  std::function<bool(const SettingsStore&)> single_instance;
  // The first start for this user: check_path already names the per-user data folder. The desktop
  // layer copies the shipped default.dat there and applies it.
  std::function<void(SettingsStore&)> first_start;
};

struct SettingsStore {
  // ---- table 1: window, layout and general values ----
  int32_t check_start2;
  char check_path[1024];
  int32_t check_menu;
  int32_t check_tool;
  std::array<uint8_t, 80> rbBand[3];
  int32_t check_status;
  int32_t check_task;
  int32_t check_frame_V;
  int32_t check_frame_HT;
  int32_t check_frame_HB;
  int32_t check_frame_wd;
  int32_t check_bview;
  int32_t check_btab;
  int32_t check_sizing;  // 3 maximised, 9 restored, 0 never sized
  int32_t check_window;
  // Stored as check_rc.top/left/right/bottom; right and bottom hold the width and height, not edges.
  struct Rect {
    int32_t top;
    int32_t left;
    int32_t right;
    int32_t bottom;
  } check_rc;
  int32_t check_font_size;  // REG_BINARY, 4 bytes
  char check_font_name[256];
  int32_t check_version;
  char check_editer[1024];
  char check_key_link01[1024];
  char check_key_link02[1024];
  char check_key_link03[1024];
  int32_t check_tab;
  int32_t check_tab_num;
  int32_t check_tree_hItem;  // REG_BINARY, 4 bytes
  int32_t check_tree_view;   // REG_BINARY, 4 bytes
  int32_t check_list_bk;

  // The service hosts ("host:port", no scheme), REG_SZ 256 bytes each.
  char host_chart[256];
  char host_quote[256];
  char host_chart_image[256];
  char host_maker[256];
  // Hosts of the pages the list's link commands open in the browser, one per outside service family:
  // news and research, message boards, company profiles and results, long-term charts and analyses,
  // financial statements, and the web search.
  char host_news[256];
  char host_board[256];
  char host_profile[256];
  char host_analysis[256];
  char host_statements[256];
  char host_search[256];

  // ---- table 2: list column widths, pixels ----
  int32_t list_kabu_size[13];
  int32_t list_shihon_size[9];
  int32_t list_gyouseki_size[13];
  int32_t list_company_size[6];
  int32_t list_kouza_size[8];
  int32_t list_torihiki_size[11];

  // ---- table 3: screening conditions ----
  int32_t check_conditionsarch[8];

  // ---- table 4: network, split adjustment, chart initialisation range, comparison codes ----
  int32_t check_DL_time;  // milliseconds
  int32_t check_DL_restart;
  int32_t check_proxy;
  int32_t check_proxyIE;
  int32_t check_proxylogon;
  char check_proxyserver[256];
  char check_proxyprot[6];
  char check_proxyuser[256];
  char check_proxypass[64];
  int32_t check_adjustment;
  int32_t check_adjuston;
  int32_t check_downloadday[4];  // start year, start month, end year, end month
  int32_t check_hikaku_code[3];

  // ---- table 5: export options ----
  int32_t check_to_data[14];

  // ---- table 6: chart display ----
  int32_t check_code;
  int32_t check_chsize;
  int32_t check_slsize;
  int32_t check_ymd;
  int32_t check_line_w_x;
  int32_t check_line_m_x;
  int32_t check_line_y;
  int32_t check_cross;
  int32_t check_roubh;
  int32_t check_soku;
  int32_t check_sokup[14];  // REG_BINARY, 4 bytes each
  int32_t check_soku_check;
  int32_t check_wline;
  int32_t check_hikakuline;
  int32_t check_hikakulinecode;
  int32_t check_shi_shinne;
  double check_shi_kagi;    // fraction of the price
  double check_shi_renkou;  // fraction of the price

  // ---- table 7: price-chart overlay switches ----
  int32_t check_shi_sma;
  int32_t check_shi_nakati;
  int32_t check_shi_wma;
  int32_t check_shi_tma;
  int32_t check_shi_ema;
  int32_t check_shi_lma;
  int32_t check_shi_tsma;
  int32_t check_shi_epma;
  int32_t check_shi_swma;
  int32_t check_shi_enbe_sma;
  int32_t check_shi_enbe_wma;
  int32_t check_shi_enbe_tma;
  int32_t check_shi_enbe_ema;
  int32_t check_shi_enbe_tsma;
  int32_t check_shi_bori_sma;
  int32_t check_shi_bori_wma;
  int32_t check_shi_bori_tma;
  int32_t check_shi_bori_ema;
  int32_t check_shi_bori_tsma;
  int32_t check_shi_itimoku;
  int32_t check_shi_para;
  int32_t check_shi_pf;
  int32_t check_shi_kakakutai;
  int32_t check_shi_zigzag;
  int32_t check_shi_tenpen;

  // ---- table 8: technical-pane switches ----
  int32_t check_tec_dc;
  int32_t check_tec_kairi_sma01;
  int32_t check_tec_kairi_sma02;
  int32_t check_tec_kairi_sma03;
  int32_t check_tec_dpo;
  int32_t check_tec_volume;
  int32_t check_tec_volume_sma;
  int32_t check_tec_shinyouu;
  int32_t check_tec_aroon;
  int32_t check_tec_mfi;
  int32_t check_tec_rsi;
  int32_t check_tec_dmi;
  int32_t check_tec_william;
  int32_t check_tec_stochastic;
  int32_t check_tec_momentamu;
  int32_t check_tec_roc;
  int32_t check_tec_rci;
  int32_t check_tec_macd_sma;
  int32_t check_tec_vr;
  int32_t check_tec_wvr;
  int32_t check_tec_dvr;
  int32_t check_tec_psy;

  // ---- table 9: price-chart overlay parameters ----
  int32_t para_shi_sma01;
  int32_t para_shi_sma02;
  int32_t para_shi_sma03;
  int32_t para_shi_nakati;
  int32_t para_shi_itimoku01;
  int32_t para_shi_itimoku02;
  int32_t para_shi_itimoku03;
  int32_t para_shi_itimoku04;
  int32_t para_shi_para;
  int32_t para_shi_enbe;
  int32_t para_shi_enbe01;
  int32_t para_shi_enbe02;
  int32_t para_shi_enbe03;
  int32_t para_shi_bori;
  int32_t para_shi_bori01;
  int32_t para_shi_bori02;
  int32_t para_shi_bori03;
  double para_shi_zigzag;  // fraction of the price

  // ---- table 10: technical-indicator parameters ----
  int32_t para_tec_dpo;
  int32_t para_tec_volume_sma;
  int32_t para_tec_aroon;
  int32_t para_tec_rsi01;
  int32_t para_tec_rsi02;
  int32_t para_tec_dmi;
  int32_t para_tec_s_k;
  int32_t para_tec_s_d;
  int32_t para_tec_s_sd;
  int32_t para_tec_m_r01;
  int32_t para_tec_m_r02;
  int32_t para_tec_rci;
  int32_t para_tec_macd01;
  int32_t para_tec_macd02;
  int32_t para_tec_macd03;
  int32_t para_tec_vr01;
  int32_t para_tec_vr02;
  int32_t para_tec_psy01;
  int32_t para_tec_psy02;

  // ---- table 11: colours, 0x00BBGGRR ----
  int32_t color_list[5];
  int32_t color_chart[15];
  int32_t color_shisuu[20];
  int32_t color_tec[26];

  // Values of the running program that are never stored.
  struct Runtime {
    int32_t parabolic_af_min;  // tenfold acceleration-factor bounds edited by the settings dialog
    int32_t parabolic_af_max;
    int32_t base_line;  // the base lines of the price chart are drawn; off at start and after the reset
    // The screening's eight ratio selections (配当利回り … ROA), kept from one screening to the next;
    // "なし" (0) at start.
    int32_t screening_ratios[8];
    // The data folder of this run: check_path as load() left it. The settings dialog changes only
    // check_path, so a new folder is used from the next start on and the files of one run never come
    // from two folders.
    char data_path[1024];
  } runtime;

  // Every field at its initial value.
  SettingsStore();

  // Reads check_start2; on the first start for this user (no first-start record under key: the value
  // "sorano_first_start", REG_DWORD 1) writes and flushes the record, points check_path at the
  // per-user data folder and calls hooks.first_start; runs
  // hooks.single_instance (false: returns false, nothing else read); then reads every other value.
  // The run's data folder (runtime.data_path) becomes check_path as it then stands.
  // A value missing from the key, or unreadable, leaves its field unchanged. When the key cannot be
  // opened nothing is read or written (no first start either) and only the single-instance check runs.
  bool load(RegistryBackend& registry, std::string_view key, const SettingsLoadHooks& hooks = {});

  // Writes every value under key and makes the writes durable. With a window, check_rc first takes
  // its left, top, width and height. False when anything could not be written (the rest is written).
  bool save(RegistryBackend& registry, std::string_view key,
            std::optional<WindowGeometry> window = std::nullopt);

  // Asks for confirmation; on Yes sets every value that has a reset value and returns true.
  bool reset_to_defaults(Prompt& prompt);

  // The data folder of this run: DataFolder(runtime.data_path).
  DataFolder data_folder() const;
};

// The registry key of a user: "HKEY_CURRENT_USER\Software\Vantor\Sorano\<loginName>", or
// "...\All Users" when loginName is empty or cannot serve as a key name.
std::string SettingsKey(std::string_view loginName);

// The login name of the effective user; empty when it cannot be had.
std::string CurrentLoginName();

// The per-user data folder with a trailing '/': $XDG_DATA_HOME/Sorano/, else ~/.local/share/Sorano/.
// Empty when no home folder is known.
std::string PerUserDataFolder();

}  // namespace sorano
