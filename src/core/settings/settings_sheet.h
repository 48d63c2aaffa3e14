#pragma once
// The settings sheet "環境設定": eight pages over a working copy of the settings. Its fields, check
// boxes and colour buttons are tables; the dialog lays each page out by walking them, shows Text()
// in the fields, edits the working copy, and on OK has Apply() write the sheet's values into the store
// under the input rules of FieldRule. Nothing reaches the store before Apply; Cancel drops the sheet.
//
// Field texts are UTF-8 (what the dialog shows). Text settings are stored as Shift_JIS, except the
// data folder, which keeps the file system's bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_store.h"

namespace sorano {

// The pages in their order, by index.
namespace sheet_page {
inline constexpr int kList = 0;
inline constexpr int kChart = 1;
inline constexpr int kOverlayColours = 2;
inline constexpr int kOverlayValues = 3;
inline constexpr int kTechnicalColours = 4;
inline constexpr int kTechnicalValues = 5;
inline constexpr int kConnection = 6;
inline constexpr int kOther = 7;
}  // namespace sheet_page
inline constexpr std::array<std::string_view, 8> kSheetPageCaptions = {
    "一覧", "チャート", "指数・色", "指数・値", "テクニカル・色", "テクニカル・値", "接続", "その他"};

// How a field's text becomes its value on OK, and how the value is shown when the sheet opens.
enum class FieldRule {
  kInteger,      // the leading integer, stored as entered
  kAtLeastOne,   // the leading integer; 0 or below becomes 1
  kScrollRange,  // the leading integer; below 0 becomes 1
  kPercent,      // a fraction shown x 100; stored: the leading decimal number / 100
  kZigzag,       // as kPercent; a result of 0 or below becomes 1.0 (100 %)
  kSeconds,      // milliseconds shown as whole seconds; the entry is clamped to 1..3600 s, then x 1000
  kRetries,      // the leading integer clamped to 0..10
  kText,         // Shift_JIS, cut to its field on a whole character; a character it cannot hold is refused
  kFolder,       // the data folder: file-system bytes with a '/' at the end; refused when too long
};

// A control the dialog puts beside a field.
enum class FieldTool { kNone, kSecret, kFolderBrowser, kEditorBrowser };

struct SheetField {
  int page;
  std::string_view label;  // starts a row of the page; empty: one more box on the row above
  std::string_view unit;   // shown after the box; may be empty
  FieldRule rule;
  FieldTool tool;
  std::string_view name;  // the member's name (the registry value name of a stored value)
  size_t offset;          // of the member inside SettingsStore
  size_t width;           // of the member, bytes
};

struct SheetCheckBox {
  int page;
  std::string_view label;
  bool ticksZero;  // ticked means 0 (check_roubh: filled candles)
  std::string_view name;
  size_t offset;  // of an int32 member
  size_t width;
};

struct SheetColourFamily {
  int page;
  std::span<const std::string_view> labels;  // one per element, in element order
  std::string_view name;                     // "color_chart": element i is the value "color_chart%02d"
  size_t offset;                             // of element 0
  size_t width;                              // of the whole family, bytes
};

std::span<const SheetField> SheetFields();
std::span<const SheetCheckBox> SheetCheckBoxes();
std::span<const SheetColourFamily> SheetColourFamilies();
// The note a page shows under its fields; empty for none.
std::string_view SheetPageNote(int page);

// Shown after every OK, changed or not (caption kCaptionSettings, information icon).
inline constexpr std::string_view kMsgRestart =
    "環境設定を反映させるために\r\n　　　Soranoの再起動をお願いいたします。";
inline constexpr std::string_view kCaptionSettings = "設定";

// A field whose text cannot be stored: the sheet stays open on its page and shows the message.
struct SheetProblem {
  size_t field;
  std::string message;  // UTF-8
};

class SettingsSheet {
 public:
  explicit SettingsSheet(const SettingsStore& store);

  // Field i of SheetFields(); the index of a field by its name, or npos.
  static size_t FieldIndex(std::string_view name);
  const std::string& Text(size_t field) const { return texts_.at(field); }
  void SetText(size_t field, std::string utf8) { texts_.at(field) = std::move(utf8); }

  // Box i of SheetCheckBoxes().
  bool Checked(size_t box) const;
  void SetChecked(size_t box, bool ticked);

  // Element i of family f of SheetColourFamilies(), 0x00BBGGRR.
  int32_t Colour(size_t family, size_t element) const;
  void SetColour(size_t family, size_t element, int32_t colour);

  // The font of the tree, list and chart panes: face name (UTF-8) and character height in pixels.
  std::string FontFace() const;
  int32_t FontHeight() const { return work_.check_font_size; }
  void SetFont(std::string_view utf8Face, int32_t pixels);

  // The first field whose text cannot be stored, or nullopt.
  std::optional<SheetProblem> Check() const;
  // Writes every value of the sheet into store (after Check() found nothing). A text left as it was
  // shown keeps its stored bytes.
  void Apply(SettingsStore& store) const;

 private:
  SettingsStore work_;  // the boxes, colours and font are edited here
  std::vector<std::string> shown_;
  std::vector<std::string> texts_;
};

}  // namespace sorano
